// Controls on real windows: mouse order and capture, graphic children,
// alignment, painting into the off-screen picture, bound message handlers,
// keys and the wheel.
#include "platform/controls_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_scope_win.h"
#include "platform/extctrls_win.h"
#include "platform/forms_win.h"
#include "platform/geometry_win.h"

namespace {

using Log = std::vector<std::string>;

std::string Describe(const char* what, TMouseButton button, TShiftState shift, int x, int y) {
  std::string s = std::string(what) + (button == mbLeft ? " L " : button == mbRight ? " R " : " M ");
  s += std::to_string(x) + "," + std::to_string(y);
  if (shift.Contains(ssDouble)) s += " double";
  return s;
}

// Logs its mouse virtuals and paints itself in Fill.
class TProbe : public TCustomControl {
 public:
  TProbe(TComponent* AOwner, Log& log) : TCustomControl(AOwner), FLog(log) {}
  TColor Fill = clRed;
  bool Paints = true;

 protected:
  void Click() override {
    FLog.push_back("click");
    TCustomControl::Click();
  }
  void DblClick() override {
    FLog.push_back("dblclick");
    TCustomControl::DblClick();
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    FLog.push_back(Describe("down", Button, Shift, X, Y));
    TCustomControl::MouseDown(Button, Shift, X, Y);
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    FLog.push_back(Describe("up", Button, Shift, X, Y));
    TCustomControl::MouseUp(Button, Shift, X, Y);
  }
  void Paint() override {
    if (!Paints) return;
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }

 private:
  Log& FLog;
};

class TGraphicProbe : public TGraphicControl {
 public:
  TGraphicProbe(TComponent* AOwner, Log& log) : TGraphicControl(AOwner), FLog(log) {}
  TColor Fill = clBlue;

 protected:
  void Click() override { FLog.push_back("g click"); }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    FLog.push_back(Describe("g down", Button, Shift, X, Y));
  }
  void MouseMove(TShiftState, int X, int Y) override {
    FLog.push_back("g move " + std::to_string(X) + "," + std::to_string(Y));
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    FLog.push_back(Describe("g up", Button, Shift, X, Y));
  }
  void MouseEnter() override { FLog.push_back("g enter"); }
  void MouseLeave() override { FLog.push_back("g leave"); }
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }

 private:
  Log& FLog;
};

// A borderless form (client area = bounds) on the screen.
TForm* ShownForm(int width = 300, int height = 200) {
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(40, 40, width, height);
  form->Show();
  return form;
}

template <class T>
T* Child(TWinControl* parent, Log& log, TRect bounds) {
  auto* c = new T(parent, log);
  c->SetParent(parent);
  c->SetBoundsRect(bounds);
  return c;
}

TRect WindowPlace(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return FromRECT(r);
}

}  // namespace

TEST(ControlsWin, ClickComesBeforeMouseUpAndDblClickBeforeTheDoubleMouseDown) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  auto* probe = Child<TProbe>(form, log, Bounds(10, 10, 50, 40));
  HWND h = probe->Handle();
  SendMouse(h, WM_LBUTTONDOWN, 5, 6, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 5, 6);
  SendMouse(h, WM_LBUTTONDBLCLK, 5, 6, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 5, 6);
  EXPECT_EQ(log, (Log{"down L 5,6", "click", "up L 5,6", "dblclick", "down L 5,6 double", "up L 5,6"}));

  log.clear();  // released outside: no click; the right button never clicks
  SendMouse(h, WM_LBUTTONDOWN, 5, 6, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 80, 6);
  SendMouse(h, WM_RBUTTONDOWN, 1, 2, MK_RBUTTON);
  SendMouse(h, WM_RBUTTONUP, 1, 2);
  EXPECT_EQ(log, (Log{"down L 5,6", "up L 80,6", "down R 1,2", "up R 1,2"}));

  log.clear();  // without csDoubleClicks the second press is a plain one, and clicks again
  probe->SetControlStyle(probe->ControlStyle() - csDoubleClicks);
  SendMouse(h, WM_LBUTTONDBLCLK, 5, 6, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 5, 6);
  EXPECT_EQ(log, (Log{"down L 5,6", "click", "up L 5,6"}));
}

TEST(ControlsWin, MouseIsCapturedWhileTheLeftButtonIsHeld) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  auto* probe = Child<TProbe>(form, log, Bounds(10, 10, 50, 40));
  HWND h = probe->Handle();
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_EQ(GetCapture(), h);
  EXPECT_TRUE(probe->MouseCapture());
  SendMouse(h, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(probe->MouseCapture());

  probe->SetControlStyle(probe->ControlStyle() - csCaptureMouse);
  SendMouse(h, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_EQ(GetCapture(), nullptr);
  SendMouse(h, WM_LBUTTONUP, 5, 5);
}

TEST(ControlsWin, GraphicChildGetsTheMouseThroughItsParentAndKeepsTheCapture) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  int formDowns = 0;
  form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++formDowns; };
  auto* g = Child<TGraphicProbe>(form, log, Bounds(20, 30, 40, 20));
  HWND h = form->Handle();
  SendMouse(h, WM_LBUTTONDOWN, 25, 35, MK_LBUTTON);
  EXPECT_EQ(GetCapture(), h);
  EXPECT_EQ(GetCaptureControl(), g);
  SendMouse(h, WM_MOUSEMOVE, 150, 90, MK_LBUTTON);  // outside, but captured
  SendMouse(h, WM_LBUTTONUP, 150, 90);
  EXPECT_EQ(GetCaptureControl(), nullptr);
  SendMouse(h, WM_LBUTTONDOWN, 21, 31, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 22, 32);
  EXPECT_EQ(log, (Log{"g down L 5,5", "g move 130,60", "g up L 130,60", "g down L 1,1", "g click", "g up L 2,2"}));
  EXPECT_EQ(formDowns, 0);

  log.clear();  // a disabled graphic child leaves the mouse to its parent
  g->SetEnabled(false);
  SendMouse(h, WM_LBUTTONDOWN, 25, 35, MK_LBUTTON);
  SendMouse(h, WM_LBUTTONUP, 25, 35);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(formDowns, 1);
}

TEST(ControlsWin, MouseEnterAndLeaveOfWindowAndGraphicChild) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  form->OnMouseEnter = [&](TObject*) { log.push_back("form enter"); };
  form->OnMouseLeave = [&](TObject*) { log.push_back("form leave"); };
  Child<TGraphicProbe>(form, log, Bounds(20, 30, 40, 20));
  HWND h = form->Handle();
  SendMouse(h, WM_MOUSEMOVE, 5, 5);
  SendMouse(h, WM_MOUSEMOVE, 25, 35);
  SendMouse(h, WM_MOUSEMOVE, 26, 35);
  SendMouse(h, WM_MOUSEMOVE, 100, 100);
  SendMouse(h, WM_MOUSEMOVE, 25, 35);
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(log, (Log{"form enter", "g enter", "g move 5,5", "g move 6,5", "g leave", "g enter", "g move 5,5",
                      "g leave", "form leave"}));
}

TEST(ControlsWin, AlignedChildrenFollowTheLibraryOrderAndTheParentsSize) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm(300, 200);
  // As when a form is loaded: bounds first, arrangement once at the end.
  form->DisableAlign();
  auto aligned = [&](TAlign align, TRect bounds) {
    auto* p = Child<TProbe>(form, log, bounds);
    p->SetAlign(align);
    return p;
  };
  TProbe* client = aligned(alClient, Bounds(0, 0, 10, 10));
  TProbe* lower = aligned(alTop, Bounds(0, 50, 10, 20));
  TProbe* upper = aligned(alTop, Bounds(0, 10, 10, 30));
  TProbe* right = aligned(alLeft, Bounds(100, 0, 60, 10));
  TProbe* left = aligned(alLeft, Bounds(0, 0, 40, 10));
  TProbe* bottom = aligned(alBottom, Bounds(0, 0, 10, 25));
  EXPECT_EQ(upper->BoundsRect(), Bounds(0, 10, 10, 30));  // nothing moved yet
  form->EnableAlign();
  EXPECT_EQ(upper->BoundsRect(), Bounds(0, 0, 300, 30));
  EXPECT_EQ(lower->BoundsRect(), Bounds(0, 30, 300, 20));
  EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 175, 300, 25));
  EXPECT_EQ(left->BoundsRect(), Bounds(0, 50, 40, 125));
  EXPECT_EQ(right->BoundsRect(), Bounds(40, 50, 60, 125));
  EXPECT_EQ(client->BoundsRect(), Bounds(100, 50, 200, 125));
  EXPECT_EQ(WindowPlace(client->Handle()), client->BoundsRect());

  int resized = 0;
  client->OnResize = [&](TObject*) { ++resized; };
  form->SetBounds(40, 40, 400, 300);  // the order stays, the sizes follow
  EXPECT_EQ(upper->BoundsRect(), Bounds(0, 0, 400, 30));
  EXPECT_EQ(lower->BoundsRect(), Bounds(0, 30, 400, 20));
  EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 275, 400, 25));
  EXPECT_EQ(client->BoundsRect(), Bounds(100, 50, 300, 225));
  EXPECT_EQ(WindowPlace(client->Handle()), client->BoundsRect());
  EXPECT_EQ(resized, 1);

  lower->Hide();  // a hidden control gives its edge back
  EXPECT_EQ(left->BoundsRect(), Bounds(0, 30, 40, 245));
  upper->SetHeight(10);  // an aligned control's own change re-arranges its siblings
  EXPECT_EQ(left->BoundsRect(), Bounds(0, 10, 40, 265));
  upper->SetAlign(alNone);
  EXPECT_EQ(left->BoundsRect(), Bounds(0, 0, 40, 275));
}

TEST(ControlsWin, PanelBordersNarrowTheAreaOfAlignedChildren) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 100, 80);
  panel->SetBevelInner(bvLowered);
  panel->SetBorderWidth(3);
  auto* inner = Child<TProbe>(panel, log, Bounds(0, 0, 1, 1));
  inner->SetAlign(alClient);
  EXPECT_EQ(inner->BoundsRect(), Rect(5, 5, 95, 75));
  panel->SetBevelOuter(bvNone);
  EXPECT_EQ(inner->BoundsRect(), Rect(4, 4, 96, 76));
}

TEST(ControlsWin, PaintDrawsIntoTheOffscreenPictureWithGraphicChildrenOnTop) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  auto* probe = Child<TProbe>(form, log, Bounds(10, 10, 60, 50));
  auto* g = Child<TGraphicProbe>(probe, log, Bounds(20, 15, 10, 8));
  probe->Repaint();
  TBitmap* picture = probe->PaintBuffer();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 60);
  EXPECT_EQ(picture->Height(), 50);
  EXPECT_EQ(picture->PixelColor(2, 2), clRed);
  EXPECT_EQ(picture->PixelColor(19, 15), clRed);
  EXPECT_EQ(picture->PixelColor(20, 15), clBlue);
  EXPECT_EQ(picture->PixelColor(29, 22), clBlue);
  EXPECT_EQ(picture->PixelColor(30, 22), clRed);

  g->Hide();
  probe->Fill = clYellow;
  probe->Repaint();
  EXPECT_EQ(probe->PaintBuffer()->PixelColor(22, 17), clYellow);

  // Not opaque and painting nothing: the control's colour shows.
  probe->Paints = false;
  probe->SetColor(clLime);
  probe->Repaint();
  EXPECT_EQ(probe->PaintBuffer()->PixelColor(40, 40), clLime);
}

TEST(ControlsWin, HandlersBoundByNumberComeBeforeTheOwnHandling) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  HWND h = form->Handle();
  form->SetMessageHandler(WM_USER + 1, [](TMessage& m) { m.Result = static_cast<LRESULT>(m.WParam * 2); });
  EXPECT_EQ(SendMessageW(h, WM_USER + 1, 21, 0), 42);
  EXPECT_EQ(form->Perform(WM_USER + 1, 4), 8);
  // A handler takes a message the class handles itself, and may hand it on.
  int closes = 0;
  form->SetMessageHandler(WM_CLOSE, [&](TMessage&) { ++closes; });
  SendMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(IsWindowVisible(h));
  form->SetMessageHandler(WM_USER + 1, nullptr);
  EXPECT_EQ(SendMessageW(h, WM_USER + 1, 21, 0), 0);
}

namespace {

// Filters every message before the base, as a main window does with its
// single-instance message.
class TFilteringForm : public TForm {
 public:
  using TForm::TForm;
  UINT Swallow = WM_USER + 7;
  int Swallowed = 0;

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == Swallow) {
      ++Swallowed;
      Message.Result = 99;
      return;
    }
    TForm::WndProc(Message);
  }
};

}  // namespace

TEST(ControlsWin, WndProcOverridesSeeEveryMessageFirst) {
  TAppScope app;
  auto* form = NewForm<TFilteringForm>(Application);
  int bound = 0;
  form->SetMessageHandler(WM_USER + 7, [&](TMessage&) { ++bound; });
  EXPECT_EQ(SendMessageW(form->Handle(), WM_USER + 7, 0, 0), 99);
  EXPECT_EQ(form->Swallowed, 1);
  EXPECT_EQ(bound, 0);
}

TEST(ControlsWin, ExceptionsInHandlersReachTheApplicationAndMessagesGoOn) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  auto* probe = Child<TProbe>(form, log, Bounds(10, 10, 50, 40));
  int clicks = 0;
  probe->OnClick = [&](TObject*) {
    if (++clicks == 1) throw Exception("boom");
  };
  HWND h = probe->Handle();
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(3, 3));
  PostMessageW(h, WM_LBUTTONUP, 0, PointToLParam(3, 3));
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(3, 3));
  PostMessageW(h, WM_LBUTTONUP, 0, PointToLParam(3, 3));
  Application->ProcessMessages();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(app.Errors, (std::vector<std::string>{"boom"}));
  ASSERT_EQ(app.Senders.size(), 1u);
  EXPECT_EQ(app.Senders[0], probe);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(ControlsWin, KeyPreviewLetsTheFormSeeAndConsumeKeysFirst) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  auto* probe = Child<TProbe>(form, log, Bounds(10, 10, 50, 40));
  form->SetKeyPreview(true);
  form->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) {
    log.push_back("form " + std::to_string(key));
    if (key == VK_F5) key = 0;
  };
  form->OnKeyPress = [&](TObject*, WideChar& key) {
    log.push_back(std::string("form char ") + static_cast<char>(key));
    if (key == u'x') key = 0;
  };
  probe->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) { log.push_back("probe " + std::to_string(key)); };
  probe->OnKeyPress = [&](TObject*, WideChar& key) {
    log.push_back(std::string("probe char ") + static_cast<char>(key));
  };
  HWND h = probe->Handle();
  SendMessageW(h, WM_KEYDOWN, VK_F5, 1);
  SendMessageW(h, WM_KEYDOWN, VK_F6, 1);
  SendMessageW(h, WM_CHAR, 'x', 1);
  SendMessageW(h, WM_CHAR, 'y', 1);
  EXPECT_EQ(log, (Log{"form 116", "form 117", "probe 117", "form char x", "form char y", "probe char y"}));
  log.clear();
  form->SetKeyPreview(false);
  SendMessageW(h, WM_KEYDOWN, VK_F5, 1);
  EXPECT_EQ(log, (Log{"probe 116"}));
}

TEST(ControlsWin, WheelGoesFromTheActiveControlUpToTheForm) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  auto* probe = Child<TProbe>(form, log, Bounds(10, 10, 50, 40));
  form->SetActiveControl(probe);
  form->OnMouseWheelDown = [&](TObject* sender, TShiftState shift, TPoint pos, bool& handled) {
    log.push_back(std::string(sender == form ? "form" : "?") + " down" + (shift.Contains(ssCtrl) ? " ctrl " : " ") +
                  std::to_string(pos.X) + "," + std::to_string(pos.Y));
    handled = true;
  };
  form->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& handled) {
    log.push_back("form up");
    handled = true;
  };
  // The wheel goes to the focused window; two notches down with Ctrl held.
  SendMessageW(probe->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-2 * WHEEL_DELTA)),
               PointToLParam(300, 200));
  SendMessageW(form->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), PointToLParam(1, 1));
  EXPECT_EQ(log, (Log{"form down ctrl 300,200", "form down ctrl 300,200", "form up"}));
  log.clear();
  probe->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    log.push_back("probe " + std::to_string(delta));
    handled = true;
  };
  SendMessageW(probe->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), PointToLParam(0, 0));
  EXPECT_EQ(log, (Log{"probe 120"}));
}

TEST(ControlsWin, ChildrenFontsAndColoursFollowTheirParent) {
  TAppScope app;
  Log log;
  TForm* form = ShownForm();
  form->Font()->SetName("Arial");
  auto* probe = Child<TProbe>(form, log, Bounds(0, 0, 10, 10));
  EXPECT_EQ(probe->Font()->Name(), "Arial");
  form->Font()->SetSize(12);
  EXPECT_EQ(probe->Font()->Size(), 12);
  probe->Font()->SetSize(9);  // its own change ends the following
  EXPECT_FALSE(probe->ParentFont());
  form->Font()->SetSize(14);
  EXPECT_EQ(probe->Font()->Size(), 9);
  // Colours alike: the form's face until the control is given its own.
  EXPECT_TRUE(probe->ParentColor());
  EXPECT_EQ(probe->Color(), form->Color());
  form->SetColor(clRed);
  EXPECT_EQ(probe->Color(), clRed);
  probe->SetColor(clBlue);
  form->SetColor(clBtnFace);
  EXPECT_EQ(probe->Color(), clBlue);
  EXPECT_EQ(form->ControlCount(), 1);
  EXPECT_EQ(form->Controls(0), probe);
  EXPECT_TRUE(form->ContainsControl(probe));
  HWND h = probe->Handle();
  EXPECT_EQ(GetParent(h), form->Handle());
  probe->Free();  // leaves its parent, and its window goes
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_FALSE(IsWindow(h));
}
