#include "launcher/ov3hotkeytext.h"

#include <gtest/gtest.h>

TEST(HotkeyText, KeyTableHasEightyNineKeysInItsOrder) {
  ReadKeyNames(kDefaultKeyNamesText);
  const auto& T = KeyNames();
  ASSERT_EQ(T.size(), 89u);
  EXPECT_EQ(T[0].Name, "A");
  EXPECT_EQ(T[0].Code, 65);
  EXPECT_EQ(T[26].Code, '0');
  EXPECT_EQ(T[36].Name, "f1");
  EXPECT_EQ(T[36].DisplayName, "F1");
  EXPECT_EQ(T[36].Code, 112);
  EXPECT_EQ(T[58].Name, "f23");  // F24 is the bar's own foreground key
  EXPECT_EQ(T[60].Name, "tabulator");
  EXPECT_EQ(T[60].DisplayName, "Tab");
  EXPECT_EQ(T[75].Code, 96);
  EXPECT_EQ(T[75].DisplayName, "Num 0");
  EXPECT_EQ(T[88].Name, "numpad/");
  EXPECT_EQ(T[88].Code, 111);
}

TEST(HotkeyText, ShortLanguageTextLeavesNamesEmptyButKeysUsable) {
  ReadKeyNames("Rück");
  EXPECT_EQ(KeyNames().size(), 89u);
  EXPECT_EQ(KeyNames()[59].DisplayName, "Rück");
  EXPECT_EQ(KeyNames()[60].DisplayName, "");
  EXPECT_EQ(KeyNames()[75].DisplayName, " 0");
  EXPECT_EQ(ParseBarKey("tabulator,ctrl").Code, 9);
  ReadKeyNames(kDefaultKeyNamesText);
}

TEST(HotkeyText, ParsesModifiersWithSidesAndAnySeparator) {
  TOvHotkey H = ParseHotkeyText("F10,Ctrl-Left+alt,shift-right");
  EXPECT_EQ(KeyNames()[H.KeyIndex].Code, 121);
  EXPECT_EQ(H.Ctrl, modLeft);
  EXPECT_EQ(H.Alt, modAny);
  EXPECT_EQ(H.Shift, modRight);
  EXPECT_EQ(H.Windows, modNone);
  EXPECT_EQ(FormatHotkeyText(H), "f10,ctrl-left+alt+shift-right");
  EXPECT_EQ(HotkeyHookFlags(H), 0x200 | 0x40 | 0x1);
}

TEST(HotkeyText, UnknownKeysAndHookFlagEdges) {
  EXPECT_EQ(ParseHotkeyText("f24,none").KeyIndex, -1);
  EXPECT_EQ(FormatHotkeyText(ParseHotkeyText("f24,ctrl")), "none,none");
  EXPECT_EQ(FormatHotkeyText(ParseHotkeyText("f12,none")), "f12,none");
  EXPECT_EQ(HotkeyHookFlags(ParseHotkeyText("a,ctrl-left")), 0x200);
  EXPECT_EQ(HotkeyHookFlags(ParseHotkeyText("a,apps-left")), 0);
  EXPECT_EQ(HotkeyHookFlags(ParseHotkeyText("a,apps,windows")), 0x8000 | 0x4000);
  EXPECT_EQ(ParseHotkeyText("").KeyIndex, -1);
}

TEST(HotkeyText, BarKeysIgnoreSides) {
  EXPECT_EQ(ParseBarKey("tabulator,ctrl"), (TOvBarKey{9, 4}));
  EXPECT_EQ(ParseBarKey("tabulator,ctrl+shift"), (TOvBarKey{9, 5}));
  EXPECT_EQ(ParseBarKey("Down,alt-right"), (TOvBarKey{40, 2}));
  EXPECT_EQ(ParseBarKey("nothing,ctrl").Code, 0);
}
