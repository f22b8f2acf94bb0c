// The button set on real windows: pages and their buttons, selection by press,
// drag reordering with veto, accelerators with exact modifiers, the drop
// highlight, and pages that shrink under a button's own handler.
#include "kem3/controls/kembtns_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kem3/pictures/kemcursors.h"
#include "platform/app_scope_win.h"
#include "platform/deferred_release.h"

namespace {

struct TSetFixture {
  TForm* form = nullptr;
  TKemButtonSet* set = nullptr;
  int changes = 0;

  TSetFixture() {
    form = NewForm<TQuietForm>(Application);
    form->SetBounds(40, 40, 400, 200);
    form->Show();
    set = new TKemButtonSet(form);
    set->SetParent(form);
    set->SetBounds(0, 0, 300, 30);
    set->OnChange = [this](TObject*) { ++changes; };
  }

  void Lines(std::initializer_list<const char*> lines) {
    TStringList list;
    for (const char* line : lines) list.Add(line);
    set->SetPages(list);
  }

  HWND Button(int i) { return set->Buttons(i)->Handle(); }

  // Press and release in the middle of button i.
  void Press(int i) {
    TKemButtonSetButton* b = set->Buttons(i);
    SendMouse(b->Handle(), WM_LBUTTONDOWN, b->Width() / 2, b->Height() / 2, MK_LBUTTON);
  }
  void Release(int i) {
    TKemButtonSetButton* b = set->Buttons(i);
    SendMouse(b->Handle(), WM_LBUTTONUP, b->Width() / 2, b->Height() / 2);
  }
};

std::vector<TRect> ExpectedRects(TKemButtonSet* set) {
  TButtonSetGeometry g;
  g.Direction = set->Direction();
  g.Width = set->Width();
  g.Height = set->Height();
  g.Border = set->Border() != bvNone;
  g.SpaceAbove = set->SpaceAbove();
  g.SpaceBelow = set->SpaceBelow();
  g.ButtonWidth = set->ButtonWidth();
  g.ShowAccelChar = set->ShowAccelChar();
  TFontTextMeasure measure(*set->Font());
  return ArrangeButtonSet(set->Pages(), g, measure);
}

std::vector<WideString> Captions(TKemButtonSet* set) {
  std::vector<WideString> captions;
  for (int i = 0; i < set->ButtonCount(); ++i) captions.push_back(set->Buttons(i)->Caption());
  return captions;
}

}  // namespace

TEST(KemButtonSetWin, PageLinesBecomeButtonsInTheirPlaces) {
  TAppScope app;
  TSetFixture f;
  f.Lines({"&Games", "Tools,8", "Help:1", "Web:x"});
  ASSERT_EQ(f.set->ButtonCount(), 4);
  EXPECT_EQ(Captions(f.set), (std::vector<WideString>{u"&Games", u"Tools", u"Help", u"Web"}));
  TFontTextMeasure measure(*f.set->Font());
  EXPECT_EQ(f.set->Height(), ButtonSetThickness(0, measure.TextHeight(u"W"), 0, 0, 4, false));
  const auto rects = ExpectedRects(f.set);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(f.set->Buttons(i)->BoundsRect(), rects[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(f.set->Buttons(i)->Tag(), i);
  }
  EXPECT_EQ(f.set->Buttons(1)->Left(), f.set->Buttons(0)->BoundsRect().Right + 8);
  EXPECT_EQ(f.set->Buttons(2)->BoundsRect().Right, 300);
  EXPECT_TRUE(f.set->Buttons(2)->FarEnd());
  EXPECT_EQ(f.set->Buttons(1)->Gap(), 8);

  // Titles given whole keep their commas and colons, and their places.
  f.set->SetPageCaptions({u"R,8", u"Q:1"});
  ASSERT_EQ(f.set->ButtonCount(), 2);
  EXPECT_EQ(Captions(f.set), (std::vector<WideString>{u"R,8", u"Q:1"}));
  EXPECT_EQ(f.set->Buttons(1)->Left(), f.set->Buttons(0)->BoundsRect().Right);

  // A vertical bar takes its thickness as its width.
  f.set->SetDirection(bsdVerticalDown);
  EXPECT_EQ(f.set->Width(), ButtonSetThickness(0, measure.TextHeight(u"W"), 0, 0, 4, false));
  f.set->SetHeight(200);
  f.set->ArrangeButtons();
  const auto vertical = ExpectedRects(f.set);
  EXPECT_EQ(f.set->Buttons(0)->BoundsRect(), vertical[0]);
  EXPECT_EQ(f.set->Buttons(1)->Top(), f.set->Buttons(0)->BoundsRect().Bottom);
}

TEST(KemButtonSetWin, APressChoosesThePageAtOnce) {
  TAppScope app;
  TSetFixture f;
  f.Lines({"One", "Two", "   "});
  f.Press(1);
  EXPECT_EQ(f.set->PageIndex(), 1);
  EXPECT_EQ(f.set->SelectIndex(), 1);
  EXPECT_TRUE(f.set->Buttons(1)->Selected());
  EXPECT_EQ(f.changes, 2);  // the change of the index, then the click's own
  f.Release(1);
  EXPECT_EQ(f.changes, 2);  // a release without a drag clicks no more
  f.Press(1);
  f.Release(1);
  EXPECT_EQ(f.changes, 3);  // the same page again: only the click's OnChange
  f.Press(2);               // a blank caption clicks on the release only
  EXPECT_EQ(f.set->PageIndex(), 1);
  f.Release(2);
  EXPECT_EQ(f.set->PageIndex(), 2);
  EXPECT_EQ(f.changes, 5);
}

TEST(KemButtonSetWin, APageIndexOutsideThePagesDeselectsAll) {
  TAppScope app;
  TSetFixture f;
  f.Lines({"One", "Two"});
  f.set->SetPageIndex(1);
  EXPECT_EQ(f.changes, 1);
  f.set->SetPageIndex(f.set->PageCount());
  EXPECT_EQ(f.set->PageIndex(), -1);
  EXPECT_EQ(f.changes, 2);
  EXPECT_FALSE(f.set->Buttons(0)->Selected());
  EXPECT_FALSE(f.set->Buttons(1)->Selected());
  f.set->SetPageIndex(1);
  f.Lines({"Only"});  // the pages shrank below the index: none is current any more
  EXPECT_EQ(f.set->PageIndex(), -1);
}

TEST(KemButtonSetWin, ARightClickOnlyMarksThePage) {
  TAppScope app;
  TSetFixture f;
  f.Lines({"One", "Two"});
  f.set->SetPageIndex(0);
  f.changes = 0;
  SendMouse(f.Button(1), WM_RBUTTONDOWN, 5, 5, MK_RBUTTON);
  SendMouse(f.Button(1), WM_RBUTTONUP, 5, 5);
  EXPECT_EQ(f.set->SelectIndex(), 1);
  EXPECT_EQ(f.set->PageIndex(), 0);
  EXPECT_EQ(f.changes, 0);
}

TEST(KemButtonSetWin, ButtonMouseEventsReachTheSetsEvents) {
  TAppScope app;
  TSetFixture f;
  f.Lines({"One", "Two"});
  std::vector<std::string> log;
  f.set->OnMouseDown = [&](TObject* s, TMouseButton, TShiftState, int x, int y) {
    log.push_back(std::string(s == f.set->Buttons(1) ? "b1" : "?") + " down " + std::to_string(x) + "," +
                  std::to_string(y));
  };
  f.set->OnButtonMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("button down"); };
  f.set->OnButtonMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("button up"); };
  SendMouse(f.Button(1), WM_LBUTTONDOWN, 3, 4, MK_LBUTTON);
  SendMouse(f.Button(1), WM_LBUTTONUP, 3, 4);
  EXPECT_EQ(log, (std::vector<std::string>{"b1 down 3,4", "button down", "button up"}));
}

TEST(KemButtonSetWin, DraggingTheFirstButtonOverTheThirdSwapsThem) {
  TAppScope app;
  TSetFixture f;
  f.set->SetOptions({bsoDragReorder});
  f.set->SetButtonWidth(30);  // equal lengths: a swap changes no place but the two buttons'
  f.Lines({"A1", "B2", "C3"});
  std::vector<std::string> log;
  f.set->OnReorder = [&](TObject*, int cur, int dest, bool&) {
    log.push_back("reorder " + std::to_string(cur) + "," + std::to_string(dest));
  };
  f.set->OnReordered = [&](TObject*) { log.push_back("reordered"); };
  TKemButtonSetButton* a = f.set->Buttons(0);
  TKemButtonSetButton* b = f.set->Buttons(1);
  TKemButtonSetButton* c = f.set->Buttons(2);
  const TRect aPlace = a->BoundsRect(), bPlace = b->BoundsRect(), cPlace = c->BoundsRect();
  HWND h = a->Handle();

  SendMouse(h, WM_LBUTTONDOWN, 4, 5, MK_LBUTTON);
  EXPECT_EQ(f.set->PageIndex(), 0);
  SendMouse(h, WM_MOUSEMOVE, 9, 5, MK_LBUTTON);  // exactly the threshold: no drag yet
  EXPECT_FALSE(a->Dragging());
  SendMouse(h, WM_MOUSEMOVE, 10, 5, MK_LBUTTON);
  EXPECT_TRUE(a->Dragging());
  EXPECT_EQ(Screen->Cursor(), crKemHand);
  // Over the middle of the third button (client coordinates of the dragged one).
  SendMouse(h, WM_MOUSEMOVE, cPlace.Left + cPlace.Width() / 2 - aPlace.Left, 5, MK_LBUTTON);
  EXPECT_EQ(log, (std::vector<std::string>{"reorder 0,2"}));
  EXPECT_EQ(Captions(f.set), (std::vector<WideString>{u"C3", u"B2", u"A1"}));
  EXPECT_EQ(f.set->Pages()[0].Caption, u"C3");
  EXPECT_EQ(f.set->Buttons(2), a);
  EXPECT_EQ(a->Tag(), 2);
  EXPECT_EQ(c->Tag(), 0);
  EXPECT_EQ(c->BoundsRect(), aPlace);
  EXPECT_EQ(b->BoundsRect(), bPlace);  // the second stays in place
  EXPECT_EQ(a->Left(), bPlace.Right);
  EXPECT_EQ(f.set->SelectIndex(), 2);  // the selection goes with its page

  f.changes = 0;
  SendMouse(h, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(log.back(), "reordered");
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_FALSE(a->Dragging());
  EXPECT_EQ(f.set->PageIndex(), 2);  // after a drag the release clicks again
  EXPECT_GE(f.changes, 1);

  // A drag that loses the mouse ends where it stands: no more swaps, no click.
  SendMouse(h, WM_LBUTTONDOWN, 4, 5, MK_LBUTTON);
  SendMouse(h, WM_MOUSEMOVE, 20, 5, MK_LBUTTON);
  ReleaseCapture();
  EXPECT_FALSE(a->Dragging() || a->Tracking());
  SendMouse(h, WM_MOUSEMOVE, bPlace.Left + 5 - a->Left(), 5, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, bPlace.Left + 5 - a->Left(), 5);
  EXPECT_EQ(log, (std::vector<std::string>{"reorder 0,2", "reordered", "reordered"}));
}

TEST(KemButtonSetWin, AVetoedReorderLeavesButtonsAndPages) {
  TAppScope app;
  TSetFixture f;
  f.set->SetOptions({bsoDragReorder});
  f.Lines({"A1", "B2", "C3"});
  f.set->OnReorder = [](TObject*, int, int, bool& can) { can = false; };
  const TRect cPlace = f.set->Buttons(2)->BoundsRect();
  HWND h = f.Button(0);
  SendMouse(h, WM_LBUTTONDOWN, 4, 5, MK_LBUTTON);
  SendMouse(h, WM_MOUSEMOVE, 20, 5, MK_LBUTTON);
  SendMouse(h, WM_MOUSEMOVE, cPlace.Left + 5, 5, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, cPlace.Left + 5, 5);
  EXPECT_EQ(Captions(f.set), (std::vector<WideString>{u"A1", u"B2", u"C3"}));
  EXPECT_EQ(f.set->Buttons(2)->BoundsRect(), cPlace);

  // Without bsoDragReorder a move never starts a drag.
  f.set->SetOptions({});
  f.set->OnReorder = nullptr;
  SendMouse(h, WM_LBUTTONDOWN, 4, 5, MK_LBUTTON);
  SendMouse(h, WM_MOUSEMOVE, cPlace.Left + 5, 5, MK_LBUTTON);
  EXPECT_FALSE(f.set->Buttons(0)->Dragging());
  SendMouse(h, WM_LBUTTONUP, cPlace.Left + 5, 5);
  EXPECT_EQ(Captions(f.set), (std::vector<WideString>{u"A1", u"B2", u"C3"}));
}

TEST(KemButtonSetWin, AcceleratorsNeedTheExactModifierAndCycle) {
  TAppScope app;
  TSetFixture f;
  f.Lines({"&Games", "&Tools", "&Go", "Misc"});
  EXPECT_TRUE(BroadcastDialogChar(f.form, u'g', {ssAlt}));
  EXPECT_EQ(f.set->PageIndex(), 0);
  EXPECT_TRUE(f.set->DialogChar(u'G', {ssAlt}));
  EXPECT_EQ(f.set->PageIndex(), 2);
  EXPECT_TRUE(f.set->DialogChar(u'g', {ssAlt}));
  EXPECT_EQ(f.set->PageIndex(), 0);
  EXPECT_FALSE(f.set->DialogChar(u't', {ssAlt, ssShift}));  // Alt+Shift is not Alt
  EXPECT_FALSE(f.set->DialogChar(u't', {}));
  EXPECT_FALSE(f.set->DialogChar(u'm', {ssAlt}));  // no page carries it
  EXPECT_FALSE(f.set->DialogChar(u'-', {ssAlt}));

  f.set->SetAccelModifier(amNone);
  EXPECT_FALSE(f.set->DialogChar(u't', {ssAlt}));
  EXPECT_TRUE(f.set->DialogChar(u't', {}));
  EXPECT_EQ(f.set->PageIndex(), 1);

  int clicks = 0;
  f.set->OnClick = [&](TObject*) { ++clicks; };
  f.set->SetAccelAction(aaClick);
  EXPECT_TRUE(f.set->DialogChar(u'g', {}));
  EXPECT_EQ(f.set->PageIndex(), 0);
  EXPECT_EQ(clicks, 1);

  int chosen = -1, count = 0;
  f.set->OnAccelerator = [&](TObject*, int index, int n) {
    chosen = index;
    count = n;
  };
  f.set->SetAccelAction(aaCustom);
  EXPECT_TRUE(f.set->DialogChar(u'g', {}));
  EXPECT_EQ(chosen, 2);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(f.set->PageIndex(), 0);  // the custom handler decides

  f.set->SetShowAccelChar(false);
  EXPECT_FALSE(f.set->DialogChar(u'g', {}));
  f.set->SetShowAccelChar(true);
  f.set->SetEnabled(false);
  EXPECT_FALSE(f.set->DialogChar(u'g', {}));
}

TEST(KemButtonSetWin, TheDropTargetIsUnderlined) {
  TAppScope app;
  TSetFixture f;
  f.Lines({"One", "Two", "Three"});
  f.set->HighlightButton(1);
  EXPECT_TRUE(f.set->Buttons(1)->DropHighlight());
  EXPECT_TRUE(f.set->Buttons(1)->Font()->Style().Contains(fsUnderline));
  EXPECT_FALSE(f.set->Buttons(0)->Font()->Style().Contains(fsUnderline));
  f.set->HighlightButton(2);
  EXPECT_FALSE(f.set->Buttons(1)->DropHighlight());
  EXPECT_FALSE(f.set->Buttons(1)->Font()->Style().Contains(fsUnderline));
  EXPECT_TRUE(f.set->Buttons(2)->Font()->Style().Contains(fsUnderline));
  f.set->HighlightButton(-1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(f.set->Buttons(i)->DropHighlight());
    EXPECT_FALSE(f.set->Buttons(i)->Font()->Style().Contains(fsUnderline));
  }
  // A button that was the target follows the set's font again.
  TFont bigger;
  bigger.Assign(*f.set->Font());
  bigger.SetSize(14);
  f.set->SetFont(bigger);
  EXPECT_EQ(f.set->Buttons(1)->Font()->Size(), 14);
}

TEST(KemButtonSetWin, PagesMayShrinkUnderTheHandlerOfTheirOwnButton) {
  TAppScope app;
  TSetFixture f;
  f.Lines({"One", "Two", "Three"});
  TKemButtonSetButton* first = f.set->Buttons(0);
  f.set->OnButtonMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { f.set->SetPageCaptions({u"Left"}); };
  SendMouse(first->Handle(), WM_LBUTTONDOWN, 4, 4, MK_LBUTTON);
  SendMouse(first->Handle(), WM_LBUTTONUP, 4, 4);
  ASSERT_EQ(f.set->ButtonCount(), 1);
  EXPECT_EQ(f.set->Buttons(0)->Caption(), u"Left");
  EXPECT_GE(ProcessDeferredReleases(), 1);
  EXPECT_EQ(f.set->ButtonCount(), 1);
}
