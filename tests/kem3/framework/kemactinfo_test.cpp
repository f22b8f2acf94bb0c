// The action description register: how each element of a record is read, the
// longer record kinds, lookups and freeing; and the toolbar id lists.
#include "kem3/framework/kemactinfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kemlan_test_support.h"
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
  // Names the language has, a name it lacks (literal), text indexes, no
  // shortcut, and a record cut short.
  // clang-format off
  RegisterActionInfos(100000, 5, {100, "%Act_New", "%Act_NewHint", -1, "Ctrl+Shift+P",
                                  101, "%Missing", u"Wide hint", -4, 0x2D,
                                  102, 7, 8, 2, "Nonsense",
                                  103, "Plain", "", -2, "",
                                  104, "cut short"});
  // clang-format on
  ASSERT_EQ(ActionInfoCount(), 4) << "a part record is dropped";
  using Fields = std::tuple<int, int, WideString, int, WideString, int, int, int, bool, int, String>;
  const auto fields = [](int I) {
    const TActionInfo& i = ActionInfos(I);
    return Fields(i.Id, i.CaptionIndex, i.CaptionText, i.HintIndex, i.HintText, i.ToolStyle, i.ShortCut, i.Group,
                  i.Flag, i.Value, i.Name);
  };
  EXPECT_EQ(fields(0), Fields(100, 0, u"", 1, u"", -1, 0x6050, 100000, false, -1, "100"));
  EXPECT_EQ(fields(1), Fields(101, -1, u"Missing", -1, u"Wide hint", -4, 0x2D, 100000, false, -1, "101"));
  EXPECT_EQ(fields(2), Fields(102, 7, u"", 8, u"", 2, 0, 100000, false, -1, "102"));
  EXPECT_EQ(fields(3), Fields(103, -1, u"Plain", -1, u"", -2, 0, 100000, false, -1, "103"));

  RegisterActionInfos(200, 8, {300, 5, 6, -1, scCtrl | 'S', true, 42, "Save"});
  EXPECT_EQ(fields(4), Fields(300, 5, u"", 6, u"", -1, scCtrl | 'S', 200, true, 42, "Save"));
  EXPECT_EQ(FindActionInfo(300), &ActionInfos(4));
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
