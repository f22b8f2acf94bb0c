// TCustomLabel: its caption drawn by the parent, its size fitted to it, and
// its accelerator focusing another control.
#include "platform/accel.h"
#include "platform/dc_win.h"
#include "platform/geometry_win.h"
#include "platform/setprop.h"
#include "platform/stdctrls_win.h"

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

TCustomLabel::~TCustomLabel() { SetFocusControl(nullptr); }

void TCustomLabel::SetAlignment(TAlignment Value) { SetPainted(*this, FAlignment, Value); }

void TCustomLabel::SetLayout(TTextLayout Value) { SetPainted(*this, FLayout, Value); }

void TCustomLabel::SetAutoSize(bool Value) {
  if (!StoreChanged(FAutoSize, Value)) return;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (!StoreChanged(FWordWrap, Value)) return;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) { SetPainted(*this, FTransparent, Value); }

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (!StoreChanged(FShowAccelChar, Value)) return;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  WideString text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == u"&"))) text += u" ";
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  TCanvas* canvas = Canvas();
  canvas->SetFont(*Font());
  HDC dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT r = ToRECT(Rect);
  const int length = static_cast<int>(text.size());
  if (Enabled() || (Flags & DT_CALCRECT)) {
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    DrawTextW(dc, WideCStr(text), length, &r, Flags);
    Rect = FromRECT(r);
    return;
  }
  // Disabled: embossed, a highlight one pixel down and right under the shadow.
  OffsetRect(&r, 1, 1);
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
  DrawTextW(dc, WideCStr(text), length, &r, Flags);
  OffsetRect(&r, -1, -1);
  SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
  DrawTextW(dc, WideCStr(text), length, &r, Flags);
}

void TCustomLabel::Paint() {
  TRect r = ClientRect();
  if (!FTransparent) {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
  }
  UINT flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
  flags |= FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  if (FLayout != tlTop) {
    TRect measured = r;
    DoDrawText(measured, flags | DT_CALCRECT);
    const int offset = r.Height() - measured.Height();
    r.Top += FLayout == tlBottom ? offset : offset / 2;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize) return;
  TRect r = ClientRect();
  UINT flags = DT_CALCRECT | DT_EXPANDTABS;
  if (FWordWrap) {
    flags |= DT_WORDBREAK;
  } else {
    r.Right = r.Left + 0x7FFF;
  }
  // Measured on the screen's DC: a label sizes itself before its form has a window.
  TScreenDC screen;
  TControlCanvas* canvas = static_cast<TControlCanvas*>(Canvas());
  canvas->FreeHandle();
  canvas->SetHandle(screen.Handle());
  // The canvas lets go of the DC before the DC goes.
  struct TGiveBack {
    TControlCanvas* canvas;
    ~TGiveBack() { canvas->SetHandle(nullptr); }
  } giveBack{canvas};
  DoDrawText(r, flags);
  int left = Left();
  if (FAlignment == taRightJustify) left += Width() - r.Width();
  if (FAlignment == taCenter) left += (Width() - r.Width()) / 2;
  SetBounds(left, Top(), r.Width(), r.Height());
}

void TCustomLabel::TextChanged() {
  AdjustBounds();
  TGraphicControl::TextChanged();
}

void TCustomLabel::FontChanged() {
  AdjustBounds();
  TGraphicControl::FontChanged();
}

bool TCustomLabel::IsLabelAccel(WideChar Key) { return IsAccel(Key, GetLabelText()); }

bool TCustomLabel::DialogChar(WideChar Key) {
  if (!FFocusControl || !Enabled() || !FShowAccelChar || !IsLabelAccel(Key)) return false;
  if (!FFocusControl->CanFocus()) return false;
  FFocusControl->SetFocus();
  return true;
}

void TCustomLabel::DispatchDefault(TMessage& Message) {
  if (Message.Msg == CM_DIALOGCHAR) {
    Message.Result = DialogChar(static_cast<WideChar>(Message.WParam)) ? 1 : 0;
    return;
  }
  TGraphicControl::DispatchDefault(Message);
}
