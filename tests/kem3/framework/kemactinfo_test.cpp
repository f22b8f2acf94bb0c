// The action description register: how each element of a record is read, the
// longer record kinds, lookups and freeing; and the toolbar id lists.
#include "kem3/framework/kemactinfo.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kemlan_test_support.h"
#include "platform/sysutils.h"
#include "support/temp_dir.h"

namespace {

class ActionInfoRegister : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(Dir.path() / "Language");
    SetProgramFileName(Dir.file("ov3.exe"));
    lantest::WriteFile(Dir.file("Language/ov3b.lan"), lantest::Lan3Bytes(lantest::Catalogue(
                                                          "US", "English", "0 Act_New = New\n1 Act_NewHint = Make\n")));
    InitLanguages();
  }
  void TearDown() override {
    FreeActionInfos();
    DoneLanguages(false);
    SetProgramFileName("");
  }
  TempDir Dir;
};

TEST_F(ActionInfoRegister, EachElementIsReadAsItsKindSays) {
  EXPECT_FALSE(ActionInfosRegistered());
  RegisterActionInfos(100000, 5,
                      {100,
                       "%Act_New",
                       "%Act_NewHint",
                       -1,
                       "Ctrl+Shift+P",  // names found in the language
                       101,
                       "%Missing",
                       u"Wide hint",
                       -4,
                       0x2D,  // a name it lacks stays literal
                       102,
                       7,
                       8,
                       2,
                       "Nonsense",  // numbers are text indexes
                       103,
                       "Plain",
                       "",
                       -2,
                       "",  // no shortcut
                       104,
                       "cut short"});
  struct Row {
    int Id, CaptionIndex;
    WideString CaptionText;
    int HintIndex;
    WideString HintText;
    int ToolStyle;
    TShortCut ShortCut;
  };
  const Row rows[] = {
      {100, 0, u"", 1, u"", -1, 0x6050},
      {101, -1, u"Missing", -1, u"Wide hint", -4, 0x2D},
      {102, 7, u"", 8, u"", 2, 0},
      {103, -1, u"Plain", -1, u"", -2, 0},
  };
  ASSERT_EQ(ActionInfoCount(), 4) << "a part record is dropped";
  for (int i = 0; i < 4; ++i) {
    const TActionInfo& info = ActionInfos(i);
    const Row& row = rows[i];
    EXPECT_EQ(info.Id, row.Id);
    EXPECT_EQ(info.CaptionIndex, row.CaptionIndex) << row.Id;
    EXPECT_EQ(info.CaptionText, row.CaptionText) << row.Id;
    EXPECT_EQ(info.HintIndex, row.HintIndex) << row.Id;
    EXPECT_EQ(info.HintText, row.HintText) << row.Id;
    EXPECT_EQ(info.ToolStyle, row.ToolStyle) << row.Id;
    EXPECT_EQ(info.ShortCut, row.ShortCut) << row.Id;
    EXPECT_EQ(info.Group, 100000);
    EXPECT_EQ(info.ImageIndex, -1);
    EXPECT_FALSE(info.Flag);
    EXPECT_EQ(info.Value, -1);
    EXPECT_EQ(info.Name, IntToStr(row.Id));
  }

  RegisterActionInfos(200, 8, {300, 5, 6, -1, scCtrl | 'S', true, 42, "Save"});
  const TActionInfo* save = FindActionInfo(300);
  ASSERT_NE(save, nullptr);
  EXPECT_EQ(save->Group, 200);
  EXPECT_TRUE(save->Flag);
  EXPECT_EQ(save->Value, 42);
  EXPECT_EQ(save->Name, "Save");
  EXPECT_EQ(save->ShortCut, scCtrl | 'S');
  EXPECT_EQ(IndexOfActionInfo(300), 4);
  EXPECT_EQ(FindActionInfo(999), nullptr);

  FreeActionInfos();
  EXPECT_FALSE(ActionInfosRegistered());
  EXPECT_EQ(FindActionInfo(100), nullptr);
}

TEST(ActionIds, ToolbarListsWriteSeparatorsAsDashesAndSkipLowerIds) {
  EXPECT_EQ(IdsToText({100000, -1, 100001}), "100000,-,100001");
  EXPECT_EQ(IdsToText({-7, 5, -1}), "5,-");
  EXPECT_EQ(IdsToText({}), "");
  // The form packs a key as its shortcut code.
  EXPECT_EQ(ShortCut('P', {ssCtrl, ssShift}), 0x6050);
}

}  // namespace
