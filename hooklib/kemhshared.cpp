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

namespace {

// The reverse of filling a slot: the used flag goes first, as hook procedures
// read it first and take a window of 0 for no client.
void ClearSlot(TClientSlot& slot) noexcept {
  slot.Used = 0;
  __atomic_thread_fence(__ATOMIC_RELEASE);
  slot.Window = 0;
}

}  // namespace

int AddClientSlot(TClientSlot* slots, int count, std::uint32_t window) noexcept {
  if (window == 0) return -1;
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
    if (window != 0 && slots[i].Used && slots[i].Window == window)
      ClearSlot(slots[i]);
    else if (slots[i].Used)
      ++used;
  }
  return used;
}

bool ClearDeadClientSlot(TClientSlot& slot, std::uint32_t window) noexcept {
  if (window == 0 || !slot.Used || slot.Window != window) return false;
  ClearSlot(slot);
  return true;
}

std::uint32_t SlotWindow(const TClientSlot& slot) noexcept { return slot.Used ? slot.Window : 0; }

}  // namespace kemh
