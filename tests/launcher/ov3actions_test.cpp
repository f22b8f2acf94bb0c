#include "launcher/ov3actions.h"

#include <gtest/gtest.h>

TEST(BarActions, AlignmentActionsFollowTheBarsOrientation) {
  TBarActionContext horizontal;
  TBarActionContext vertical;
  vertical.Vertical = true;
  for (int id : {ovaAlignTop, ovaAlignBottom}) {
    EXPECT_TRUE(BarActionState(id, horizontal).Enabled) << id;
    EXPECT_FALSE(BarActionState(id, vertical).Enabled) << id;
  }
  for (int id : {ovaAlignLeft, ovaAlignRight}) {
    EXPECT_FALSE(BarActionState(id, horizontal).Enabled) << id;
    EXPECT_TRUE(BarActionState(id, vertical).Enabled) << id;
  }
}

TEST(BarActions, IconAndGroupActionsNeedASelection) {
  TBarActionContext c;
  for (int id : {ovaDeleteIcon, ovaCopyIcon, ovaEditIcon, ovaDeleteGroup, ovaEditGroup})
    EXPECT_FALSE(BarActionState(id, c).Enabled) << id;
  for (int id : {ovaIconsMenu, ovaGroupsMenu, ovaRebuildIconCache, ovaAlignMenu, ovaAutoHide, ovaPreferences,
                 ovaInformation, ovaExit, ovaScreenSnap, ovaNewIcon, ovaNewBatchIcon, ovaNewGroup})
    EXPECT_TRUE(BarActionState(id, c).Enabled) << id;
  c.IconSelected = true;
  c.GroupSelected = true;
  c.GroupCount = 1;
  for (int id : {ovaDeleteIcon, ovaCopyIcon, ovaEditIcon, ovaEditGroup})
    EXPECT_TRUE(BarActionState(id, c).Enabled) << id;
  EXPECT_FALSE(BarActionState(ovaDeleteGroup, c).Enabled) << "the last group cannot be deleted";
  c.GroupCount = 2;
  EXPECT_TRUE(BarActionState(ovaDeleteGroup, c).Enabled);
}

TEST(BarActions, ChecksMirrorAutoHideAndScreenSnap) {
  TBarActionContext c;
  EXPECT_FALSE(BarActionState(ovaAutoHide, c).Checked);
  EXPECT_FALSE(BarActionState(ovaScreenSnap, c).Checked);
  c.AutoHide = true;
  c.ScreenSnap = true;
  EXPECT_TRUE(BarActionState(ovaAutoHide, c).Checked);
  EXPECT_TRUE(BarActionState(ovaScreenSnap, c).Checked);
  EXPECT_FALSE(BarActionState(ovaPreferences, c).Checked);
}

TEST(BarActions, EmptyingTheBinNeedsAFullBin) {
  TBarActionContext c;
  EXPECT_FALSE(BarActionState(ovaEmptyRecycleBin, c).Enabled);
  EXPECT_TRUE(BarActionState(ovaOpenRecycleBin, c).Enabled);
  c.RecycleBinFull = true;
  EXPECT_TRUE(BarActionState(ovaEmptyRecycleBin, c).Enabled);
}
