// The check list box's states travel with their items.
#include "kem3/controls/kemchklb_model.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"

TEST(CheckListStates, StatesAndDataGoWithTheirItems) {
  TCheckListStates s;
  for (int i = 0; i < 4; ++i) s.Add();
  s.SetChecked(1, true);
  s.SetItemData(1, 11);
  s.SetState(3, cbGrayed);
  s.Move(1, 3);  // [u, u, g, c]
  EXPECT_EQ(s.State(3), cbChecked);
  EXPECT_EQ(s.ItemData(3), 11);
  EXPECT_EQ(s.State(2), cbGrayed);
  s.Delete(0);  // [u, g, c]
  EXPECT_EQ(s.State(1), cbGrayed);
  s.Insert(0);
  EXPECT_EQ(s.State(0), cbUnchecked);
  EXPECT_EQ(s.ItemData(0), 0);
  EXPECT_THROW(s.State(4), EListError);
  EXPECT_THROW(s.SetChecked(-1, true), EListError);
  EXPECT_THROW(s.Insert(6), EListError);
  s.Clear();
  EXPECT_EQ(s.Count(), 0);
}

TEST(CheckListStates, Toggling) {
  TCheckListStates s;
  for (int i = 0; i < 3; ++i) s.Add();
  // Three clicks with grey allowed: grey, checked, unchecked.
  const TCheckBoxState steps[] = {cbGrayed, cbChecked, cbUnchecked};
  for (TCheckBoxState st : steps) {
    EXPECT_TRUE(s.Toggle(0, true, true));
    EXPECT_EQ(s.State(0), st);
  }
  // One checked item at most without MultiCheck.
  s.Toggle(0, false, false);
  s.Toggle(2, false, false);
  EXPECT_FALSE(s.Checked(0));
  EXPECT_TRUE(s.Checked(2));
  EXPECT_FALSE(s.Toggle(3, false, true));
}
