// TKemLabel: the text laid out in its picture, turned and copied; the size,
// the accelerator and the language caption.
#include "kem3/controls/kemlabel_win.h"

#include <algorithm>

#include "kem3/framework/kemlantext.h"
#include "kem3/pictures/kemimage.h"
#include "platform/accel.h"
#include "platform/setprop.h"

TKemLabel::TKemLabel(TComponent* AOwner) : TKemGraphicControl(AOwner), FBitmap(std::make_unique<TBitmap>()) {
  SetControlStyle({csOpaque});
  SetBounds(0, 0, 65, 17);
}

TKemLabel::~TKemLabel() { SetFocusControl(nullptr); }

void TKemLabel::SetAutoSize(bool Value) {
  if (!StoreChanged(FAutoSize, Value)) return;
  AdjustSize();
}

void TKemLabel::SetTransparent(bool Value) {
  if (!StoreChanged(FTransparent, Value)) return;
  TControlStyle style = ControlStyle();
  if (Value)
    style.Exclude(csOpaque);
  else
    style.Include(csOpaque);
  SetControlStyle(style);
  Invalidate();
}

void TKemLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TKemLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TKemGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TKemLabel::SetLanId(const String& Value) { FLanText.Set(this, Value); }

void TKemLabel::UpdateLanguage() {
  const int index = FLanText.Index(this);
  if (index >= 0) SetCaption(LanguageText(index, WideString()));
}

bool TKemLabel::DialogChar(WideChar Key, TShiftState /*Shift*/) {
  if (!FFocusControl || !Enabled() || !FShowAccelChar || !IsAccel(Key, Caption())) return false;
  if (!FFocusControl->CanFocus()) return false;
  FFocusControl->SetFocus();
  return true;
}

void TKemLabel::TextChanged() {
  TKemGraphicControl::TextChanged();
  AdjustSize();
  Invalidate();
}

void TKemLabel::FontChanged() {
  TKemGraphicControl::FontChanged();
  AdjustSize();
  Invalidate();
}

void TKemLabel::EnabledChanged() {
  TKemGraphicControl::EnabledChanged();
  Invalidate();
}

UINT TKemLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0);
  flags |= FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  return flags;
}

TSize TKemLabel::DrawInto(TSize Box, UINT Flags) {
  const bool calc = (Flags & DT_CALCRECT) != 0;
  const WideString text = calc ? LabelMeasureText(Caption(), FShowAccelChar) : Caption();
  FBitmap->SetSize(std::max(Box.cx, 1), std::max(Box.cy, 1));
  TCanvas* c = FBitmap->Canvas();
  c->Font()->Assign(*Font());
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(Rect(0, 0, Box.cx, Box.cy));
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);

  TRect measured = Rect(0, 0, calc ? Box.cx : 0, 0);
  if (calc || FLayout != tlTop) {
    // Word wrap measures in the box's width; without it one line per line.
    measured = Rect(0, 0, FWordWrap ? Box.cx : 0, 0);
    LibDrawText(dc, text, measured, Flags | DT_CALCRECT);
  }
  if (calc) return {measured.Right, measured.Bottom};

  TRect r = Rect(0, LabelLayoutOffset(FLayout, Box.cy, measured.Bottom), Box.cx, Box.cy);
  if (Enabled()) {
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    LibDrawText(dc, text, r, Flags);
  } else {
    // Embossed: the highlight a pixel right and down under the shadow.
    TRect lower = r;
    OffsetRect(lower, 1, 1);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
    LibDrawText(dc, text, lower, Flags);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
    LibDrawText(dc, text, r, Flags);
  }
  if (FDirection != tdLeftRight) {
    auto turned = std::make_unique<TBitmap>();
    if (FDirection == tdRightLeft) RotateBitmap180(*turned, *FBitmap);
    if (FDirection == tdTopBottom) RotateBitmap90(*turned, *FBitmap);
    if (FDirection == tdBottomTop) RotateBitmap270(*turned, *FBitmap);
    FBitmap = std::move(turned);
  }
  return Box;
}

void TKemLabel::Paint() {
  TCanvas* c = Canvas();
  const int W = Width(), H = Height();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  if (FSpaces.Left > 0) c->FillRect(Rect(0, 0, FSpaces.Left, H));
  if (FSpaces.Right > 0) c->FillRect(Rect(W - FSpaces.Right, 0, W, H));
  if (FSpaces.Top > 0) c->FillRect(Rect(0, 0, W, FSpaces.Top));
  if (FSpaces.Bottom > 0) c->FillRect(Rect(0, H - FSpaces.Bottom, W, H));
  const TSize area{W - FSpaces.Left - FSpaces.Right, H - FSpaces.Top - FSpaces.Bottom};
  if (area.cx <= 0 || area.cy <= 0) return;
  DrawInto(LabelTextBox(FDirection, area), TextFlags());
  c->Draw(FSpaces.Left, FSpaces.Top, *FBitmap);
}

void TKemLabel::AdjustSize() {
  if (!FAutoSize) return;
  const TSize current{Width(), Height()};
  const int along = LabelMeasureWidth(FDirection, FWordWrap, current, FSpaces);
  const TSize text = DrawInto({along, 0}, TextFlags() | DT_CALCRECT);
  const TSize size = LabelAutoSize(FDirection, text, FWordWrap, current, FSpaces);
  SetBounds(Left(), Top(), size.cx, size.cy);
}
