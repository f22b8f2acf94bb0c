// The splitter on a real form, dragged by mouse messages to the form.
#include "kem3/controls/kemsplit_win.h"

#include <gtest/gtest.h>

#include "kem3/pictures/kemcursors.h"
#include "platform/app_scope_win.h"
#include "platform/extctrls_win.h"

namespace {

template <class T>
T* Child(TWinControl* parent, TAlign align, int extent = 0) {
  auto* c = new T(parent);
  c->SetParent(parent);
  c->SetAlign(align);
  // Placed at extent on the axis, extent thick (a splitter keeps its own thickness).
  if (align == alLeft)
    c->SetBounds(extent, 0, extent, 10);
  else
    c->SetBounds(0, extent, 10, extent);
  return c;
}

// A 400 x 303 client: a top panel of 100, the bar below it, the rest filled.
struct TScene {
  TForm* Form = NewForm<TQuietForm>(Application);
  TPanel* TopPanel = Child<TPanel>(Form, alTop, 100);
  TKemSplitter* Bar = Child<TKemSplitter>(Form, alTop, 100);
  int Moving = 0, Moved = 0;
  TScene() {
    Child<TPanel>(Form, alClient);
    Bar->OnMoving = [this](TObject*) { ++Moving; };
    Bar->OnMoved = [this](TObject*) { ++Moved; };
    Form->SetBounds(0, 0, 400, 303);
    Form->Show();
  }
};

void Drag(TScene& s, int fromY, std::initializer_list<int> toY) {
  SendMouse(s.Form->Handle(), WM_LBUTTONDOWN, 50, fromY, MK_LBUTTON);
  for (int y : toY) SendMouse(s.Form->Handle(), WM_MOUSEMOVE, 50, fromY = y, MK_LBUTTON);
  SendMouse(s.Form->Handle(), WM_LBUTTONUP, 50, fromY);
}

}  // namespace

TEST(KemSplitterWin, DragsItsNeighbourWithinLimits) {
  TAppScope app;
  TScene s;
  EXPECT_EQ(s.Bar->Neighbour(), s.TopPanel);
  s.Bar->SetHeight(20);
  EXPECT_EQ(s.Bar->GetHeight(), 3) << "always SplitSize high";

  // With a drag line the neighbour keeps its size until the release.
  HWND w = s.Form->Handle();
  SendMouse(w, WM_LBUTTONDOWN, 50, 101, MK_LBUTTON);
  SendMouse(w, WM_MOUSEMOVE, 50, 151, MK_LBUTTON);
  EXPECT_EQ(s.TopPanel->Height(), 100);
  SendMouse(w, WM_LBUTTONUP, 50, 151);
  EXPECT_EQ(s.Bar->Top(), 150);
  EXPECT_EQ(s.Moving + s.Moved, 2);

  // Limits: the other side keeps MinSize (303 - 3 - 30), and so does the neighbour.
  Drag(s, 151, {260, 400});
  EXPECT_EQ(s.TopPanel->Height(), 270);
  Drag(s, 271, {0});
  EXPECT_EQ(s.TopPanel->Height(), 30);

  // Live resizing follows each move.
  s.Bar->SetFullUpdate(true);
  SendMouse(w, WM_LBUTTONDOWN, 50, 31, MK_LBUTTON);
  SendMouse(w, WM_MOUSEMOVE, 50, 81, MK_LBUTTON);
  EXPECT_EQ(s.TopPanel->Height(), 80);
  SendMouse(w, WM_LBUTTONUP, 50, 81);

  // The release went elsewhere: a move without the button ends the drag where it was.
  SendMouse(w, WM_LBUTTONDOWN, 50, 81, MK_LBUTTON);
  SendMouse(w, WM_MOUSEMOVE, 50, 101, MK_LBUTTON);
  SendMouse(w, WM_MOUSEMOVE, 50, 150);
  EXPECT_EQ(s.TopPanel->Height(), 100);

  // Not to be dragged: nothing moves.
  s.Bar->SetAllowDrag(false);
  Drag(s, 101, {150});
  EXPECT_EQ(s.TopPanel->Height(), 100);
}

TEST(KemSplitterWin, RelativeModeFollowsTheParent) {
  TAppScope app;
  TScene s;
  s.Bar->SetSplitMode(smRelative);
  Drag(s, 101, {76});  // 75 of 300: a quarter
  EXPECT_DOUBLE_EQ(s.Bar->RelativeRatio(), 0.25);
  s.Form->SetClientHeight(403);
  EXPECT_EQ(s.TopPanel->Height(), 100);
  // Too small to share: the ratio stays for when there is room again.
  s.Form->SetClientHeight(2);
  EXPECT_DOUBLE_EQ(s.Bar->RelativeRatio(), 0.25);
  s.Form->SetClientHeight(803);
  EXPECT_EQ(s.TopPanel->Height(), 200);

  // Taken elsewhere, the bar no longer follows this form.
  TForm* other = NewForm<TQuietForm>(Application);
  s.Bar->SetParent(other);
  s.Form->SetClientHeight(403);
  EXPECT_EQ(s.TopPanel->Height(), 200);
  other->Free();  // and the bar with it
  s.Form->SetClientHeight(803);
}

TEST(KemSplitterWin, CrossingBarsDragTogether) {
  TAppScope app;
  TScene s;
  // A left bar in the rest of the form, its top touching the top bar.
  auto* left = Child<TPanel>(s.Form, alLeft, 100);
  auto* bar2 = Child<TKemSplitter>(s.Form, alLeft, 100);
  ASSERT_EQ(bar2->Top(), 103);
  EXPECT_EQ(bar2->Cursor(), crKemSplitH) << "its own from the start";
  ASSERT_EQ(s.Bar->CrossingSplitters(), std::vector<TKemSplitter*>{bar2});
  HWND w = s.Form->Handle();
  SendMouse(w, WM_MOUSEMOVE, 101, 102);
  EXPECT_EQ(s.Bar->Cursor(), crKemSplitHV);
  SendMouse(w, WM_LBUTTONDOWN, 101, 102, MK_LBUTTON);
  SendMouse(w, WM_MOUSEMOVE, 131, 122, MK_LBUTTON);
  SendMouse(w, WM_LBUTTONUP, 131, 122);
  EXPECT_EQ(s.TopPanel->Height(), 120);
  EXPECT_EQ(left->Width(), 130);
  bar2->SetAllowDrag(false);  // a crossing bar not to be dragged is not taken along
  SendMouse(w, WM_MOUSEMOVE, 131, 122);
  EXPECT_EQ(s.Bar->Cursor(), crKemSplitV);
}

TEST(KemSplitterWin, PaintsBevelsAndGrips) {
  TAppScope app;
  TScene s;
  constexpr TColor kFace = 0x202020, kLight = 0x00F0F0, kDark = 0x800000;
  TKemSplitter* b = s.Bar;
  b->SetSplitSize(6);
  b->SetColor(kFace);
  b->SetColorHighlight(kLight);
  b->SetColorShadow(kDark);
  b->SetBevelOuter(bvLowered);
  b->SetBevelInner(bvRaised);
  b->GripImage()->SetSize(2, 2);  // black grips
  s.Form->Repaint();
  auto at = [&](int x, int y) { return s.Form->PaintBuffer()->PixelColor(b->Left() + x, b->Top() + y); };
  const int w = b->Width();
  ASSERT_EQ(b->Height(), 6);
  EXPECT_EQ(at(0, 0), kDark);       // outer, lowered: dark above and left
  EXPECT_EQ(at(w - 1, 5), kLight);  // light below and right
  EXPECT_EQ(at(1, 1), kLight);      // inner, raised: the reverse
  EXPECT_EQ(at(10, 2), kFace);
  // Three 2 px grips in the middle of the length, centred across.
  EXPECT_EQ(at((w - 6 + 1) / 2, 2), clBlack);
  EXPECT_EQ(at((w - 6 + 1) / 2 + 5, 3), clBlack);
  EXPECT_EQ(at((w - 6 + 1) / 2 - 1, 3), kFace);
}
