// The bar's hint window under Wine: what ends a hint, driven by messages.
#include "launcher/ov3hint_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"

namespace {

// Posts Message to the application window and lets the thread take it.
void Deliver(UINT Message, WPARAM WParam = 0) {
  PostMessageW(Application->Handle(), Message, WParam, 0);
  MSG Msg;
  while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&Msg);
}

struct THintScope {
  TAppScope App;
  THintScope() { InstallBarHintWindow(); }
  ~THintScope() { FreeHintWindow(); }
};

}  // namespace

TEST(BarHintWindow, KeyEndsAHintClickDoesNot) {
  THintScope Scope;
  struct {
    UINT Message;
    bool StaysUp;
  } Cases[] = {{WM_LBUTTONDOWN, true}, {WM_RBUTTONDOWN, true}, {WM_MOUSEMOVE, true},
               {CM_WAKEUP, true},      {WM_KEYDOWN, false},    {WM_COMMAND, false}};
  for (auto& C : Cases) {
    ShowHintAt(u"Editor\r\nnotes \u0394", {200, 200}, 1, 0);
    ASSERT_TRUE(IsHintWindowShown());
    Deliver(C.Message, C.Message == WM_KEYDOWN ? VK_SHIFT : 0);
    EXPECT_EQ(IsHintWindowShown(), C.StaysUp) << C.Message;
    HideHintWindow();
  }
}

TEST(BarHintWindow, OnlyTakenMessagesCountAndFreeingUnhooks) {
  THintScope Scope;
  ShowHintAt(u"a", {200, 200}, 1, 0);
  ShowHintAt(u"b", {200, 200}, 1, 0);  // two shows need two keys
  PostMessageW(Application->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
  MSG Msg;
  PeekMessageW(&Msg, nullptr, 0, 0, PM_NOREMOVE);  // a look does not count
  Deliver(WM_NULL);
  EXPECT_TRUE(IsHintWindowShown());
  Deliver(WM_KEYDOWN, VK_SHIFT);
  EXPECT_FALSE(IsHintWindowShown());
  // Freeing the window while up takes its hook away with it: a key later
  // must not reach a freed window.
  ShowHintAt(u"c", {200, 200}, 1, 0);
  RecreateHintWindow();
  EXPECT_FALSE(IsHintWindowShown());
  ShowHintAt(u"d", {200, 200}, 1, 0);
  FreeHintWindow();
  Deliver(WM_KEYDOWN, VK_SHIFT);
  EXPECT_FALSE(IsHintWindowShown());
}
