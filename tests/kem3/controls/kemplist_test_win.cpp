// The panel list on real windows: border colours and fades in its off-screen
// picture, presses, moves and releases (threshold, reorder, drop on a button
// set), double clicks, keys, accelerators, the wheel and hot tracking.
#include "kem3/controls/kemplist_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kem3/controls/kembtns_win.h"
#include "platform/app_scope_win.h"
#include "platform/keys.h"
#include "platform/timer.h"
#include "support/keys_win.h"

namespace {

using Log = std::vector<std::string>;

struct TFixture {
  TAppScope App;
  TForm* Form = nullptr;
  TKemPanelList* List = nullptr;

  explicit TFixture(int width = 200, int height = 150) {
    Form = NewForm<TQuietForm>(Application);
    Form->SetBounds(40, 40, 420, 320);
    Form->Show();
    List = new TKemPanelList(Form);
    List->SetParent(Form);
    List->SetBounds(10, 10, width, height);
  }
  HWND H() { return List->Handle(); }
  TPoint Centre(int i) { return CenterPoint(List->ItemRect(i)); }
  void Add(int n) {
    for (int i = 0; i < n; ++i) List->Add(std::u16string(1, static_cast<char16_t>(u'a' + i)));
  }
  std::u16string Order() {
    std::u16string s;
    for (int i = 0; i < List->Count(); ++i) s += List->Items(i)->Caption();
    return s;
  }
  void Mouse(UINT msg, TPoint p, WPARAM keys = 0) { SendMouse(H(), msg, p.X, p.Y, keys); }
  void Key(WORD key) { SendMessageW(H(), WM_KEYDOWN, key, 1); }
  TColor Pixel(int x, int y) {
    List->Repaint();
    return List->PaintBuffer()->PixelColor(x, y);
  }
};

constexpr TColor kRed = RGBColor(200, 0, 0);
constexpr TColor kGreen = RGBColor(0, 200, 0);
constexpr TColor kBlue = RGBColor(0, 0, 200);
constexpr TColor kYellow = RGBColor(200, 200, 0);
constexpr TColor kPaper = RGBColor(250, 250, 250);

}  // namespace

TEST(KemPlistWin, BordersDrawTheirEdgeColoursAndShrinkTheItemsArea) {
  TFixture f(120, 80);
  f.List->SetColor(kPaper);
  f.List->SetColorFrame(kRed);
  f.List->SetColorHighlight(kGreen);
  f.List->SetColorShadow(kBlue);
  f.List->SetColorSpark(kYellow);
  const int w = 120, h = 80;
  EXPECT_EQ(f.List->ItemsArea(), Rect(2, 2, w - 2, h - 2)) << "plbLoweredDeep is the default";
  EXPECT_EQ(f.Pixel(0, 30), kRed);
  EXPECT_EQ(f.Pixel(30, 0), kRed);
  EXPECT_EQ(f.Pixel(1, 30), kBlue);
  EXPECT_EQ(f.Pixel(w - 1, 30), kGreen);
  EXPECT_EQ(f.Pixel(30, h - 1), kGreen);
  EXPECT_EQ(f.Pixel(w - 2, 30), kYellow);
  EXPECT_EQ(f.Pixel(30, h - 2), kYellow);
  EXPECT_EQ(f.Pixel(2, 30), kPaper);

  f.List->SetBorder(plbRaisedHigh);
  EXPECT_EQ(f.Pixel(0, 30), kGreen);
  EXPECT_EQ(f.Pixel(1, 30), kYellow);
  EXPECT_EQ(f.Pixel(w - 1, 30), kRed);
  EXPECT_EQ(f.Pixel(w - 2, 30), kBlue);

  f.List->SetBorder(plbLowered);
  EXPECT_EQ(f.List->ItemsArea(), Rect(1, 1, w - 1, h - 1));
  EXPECT_EQ(f.Pixel(0, 30), kBlue);
  EXPECT_EQ(f.Pixel(w - 1, 30), kGreen);
  EXPECT_EQ(f.Pixel(1, 30), kPaper);

  f.List->SetBorder(plbRaised);
  EXPECT_EQ(f.Pixel(0, 30), kGreen);
  EXPECT_EQ(f.Pixel(w - 1, 30), kBlue);

  f.List->SetBorder(plbNone);
  EXPECT_EQ(f.List->ItemsArea(), Rect(0, 0, w, h));
  EXPECT_EQ(f.Pixel(0, 30), kPaper);
}

TEST(KemPlistWin, TheScrolledEndsFadeIntoTheBackground) {
  TFixture f(120, 80);
  f.List->SetBorder(plbNone);
  f.List->SetColor(kPaper);
  f.List->OnCustomDrawBack = [](TObject*, int, TCanvas* canvas, const TRect& r, bool& drawn) {
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(r);
    drawn = true;
  };
  f.Add(20);
  ASSERT_TRUE(f.List->Scroller()->Visible());
  EXPECT_EQ(f.Pixel(60, 79), clBlack) << "no fades without a FadeWidth";
  f.List->SetFadeWidth(6);
  EXPECT_EQ(f.Pixel(60, 79), kPaper) << "the end fades";
  EXPECT_EQ(f.Pixel(60, 79 - 6), clBlack);
  EXPECT_EQ(f.Pixel(60, 0), clBlack) << "at position 0 the start does not fade";
  f.List->Scroller()->SetPosition(10);
  EXPECT_EQ(f.Pixel(60, 0), kPaper);
  EXPECT_EQ(f.Pixel(60, 79), kPaper);
  f.List->Scroller()->SetPosition(f.List->Scroller()->Length() - 1);
  EXPECT_EQ(f.Pixel(60, 0), kPaper);
  EXPECT_EQ(f.Pixel(60, 79), clBlack) << "at the last position the end does not fade";
}

TEST(KemPlistWin, PressesSelectClicksComeOnReleaseAndDoubleClicksDoNotReselect) {
  TFixture f;
  f.Add(4);
  Log log;
  f.List->OnChange = [&](TObject*) { log.push_back("change " + std::to_string(f.List->ItemIndex())); };
  f.List->OnClick = [&](TObject*) { log.push_back("click"); };
  f.List->OnDblClick = [&](TObject*) { log.push_back("dblclick"); };
  f.List->SetOptions(TKemPanelListOptions{ploDoubleClicks, ploRightClicks});
  const TPoint p1 = f.Centre(1);
  f.Mouse(WM_LBUTTONDOWN, p1, MK_LBUTTON);
  EXPECT_EQ(GetCapture(), f.H());
  f.Mouse(WM_LBUTTONUP, p1);
  EXPECT_EQ(GetCapture(), nullptr);
  f.Mouse(WM_LBUTTONDBLCLK, p1, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, p1);
  EXPECT_EQ(log, (Log{"change 1", "click", "dblclick"}));

  log.clear();  // the right button selects but does not click
  f.Mouse(WM_RBUTTONDOWN, f.Centre(2), MK_RBUTTON);
  f.Mouse(WM_RBUTTONUP, f.Centre(2));
  EXPECT_EQ(log, (Log{"change 2"}));

  log.clear();  // a press on empty space inside the items area clears the selection
  const TRect area = f.List->ItemsArea();
  f.Mouse(WM_LBUTTONDOWN, Point(20, area.Bottom - 3), MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, Point(20, area.Bottom - 3));
  EXPECT_EQ(f.List->ItemIndex(), -1);
  f.Mouse(WM_LBUTTONDOWN, Point(0, f.Centre(1).Y), MK_LBUTTON);  // on the border: ignored
  f.Mouse(WM_LBUTTONUP, Point(0, f.Centre(1).Y));
  EXPECT_EQ(f.List->ItemIndex(), -1);
}

TEST(KemPlistWin, DoubleClickTogglesACheckBoxInChecklistMode) {
  TFixture f;
  f.Add(3);
  f.List->SetOptions(TKemPanelListOptions{ploDoubleClicks, ploChecklist});
  int checks = 0;
  f.List->OnCheckChange = [&](TObject*) { ++checks; };
  const TPoint p = f.Centre(0);
  f.Mouse(WM_LBUTTONDOWN, p, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, p);
  f.Mouse(WM_LBUTTONDBLCLK, p, MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, p);
  EXPECT_TRUE(f.List->Items(0)->Checked);
  EXPECT_EQ(checks, 1);
}

TEST(KemPlistWin, ADragWithinTheThresholdIsAClickBeyondItReorders) {
  TFixture f;
  f.Add(5);
  f.List->SetOptions(TKemPanelListOptions{ploDragReorder});
  Log log;
  f.List->OnClick = [&](TObject*) { log.push_back("click"); };
  f.List->OnReorder = [&](TObject*, int from, int to) {
    log.push_back("reorder " + std::to_string(from) + ">" + std::to_string(to));
  };
  TPoint p = f.Centre(0);
  f.Mouse(WM_LBUTTONDOWN, p, MK_LBUTTON);
  f.Mouse(WM_MOUSEMOVE, p + Point(TKemPanelList::DragThreshold, 0), MK_LBUTTON);
  EXPECT_FALSE(f.List->Dragging());
  f.Mouse(WM_LBUTTONUP, p + Point(TKemPanelList::DragThreshold, 0));
  EXPECT_EQ(log, (Log{"click"}));

  log.clear();
  f.Mouse(WM_LBUTTONDOWN, p, MK_LBUTTON);
  f.Mouse(WM_MOUSEMOVE, p + Point(0, TKemPanelList::DragThreshold + 1), MK_LBUTTON);
  EXPECT_TRUE(f.List->Dragging());
  f.Mouse(WM_MOUSEMOVE, f.Centre(2), MK_LBUTTON);
  EXPECT_EQ(f.Order(), u"bcade");
  EXPECT_EQ(f.List->ItemIndex(), 2);
  f.Mouse(WM_MOUSEMOVE, f.Centre(3), MK_LBUTTON);
  EXPECT_EQ(f.Order(), u"bcdae");
  f.Mouse(WM_LBUTTONUP, f.Centre(3));
  EXPECT_FALSE(f.List->Dragging());
  EXPECT_EQ(log, (Log{"reorder 0>3"})) << "no click after a drag";

  log.clear();  // released where it started: still a reorder
  p = f.Centre(1);
  f.Mouse(WM_LBUTTONDOWN, p, MK_LBUTTON);
  f.Mouse(WM_MOUSEMOVE, p + Point(TKemPanelList::DragThreshold + 1, 0), MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, p);
  EXPECT_EQ(log, (Log{"reorder 1>1"}));

  log.clear();
  f.List->OnCanReorder = [&](TObject*, int, int, bool& can) { can = false; };
  f.Mouse(WM_LBUTTONDOWN, f.Centre(0), MK_LBUTTON);
  f.Mouse(WM_MOUSEMOVE, f.Centre(4), MK_LBUTTON);
  EXPECT_EQ(f.Order(), u"bcdae") << "vetoed";
  f.Mouse(WM_LBUTTONUP, f.Centre(4));
}

TEST(KemPlistWin, DroppingAnItemOnAButtonReturnsItAndReportsTheButton) {
  TFixture f(200, 120);
  f.Add(4);
  f.List->SetOptions(TKemPanelListOptions{ploDragReorder});
  auto* set = new TKemButtonSet(f.Form);
  set->SetParent(f.Form);
  set->SetBounds(10, 200, 300, 24);
  set->SetPageCaptions({u"One", u"Two", u"Three"});
  f.List->SetButtonSet(set);
  Log log;
  f.List->OnReorder = [&](TObject*, int from, int to) {
    log.push_back("reorder " + std::to_string(from) + ">" + std::to_string(to));
  };
  f.List->OnDropIcon = [&](TObject*, int item, int button) {
    log.push_back("drop " + std::to_string(item) + " on " + std::to_string(button));
  };
  auto onButton = [&](int i) {
    const TPoint screen = set->ClientToScreen(CenterPoint(set->Buttons(i)->BoundsRect()));
    return f.List->ScreenToClient(screen);
  };
  ASSERT_EQ(
      set->ButtonAtPos(CenterPoint(set->Buttons(1)->BoundsRect()).X, CenterPoint(set->Buttons(1)->BoundsRect()).Y), 1);

  f.Mouse(WM_LBUTTONDOWN, f.Centre(0), MK_LBUTTON);
  f.Mouse(WM_MOUSEMOVE, f.Centre(2), MK_LBUTTON);
  EXPECT_EQ(f.Order(), u"bcad");
  f.Mouse(WM_MOUSEMOVE, onButton(1), MK_LBUTTON);
  EXPECT_EQ(f.List->DropButton(), 1);
  EXPECT_EQ(f.Order(), u"abcd") << "back at its starting place while over a button";
  EXPECT_EQ(f.List->ItemIndex(), 0);
  f.Mouse(WM_LBUTTONUP, onButton(1));
  EXPECT_EQ(log, (Log{"drop 0 on 1"}));
  EXPECT_EQ(f.List->ItemIndex(), -1);
  EXPECT_EQ(f.List->DropButton(), -1);

  log.clear();  // a refused drop ends as a reorder
  f.List->OnCanDropIcon = [&](TObject*, int, int, bool& can) { can = false; };
  f.Mouse(WM_LBUTTONDOWN, f.Centre(1), MK_LBUTTON);
  f.Mouse(WM_MOUSEMOVE, f.Centre(3), MK_LBUTTON);
  f.Mouse(WM_MOUSEMOVE, onButton(2), MK_LBUTTON);
  EXPECT_EQ(f.List->DropButton(), -1);
  f.Mouse(WM_LBUTTONUP, onButton(2));
  EXPECT_EQ(log, (Log{"reorder 1>3"}));
  EXPECT_EQ(f.Order(), u"acdb");
}

TEST(KemPlistWin, ClearOrDeleteEndsARunningDrag) {
  for (const bool clear : {true, false}) {
    TFixture f;
    f.Add(5);
    f.List->SetOptions(TKemPanelListOptions{ploDragReorder});
    Log log;
    f.List->OnReorder = [&](TObject*, int, int) { log.push_back("reorder"); };
    f.Mouse(WM_LBUTTONDOWN, f.Centre(0), MK_LBUTTON);
    f.Mouse(WM_MOUSEMOVE, f.Centre(2), MK_LBUTTON);
    f.Key(VK_HOME);  // keys leave the dragged item selected
    EXPECT_EQ(f.List->ItemIndex(), 2);
    clear ? f.List->Clear() : f.List->Delete(0);  // Delete: the "b" shown first, once "a" is back
    EXPECT_FALSE(f.List->Dragging());
    f.Mouse(WM_LBUTTONUP, Point(20, 20));
    EXPECT_EQ(f.Order(), clear ? u"" : u"acde");
    EXPECT_EQ(log, Log{});
  }
}

TEST(KemPlistWin, KeysMoveThroughTheListAndTheGrid) {
  TFixture f(200, 120);
  f.Add(12);
  f.Key(VK_DOWN);
  EXPECT_EQ(f.List->ItemIndex(), 0) << "the first key selects the first item";
  f.Key(VK_DOWN);
  EXPECT_EQ(f.List->ItemIndex(), 1);
  f.Key(VK_END);
  EXPECT_EQ(f.List->ItemIndex(), 11);
  EXPECT_GT(f.List->ScrollPosition(), 0) << "the selection scrolled into view";
  const TRect last = f.List->ItemRect(11);
  EXPECT_LE(last.Bottom, f.List->ItemsArea().Bottom);
  f.Key(VK_HOME);
  EXPECT_EQ(f.List->ItemIndex(), 0);
  EXPECT_EQ(f.List->ScrollPosition(), 0);
  const int page = f.List->Layout().Grid(f.List->Height()).Page;
  f.Key(VK_NEXT);
  EXPECT_EQ(f.List->ItemIndex(), page);
  f.Key(VK_PRIOR);
  EXPECT_EQ(f.List->ItemIndex(), 0);

  f.List->SetOptions(TKemPanelListOptions{ploDragReorder});
  {
    TKeysDown ctrl({VK_CONTROL});
    f.Key(VK_DOWN);
  }
  EXPECT_EQ(f.Order().substr(0, 3), u"bac");
  EXPECT_EQ(f.List->ItemIndex(), 1);

  f.List->SetStyle(plsListview);
  f.List->SetItemWidth(40);
  const int columns = f.List->Layout().Columns();
  ASSERT_GT(columns, 1);
  f.List->SetItemIndex(0);
  f.Key(VK_RIGHT);
  EXPECT_EQ(f.List->ItemIndex(), 1);
  f.Key(VK_DOWN);
  EXPECT_EQ(f.List->ItemIndex(), 1 + columns);
  f.List->SetOptions(TKemPanelListOptions{ploDisableKeyboard});
  f.Key(VK_UP);
  EXPECT_EQ(f.List->ItemIndex(), 1 + columns);
  EXPECT_FALSE(f.List->TabStop());
  EXPECT_EQ(SendMessageW(f.H(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, 0);
  f.List->SetOptions({});
  EXPECT_NE(SendMessageW(f.H(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, 0);
}

TEST(KemPlistWin, AcceleratorsAnswerTheExactModifierThroughTheForm) {
  TFixture f;
  f.List->Add(u"&Apple");
  f.List->Add(u"&Banana");
  f.List->Add(u"&Avocado");
  EXPECT_TRUE(BroadcastDialogChar(f.Form, u'a', TShiftState{ssAlt}));
  EXPECT_EQ(f.List->ItemIndex(), 0);
  EXPECT_TRUE(f.List->DialogChar(u'A', TShiftState{ssAlt}));
  EXPECT_EQ(f.List->ItemIndex(), 2);
  EXPECT_FALSE(f.List->DialogChar(u'b', TShiftState{ssAlt, ssShift}));
  EXPECT_FALSE(f.List->DialogChar(u'b', TShiftState{}));
  f.List->SetEnabled(false);
  EXPECT_FALSE(f.List->DialogChar(u'b', TShiftState{ssAlt}));
  f.List->SetEnabled(true);
  f.List->SetAccelModifier(amCtrl);
  f.List->SetAccelAction(aaClick);
  int clicks = 0;
  f.List->OnClick = [&](TObject*) { ++clicks; };
  EXPECT_TRUE(f.List->DialogChar(u'b', TShiftState{ssCtrl}));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(f.List->ItemIndex(), -1);
}

TEST(KemPlistWin, TheWheelScrollsTheListOrGoesToItsParent) {
  TFixture f(200, 80);
  f.Add(20);
  ASSERT_TRUE(f.List->Scroller()->Visible());
  f.Form->SetActiveControl(f.List);
  int formWheels = 0;
  f.Form->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& handled) {
    ++formWheels;
    handled = true;
  };
  const TPoint inside = f.List->ClientToScreen(Point(50, 40));
  auto wheelDown = [&](TPoint at) {
    SendMessageW(f.Form->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 PointToLParam(at.X, at.Y));
  };
  wheelDown(inside);
  EXPECT_EQ(f.List->ScrollPosition(), f.List->Scroller()->Step());
  EXPECT_EQ(formWheels, 0);
  wheelDown(f.List->ClientToScreen(Point(50, 120)));  // outside the list
  EXPECT_EQ(formWheels, 1);
  f.List->SetOptions(TKemPanelListOptions{ploNoWheelScrollBars});
  wheelDown(inside);
  EXPECT_EQ(formWheels, 2);
  EXPECT_EQ(f.List->ScrollPosition(), f.List->Scroller()->Step());
}

TEST(KemPlistWin, HotTrackingSelectsTheItemThePointerRestsOn) {
  TFakeTimerService timers;
  TFixture f;
  f.Add(4);
  f.List->SetOptions(TKemPanelListOptions{ploHotTracking});
  int hot = 0;
  f.List->OnHotTrack = [&](TObject*) { ++hot; };
  f.Mouse(WM_MOUSEMOVE, f.Centre(2));
  EXPECT_EQ(f.List->HotIndex(), 2);
  EXPECT_EQ(hot, 1);
  EXPECT_EQ(f.List->ItemIndex(), -1);
  timers.Advance(249);
  EXPECT_EQ(f.List->ItemIndex(), -1);
  timers.Advance(1);
  EXPECT_EQ(f.List->ItemIndex(), 2);
  f.Mouse(WM_MOUSEMOVE, f.Centre(1));
  f.Key(VK_DOWN);
  EXPECT_EQ(f.List->HotIndex(), -1) << "a key ends the hot item";
  timers.Advance(1000);
  EXPECT_EQ(f.List->ItemIndex(), 3) << "the key stopped the pending selection";
}

TEST(KemPlistWin, TreeExpandBoxesToggleOnPress) {
  TFixture f;
  f.List->SetStyle(plsTreeview);
  TKemPanelListItem* root = f.List->Add(u"root");
  root->AddChild(u"child");
  f.List->Add(u"next");
  f.List->Rebuild();
  const TRect r = f.List->ItemRect(0);
  const TRect box = f.List->Layout().ExpandBoxRect(r, 0, false);
  f.Mouse(WM_LBUTTONDOWN, CenterPoint(box), MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, CenterPoint(box));
  EXPECT_FALSE(root->Expanded);
  EXPECT_EQ(f.List->ItemIndex(), -1) << "the box does not select without ploTreeviewCheckSelects";
  EXPECT_EQ(f.List->ItemAtPos(f.Centre(2).X, f.Centre(2).Y), 2);
  EXPECT_EQ(f.List->ItemRect(2).Top, r.Bottom) << "the hidden child takes no room";
  f.List->SetOptions(TKemPanelListOptions{ploTreeviewCheckSelects});
  f.Mouse(WM_LBUTTONDOWN, CenterPoint(box), MK_LBUTTON);
  f.Mouse(WM_LBUTTONUP, CenterPoint(box));
  EXPECT_TRUE(root->Expanded);
  EXPECT_EQ(f.List->ItemIndex(), 0);
}
