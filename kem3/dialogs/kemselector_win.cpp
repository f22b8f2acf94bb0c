// The selectors' item height and their drawing through the work bitmap.
#include "kem3/dialogs/kemselector_win.h"

#include "kem3/controls/kembase_win.h"

TKemPictureSelector::TKemPictureSelector(TComponent* AOwner)
    : TKemComboBox(AOwner), FBitmap(std::make_unique<TBitmap>()) {
  SetStyle(csOwnerDrawFixed);
  SetItemHeight(kItemHeight);
}

TKemPictureSelector::~TKemPictureSelector() = default;

void TKemPictureSelector::CreateWnd() {
  TKemComboBox::CreateWnd();
  SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kItemHeight);
}

void TKemPictureSelector::FontChanged() {
  TKemComboBox::FontChanged();
  // The window measures its box and list again from a new font (a language
  // change brings one): the items stay as tall as their pictures.
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kItemHeight);
  SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, kItemHeight);
}

void TKemPictureSelector::MeasureItem(int /*Index*/, int& Height) { Height = kItemHeight; }

TBitmap& TKemPictureSelector::BeginItem(const TRect& Rect) {
  FBitmap->SetPixelFormat(pf32bit);
  FBitmap->SetSize(Rect.Width(), Rect.Height());
  TCanvas* canvas = FBitmap->Canvas();
  canvas->SetBrush(*Canvas()->Brush());
  canvas->SetPen(*Canvas()->Pen());
  canvas->SetFont(*Canvas()->Font());
  return *FBitmap;
}

void TKemPictureSelector::EndItem(const WideString& Text, int TextLeft, const TRect& Rect) {
  TCanvas* canvas = FBitmap->Canvas();
  TRect text(TextLeft, 0, FBitmap->Width(), FBitmap->Height());
  SetBkMode(canvas->Handle(), TRANSPARENT);
  LibDrawText(canvas->Handle(), Text, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  Canvas()->Draw(Rect.Left, Rect.Top, *FBitmap);
}
