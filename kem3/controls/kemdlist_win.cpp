// TKemDropDownList: painting, the popup's life (drop down, close, the hook's
// areas), keys, wheel and auto-completion; TPopupListbox: the popup list.
#include "kem3/controls/kemdlist_win.h"

#include <windowsx.h>

#include "kem3/controls/kembut_win.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/pictures/kemimage.h"
#include "platform/clock.h"
#include "platform/deferred_release.h"
#include "platform/keys.h"
#include "platform/setprop.h"

namespace {

// The flat scroll bars come from the common controls library at run time:
// not every import library of it names them.
template <class F>
F FlatScrollBarCall(const char* Name) {
  HMODULE module = GetModuleHandleW(L"comctl32.dll");
  if (!module) module = LoadLibraryW(L"comctl32.dll");
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, Name))) : nullptr;
}

void InitFlatScrollBars(HWND Window) {
  using TInit = BOOL(WINAPI*)(HWND);
  static const TInit init = FlatScrollBarCall<TInit>("InitializeFlatSB");
  if (init) init(Window);
}

void SetFlatScrollInfo(HWND Window, int Bar, SCROLLINFO& Info) {
  using TSet = int(WINAPI*)(HWND, int, LPSCROLLINFO, BOOL);
  static const TSet set = FlatScrollBarCall<TSet>("FlatSB_SetScrollInfo");
  if (set) set(Window, Bar, &Info, TRUE);
}

// The drop button draws its arrow itself: a symbol font's glyph shows as a
// plain letter where that font is missing.
class TDropArrowButton : public TKemButton {
 public:
  using TKemButton::TKemButton;

 protected:
  void Paint() override {
    TKemButton::Paint();
    TRect r = ClientRect();
    if (Pressed() && (!Flat() || FlatRaised())) OffsetRect(r, 1, 1);
    TCanvas* c = Canvas();
    if (Enabled()) {
      DrawDropArrow(c, r, Font()->Color());
    } else {
      TRect embossed = r;
      OffsetRect(embossed, 1, 1);
      DrawDropArrow(c, embossed, ColorHighlight());
      DrawDropArrow(c, r, ColorShadow());
    }
  }
};

}  // namespace

void DrawDropArrow(TCanvas* Canvas, const TRect& Area, TColor Color) {
  // Rows 7, 5, 3 and 1 pixels wide, centred (odd spare space goes right and down).
  constexpr int kRows = 4;
  const int x = Area.Left + (Area.Width() - (2 * kRows - 1) + 1) / 2;
  const int y = Area.Top + (Area.Height() - kRows + 1) / 2;
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  for (int i = 0; i < kRows; ++i) Canvas->FillRect(Bounds(x + i, y + i, 2 * (kRows - i) - 1, 1));
}

// ---- The popup ---------------------------------------------------------------------

TPopupListbox::TPopupListbox(TKemDropDownList* Owner) : TKemListBox(Owner), FList(Owner) {}

void TPopupListbox::CreateParams(TCreateParams& Params) {
  TKemListBox::CreateParams(Params);
  // On the desktop, above everything, never in the task bar.
  Params.Style = (Params.Style & ~(WS_CHILD | WS_HSCROLL)) | WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
  Params.ClassStyle |= CS_SAVEBITS;
  Params.WndParent = nullptr;
}

void TPopupListbox::SelectAt(int X, int Y) {
  const int index = ItemAtPos({X, Y}, true);
  if (index >= 0 && index != ItemIndex()) SetItemIndex(index);
}

void TPopupListbox::CopyScrollBars() {
  for (int bar : {SB_VERT, SB_HORZ}) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (GetScrollInfo(Handle(), bar, &info)) SetFlatScrollInfo(Handle(), bar, info);
  }
}

void TPopupListbox::WndProc(TMessage& Message) {
  // The list selects under the pointer itself: the system's list would take
  // the focus (and its window the activation) on a press.
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetCapture(Handle());
      SelectAt(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      return;
    case WM_MOUSEMOVE:
      if (GetCapture() == Handle()) SelectAt(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      if (GetCapture() == Handle()) ReleaseCapture();
      const int x = GET_X_LPARAM(Message.LParam), y = GET_Y_LPARAM(Message.LParam);
      FList->CloseUp(x >= 0 && x < Width() && y >= 0 && y < Height());
      return;
    }
  }
  TKemListBox::WndProc(Message);
  if (FFlatLook && HandleAllocated() &&
      (Message.Msg == WM_PAINT || Message.Msg == WM_VSCROLL || Message.Msg == WM_HSCROLL))
    CopyScrollBars();
}

// ---- The control ------------------------------------------------------------------

TKemDropDownList::TKemDropDownList(TComponent* AOwner)
    : TKemCustomControl(AOwner),
      TKemBorderColored({clBtnHighlight, clBtnShadow, clWindowFrame, GetFaceHighlightMidColor()}),
      FItems(std::make_unique<TUcStringList>()) {
  SetControlStyle({csOpaque});
  SetColor(clWindow);
  SetBounds(0, 0, 80, 21);
  SetTabStop(true);
  FButton = new TDropArrowButton(this);
  FButton->SetParent(this);
  FButton->SetColor(clBtnFace);
  FButton->SetColorHighlight(0xC0C0C0);
  FButton->SetColorSpark(clBtnHighlight);
  FButton->SetNoFraming(true);
  FButton->SetNoFocusing(true);
  FButton->SetTabStop(false);
  FButton->SetFocusOnPress(false);
  FButton->OnPress = [this](TObject*) { Toggle(); };
  PlaceButton();
}

void TKemDropDownList::BorderColorChanged(TColor TBorderColors::*) { Invalidate(); }

TKemDropDownList::~TKemDropDownList() {
  // Going with the popup open: the hook goes now, the popup with its owner.
  if (FHooked && HandleAllocated()) mhRemoveHook(Handle());
  FHooked = FDropped = false;
}

void TKemDropDownList::PlaceButton() {
  if (!FButton) return;  // sized before the button is made
  const int w = FFlat ? 15 : 17;
  FButton->SetFlat(FFlat);
  FButton->SetBounds(Width() - w - 2, 2, w, Height() - 4);
}

void TKemDropDownList::Resize() {
  TKemCustomControl::Resize();
  PlaceButton();
}

void TKemDropDownList::SetFlat(bool Value) {
  if (!StoreChanged(FFlat, Value)) return;
  PlaceButton();
  Invalidate();
}

void TKemDropDownList::SetItemIndex(int Value) { SetPainted(*this, FItemIndex, Value); }

void TKemDropDownList::EnabledChanged() {
  TKemCustomControl::EnabledChanged();
  if (FButton) FButton->SetEnabled(Enabled());
  Invalidate();
}

void TKemDropDownList::FontChanged() {
  TKemCustomControl::FontChanged();
  Invalidate();
}

template <class F>
void TKemDropDownList::HookCall(F&& Call) {
  try {
    Call();
  } catch (const Exception&) {
    // The library refused: the popup works as without it.
  }
}

void TKemDropDownList::Toggle() {
  if (!Enabled()) return;
  if (FSwallowPress) {
    // The hook already closed the popup for this very press.
    FSwallowPress = false;
    return;
  }
  if (FDropped) {
    CloseUp(false);
    if (!Focused() && CanFocus()) SetFocus();
    return;
  }
  if (!Focused() && CanFocus()) SetFocus();
  DropDown();
}

void TKemDropDownList::DropDown() {
  if (FDropped) return;
  auto* popup = new TPopupListbox(this);
  FPopup = popup;
  popup->SetVisible(false);
  popup->SetFont(*Font());
  popup->SetFlatLook(FFlat);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int width = PopupWidth(Width(), WidestItem(),
                               FItems->Count() > FDropDownCount ? GetSystemMetrics(SM_CXVSCROLL) : 0, screenWidth);
  popup->SetWidth(width);
  HWND h = popup->Handle();
  // Draws its selection as focused while the real focus stays here.
  CallWindowProcW(popup->DefWndProc(), h, WM_SETFOCUS, 0, 0);
  popup->Items()->Assign(*FItems);
  popup->SetItemIndex(FItemIndex);
  const int height = PopupHeight(FDropDownCount, FItems->Count(), popup->ItemHeight());
  if (FFlat) InitFlatScrollBars(h);
  TPoint origin = PopupOrigin(ClientOrigin(), Height(), height, GetSystemMetrics(SM_CYSCREEN));
  origin.X = PopupLeft(origin.X, width, screenWidth);
  popup->SetBounds(origin.X, origin.Y, width, height);
  SetWindowPos(h, HWND_TOPMOST, origin.X, origin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
  FDropped = true;
  FSwallowPress = false;
  Invalidate();

  FAreas = PopupOutsideAreas(Rect(origin.X, origin.Y, origin.X + width, origin.Y + height), screenWidth,
                             GetSystemMetrics(SM_CYSCREEN));
  HWND self = Handle();
  HookCall([&] {
    mhInstallHook(self);
    FHooked = true;
    for (int i = 0; i < 4; ++i)
      mhSetArea(self, 0, i, 4, FAreas[i].Left, FAreas[i].Top, FAreas[i].Right, FAreas[i].Bottom);
  });
}

int TKemDropDownList::WidestItem() {
  // Measured off screen: the control's own canvas may be painting.
  TBitmap scratch;
  TCanvas* c = scratch.Canvas();
  c->Font()->Assign(*Font());
  int widest = 0;
  for (int i = 0; i < FItems->Count(); ++i) widest = std::max(widest, c->TextWidth(FItems->Get(i)));
  return widest;
}

void TKemDropDownList::CloseUp(bool Accept) {
  if (!FDropped) return;
  if (FHooked && HandleAllocated()) mhRemoveHook(Handle());
  FHooked = false;
  FDropped = false;
  TPopupListbox* popup = FPopup;
  FPopup = nullptr;
  if (popup->HandleAllocated())
    SetWindowPos(popup->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
  if (Accept) FItemIndex = popup->ItemIndex();
  // This may run in the popup's own handler: it goes once that returns.
  ReleaseComponent(popup);
  Invalidate();
  if (Accept && OnChange) OnChange(this);
}

void TKemDropDownList::Move(TDropDownMove Move) {
  int index = 0;
  if (!DropDownMoveTo(Move, FItemIndex, FItems->Count(), FDropDownCount, index)) return;
  FItemIndex = index;
  if (FDropped) FPopup->SetItemIndex(index);
  if (OnChange) OnChange(this);
  Invalidate();
}

void TKemDropDownList::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      // Enter and Escape act on an open popup; with it closed, Tab moves on
      // and Enter and Escape go to the form's default and cancel buttons.
      Message.Result = DLGC_WANTARROWS | (FDropped ? DLGC_WANTALLKEYS : 0);
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A press only toggles: no OnMouseDown, no capture.
      Toggle();
      return;
    case WM_SYSKEYDOWN:
      if (Message.WParam == VK_UP || Message.WParam == VK_DOWN) {
        if (FDropped)
          CloseUp(true);
        else
          DropDown();
        return;
      }
      break;
    case WM_KILLFOCUS:
      TKemCustomControl::WndProc(Message);
      CloseUp(false);
      Invalidate();
      return;
    case WM_SETFOCUS:
      Invalidate();
      break;
  }
  if (Message.Msg == WM_MOUSEHOOK) {
    const int kind = HookEventKind(Message.WParam);
    if (FDropped && Message.LParam == 0 && kind >= hekLeftDown && kind <= hekMiddleDown) {
      CloseUp(false);
      // A press on this control itself comes here too: it must not open the popup again.
      POINT p{};
      GetCursorPos(&p);
      ::ScreenToClient(Handle(), &p);
      FSwallowPress = PtInRect(ClientRect(), TPoint{p.x, p.y});
    }
    return;
  }
  TKemCustomControl::WndProc(Message);
}

void TKemDropDownList::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  const bool plain = !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
  switch (Key) {
    case VK_RETURN:
      // Closed: left for the form, which hands it to the default button.
      if (FDropped) {
        CloseUp(true);
        Key = 0;
      }
      break;
    case VK_ESCAPE:
      if (FDropped) {
        CloseUp(false);
        Key = 0;
      }
      break;
    case VK_UP:
    case VK_DOWN:
      if (Shift.Contains(ssAlt)) {
        if (FDropped)
          CloseUp(true);
        else
          DropDown();
        Key = 0;
        break;
      }
      [[fallthrough]];
    default:
      if (!plain) break;
      switch (Key) {
        case VK_PRIOR:
          Move(dmPageUp);
          break;
        case VK_NEXT:
          Move(dmPageDown);
          break;
        case VK_END:
          SetItemIndex(FItems->Count() - 1);
          break;
        case VK_HOME:
          SetItemIndex(0);
          break;
        case VK_LEFT:
        case VK_UP:
          Move(dmPrevious);
          break;
        case VK_RIGHT:
        case VK_DOWN:
          Move(dmNext);
          break;
      }
  }
  TKemCustomControl::KeyDown(Key, Shift);
}

void TKemDropDownList::KeyPress(WideChar& Key) {
  TKemCustomControl::KeyPress(Key);
  if (!FAutoComplete || (Key != 8 && Key < 32)) return;
  const int found =
      FSearch.Type(Key, TickCount(), FItemIndex, FItems->Count(), [this](int Index) { return FItems->Get(Index); });
  if (found >= 0) SetItemIndex(found);
}

bool TKemDropDownList::DoMouseWheel(TShiftState /*Shift*/, int WheelDelta, TPoint /*MousePos*/) {
  Move(WheelDelta > 0 ? dmPrevious : dmNext);
  return true;
}

void TKemDropDownList::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Font()->Assign(*Font());
  c->Brush()->SetStyle(bsSolid);
  DrawFieldFrame(c, r, {FBorderColors, Color()}, FFlat);
  InflateRect(r, -2, -2);
  if (FButton) r.Right -= FButton->Width();
  if (Enabled() && Focused() && !FDropped) {
    c->Brush()->SetColor(clHighlight);
    c->FillRect(r);
    c->Brush()->SetColor(0x00FFFF);
    c->DrawFocusRect(r);
    c->Brush()->SetColor(clHighlight);
    c->Font()->SetColor(clHighlightText);
  } else {
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (!Enabled()) c->Font()->SetColor(clGrayText);
  }
  InflateRect(r, -2, -1);
  if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return;
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  LibDrawText(dc, FItems->Get(FItemIndex), r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}
