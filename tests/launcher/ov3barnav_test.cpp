#include "launcher/ov3barnav.h"

#include <gtest/gtest.h>

namespace {
const TShiftState kNone;
const TShiftState kCtrl{ssCtrl};
const TShiftState kAlt{ssAlt};
const TShiftState kCtrlShift{ssCtrl, ssShift};
}  // namespace

TEST(BarWheel, SettingsDecideWhatScrolls) {
  // ovsWheelScroll = 0: groups, the toggle (ovsWheelToggle) swaps to icons;
  // ovsWheelScroll = 1 the other way.
  EXPECT_EQ(WheelScrolls(0, 0, kNone), wsGroups);
  EXPECT_EQ(WheelScrolls(0, 0, kCtrl), wsIcons);
  EXPECT_EQ(WheelScrolls(1, 0, kNone), wsIcons);
  EXPECT_EQ(WheelScrolls(1, 0, kCtrl), wsGroups);
  EXPECT_EQ(WheelScrolls(1, 1, kAlt), wsGroups);
  // Only exactly the toggle's modifier counts.
  EXPECT_EQ(WheelScrolls(0, 0, kCtrlShift), wsGroups);
  // ovsWheelToggle = 3: no modifier, the toggle is never held.
  EXPECT_EQ(WheelScrolls(0, 3, kNone), wsGroups);
  EXPECT_EQ(WheelScrolls(1, 3, kCtrl), wsIcons);
  // ovsWheelScroll = 2: the wheel changes nothing.
  EXPECT_EQ(WheelScrolls(2, 0, kCtrl), wsNothing);
  EXPECT_EQ(WheelScrolls(2, 3, kNone), wsNothing);
}

TEST(BarWheel, StepsAndEnds) {
  EXPECT_EQ(WheelStep(true, false), 1);
  EXPECT_EQ(WheelStep(false, false), -1);
  EXPECT_EQ(WheelStep(true, true), -1);
  EXPECT_EQ(WheelStep(false, true), 1);
  // Without wrapping an index past an end leaves the selection.
  EXPECT_EQ(WheelTarget(0, -1, 3, false), -1);
  EXPECT_EQ(WheelTarget(2, 1, 3, false), -1);
  EXPECT_EQ(WheelTarget(1, 1, 3, false), 2);
  // With wrapping, or with nothing selected, the ends run round.
  EXPECT_EQ(WheelTarget(0, -1, 3, true), 2);
  EXPECT_EQ(WheelTarget(2, 1, 3, true), 0);
  EXPECT_EQ(WheelTarget(-1, -1, 3, false), 2);
  EXPECT_EQ(WheelTarget(-1, 1, 3, false), 0);
  EXPECT_EQ(WheelTarget(0, 1, 0, true), -1);
}

TEST(BarGroupKeys, DefaultKeysStepThroughTheGroupsRound) {
  const TOvBarKey previous = ParseBarKey("tabulator,ctrl");
  const TOvBarKey next = ParseBarKey("tabulator,ctrl+shift");
  const TOvBarKey ctrlTab{9, BarShiftMask(kCtrl)};
  const TOvBarKey ctrlShiftTab{9, BarShiftMask(kCtrlShift)};
  EXPECT_EQ(GroupKeyTarget(ctrlTab, previous, next, 0, 3), 1);
  EXPECT_EQ(GroupKeyTarget(ctrlTab, previous, next, 2, 3), 0);
  EXPECT_EQ(GroupKeyTarget(ctrlShiftTab, previous, next, 0, 3), 2);
  EXPECT_EQ(GroupKeyTarget(ctrlShiftTab, previous, next, -1, 3), 2);
  EXPECT_EQ(GroupKeyTarget(ctrlShiftTab, previous, next, 0, 1), 0);
  // Tab alone, Alt+Tab, or no groups: not a group key.
  EXPECT_EQ(GroupKeyTarget(TOvBarKey{9, 0}, previous, next, 0, 3), -1);
  EXPECT_EQ(GroupKeyTarget(TOvBarKey{9, BarShiftMask(kAlt)}, previous, next, 0, 3), -1);
  EXPECT_EQ(GroupKeyTarget(ctrlTab, previous, next, 0, 0), -1);
  // A key text naming no key never matches, not even a key code of 0.
  EXPECT_EQ(GroupKeyTarget(TOvBarKey{0, 4}, ParseBarKey("nothing,ctrl"), next, 0, 3), -1);
}
