// Shortcut codes and texts.
#include "platform/keys.h"

#include <gtest/gtest.h>

TEST(Keys, ShortCutPacksModifiersIntoTheHighBits) {
  EXPECT_EQ(ShortCut('P', TShiftState{ssCtrl, ssShift}), 0x6050);
  EXPECT_EQ(ShortCut(VK_RETURN, ssAlt), 0x800D);
  EXPECT_EQ(ShortCut(VK_F24, TShiftState{ssLeft, ssDouble}), VK_F24);  // buttons are no modifiers
  EXPECT_EQ(ShortCut(0x1234, TShiftState()), 0x34);
  std::uint16_t key = 0;
  TShiftState shift = ssLeft;
  ShortCutToKey(0xE02E, key, shift);
  EXPECT_EQ(key, VK_DELETE);
  EXPECT_EQ(shift, (TShiftState{ssShift, ssCtrl, ssAlt}));
}

TEST(Keys, TextsOfShortCuts) {
  EXPECT_EQ(ShortCutToText(ShortCut('P', ssCtrl)), "Ctrl+P");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_RETURN, TShiftState{ssAlt, ssShift, ssCtrl})), "Shift+Ctrl+Alt+Enter");
  EXPECT_EQ(ShortCutToText(VK_NUMPAD7), "Num 7");
  EXPECT_EQ(ShortCutToText(VK_F24), "F24");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_LWIN, ssCtrl)), "");  // no name
  for (const char* text : {"Ctrl+P", "Ins", "Del", "Alt+Enter", "Shift+Ins", "Shift+Del", "Shift+Enter", "F1", "PgDn",
                           "Shift+Ctrl+Alt+BkSp", "Num 0", "9"}) {
    EXPECT_EQ(ShortCutToText(TextToShortCut(text)), text);
  }
}

TEST(Keys, ParsingIgnoresCaseAndModifierOrder) {
  EXPECT_EQ(TextToShortCut("ctrl+shift+p"), 0x6050);
  EXPECT_EQ(TextToShortCut("Alt+Ctrl+DEL"), scAlt | scCtrl | VK_DELETE);
  EXPECT_EQ(TextToShortCut("Ins"), VK_INSERT);
  EXPECT_EQ(TextToShortCut(""), 0);
  EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
  EXPECT_EQ(TextToShortCut("Ctrl"), 0);
  EXPECT_EQ(TextToShortCut("Hyper+P"), 0);
  EXPECT_EQ(TextToShortCut("F25"), 0);
}
