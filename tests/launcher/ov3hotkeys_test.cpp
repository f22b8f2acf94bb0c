// Hotkey numbering, targets and the decisions of a press.
#include "launcher/ov3hotkeys.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3contents.h"
#include "launcher/ov3hotkeytext.h"

TEST(Hotkeys, NormalisedTexts) {
  ReadKeyNames(kDefaultKeyNamesText);
  const char* Cases[][2] = {{"a,alt+ctrl", "A,ctrl+alt"},
                            {"A,Ctrl,Alt", "A,ctrl+alt"},
                            {"F10,none", "f10,none"},
                            {"Return,shift-left", "return,shift-left"},
                            {"F24,Ctrl", "f24,ctrl"}};
  for (auto& C : Cases) EXPECT_EQ(NormaliseHotkeyText(C[0]), C[1]);
}

TEST(Hotkeys, CollectNumberAndFindTargets) {
  ReadKeyNames(kDefaultKeyNamesText);
  TKemXml Doc;
  TKemXmlTag* Groups = ContentsGroups(Doc);
  std::vector<TKemXmlTag*> Icons;
  for (int G = 0; G < 2; ++G) {
    TKemXmlTag* Ics = GroupIcons(Groups->AddTag("group"), true);
    for (int I = 0; I < 3; ++I) {
      Icons.push_back(Ics->AddTag("icon"));
      Icons.back()->AddTag("shortcut")->WriteAttr("key", G == 0 ? "a,alt+ctrl" : "A,Ctrl+Alt");
    }
  }
  Icons[5]->AddTag("shortcut")->WriteAttr("key", "f10,ctrl");  // the focus key too
  Icons[4]->AddTag("shortcut")->WriteAttr("key", "");
  Icons[3]->AddTag("shortcut")->WriteAttr("key", "f24,none");

  TOvHotkeyTable T;
  T.AddIcons(ListGroups(Groups));
  T.AddOwn(ohkFocus, "f10,ctrl");
  T.AddOwn(ohkAutoHide, "F12,None,");
  const std::vector<TOvHookKey> Keys = T.Apply();
  // Sorted: "A,ctrl+alt", "f10,ctrl", "f24,none" (never sent).
  ASSERT_EQ(T.Distinct().size(), 3u);
  ASSERT_EQ(Keys.size(), 2u);
  EXPECT_EQ(Keys[0].Id, 1);
  EXPECT_EQ(Keys[0].Code, 'A');
  EXPECT_EQ(Keys[0].Flags, 0x400 | 0x40);
  EXPECT_EQ(Keys[1].Id, 2);
  EXPECT_EQ(Keys[1].Code, 121);
  EXPECT_EQ(T.FindTargets(1).size(), 6u);
  EXPECT_EQ(T.FindTargets(3).size(), 1u);
  EXPECT_TRUE(T.FindTargets(4).empty());
  EXPECT_TRUE(T.FindTargets(0).empty());

  // An icon on the focus key wins over the own command.
  TOvHotkeyPress P = SplitHotkeyTargets(T.FindTargets(2));
  EXPECT_EQ(P.Icons, std::vector<TKemXmlTag*>{Icons[5]});
  EXPECT_EQ(P.Own, std::vector<int>{ohkFocus});
  EXPECT_EQ(SplitHotkeyTargets(T.FindTargets(1)).Icons.size(), 6u);
}

TEST(Hotkeys, AutoHideKeyAndChooserDecisions) {
  struct {
    bool AutoHide, Hidden, Active, Desktop;
    TOvAutoHideKeyAction Action;
  } Cases[] = {{true, true, false, false, akaShowAndStop},
               {true, false, false, false, akaHideNow},
               {false, false, false, false, akaBringToFront},
               {false, false, true, false, akaStartAndHide},
               {false, false, false, true, akaStartAndHide}};
  for (auto& C : Cases) EXPECT_EQ(AutoHideKeyAction(C.AutoHide, C.Hidden, C.Active, C.Desktop), C.Action);

  struct {
    int Key, Index;
    TOvChooserKeyResult Result;
    int After;
  } Keys[] = {{13, 1, ckrOk, 1},   {36, 2, ckrMove, 0}, {35, 0, ckrMove, 2},   {38, 0, ckrMove, 0},
              {40, 2, ckrMove, 2}, {40, 0, ckrMove, 1}, {27, 1, ckrCancel, 1}, {'A', 1, ckrCancel, 1}};
  for (auto& K : Keys) {
    int Index = K.Index;
    EXPECT_EQ(ChooserKeyDown(K.Key, 3, Index), K.Result) << K.Key;
    EXPECT_EQ(Index, K.After) << K.Key;
  }
  EXPECT_EQ(ChooserListHeight(3, 20, 1000), 60);
  EXPECT_EQ(ChooserListHeight(100, 20, 590), 580);
}
