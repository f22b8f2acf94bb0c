// A toolbar's buttons from its comma list of action ids.
#include "kem3/framework/kemtoolbar.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemactinfo.h"

TEST(KemToolbar, TokensBecomeButtonsByTheirDescriptions) {
  // clang-format off
  RegisterActionInfos(100000, 5, {100000, "New", "", -1, "",
                                  100001, "Align", "", 1, "",
                                  100002, "Bold", "", -2, "",
                                  100003, "Left", "", -3, "",
                                  100004, "Up", "", -4, "",
                                  100005, "Far", "", 2, ""});
  // clang-format on
  ActionInfos(0).ImageIndex = 7;
  struct TWant {
    bool Separator;
    int Id, Style, Image, Width;
  };
  struct {
    String Ids;
    std::vector<TWant> Want;
  } Cases[] = {
      // The text IdsToText makes of 100000, -1, 100001.
      {IdsToText({100000, -1, 100001}),
       {{false, 100000, -1, 7, 22}, {true, -1, -1, -1, 8}, {false, 100001, 1, -1, 36}}},
      {"100002,100003,100004", {{false, 100002, -2, -1, 22}, {false, 100003, -3, -1, 22}, {false, 100004, -4, -1, 22}}},
      // No number, no description, a menu that is not at hand: plain buttons.
      {"abc,,999,100005",
       {{false, -1, -1, -1, 22}, {false, -1, -1, -1, 22}, {false, 999, -1, -1, 22}, {false, 100005, -1, -1, 22}}},
      {"-sep", {{true, -1, -1, -1, 8}}},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Ids);
    const std::vector<TToolSlot> Slots = PlanToolbar(C.Ids, 15, 2);
    ASSERT_EQ(Slots.size(), C.Want.size());
    EXPECT_EQ(ToolTokenCount(C.Ids), int(C.Want.size()));
    for (size_t I = 0; I < Slots.size(); ++I) {
      const TToolSlot& S = Slots[I];
      const TWant& W = C.Want[I];
      EXPECT_EQ(std::make_tuple(S.Separator, S.Id, S.Style, S.ImageIndex, S.Width),
                std::make_tuple(W.Separator, W.Id, W.Style, W.Image, W.Width))
          << I;
    }
  }
  EXPECT_EQ(IdsToText({100000, -1, 100001}), "100000,-,100001");
  FreeActionInfos();
}

TEST(KemToolbar, BitmapNamesAndTheirModule) {
  EXPECT_EQ(ToolBitmapName(100000, true, true), "TOOL_HCL_100000");
  EXPECT_EQ(ToolBitmapName(7, true, false), "TOOL_HCS_7");
  EXPECT_EQ(ToolBitmapName(7, false, true), "TOOL_LCL_7");
  EXPECT_EQ(ToolBitmapName(7, false, false), "TOOL_LCS_7");
  for (int Group : {100000, 110000, 120000}) EXPECT_TRUE(ToolBitmapInLibrary(Group));
  for (int Group : {0, 100, 130000}) EXPECT_FALSE(ToolBitmapInLibrary(Group));
}
