// Hotkey tables, the modifier state and the match walk of the keyboard hook,
// without the operating system.
#include "hooklib/kemhk.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

using namespace kemhk;

namespace {

constexpr std::uint8_t VkF1 = 0x70, VkF2 = 0x71;

std::unique_ptr<TKeyboardHookClient> NewClient() {
  auto client = std::make_unique<TKeyboardHookClient>();
  std::memset(client.get(), 0xAB, sizeof(TKeyboardHookClient));  // stale bytes of an earlier client
  ResetClient(*client, 77);
  return client;
}

// The twelve keys the hook reads, in the order of the bits of a combination.
constexpr std::array<int, 12> Keys{VkControl, VkShift, VkMenu,  VkLControl, VkRControl, VkLShift,
                                   VkRShift,  VkLMenu, VkRMenu, VkLWin,     VkRWin,     VkApps};

// GetKeyState as the system answers: 0xFF80 down, and the toggle bit alone (or
// nothing) for a key that is up.
std::int16_t KeyStateOf(unsigned combination, int vk) {
  for (std::size_t i = 0; i < Keys.size(); ++i)
    if (Keys[i] == vk) return (combination >> i & 1) ? static_cast<std::int16_t>(0xFF80 | (i & 1)) : (i & 1);
  return 0;
}

bool Down(unsigned combination, int vk) {
  for (std::size_t i = 0; i < Keys.size(); ++i)
    if (Keys[i] == vk) return combination >> i & 1;
  return false;
}

// What a hotkey's flags demand of one modifier group, stated in keys rather than bits.
bool GroupMatches(std::uint32_t flags, std::uint32_t either, std::uint32_t left, std::uint32_t right, bool eitherDown,
                  bool leftDown, bool rightDown) {
  if (flags & either) return eitherDown;
  return leftDown == ((flags & left) != 0) && rightDown == ((flags & right) != 0);
}

bool Expected(std::uint32_t flags, unsigned c) {
  const bool winEither = Down(c, VkLWin) || Down(c, VkRWin);
  return GroupMatches(flags, ModShift, ModLShift, ModRShift, Down(c, VkShift), Down(c, VkLShift), Down(c, VkRShift)) &&
         GroupMatches(flags, ModCtrl, ModLCtrl, ModRCtrl, Down(c, VkControl), Down(c, VkLControl),
                      Down(c, VkRControl)) &&
         GroupMatches(flags, ModAlt, ModLAlt, ModRAlt, Down(c, VkMenu), Down(c, VkLMenu), Down(c, VkRMenu)) &&
         GroupMatches(flags, ModWin, ModLWin, ModRWin, winEither, Down(c, VkLWin), Down(c, VkRWin)) &&
         Down(c, VkApps) == ((flags & ModApps) != 0);
}

}  // namespace

TEST(KeyboardHookLogic, MaskTakesEitherBitOrBothSidesPerGroup) {
  EXPECT_EQ(ChooseModifierMask(0), 0x3333u | 0x8000u);
  EXPECT_EQ(ChooseModifierMask(0x4444), 0xC444u);
  EXPECT_EQ(ChooseModifierMask(ModCtrl), 0x8000u | 0x3000u | 0x0400u | 0x0030u | 0x0003u);
  EXPECT_EQ(ChooseModifierMask(ModLCtrl | ModShift), 0x8000u | 0x3000u | 0x0300u | 0x0030u | 0x0004u);
  EXPECT_EQ(ChooseModifierMask(0xFFFFFFFF), 0xC444u);
}

TEST(KeyboardHookLogic, ModifierStateOfEveryCombinationOfTheTwelveKeys) {
  for (unsigned c = 0; c < 4096; ++c) {
    const std::uint32_t state = ModifierState([c](int vk) { return KeyStateOf(c, vk); });
    std::uint32_t expected = 0;
    if (Down(c, VkRShift)) expected |= 0x0001;
    if (Down(c, VkLShift)) expected |= 0x0002;
    if (Down(c, VkShift)) expected |= 0x0004;
    if (Down(c, VkRMenu)) expected |= 0x0010;
    if (Down(c, VkLMenu)) expected |= 0x0020;
    if (Down(c, VkMenu)) expected |= 0x0040;
    if (Down(c, VkRControl)) expected |= 0x0100;
    if (Down(c, VkLControl)) expected |= 0x0200;
    if (Down(c, VkControl)) expected |= 0x0400;
    if (Down(c, VkRWin)) expected |= 0x1000 | 0x4000;
    if (Down(c, VkLWin)) expected |= 0x2000 | 0x4000;
    if (Down(c, VkApps)) expected |= 0x8000;
    ASSERT_EQ(state, expected) << c;
  }
  // Only the toggle bit set: the key is up (Caps-Lock-style state of a modifier).
  EXPECT_EQ(ModifierState([](int) { return std::int16_t{1}; }), 0u);
  EXPECT_EQ(ModifierState([](int vk) { return std::int16_t(vk == VkApps ? 2 : 0); }), ModApps);
}

TEST(KeyboardHookLogic, HotkeysMatchExactlyTheirModifierConditionsInAllCombinations) {
  const std::uint32_t flagSets[] = {0,
                                    ModLCtrl,
                                    ModCtrl,
                                    ModRCtrl | ModLCtrl,
                                    ModShift,
                                    ModLShift | ModAlt,
                                    ModWin,
                                    ModLWin,
                                    ModRWin | ModApps,
                                    ModApps,
                                    0xC444,
                                    0x1233 | ModApps,
                                    0xFFFF};
  for (std::uint32_t flags : flagSets) {
    auto client = NewClient();
    ASSERT_TRUE(SetHotkey(*client, 42, VkF1, flags));
    for (unsigned c = 0; c < 4096; ++c) {
      const std::uint32_t state = ModifierState([c](int vk) { return KeyStateOf(c, vk); });
      const THotkeyMatch match = MatchHotkey(*client, VkF1, false, state);
      ASSERT_EQ(match.Matched, Expected(flags, c)) << std::hex << "flags " << flags << " keys " << c;
      if (match.Matched) {
        EXPECT_EQ(match.Id, 42);
        EXPECT_TRUE(match.Swallow);
      }
      ASSERT_FALSE(MatchHotkey(*client, VkF2, false, state).Matched);
      ASSERT_FALSE(MatchHotkey(*client, VkF1, true, state).Matched);  // a release passes over keyed entries
    }
  }
}

TEST(KeyboardHookLogic, LeftCtrlAndEitherCtrlExamples) {
  auto client = NewClient();
  SetHotkey(*client, 1, VkF1, ModLCtrl);
  EXPECT_TRUE(MatchHotkey(*client, VkF1, false, ModLCtrl | ModCtrl).Matched);
  EXPECT_FALSE(MatchHotkey(*client, VkF1, false, ModLCtrl | ModRCtrl | ModCtrl).Matched);
  EXPECT_FALSE(MatchHotkey(*client, VkF1, false, ModRCtrl | ModCtrl).Matched);
  EXPECT_FALSE(MatchHotkey(*client, VkF1, false, ModLCtrl | ModCtrl | ModApps).Matched);
  ClearHotkeys(*client);
  SetHotkey(*client, 2, VkF1, ModCtrl);
  EXPECT_TRUE(MatchHotkey(*client, VkF1, false, ModRCtrl | ModCtrl).Matched);
  EXPECT_TRUE(MatchHotkey(*client, VkF1, false, ModLCtrl | ModRCtrl | ModCtrl).Matched);
  EXPECT_FALSE(MatchHotkey(*client, VkF1, false, ModRCtrl | ModCtrl | ModLShift | ModShift).Matched);
}

TEST(KeyboardHookLogic, TableAppendsRemovesAndClears) {
  auto client = NewClient();
  EXPECT_EQ(client->Window, 77u);
  for (const auto& entry : client->Entries) ASSERT_EQ(entry.Id, 0);
  EXPECT_FALSE(SetHotkey(*client, 0, VkF1, 0));  // id 0 marks a free entry
  EXPECT_EQ(client->Entries[0].Id, 0);
  SetHotkey(*client, 10, VkF1, 0x12345678);
  EXPECT_EQ(client->Entries[0].Key, VkF1);
  EXPECT_EQ(client->Entries[0].Mask, ChooseModifierMask(0x12345678));
  EXPECT_EQ(client->Entries[0].Value, 0x5678u & ChooseModifierMask(0x12345678));
  SetHotkey(*client, 20, VkF2, 0);
  SetHotkey(*client, 10, VkF2, ModShift);
  SetHotkey(*client, 30, 0, 0);
  EXPECT_FALSE(RemoveHotkey(*client, 99));
  EXPECT_FALSE(RemoveHotkey(*client, 0));
  EXPECT_TRUE(RemoveHotkey(*client, 10));  // only the first of two
  ASSERT_EQ(client->Entries[0].Id, 20);
  ASSERT_EQ(client->Entries[1].Id, 10);
  EXPECT_EQ(client->Entries[1].Key, VkF2);
  ASSERT_EQ(client->Entries[2].Id, 30);
  EXPECT_EQ(client->Entries[3].Id, 0);
  ClearHotkeys(*client);
  for (const auto& entry : client->Entries) ASSERT_EQ(entry.Id, 0);
  EXPECT_FALSE(MatchHotkey(*client, VkF2, false, ModShift | ModLShift).Matched);
}

TEST(KeyboardHookLogic, FullTableIgnoresFurtherHotkeysAndRemovalFreesTheLastEntry) {
  auto client = NewClient();
  for (int i = 1; i <= EntryCount; ++i) ASSERT_TRUE(SetHotkey(*client, i, VkF1, 0));
  EXPECT_FALSE(SetHotkey(*client, 5000, VkF2, 0));
  EXPECT_TRUE(RemoveHotkey(*client, 1));
  EXPECT_EQ(client->Entries[0].Id, 2);
  EXPECT_EQ(client->Entries[EntryCount - 2].Id, EntryCount);
  EXPECT_EQ(client->Entries[EntryCount - 1].Id, 0);
  EXPECT_TRUE(SetHotkey(*client, 5000, VkF2, 0));
  EXPECT_EQ(client->Entries[EntryCount - 1].Id, 5000);
  EXPECT_TRUE(RemoveHotkey(*client, 5000));  // the last entry itself
  EXPECT_EQ(client->Entries[EntryCount - 1].Id, 0);
}

TEST(KeyboardHookLogic, FirstMatchWinsAndAnyKeyEntriesNeverSwallow) {
  auto client = NewClient();
  SetHotkey(*client, 7, 0, ModCtrl);
  SetHotkey(*client, 8, VkF1, ModCtrl);
  THotkeyMatch match = MatchHotkey(*client, VkF1, false, ModCtrl | ModLCtrl);
  EXPECT_TRUE(match.Matched);
  EXPECT_EQ(match.Id, 7);
  EXPECT_FALSE(match.Swallow);
  // A release reaches the any-key entry too.
  match = MatchHotkey(*client, VkF1, true, ModCtrl | ModLCtrl);
  EXPECT_EQ(match.Id, 7);
  RemoveHotkey(*client, 7);
  match = MatchHotkey(*client, VkF1, false, ModCtrl | ModRCtrl);
  EXPECT_EQ(match.Id, 8);
  EXPECT_TRUE(match.Swallow);
  EXPECT_FALSE(MatchHotkey(*client, VkF1, true, ModCtrl | ModRCtrl).Matched);
}

TEST(KeyboardHookLogic, ReleaseWalkPassesOverStaleKeyedEntriesToTheEnd) {
  auto client = NewClient();
  SetHotkey(*client, 1, VkF1, 0);
  SetHotkey(*client, 2, VkF2, 0);
  ClearHotkeys(*client);  // ids gone, keys left behind
  SetHotkey(*client, 3, 0, 0);
  EXPECT_EQ(MatchHotkey(*client, VkF2, true, 0).Id, 3);
  ClearHotkeys(*client);
  EXPECT_FALSE(MatchHotkey(*client, VkF2, true, 0).Matched);
}

TEST(KeyboardHookLogic, KeyEventsReportFirstPressesAndReleasesOnly) {
  const std::uint32_t press = 0x00000001, repeat = 0x40000001, release = 0xC0000001;
  EXPECT_TRUE(ClassifyKeyEvent(press, VkF1).Reported());
  EXPECT_FALSE(ClassifyKeyEvent(press, VkF1).Released);
  EXPECT_FALSE(ClassifyKeyEvent(repeat, VkF1).Reported());
  EXPECT_TRUE(ClassifyKeyEvent(release, VkF1).Reported());
  EXPECT_TRUE(ClassifyKeyEvent(release, VkF1).Released);
  // Right after a Windows-key event everything counts as a first press.
  for (std::uint32_t last : {std::uint32_t(VkLWin), std::uint32_t(VkRWin)}) {
    for (std::uint32_t data : {press, repeat, release}) {
      const TKeyEvent event = ClassifyKeyEvent(data, last);
      EXPECT_TRUE(event.Reported());
      EXPECT_FALSE(event.Released);
    }
  }
}
