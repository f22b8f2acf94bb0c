// Section names and the client slot tables of the hook library.
#include "hooklib/kemhshared.h"

#include <cstring>

namespace kemh {

void FormatClientSectionName(char (&dest)[SectionNameSize], const char* prefix, std::uint32_t window) noexcept {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::size_t len = std::strlen(prefix);
  if (len > SectionNameSize - 10) len = SectionNameSize - 10;
  std::memcpy(dest, prefix, len);
  dest[len++] = '_';
  for (int shift = 28; shift >= 0; shift -= 4) dest[len++] = Digits[(window >> shift) & 0xF];
  dest[len] = '\0';
}

int AddClientSlot(TClientSlot* slots, int count, std::uint32_t window) noexcept {
  for (int i = 0; i < count; ++i)
    if (slots[i].Used && slots[i].Window == window) return i;
  for (int i = 0; i < count; ++i) {
    if (!slots[i].Used) {
      // The window first: a hook procedure that sees the used flag must find it.
      slots[i].Window = window;
      __atomic_thread_fence(__ATOMIC_SEQ_CST);
      slots[i].Used = 1;
      return i;
    }
  }
  return -1;
}

int RemoveClientSlots(TClientSlot* slots, int count, std::uint32_t window) noexcept {
  int used = 0;
  for (int i = 0; i < count; ++i) {
    if (slots[i].Used && slots[i].Window == window) {
      slots[i].Used = 0;
      slots[i].Window = 0;
    } else if (slots[i].Used) {
      ++used;
    }
  }
  return used;
}

bool ClearDeadClientSlot(TClientSlot& slot, std::uint32_t window) noexcept {
  // The field sits at a multiple of four in a page-aligned view, so the
  // compare-and-swap is a plain aligned one; the struct is only declared packed.
  auto* field =
      reinterpret_cast<std::uint32_t*>(reinterpret_cast<unsigned char*>(&slot) + offsetof(TClientSlot, Window));
  std::uint32_t expected = window;
  if (window == 0 || !__atomic_compare_exchange_n(field, &expected, 0u, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST))
    return false;
  slot.Used = 0;
  return true;
}

std::uint32_t SlotWindow(const TClientSlot& slot) noexcept { return slot.Used ? slot.Window : 0; }

}  // namespace kemh
