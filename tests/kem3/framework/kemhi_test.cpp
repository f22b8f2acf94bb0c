// The OS-free part of the hook-library binding: event kinds, status texts and
// the names it resolves.
#include "kem3/framework/kemhi.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(HookBindingLogic, EventKindIsTheLowNibbleOfWParam) {
  EXPECT_EQ(HookEventKind(1), hekEnter);
  EXPECT_EQ(HookEventKind(2), hekLeave);
  // A left press at (300, 200) as the mouse hook packs it.
  EXPECT_EQ(HookEventKind(3u | 300u << 4 | 200u << 18), hekLeftDown);
  EXPECT_EQ(HookEventKind(0xFFFFFFF9u), hekMove);
  EXPECT_EQ(HookEventKind(static_cast<std::uintptr_t>(-1) << 4 | 8), hekMiddleUp);
}

TEST(HookBindingLogic, FailuresRaiseTheLibrarysTexts) {
  EXPECT_EQ(HookStatusText(hlsOk, 5), "");
  EXPECT_EQ(HookStatusText(hlsNoResources, 5), "No available hook resources.");
  EXPECT_EQ(HookStatusText(hlsCreateMapping, 1450), "Failed to create file mapping. 1450");
  EXPECT_EQ(HookStatusText(hlsMapView, 8), "Failed to map view of file. 8");
  EXPECT_EQ(HookStatusText(hlsMapView, 0xFFFFFFFFu), "Failed to map view of file. 4294967295");
  try {
    CheckHookStatus(hlsCreateMapping, 6);
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_NE(dynamic_cast<const EKemHookError*>(&e), nullptr);
    EXPECT_EQ(e.Message, "Failed to create file mapping. 6");
  }
  EXPECT_NO_THROW(CheckHookStatus(hlsOk, 0));
  // Codes the library does not define are no failure.
  EXPECT_NO_THROW(CheckHookStatus(77, 0));
  EXPECT_NO_THROW(CheckHookStatus(-1, 0));
}

TEST(HookBindingLogic, FifteenDistinctNamesInBindingOrder) {
  std::set<std::string> names(HookFunctionNames, HookFunctionNames + HookFunctionCount);
  EXPECT_EQ(names.size(), 15u);
  EXPECT_STREQ(HookFunctionNames[hfGetTitle], "hlGetTitle");
  EXPECT_STREQ(HookFunctionNames[hfMouseInstall], "mhInstallHook");
  EXPECT_STREQ(HookFunctionNames[hfMenuScroll], "mhMenuScroll");
  EXPECT_STREQ(HookFunctionNames[hfKeyboardInstall], "khInstallHook");
  EXPECT_STREQ(HookFunctionNames[hfClearHotkeys], "khClearHotkeys");
}
