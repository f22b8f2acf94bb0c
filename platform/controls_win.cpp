// TControl: bounds, parent, alignment requests, visibility, font and colour,
// mouse messages and their virtuals; mouse capture; control canvases.
#include "platform/controls_win.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/forms_win.h"
#include "platform/geometry_win.h"
#include "platform/screen_win.h"

// ---- Capture -----------------------------------------------------------------

namespace {

TControl* gCaptureControl = nullptr;
int gHandlerDepth = 0;
std::vector<TControlCanvas*> gCanvasesWithDC;

// The window that receives a control's mouse messages.
HWND MouseWindow(TControl* Control, bool Create) {
  if (auto* w = dynamic_cast<TWinControl*>(Control)) return Create || w->HandleAllocated() ? w->Handle() : nullptr;
  TWinControl* parent = Control->Parent();
  if (!parent) return nullptr;
  return Create || parent->HandleAllocated() ? parent->Handle() : nullptr;
}

}  // namespace

TControl* GetCaptureControl() {
  // The system may have handed the capture to someone else without our notice.
  if (gCaptureControl && GetCapture() != MouseWindow(gCaptureControl, false)) gCaptureControl = nullptr;
  return gCaptureControl;
}

void SetCaptureControl(TControl* Control) {
  gCaptureControl = nullptr;
  if (GetCapture()) ReleaseCapture();
  if (!Control) return;
  HWND window = MouseWindow(Control, true);
  if (!window) return;
  SetCapture(window);
  gCaptureControl = Control;
}

bool InMessageHandler() { return gHandlerDepth > 0; }

TMessageHandlerScope::TMessageHandlerScope() { ++gHandlerDepth; }

TMessageHandlerScope::~TMessageHandlerScope() {
  if (--gHandlerDepth == 0) FreeDeviceContexts();
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & 0x20000000) s.Include(ssAlt);  // the context code: Alt is down
  return s;
}

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TCustomForm* GetParentForm(const TControl* Control) {
  const TControl* c = Control;
  while (c && c->Parent()) c = c->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

// ---- TControlCanvas ----------------------------------------------------------

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  auto* win = dynamic_cast<TWinControl*>(FControl);
  TWinControl* host = win ? win : FControl->Parent();
  if (!host) return;
  HWND window = host->Handle();
  HDC dc = GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc) return;
  if (!win) {
    // A graphic control draws on its parent's window at its own place.
    SetViewportOrgEx(dc, FControl->Left(), FControl->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, FControl->Width(), FControl->Height());
  }
  FWindow = window;
  FOwnDC = dc;
  SetHandle(dc);
  gCanvasesWithDC.push_back(this);
}

void TControlCanvas::FreeHandle() {
  if (!FOwnDC) return;
  SetHandle(nullptr);
  ReleaseDC(FWindow, FOwnDC);
  FOwnDC = nullptr;
  FWindow = nullptr;
  std::erase(gCanvasesWithDC, this);
}

void FreeDeviceContexts() {
  std::vector<TControlCanvas*> canvases = gCanvasesWithDC;
  for (TControlCanvas* c : canvases) c->FreeHandle();
}

// ---- TControl ----------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
  FFont->OnChange = [this](TObject*) {
    if (!FFontFromParent) FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() {
  if (gCaptureControl == this) SetCaptureControl(nullptr);
  if (FParent) FParent->RemoveControl(this);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const TRect old = BoundsRect();
  if (FVisible && FParent) FParent->InvalidateRect(old);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  BoundsChanged(old);
}

void TControl::BoundsChanged(const TRect& OldBounds) {
  if (FVisible && FParent && !dynamic_cast<TWinControl*>(this)) FParent->InvalidateRect(BoundsRect());
  // Placed by the parent's arrangement: the parent is busy with it already.
  if (!FParent || !FParent->FAligning) RequestAlign();
  if (OldBounds.Width() != FWidth || OldBounds.Height() != FHeight) Resize();
  if (FParent) FParent->ControlChanged(this);
}

TRect TControl::ClientRect() { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientSize(int AWidth, int AHeight) {
  TRect client = ClientRect();
  SetBounds(FLeft, FTop, FWidth - client.Width() + AWidth, FHeight - client.Height() + AHeight);
}

TPoint TControl::ClientOrigin() {
  if (!FParent) return Point(FLeft, FTop);
  return FParent->ClientOrigin() + Point(FLeft, FTop);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot be its own parent");
  if (auto* self = dynamic_cast<TWinControl*>(this); self && AParent && self->ContainsControl(AParent)) {
    throw EInvalidOperation("A control cannot be the parent of its own parent");
  }
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  const TAlign old = FAlign;
  FAlign = Value;
  // Turning between a horizontal and a vertical edge turns the control with it.
  const bool wasHorizontal = old == alTop || old == alBottom, isVertical = Value == alLeft || Value == alRight;
  const bool wasVertical = old == alLeft || old == alRight, isHorizontal = Value == alTop || Value == alBottom;
  if ((wasHorizontal && isVertical) || (wasVertical && isHorizontal)) {
    SetBounds(FLeft, FTop, FHeight, FWidth);
  }
  if (FParent) FParent->AlignFor(Value != alNone ? this : nullptr);
}

void TControl::RequestAlign() {
  if (FParent && FAlign != alNone) FParent->AlignFor(this);
}

bool TControl::Showing() const { return FVisible && (!FParent || FParent->Showing()); }

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  VisibleChanged();
}

void TControl::VisibleChanged() {
  if (FParent) {
    if (!dynamic_cast<TWinControl*>(this)) FParent->InvalidateRect(BoundsRect());
    if (FAlign != alNone) FParent->AlignFor(FVisible ? this : nullptr);
    FParent->ControlChanged(this);
  }
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  EnabledChanged();
}

void TControl::EnabledChanged() { Invalidate(); }

void TControl::SetColor(TColor Value) {
  FParentColor = false;
  if (FColor == Value) return;
  FColor = Value;
  ColorChanged();
}

void TControl::SetParentColor(bool Value) {
  FParentColor = Value;
  if (Value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!FParentColor || !FParent || FColor == FParent->Color()) return;
  FColor = FParent->Color();
  ColorChanged();
}

void TControl::ColorChanged() { Invalidate(); }

void TControl::SetParentFont(bool Value) {
  FParentFont = Value;
  if (Value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!FParentFont || !FParent) return;
  FFontFromParent = true;
  try {
    FFont->Assign(*FParent->Font());
  } catch (...) {
    FFontFromParent = false;
    throw;
  }
  FFontFromParent = false;
}

void TControl::FontChanged() { Invalidate(); }

void TControl::SetCaption(const WideString& Value) {
  if (GetText() == Value) return;
  FCaption = Value;
  TextChanged();
}

void TControl::TextChanged() { Invalidate(); }

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  // Show it at once when the mouse rests over the control (not while someone
  // holds the capture: the holder decides then).
  if (GetCapture()) return;
  HWND window = MouseWindow(this, false);
  if (!window) return;
  POINT p;
  if (!GetCursorPos(&p) || WindowFromPoint(p) != window) return;
  SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void TControl::SetZOrder(bool TopMost) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost) {
    list.push_back(this);
  } else {
    list.insert(list.begin(), this);
  }
  Invalidate();
}

void TControl::Invalidate() { InvalidateRect(ClientRect()); }

void TControl::InvalidateRect(const TRect& Rect) {
  if (!FVisible || !FParent) return;
  TRect r = Rect;
  OffsetRect(r, FLeft, FTop);
  FParent->InvalidateRect(r);
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::SetMessageHandler(UINT Msg, TMessageHandler Handler) {
  if (Handler) {
    FMessageHandlers[Msg] = std::move(Handler);
  } else {
    FMessageHandlers.erase(Msg);
  }
}

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && !FControlStyle.Contains(csDoubleClicks)) {
    switch (Message.Msg) {
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
        Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        break;
      default:
        break;
    }
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  auto it = FMessageHandlers.find(Message.Msg);
  if (it != FMessageHandlers.end()) {
    // A copy: the handler may bind another one, or none, to its own number.
    TMessageHandler handler = it->second;
    handler(Message);
    return;
  }
  DispatchDefault(Message);
}

void TControl::DispatchDefault(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      HandleMouseMessage(Message);
      break;
    case WM_MOUSEWHEEL:
      MouseWheelHandler(Message);
      break;
    default:
      DefaultHandler(Message);
      break;
  }
}

void TControl::DefaultHandler(TMessage& /*Message*/) {}

void TControl::HandleMouseMessage(TMessage& Message) {
  const int x = MessageX(Message.LParam), y = MessageY(Message.LParam);
  const TShiftState shift = KeysToShiftState(Message.WParam);
  const bool events = !FControlStyle.Contains(csNoStdEvents);
  DefaultHandler(Message);
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      if (events) MouseMove(shift, x, y);
      break;
    case WM_LBUTTONDOWN:
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (FControlStyle.Contains(csClickEvents)) FClicked = true;
      if (events) MouseDown(mbLeft, shift, x, y);
      break;
    case WM_LBUTTONDBLCLK:
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (FControlStyle.Contains(csClickEvents)) DblClick();
      if (events) MouseDown(mbLeft, shift + ssDouble, x, y);
      break;
    case WM_LBUTTONUP:
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
      if (FClicked) {
        FClicked = false;
        if (PtInRect(ClientRect(), Point(x, y))) Click();
      }
      if (events) MouseUp(mbLeft, shift, x, y);
      break;
    case WM_RBUTTONDOWN:
      if (events) MouseDown(mbRight, shift, x, y);
      break;
    case WM_RBUTTONDBLCLK:
      if (events) MouseDown(mbRight, shift + ssDouble, x, y);
      break;
    case WM_RBUTTONUP:
      if (events) MouseUp(mbRight, shift, x, y);
      break;
    case WM_MBUTTONDOWN:
      if (events) MouseDown(mbMiddle, shift, x, y);
      break;
    case WM_MBUTTONDBLCLK:
      if (events) MouseDown(mbMiddle, shift + ssDouble, x, y);
      break;
    case WM_MBUTTONUP:
      if (events) MouseUp(mbMiddle, shift, x, y);
      break;
    default:
      break;
  }
}

void TControl::MouseWheelHandler(TMessage& Message) {
  TControl* form = GetParentForm(this);
  if (form && form != this) {
    form->MouseWheelHandler(Message);
    return;
  }
  MouseWheelChain(this, Message);
}

void TControl::MouseWheelChain(TControl* Start, TMessage& Message) {
  const TShiftState shift = KeysToShiftState(LOWORD(Message.WParam));
  const int delta = static_cast<short>(HIWORD(Message.WParam));
  const TPoint pos = Point(MessageX(Message.LParam), MessageY(Message.LParam));
  Message.Result = 0;
  for (TControl* c = Start; c; c = c->Parent()) {
    if (c->DoMouseWheel(shift, delta, pos)) {
      Message.Result = 1;
      return;
    }
  }
}

void TControl::Click() {
  if (OnClick) {
    OnClick(this);
  } else if (FActionLink) {
    FActionLink->Execute();
  }
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled) return true;
  // A fine-grained wheel sends parts of a notch: one up or down per whole notch.
  FWheelAccumulator += WheelDelta;
  while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
    if (FWheelAccumulator < 0) {
      FWheelAccumulator += WHEEL_DELTA;
      handled = DoMouseWheelDown(Shift, MousePos);
    } else {
      FWheelAccumulator -= WHEEL_DELTA;
      handled = DoMouseWheelUp(Shift, MousePos);
    }
  }
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  return handled;
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

// ---- TGraphicControl ---------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;
