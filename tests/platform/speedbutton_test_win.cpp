// TSpeedButton: the press it shares with the tool button, clicks on release
// over it only, and the down state of grouped buttons.
#include "platform/speedbutton_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"
#include "platform/toolbutton_win.h"

TEST(SpeedButtonWin, PressClickAndGroups) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(20, 20, 300, 100);
  auto* a = new TSpeedButton(form);
  auto* b = new TSpeedButton(form);
  auto* tool = new TToolButton(form);
  for (TControl* c : std::initializer_list<TControl*>{a, b, tool}) c->SetParent(form);
  a->SetBounds(0, 0, 20, 20);
  b->SetBounds(30, 0, 20, 20);
  tool->SetBounds(60, 0, 20, 20);
  form->Show();
  int clicks = 0;
  a->OnClick = [&](TObject*) { ++clicks; };
  HWND h = form->Handle();
  // Pressed while held over it; leaving lets it up and the release outside does not click.
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_TRUE(a->Pressed());
  SendMouse(h, WM_MOUSEMOVE, 100, 50, MK_LBUTTON);
  EXPECT_FALSE(a->Pressed());
  SendMouse(h, WM_LBUTTONUP, 100, 50);
  EXPECT_EQ(clicks, 0);
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(a->Down());  // not grouped: never stays down
  // The tool button presses the same way.
  SendMouse(h, WM_LBUTTONDOWN, 65, 5, MK_LBUTTON);
  EXPECT_TRUE(tool->Pressed());
  SendMouse(h, WM_LBUTTONUP, 65, 5);
  EXPECT_FALSE(tool->Pressed());

  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->Click();
  EXPECT_TRUE(a->Down());
  b->Click();
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  b->Click();  // stays down without AllowAllUp
  EXPECT_TRUE(b->Down());
  b->SetAllowAllUp(true);
  b->Click();
  EXPECT_FALSE(b->Down());
  // Disabling ends a press.
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  a->SetEnabled(false);
  EXPECT_FALSE(a->Pressed());
}
