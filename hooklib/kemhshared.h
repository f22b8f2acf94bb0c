// What both hooks share: status codes of the exports, handles as they are kept
// in shared sections, section names, the client slot tables (one shared by all
// processes, one local to each process).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace kemh {

// Result of every export that opens a section. The program turns the non-zero
// codes into its own exceptions, so no exception ever crosses the library.
enum THookStatus : int {
  hsOk = 0,
  hsNoResources = 1,    // the process-local client table is full
  hsCreateMapping = 2,  // creating or opening a section failed (the last error tells why)
  hsMapView = 3,        // mapping a section failed (the last error tells why)
};

// Handles live in the sections as their low 32 bits, so 32-bit and 64-bit
// processes share one layout. Windows keeps window and hook handles within
// 32 significant bits and sign-extends them, which is what reading undoes.
inline std::uint32_t StoreHandle(std::uintptr_t handle) noexcept { return static_cast<std::uint32_t>(handle); }
inline std::uintptr_t ReadHandle(std::uint32_t stored) noexcept {
  return static_cast<std::uintptr_t>(static_cast<std::intptr_t>(static_cast<std::int32_t>(stored)));
}

// "<prefix>_" and the window as eight upper-case hexadecimal digits.
inline constexpr std::size_t SectionNameSize = 64;
void FormatClientSectionName(char (&dest)[SectionNameSize], const char* prefix, std::uint32_t window) noexcept;

#pragma pack(push, 1)
// One entry of a global client table (8 bytes).
struct TClientSlot {
  std::uint32_t Window;
  std::uint8_t Used;
  std::uint8_t Unused[3];
};
#pragma pack(pop)
static_assert(sizeof(TClientSlot) == 8);
static_assert(offsetof(TClientSlot, Window) == 0);
static_assert(offsetof(TClientSlot, Used) == 4);

// The global tables count the clients of all processes: the system hook lives
// while one slot is used. Every change to them is made under the exports'
// cross-process lock; hook procedures only read them without it.
// Adds window to the first free slot unless a slot holds it already; gives the
// slot's index, or -1 when the table is full or window is 0 (no window, and
// the mark of a free slot).
int AddClientSlot(TClientSlot* slots, int count, std::uint32_t window) noexcept;
// Clears every slot that holds window; gives the number of slots still used.
int RemoveClientSlots(TClientSlot* slots, int count, std::uint32_t window) noexcept;
// A hook procedure found the slot's window gone: clears the slot if it still
// holds that window. The caller holds the lock, so no remove or install can
// come between the test and the clear.
bool ClearDeadClientSlot(TClientSlot& slot, std::uint32_t window) noexcept;
// The window a hook procedure should serve from this slot, 0 for none.
std::uint32_t SlotWindow(const TClientSlot& slot) noexcept;

// A client installed by this process: the two section handles keep the global
// and the client's section alive while the client is installed (a section on
// the paging file disappears with its last handle).
struct TLocalHookSlot {
  std::uint32_t Window = 0;
  bool Used = false;
  void* SharedSection = nullptr;
  void* ClientSection = nullptr;
};

template <std::size_t N>
class TLocalHookTable {
 public:
  TLocalHookSlot* Find(std::uint32_t window) noexcept {
    for (auto& slot : Slots)
      if (slot.Used && slot.Window == window) return &slot;
    return nullptr;
  }
  // The window's slot when it is installed already, else the first free one
  // (marked used); nullptr when all are taken.
  TLocalHookSlot* Alloc(std::uint32_t window, bool& reused) noexcept {
    reused = false;
    if (TLocalHookSlot* slot = Find(window)) {
      reused = true;
      return slot;
    }
    for (auto& slot : Slots) {
      if (!slot.Used) {
        slot = TLocalHookSlot{window, true, nullptr, nullptr};
        return &slot;
      }
    }
    return nullptr;
  }
  std::array<TLocalHookSlot, N> Slots{};
};

}  // namespace kemh
