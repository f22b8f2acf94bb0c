// Hotkey tables and the match walk of the keyboard hook.
#include "hooklib/kemhk.h"

#include <cstddef>

namespace kemhk {

namespace {

// An entry's id makes it live for the hook procedures, which read the tables
// while an export writes them: the id is stored last with release order and
// read with acquire order, so a hook that sees an id sees the key and the
// modifiers stored before it. The id lies at a multiple of four in a
// page-aligned view; the struct is only declared packed, so the word is
// reached through the entry's bytes.
void StoreId(THotkeyEntry& entry, std::int32_t id) noexcept {
  auto* word = reinterpret_cast<std::int32_t*>(reinterpret_cast<unsigned char*>(&entry) + offsetof(THotkeyEntry, Id));
  __atomic_store_n(word, id, __ATOMIC_RELEASE);
}
std::int32_t LoadId(const THotkeyEntry& entry) noexcept {
  const auto* word = reinterpret_cast<const std::int32_t*>(reinterpret_cast<const unsigned char*>(&entry) +
                                                           offsetof(THotkeyEntry, Id));
  return __atomic_load_n(word, __ATOMIC_ACQUIRE);
}

}  // namespace

std::uint32_t ChooseModifierMask(std::uint32_t flags) noexcept {
  std::uint32_t mask = ModApps;
  mask |= (flags & ModShift) ? ModShift : (ModLShift | ModRShift);
  mask |= (flags & ModCtrl) ? ModCtrl : (ModLCtrl | ModRCtrl);
  mask |= (flags & ModAlt) ? ModAlt : (ModLAlt | ModRAlt);
  mask |= (flags & ModWin) ? ModWin : (ModLWin | ModRWin);
  return mask;
}

void ResetClient(TKeyboardHookClient& client, std::uint32_t window) noexcept {
  client.Window = window;
  ClearHotkeys(client);
}

bool SetHotkey(TKeyboardHookClient& client, std::int32_t id, std::uint8_t key, std::uint32_t flags) noexcept {
  if (id == 0) return false;
  for (auto& entry : client.Entries) {
    if (entry.Id != 0) continue;
    const std::uint32_t mask = ChooseModifierMask(flags);
    entry.Key = key;
    entry.Value = (flags & 0xFFFF) & mask;
    entry.Mask = mask;
    StoreId(entry, id);
    return true;
  }
  return false;
}

bool RemoveHotkey(TKeyboardHookClient& client, std::int32_t id) noexcept {
  if (id == 0) return false;
  for (int i = 0; i < EntryCount; ++i) {
    if (client.Entries[i].Id != id) continue;
    for (int j = i; j + 1 < EntryCount; ++j) client.Entries[j] = client.Entries[j + 1];
    client.Entries[EntryCount - 1].Id = 0;
    return true;
  }
  return false;
}

void ClearHotkeys(TKeyboardHookClient& client) noexcept {
  for (auto& entry : client.Entries) entry.Id = 0;
}

TKeyEvent ClassifyKeyEvent(std::uint32_t keyData, std::uint32_t lastKey) noexcept {
  if (lastKey == VkLWin || lastKey == VkRWin) return {false, false};
  return {(keyData >> 31 & 1) != 0, (keyData >> 30 & 1) != 0};
}

THotkeyMatch MatchHotkey(const TKeyboardHookClient& client, std::uint8_t key, bool released,
                         std::uint32_t state) noexcept {
  for (const auto& entry : client.Entries) {
    const std::int32_t id = LoadId(entry);
    if (released && entry.Key != 0) continue;
    if (id == 0) break;
    if ((entry.Key == key || entry.Key == 0) && (state & entry.Mask) == entry.Value) return {true, id, entry.Key != 0};
  }
  return {};
}

}  // namespace kemhk
