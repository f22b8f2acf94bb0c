// A toolbar's buttons from its comma list of action ids.
#include "kem3/framework/kemtoolbar.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemactinfo.h"

TEST(KemToolbar, TokensBecomeButtonsByTheirDescriptions) {
  RegisterActionInfos(100000, 5, {100000, "New",  "", -1, "", 100001, "Align", "", 1, "",
                                  100002, "Bold", "", -2, "", 100005, "Far",   "", 2, ""});
  ActionInfos(0).ImageIndex = 7;
  using TWant = std::tuple<bool, int, int, int, int>;  // separator, id, style, picture, width
  const struct {
    String Ids;
    std::vector<TWant> Want;
  } Cases[] = {
      // The text IdsToText makes of 100000, -1, 100001.
      {IdsToText({100000, -1, 100001}),
       {{false, 100000, -1, 7, 22}, {true, -1, -1, -1, 8}, {false, 100001, 1, -1, 36}}},
      // No number, no description, a menu that is not at hand: plain buttons.
      {"abc,,999,100005,100002",
       {{false, -1, -1, -1, 22},
        {false, -1, -1, -1, 22},
        {false, 999, -1, -1, 22},
        {false, 100005, -1, -1, 22},
        {false, 100002, -2, -1, 22}}},
      {"-sep", {{true, -1, -1, -1, 8}}},
  };
  for (auto& C : Cases) {
    std::vector<TWant> Got;
    for (const TToolSlot& S : PlanToolbar(C.Ids, 15, 2))
      Got.emplace_back(S.Separator, S.Id, S.Style, S.ImageIndex, S.Width);
    EXPECT_EQ(Got, C.Want) << C.Ids;
    EXPECT_EQ(ToolTokenCount(C.Ids), int(C.Want.size()));
  }
  EXPECT_EQ(IdsToText({100000, -1, 100001}), "100000,-,100001");
  FreeActionInfos();
}

TEST(KemToolbar, BitmapNamesAndTheirModule) {
  EXPECT_EQ(ToolBitmapName(100000, true, true), "TOOL_HCL_100000");
  EXPECT_EQ(ToolBitmapName(7, true, false) + ToolBitmapName(7, false, true) + ToolBitmapName(7, false, false),
            "TOOL_HCS_7TOOL_LCL_7TOOL_LCS_7");
  for (int Group : {100000, 110000, 120000, 0, 130000})
    EXPECT_EQ(ToolBitmapInLibrary(Group), Group >= 100000 && Group <= 120000) << Group;
}
