#include "launcher/ov3actions.h"

#include <gtest/gtest.h>

TEST(BarActions, AlignmentActionsFollowTheBarsOrientation) {
  TBarActionContext horizontal;
  TBarActionContext vertical;
  vertical.Vertical = true;
  for (int id : {122, 123}) {
    EXPECT_TRUE(BarActionState(id, horizontal).Enabled) << id;
    EXPECT_FALSE(BarActionState(id, vertical).Enabled) << id;
  }
  for (int id : {124, 125}) {
    EXPECT_FALSE(BarActionState(id, horizontal).Enabled) << id;
    EXPECT_TRUE(BarActionState(id, vertical).Enabled) << id;
  }
}

TEST(BarActions, IconAndGroupActionsNeedASelection) {
  TBarActionContext c;
  for (int id : {143, 144, 146, 162, 163}) EXPECT_FALSE(BarActionState(id, c).Enabled) << id;
  for (int id : {101, 102, 103, 104, 105, 106, 107, 108, 121, 141, 142, 161})
    EXPECT_TRUE(BarActionState(id, c).Enabled) << id;
  c.IconSelected = true;
  c.GroupSelected = true;
  c.GroupCount = 1;
  for (int id : {143, 144, 146, 163}) EXPECT_TRUE(BarActionState(id, c).Enabled) << id;
  EXPECT_FALSE(BarActionState(162, c).Enabled) << "the last group cannot be deleted";
  c.GroupCount = 2;
  EXPECT_TRUE(BarActionState(162, c).Enabled);
}

TEST(BarActions, ChecksMirrorAutoHideAndScreenSnap) {
  TBarActionContext c;
  EXPECT_FALSE(BarActionState(105, c).Checked);
  EXPECT_FALSE(BarActionState(121, c).Checked);
  c.AutoHide = true;
  c.ScreenSnap = true;
  EXPECT_TRUE(BarActionState(105, c).Checked);
  EXPECT_TRUE(BarActionState(121, c).Checked);
  EXPECT_FALSE(BarActionState(106, c).Checked);
}

TEST(BarActions, EmptyingTheBinNeedsAFullBin) {
  TBarActionContext c;
  EXPECT_FALSE(BarActionState(204, c).Enabled);
  EXPECT_TRUE(BarActionState(203, c).Enabled);
  c.RecycleBinFull = true;
  EXPECT_TRUE(BarActionState(204, c).Enabled);
}
