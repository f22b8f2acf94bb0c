// The keyboard hook without the operating system: the layouts of its shared
// sections, the hotkey table of a client, the modifier state and the match walk.
#pragma once
#include <cstddef>
#include <cstdint>

#include "hooklib/kemhshared.h"

namespace kemhk {

inline constexpr char SharedSectionName[] = "KEM32_KH3_Shared_Data";
inline constexpr int ClientCount = 21;
inline constexpr int EntryCount = 1025;
inline constexpr std::uint32_t SharedSectionSize = 180;
inline constexpr std::uint32_t ClientSectionSize = 16404;

// The notification posted to clients (WM_USER+2): WParam 1 with the modifier
// state, WParam 0 with the id of a matched hotkey.
inline constexpr std::uint32_t KeyboardHookMessage = 0x402;
inline constexpr std::uint32_t NotifyHotkey = 0, NotifyState = 1;

// Modifier bits: per key a bit for the right key, one for the left and one for either.
inline constexpr std::uint32_t ModRShift = 0x0001, ModLShift = 0x0002, ModShift = 0x0004, ModRAlt = 0x0010,
                               ModLAlt = 0x0020, ModAlt = 0x0040, ModRCtrl = 0x0100, ModLCtrl = 0x0200,
                               ModCtrl = 0x0400, ModRWin = 0x1000, ModLWin = 0x2000, ModWin = 0x4000, ModApps = 0x8000;

// Virtual keys the hook reads (the system's numbers).
inline constexpr int VkShift = 0x10, VkControl = 0x11, VkMenu = 0x12, VkLWin = 0x5B, VkRWin = 0x5C, VkApps = 0x5D,
                     VkLShift = 0xA0, VkRShift = 0xA1, VkLControl = 0xA2, VkRControl = 0xA3, VkLMenu = 0xA4,
                     VkRMenu = 0xA5;

#pragma pack(push, 1)
struct TKeyboardHookShared {
  std::uint32_t Hook;           // the system hook, 0 when none is installed
  std::uint32_t ModifierState;  // of the last key event
  std::uint32_t LastKey;        // virtual key of the last key event, in any process
  kemh::TClientSlot Clients[ClientCount];
};

struct THotkeyEntry {
  std::int32_t Id;   // 0 marks a free entry and the end of the table
  std::uint8_t Key;  // virtual key; 0 means any key
  std::uint8_t Unused[3];
  std::uint32_t Value;  // modifier bits that must be set within the mask
  std::uint32_t Mask;   // modifier bits that are compared
};

struct TKeyboardHookClient {
  std::uint32_t Window;
  THotkeyEntry Entries[EntryCount];
};
#pragma pack(pop)

static_assert(sizeof(TKeyboardHookShared) == SharedSectionSize);
static_assert(offsetof(TKeyboardHookShared, Hook) == 0);
static_assert(offsetof(TKeyboardHookShared, ModifierState) == 4);
static_assert(offsetof(TKeyboardHookShared, LastKey) == 8);
static_assert(offsetof(TKeyboardHookShared, Clients) == 12);
static_assert(sizeof(THotkeyEntry) == 16);
static_assert(offsetof(THotkeyEntry, Id) == 0);
static_assert(offsetof(THotkeyEntry, Key) == 4);
static_assert(offsetof(THotkeyEntry, Value) == 8);
static_assert(offsetof(THotkeyEntry, Mask) == 12);
static_assert(sizeof(TKeyboardHookClient) == ClientSectionSize);
static_assert(offsetof(TKeyboardHookClient, Window) == 0);
static_assert(offsetof(TKeyboardHookClient, Entries) == 4);

// The bits compared for hotkey flags: a group whose either-side bit is given
// accepts either key; a group given by side bits demands exactly those sides;
// a group given by no bit demands both keys up; the application key always counts.
std::uint32_t ChooseModifierMask(std::uint32_t flags) noexcept;

// Empty table for a freshly installed window.
void ResetClient(TKeyboardHookClient& client, std::uint32_t window) noexcept;
// Appends an entry; false when the table is full or id is 0 (which marks a free entry).
bool SetHotkey(TKeyboardHookClient& client, std::int32_t id, std::uint8_t key, std::uint32_t flags) noexcept;
// Removes the first entry with the id, moving the later ones up.
bool RemoveHotkey(TKeyboardHookClient& client, std::int32_t id) noexcept;
// Frees every entry; only the ids are cleared.
void ClearHotkeys(TKeyboardHookClient& client) noexcept;

// The modifier state from a key-state reader that answers as GetKeyState does:
// a key is down when any bit but the toggle bit (bit 0) is set.
template <class KeyState>
std::uint32_t ModifierState(KeyState&& keyState) {
  auto down = [&](int vk) { return (static_cast<std::uint16_t>(keyState(vk)) & 0xFFFE) != 0; };
  std::uint32_t state = 0;
  if (down(VkControl)) state |= ModCtrl;
  if (down(VkShift)) state |= ModShift;
  if (down(VkMenu)) state |= ModAlt;
  if (down(VkLControl)) state |= ModLCtrl;
  if (down(VkRControl)) state |= ModRCtrl;
  if (down(VkLShift)) state |= ModLShift;
  if (down(VkRShift)) state |= ModRShift;
  if (down(VkLMenu)) state |= ModLAlt;
  if (down(VkRMenu)) state |= ModRAlt;
  if (down(VkLWin)) state |= ModLWin | ModWin;
  if (down(VkRWin)) state |= ModRWin | ModWin;
  if (down(VkApps)) state |= ModApps;
  return state;
}

// How the hook takes a key event. Only a first press or a release is reported
// and matched: an auto-repeat (pressed while it was down) is let through
// untouched. The event after a Windows-key event always counts as a first press.
struct TKeyEvent {
  bool Released;
  bool WasDown;
  bool Reported() const noexcept { return Released == WasDown; }
};
TKeyEvent ClassifyKeyEvent(std::uint32_t keyData, std::uint32_t lastKey) noexcept;

struct THotkeyMatch {
  bool Matched = false;
  std::int32_t Id = 0;
  bool Swallow = false;  // the entry names a key: the application must not see it
};
// The first entry of the table that matches the key event. A release passes over
// entries with a key, so only "any key" entries match it.
THotkeyMatch MatchHotkey(const TKeyboardHookClient& client, std::uint8_t key, bool released,
                         std::uint32_t state) noexcept;

}  // namespace kemhk
