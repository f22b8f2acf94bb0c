// TBasicAction: execution, its count, and the disabled state.
#include "platform/actions.h"

#include <gtest/gtest.h>

TEST(BasicAction, ExecuteCountsAndFiresOnExecute) {
  TBasicAction action(nullptr);
  int fired = 0;
  EXPECT_FALSE(action.Execute());  // no handler: counted, but nothing ran
  EXPECT_EQ(action.RepeatCount(), 1);
  action.OnExecute = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &action);
    ++fired;
  };
  EXPECT_TRUE(action.Execute());
  EXPECT_TRUE(action.Execute());
  EXPECT_EQ(fired, 2);
  EXPECT_EQ(action.RepeatCount(), 3);
  action.SetRepeatCount(0);
  EXPECT_EQ(action.CaptionIndex(), -1);
}

TEST(BasicAction, ADisabledActionDoesNothing) {
  TBasicAction action(nullptr);
  int fired = 0;
  action.OnExecute = [&](TObject*) { ++fired; };
  action.SetEnabled(false);
  EXPECT_FALSE(action.Execute());
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(action.RepeatCount(), 0);
}
