// The screen: its size, work area and monitors, the cursor.
#include "platform/screen_win.h"

#include <gtest/gtest.h>

#include "app_scope_win.h"
#include "platform/geometry_win.h"

TEST(ScreenWin, SizesAndWorkAreaOfThePrimaryMonitor) {
  TAppScope app;
  EXPECT_EQ(Screen->Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(Screen->Height(), GetSystemMetrics(SM_CYSCREEN));
  const TRect work = Screen->WorkAreaRect();
  EXPECT_FALSE(IsRectEmpty(work));
  EXPECT_GE(work.Left, 0);
  EXPECT_LE(work.Right, Screen->Width());
  EXPECT_EQ(Screen->WorkAreaWidth(), work.Width());
  EXPECT_GT(Screen->PixelsPerInch(), 0);
  EXPECT_EQ(Screen->DesktopRect().Width(), GetSystemMetrics(SM_CXVIRTUALSCREEN));
}

TEST(ScreenWin, MonitorOfAWindowRectangleOrPoint) {
  TAppScope app;
  ASSERT_GE(Screen->MonitorCount(), 1);
  TMonitor* primary = Screen->PrimaryMonitor();
  ASSERT_NE(primary, nullptr);
  EXPECT_TRUE(primary->Primary());
  EXPECT_EQ(primary->WorkareaRect(), Screen->WorkAreaRect());
  EXPECT_EQ(primary->BoundsRect(), Rect(0, 0, Screen->Width(), Screen->Height()));
  EXPECT_EQ(Screen->Monitors(primary->MonitorNum()), primary);

  auto* form = NewForm<TQuietForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(20, 20, 100, 30);
  form->Show();
  EXPECT_EQ(Screen->MonitorFromWindow(form->Handle()), primary);
  EXPECT_EQ(Screen->MonitorFromRect(form->BoundsRect()), primary);
  // Far away: the nearest monitor, or none when asked so.
  EXPECT_EQ(Screen->MonitorFromPoint(Point(-50000, -50000)), primary);
  EXPECT_EQ(Screen->MonitorFromPoint(Point(-50000, -50000), mdNull), nullptr);
  EXPECT_THROW(Screen->Monitors(Screen->MonitorCount()), EListError);
}

TEST(ScreenWin, CursorsByNumber) {
  TAppScope app;
  EXPECT_EQ(Screen->Cursors(crDefault), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
  EXPECT_EQ(Screen->Cursors(crHandPoint), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
  EXPECT_EQ(Screen->Cursors(crNone), nullptr);
  HCURSOR own = CopyCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS)));
  Screen->SetCursors(10, own);
  EXPECT_EQ(Screen->Cursors(10), own);
  Screen->SetCursor(10);
  EXPECT_EQ(Screen->Cursor(), 10);
  EXPECT_EQ(GetCursor(), own);
  Screen->SetCursor(crDefault);
  Screen->SetCursors(10, nullptr);
  EXPECT_EQ(Screen->Cursors(10), LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}
