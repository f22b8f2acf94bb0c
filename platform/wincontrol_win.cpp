// TWinControl: its window and the one window procedure of all our windows,
// children and their alignment, keys and focus, buffered painting with the
// graphic children; TCustomControl.
#include <algorithm>
#include <set>

#include "platform/application_win.h"
#include "platform/controls_align.h"
#include "platform/controls_win.h"
#include "platform/dc_win.h"
#include "platform/forms_win.h"
#include "platform/geometry_win.h"
#include "platform/lists.h"
#include "platform/screen_win.h"
#include "platform/syswindow_win.h"
#include "platform/win_util_win.h"

namespace {

// The control whose window CreateWindowExW is making: the window procedure
// binds the window to it at the first message, before WM_NCCREATE even.
thread_local TWinControl* gCreationControl = nullptr;

void RegisterWindowClass(const TCreateParams& Params) {
  static std::set<WideString> registered;
  if (registered.count(Params.WinClassName)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = Params.ClassStyle;
  wc.lpfnWndProc = OrvWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = WideCStr(Params.WinClassName);
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw EOSError("Could not register the window class: " + LastErrorText());
  }
  registered.insert(Params.WinClassName);
}

// Nothing may leave a window procedure: the application shows what went wrong.
void ReportWindowException(TObject* Sender) noexcept {
  try {
    if (Application) Application->HandleException(Sender, std::current_exception());
  } catch (...) {
  }
}

// Lends a canvas a DC for the length of a paint.
class TCanvasOnDC {
 public:
  TCanvasOnDC(TControlCanvas& Canvas, HDC DC) : FCanvas(Canvas) {
    FCanvas.Lock();
    FCanvas.FreeHandle();
    FCanvas.SetHandle(DC);
  }
  ~TCanvasOnDC() {
    FCanvas.SetHandle(nullptr);
    FCanvas.Unlock();
  }
  TCanvasOnDC(const TCanvasOnDC&) = delete;
  TCanvasOnDC& operator=(const TCanvasOnDC&) = delete;

 private:
  TControlCanvas& FCanvas;
};

}  // namespace

LRESULT CALLBACK OrvWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
  if (!control) {
    control = gCreationControl;
    if (!control) return CallWindowProcW(ClassDefaultProc(Window), Window, Msg, WParam, LParam);
    gCreationControl = nullptr;
    control->FHandle = Window;
    SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
  }
  if (Msg == WM_NCDESTROY) {
    // The system destroys the window under the control (with its parent or owner).
    SetWindowLongPtrW(Window, GWLP_USERDATA, 0);
    control->FHandle = nullptr;
    control->FMouseInClient = false;
    control->FMouseControl = nullptr;
    return CallWindowProcW(ClassDefaultProc(Window), Window, Msg, WParam, LParam);
  }
  TMessage message{Msg, WParam, LParam, 0};
  TMessageHandlerScope scope;
  try {
    control->WndProc(message);
  } catch (...) {
    ReportWindowException(control);
  }
  return message.Result;
}

TWinControl* FindControl(HWND Window) {
  if (!Window) return nullptr;
  WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Window, GWLP_WNDPROC));
  if (proc != OrvWindowProc) return nullptr;
  return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
}

// ---- TWinControl: the window ---------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  Destroying();
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(child);
    child->Free();
  }
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (!FHandle) CreateHandle();
  return FHandle;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  if (FParent) {
    FParent->HandleNeeded();
    if (FHandle) return;  // made with the parent's
  }
  CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = Caption();
  Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (Visible()) Params.Style |= WS_VISIBLE;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = Left();
  Params.Y = Top();
  Params.Width = Width();
  Params.Height = Height();
  Params.WndParent = FParent ? FParent->Handle() : nullptr;
  Params.WinClassName = u"TOrvControl";
}

void TWinControl::CreateSubClass(TCreateParams& Params, const WideString& ClassName) {
  Params.SysClassName = ClassName;
  Params.WinClassName = u"Orv" + ClassName;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.WndParent) {
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  }
  if (params.SysClassName.empty()) {
    RegisterWindowClass(params);
    FDefWndProc = nullptr;
  } else {
    FDefWndProc = RegisterSubClass(params);
  }
  // A child's menu is its identifier.
  HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextChildWindowId())) : nullptr;
  gCreationControl = this;
  HWND window =
      CreateWindowExW(params.ExStyle, WideCStr(params.WinClassName), WideCStr(params.Caption), params.Style, params.X,
                      params.Y, params.Width, params.Height, params.WndParent, id, GetModuleHandleW(nullptr), nullptr);
  const DWORD error = GetLastError();
  gCreationControl = nullptr;
  if (!window) throw EOSError("Could not create a window: " + SysErrorMessage(error));
  FHandle = window;
  if (FDefWndProc) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
  // The system may have given it another size (a window with a caption has a smallest one).
  UpdateBounds();
  std::vector<TControl*> children = FControls;
  for (TControl* c : children) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w && w->Visible() && !w->FHandle && w->FParent == this) w->CreateWnd();
  }
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* c : FControls) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  }
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  FreeDeviceContexts();
  TControl* capture = GetCaptureControl();
  if (capture && (capture == this || capture->Parent() == this)) SetCaptureControl(nullptr);
  // A system window holds its text itself: kept for the next window.
  if (FDefWndProc) FCaption = GetText();
  HWND window = FHandle;
  FHandle = nullptr;
  FMouseInClient = false;
  FMouseControl = nullptr;
  // Cut loose first: the messages of the destruction reach no half-gone object.
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  DestroyWindow(window);
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  const bool shown = IsWindowVisible(FHandle) && !(GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD);
  DestroyHandle();
  CreateHandle();
  if (shown) ShowWindow(FHandle, SW_SHOWNA);
}

TRect TWinControl::WindowBounds() const {
  RECT r;
  GetWindowRect(FHandle, &r);
  if (FParent && FParent->FHandle && (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(nullptr, FParent->FHandle, reinterpret_cast<POINT*>(&r), 2);
  }
  return FromRECT(r);
}

void TWinControl::UpdateBounds() {
  if (!FHandle || IsIconic(FHandle)) return;
  const TRect now = WindowBounds();
  if (now == BoundsRect()) return;
  TControl::SetBounds(now.Left, now.Top, now.Width(), now.Height());
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
  if (FHandle && !IsIconic(FHandle)) {
    // The window reports where it ended up (WM_WINDOWPOSCHANGED), which may
    // differ from the wish; the bounds follow the window.
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBounds();
  } else {
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  }
}

void TWinControl::BoundsChanged(const TRect& OldBounds) {
  if (OldBounds.Width() != Width() || OldBounds.Height() != Height()) {
    Realign();
    // A copy: a child may leave while it follows.
    const std::vector<TControl*> children = FControls;
    for (TControl* c : children)
      if (c->FParent == this) c->ParentResized();
  }
  TControl::BoundsChanged(OldBounds);
}

TRect TWinControl::ClientRect() {
  if (FHandle && !IsIconic(FHandle)) {
    RECT r;
    GetClientRect(FHandle, &r);
    return FromRECT(r);
  }
  return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() {
  POINT p{0, 0};
  ::ClientToScreen(Handle(), &p);
  return FromPOINT(p);
}

// ---- Children ------------------------------------------------------------------

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) ListIndexError(Index);
  return FControls[static_cast<size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
  while (Control && Control != this) Control = Control->Parent();
  return Control != nullptr;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) const {
  auto hit = [&](TControl* c) {
    return c->Visible() && (c->Enabled() || AllowDisabled) && PtInRect(c->BoundsRect(), Pos);
  };
  if (AllowWinControls) {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
      if (dynamic_cast<TWinControl*>(*it) && hit(*it)) return *it;
    }
  }
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    if (!dynamic_cast<TWinControl*>(*it) && hit(*it)) return *it;
  }
  return nullptr;
}

void TWinControl::InsertControl(TControl* Control) {
  FControls.push_back(Control);
  Control->FParent = this;
  Control->ParentFontChanged();
  Control->ParentColorChanged();
  if (auto* w = dynamic_cast<TWinControl*>(Control)) {
    FTabList.push_back(w);
    if (FHandle && w->Visible()) w->CreateHandle();
  } else {
    Control->Invalidate();
  }
  if (Control->Align() != alNone) AlignFor(Control);
  ControlChanged(Control);
}

void TWinControl::RemoveControl(TControl* Control) {
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  if (it == FControls.end()) return;
  const bool closing = ComponentState().Contains(csDestroying);
  if (FMouseControl == Control) FMouseControl = nullptr;
  if (TCustomForm* form = GetParentForm(this)) form->ControlRemoved(Control);
  if (!closing) Control->Invalidate();
  FControls.erase(it);
  // Compared by address: a windowed child removed from ~TControl is no longer a
  // TWinControl to dynamic_cast, and must not stay behind in the tab order.
  FTabList.erase(std::remove_if(FTabList.begin(), FTabList.end(),
                                [Control](TWinControl* w) { return static_cast<TControl*>(w) == Control; }),
                 FTabList.end());
  if (auto* w = dynamic_cast<TWinControl*>(Control)) w->DestroyHandle();
  Control->FParent = nullptr;
  if (!closing && Control->Align() != alNone) AlignFor(nullptr);
  if (!closing) ControlChanged(Control);
}

int TWinControl::TabOrder() const {
  if (!FParent) return -1;
  const auto& list = FParent->FTabList;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  const int at = std::clamp(Value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + at, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* w : FTabList) {
    List.push_back(w);
    w->GetTabOrderList(List);
  }
}

// ---- Alignment -------------------------------------------------------------------

void TWinControl::Realign() { AlignFor(nullptr); }

void TWinControl::EnableAlign() {
  if (FAlignLevel == 0) return;
  if (--FAlignLevel == 0 && FAlignPending) {
    FAlignPending = false;
    Realign();
  }
}

void TWinControl::AlignFor(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (FAlignLevel > 0) {
    FAlignPending = true;
    return;
  }
  TRect r = ClientRect();
  AdjustClientRect(r);
  AlignControls(AControl, r);
}

void TWinControl::AdjustClientRect(TRect& /*Rect*/) {}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  std::vector<TControl*> children = FControls;
  std::vector<TAlignItem> items;
  items.reserve(children.size());
  int first = -1;
  for (size_t i = 0; i < children.size(); ++i) {
    TControl* c = children[i];
    items.push_back(TAlignItem{c->Align(), c->BoundsRect(), c->Visible()});
    if (c == AControl) first = static_cast<int>(i);
  }
  ArrangeAlignedControls(items, Rect, first);
  const bool outer = FAligning;
  FAligning = true;
  try {
    for (size_t i = 0; i < children.size(); ++i) {
      TControl* c = children[i];
      const TAlign a = items[i].Align;
      if (a == alNone || a == alCustom || !items[i].Visible || c->FParent != this) continue;
      if (c->BoundsRect() != items[i].Bounds) c->SetBoundsRect(items[i].Bounds);
    }
  } catch (...) {
    FAligning = outer;
    throw;
  }
  FAligning = outer;
}

// ---- State -------------------------------------------------------------------------

void TWinControl::VisibleChanged() {
  ShowingChanged();
  TControl::VisibleChanged();
}

void TWinControl::ShowingChanged() {
  if (FHandle) {
    ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
  } else if (Visible() && FParent && FParent->FHandle) {
    CreateHandle();
  }
}

void TWinControl::EnabledChanged() {
  if (FHandle) EnableWindow(FHandle, Enabled());
  Invalidate();
}

void TWinControl::ColorChanged() {
  TControl::ColorChanged();
  std::vector<TControl*> children = FControls;
  for (TControl* c : children) c->ParentColorChanged();
}

void TWinControl::FontChanged() {
  if (FDefWndProc && FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
  TControl::FontChanged();
  std::vector<TControl*> children = FControls;
  for (TControl* c : children) c->ParentFontChanged();
}

WideString TWinControl::GetText() const {
  if (!FDefWndProc || !FHandle) return TControl::GetText();
  const int length = GetWindowTextLengthW(FHandle);
  if (length <= 0) return {};
  WideString text(static_cast<size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(FHandle, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return text;
}

void TWinControl::TextChanged() {
  if (FHandle) SetWindowTextW(FHandle, WideCStr(FCaption));
  Invalidate();
}

void TWinControl::SetZOrder(bool TopMost) {
  TControl::SetZOrder(TopMost);
  if (FHandle) {
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::Invalidate() {
  if (FHandle) ::InvalidateRect(FHandle, nullptr, FALSE);
}

void TWinControl::InvalidateRect(const TRect& Rect) {
  if (!FHandle) return;
  RECT r = ToRECT(Rect);
  ::InvalidateRect(FHandle, &r, FALSE);
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

// ---- Focus -------------------------------------------------------------------------

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    SetWindowLongPtrW(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP)));
  }
}

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

void TWinControl::FocusEntered() {
  if (TCustomForm* form = GetParentForm(this)) form->FocusChanged(this);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// ---- Keys --------------------------------------------------------------------------

void TWinControl::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(std::uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(WideChar& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(Message)) return true;
  if (ControlStyle().Contains(csNoStdEvents)) return false;
  auto key = static_cast<std::uint16_t>(Message.WParam);
  KeyDown(key, KeyDataToShiftState(Message.LParam));
  if (key == 0) return true;
  Message.WParam = key;
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(Message)) return true;
  if (ControlStyle().Contains(csNoStdEvents)) return false;
  auto key = static_cast<std::uint16_t>(Message.WParam);
  KeyUp(key, KeyDataToShiftState(Message.LParam));
  if (key == 0) return true;
  Message.WParam = key;
  return false;
}

bool TWinControl::HandDialogKeyToForm(const TMessage& Message) {
  // A control that wants every key (a multi-line edit) keeps Enter and Escape.
  if (Message.Msg != WM_KEYDOWN || (Message.WParam != VK_RETURN && Message.WParam != VK_ESCAPE)) return false;
  if (Perform(WM_GETDLGCODE, Message.WParam, 0) & DLGC_WANTALLKEYS) return false;
  TCustomForm* form = GetParentForm(this);
  return form && form->FormDialogKey(static_cast<std::uint16_t>(Message.WParam), KeyDataToShiftState(Message.LParam));
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(Message)) return true;
  if (ControlStyle().Contains(csNoStdEvents)) return false;
  auto key = static_cast<WideChar>(Message.WParam);
  KeyPress(key);
  if (key == 0) return true;
  Message.WParam = key;
  return false;
}

// ---- Messages ----------------------------------------------------------------------

void TWinControl::WndProc(TMessage& Message) {
  const UINT msg = Message.Msg;
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && msg != WM_MOUSEHWHEEL) {
    if (msg == WM_MOUSEMOVE) TrackMouse(Message);
    if (ForwardMouseToChild(Message)) return;
  }
  TControl::WndProc(Message);
}

void TWinControl::TrackMouse(const TMessage& Message) {
  if (!FMouseInClient && FHandle) {
    FMouseInClient = true;
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, FHandle, 0};
    TrackMouseEvent(&track);
    MouseEnter();
  }
  TControl* over = ControlAtPos(Point(MessageX(Message.LParam), MessageY(Message.LParam)), false, false);
  if (over == FMouseControl) return;
  TControl* old = FMouseControl;
  FMouseControl = over;
  if (old) old->MouseLeave();
  if (over) over->MouseEnter();
}

bool TWinControl::ForwardMouseToChild(TMessage& Message) {
  TControl* target = nullptr;
  if (FHandle && GetCapture() == FHandle) {
    TControl* capture = GetCaptureControl();
    if (capture && capture != this && capture->Parent() == this) target = capture;
  } else {
    target = ControlAtPos(Point(MessageX(Message.LParam), MessageY(Message.LParam)), false, false);
  }
  if (!target) return false;
  const LPARAM at = PointToLParam(MessageX(Message.LParam) - target->Left(), MessageY(Message.LParam) - target->Top());
  Message.Result = target->Perform(Message.Msg, Message.WParam, at);
  return true;
}

bool TWinControl::ReflectNotification(TMessage& Message) {
  TWinControl* child = FindControl(NotifyingChild(FHandle, Message));
  if (!child || child == this) return false;
  Message.Result = child->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::DefaultNotification(TMessage& Message) {
  const UINT msg = Message.Msg - CN_BASE;
  if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {
    auto dc = reinterpret_cast<HDC>(Message.WParam);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Color())));
    if (!FBrush) FBrush = std::make_unique<TBrush>();
    FBrush->SetColor(Color());
    Message.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
    return;
  }
  Message.Result = FHandle ? DefWindowProcW(FHandle, msg, Message.WParam, Message.LParam) : 0;
}

void TWinControl::DispatchDefault(TMessage& Message) {
  if (Message.Msg >= CN_BASE && Message.Msg <= CN_LAST) {
    DefaultNotification(Message);
    return;
  }
  if (FDefWndProc && (Message.Msg == WM_PAINT || Message.Msg == WM_ERASEBKGND)) {
    // The system class paints its window itself.
    DefaultHandler(Message);
    return;
  }
  // A notification from a child of ours goes to it; others (a menu's command) on.
  if (ReflectNotification(Message)) return;
  switch (Message.Msg) {
    case WM_NOTIFYFORMAT:
      // Our windows take the wide notifications; a system window answers for its own children.
      if (FDefWndProc) {
        DefaultHandler(Message);
      } else {
        Message.Result = NFR_UNICODE;
      }
      return;
    case WM_PAINT:
      DoPaint();
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      // Everything is painted in WM_PAINT from the off-screen picture.
      Message.Result = 1;
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (DoKeyDown(Message)) {
        Message.Result = 0;
        return;
      }
      if (HandDialogKeyToForm(Message)) {
        Message.Result = 0;
        return;
      }
      if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_TAB &&
          !(Perform(WM_GETDLGCODE, Message.WParam, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
        if (TCustomForm* form = GetParentForm(this)) {
          form->SelectNext(this, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 0;
          return;
        }
      }
      DefaultHandler(Message);
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (DoKeyUp(Message)) {
        Message.Result = 0;
        return;
      }
      DefaultHandler(Message);
      return;
    case WM_CHAR:
      if (DoKeyPress(Message)) {
        Message.Result = 0;
        return;
      }
      // A control that takes characters (an edit field) keeps them: no accelerator.
      if (Perform(WM_GETDLGCODE, Message.WParam, 0) & DLGC_WANTCHARS) {
        DefaultHandler(Message);
        return;
      }
      [[fallthrough]];
    case WM_SYSCHAR:
      // Accelerators: the form offers the character to its controls.
      if (TCustomForm* form = GetParentForm(this)) {
        if (form->FormDialogChar(static_cast<WideChar>(Message.WParam), KeyDataToShiftState(Message.LParam))) {
          Message.Result = 0;
          return;
        }
      }
      DefaultHandler(Message);
      return;
    case WM_SETFOCUS:
      DefaultHandler(Message);
      FocusEntered();
      return;
    case WM_MOUSELEAVE: {
      FMouseInClient = false;
      TControl* old = FMouseControl;
      FMouseControl = nullptr;
      if (old) old->MouseLeave();
      MouseLeave();
      Message.Result = 0;
      return;
    }
    case WM_CANCELMODE: {
      TControl* capture = GetCaptureControl();
      if (capture && (capture == this || capture->Parent() == this)) SetCaptureControl(nullptr);
      DefaultHandler(Message);
      return;
    }
    case WM_SETCURSOR:
      if (LOWORD(Message.LParam) == HTCLIENT && reinterpret_cast<HWND>(Message.WParam) == FHandle && Screen) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault) {
          POINT p;
          GetCursorPos(&p);
          ::ScreenToClient(FHandle, &p);
          TControl* over = ControlAtPos(FromPOINT(p), false, false);
          cursor = (over ? over : this)->Cursor();
        }
        if (cursor != crDefault) {
          ::SetCursor(Screen->Cursors(cursor));
          Message.Result = 1;
          return;
        }
      }
      DefaultHandler(Message);
      return;
    case WM_WINDOWPOSCHANGED:
      DefaultHandler(Message);
      UpdateBounds();
      return;
    default:
      TControl::DispatchDefault(Message);
      return;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) return;
  Message.Result = FDefWndProc ? CallWindowProcW(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam)
                               : DefWindowProcW(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

// ---- Painting ----------------------------------------------------------------------

void TWinControl::DoPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(FHandle, &ps);
  struct TEndPaint {
    HWND window;
    PAINTSTRUCT* ps;
    ~TEndPaint() { EndPaint(window, ps); }
  } endPaint{FHandle, &ps};
  RECT client;
  GetClientRect(FHandle, &client);
  if (client.right <= 0 || client.bottom <= 0 || IsRectEmpty(&ps.rcPaint)) return;
  if (!FPaintBuffer) {
    FPaintBuffer = std::make_unique<TBitmap>();
    FPaintBuffer->SetPixelFormat(pf32bit);
  }
  if (FPaintBuffer->Width() != client.right || FPaintBuffer->Height() != client.bottom) {
    FPaintBuffer->SetSize(client.right, client.bottom);
  }
  HDC buffer = FPaintBuffer->Canvas()->Handle();
  {
    TSavedDC saved(buffer);
    IntersectClipRect(buffer, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    PaintWindow(buffer);
    PaintControls(buffer);
  }
  BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top,
         buffer, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
}

void TWinControl::PaintWindow(HDC DC) {
  if (Color() == clNone) return;
  RECT r;
  GetClientRect(FHandle, &r);
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color())));
  FillRect(DC, &r, brush);
  DeleteObject(brush);
}

void TWinControl::PaintControls(HDC DC) {
  std::vector<TControl*> children = FControls;
  for (TControl* c : children) {
    auto* g = dynamic_cast<TGraphicControl*>(c);
    if (!g || !g->Visible() || g->FParent != this) continue;
    TSavedDC saved(DC);
    POINT origin;
    GetViewportOrgEx(DC, &origin);
    SetViewportOrgEx(DC, origin.x + g->Left(), origin.y + g->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, g->Width(), g->Height());
    TCanvasOnDC lend(*g->FCanvas, DC);
    g->Paint();
  }
}

// ---- TCustomControl ----------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC DC) {
  if (!ControlStyle().Contains(csOpaque)) TWinControl::PaintWindow(DC);
  TCanvasOnDC lend(*FCanvas, DC);
  Paint();
}
