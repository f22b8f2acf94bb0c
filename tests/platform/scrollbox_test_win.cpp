// The scroll box on a real window: its range follows the children, controls
// below it scroll into view and back, the bar and the wheel move it.
#include "platform/scrollbox_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"
#include "platform/extctrls_win.h"

namespace {

// The wheel reaches the box through the form's focused control; here directly.
class TWheelBox : public TScrollBox {
 public:
  using TScrollBox::DoMouseWheel;
  using TScrollBox::TScrollBox;
};

TPanel* Child(TWheelBox* Box, int Top, int Height = 40) {
  auto* panel = new TPanel(Box);
  panel->SetBounds(10, Top, 100, Height);
  panel->SetParent(Box);
  return panel;
}

SCROLLINFO Bar(TWheelBox* Box) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(Box->Handle(), SB_VERT, &info);
  return info;
}

}  // namespace

TEST(ScrollBoxWin, ChildrenBeyondTheBoxScrollIntoView) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(20, 20, 300, 300);
  auto* box = new TWheelBox(form);
  box->SetBorderStyle(bsNone);
  box->SetBounds(0, 0, 200, 100);
  box->SetParent(form);
  form->Show();
  TPanel* first = Child(box, 0);
  Child(box, 90);
  TPanel* last = Child(box, 250);
  EXPECT_EQ(box->VertRange(), 290);
  EXPECT_EQ(Bar(box).nMax, 289);
  EXPECT_EQ(Bar(box).nPage, 100u);

  // As little as it takes: the last child's bottom at the box's bottom.
  box->ScrollInView(last);
  EXPECT_EQ(box->VertPosition(), 190);
  EXPECT_EQ(last->Top(), 60);
  EXPECT_EQ(first->Top(), -190);
  EXPECT_EQ(Bar(box).nPos, 190);
  box->ScrollInView(first);
  EXPECT_EQ(box->VertPosition(), 0);
  EXPECT_EQ(first->Top(), 0);
  // A grandchild counts by its place in the box.
  auto* inner = new TPanel(last);
  inner->SetBounds(0, 30, 50, 10);
  inner->SetParent(last);
  box->ScrollInView(inner);
  EXPECT_EQ(box->VertPosition(), 190);

  // The bar's arrows and pages, the wheel, and never beyond the range.
  box->Perform(WM_VSCROLL, SB_TOP);
  box->Perform(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(box->VertPosition(), TScrollBox::LineStep);
  box->Perform(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(box->VertPosition(), TScrollBox::LineStep + 100);
  box->Perform(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(box->VertPosition(), 190);
  EXPECT_TRUE(box->DoMouseWheel(TShiftState(), WHEEL_DELTA, TPoint{30, 30}));
  EXPECT_EQ(box->VertPosition(), 190 - 3 * TScrollBox::LineStep);

  // Contents that shrink pull the position back: no gap below them.
  box->ScrollInView(last);
  last->Free();
  EXPECT_EQ(box->VertRange(), 130);
  EXPECT_EQ(box->VertPosition(), 30);
  EXPECT_EQ(first->Top(), -30);
}
