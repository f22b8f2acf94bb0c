// TKemCustomBitButton: sizing and painting from its image.
#include "kem3/controls/kembbt_win.h"

#include <memory>

#include "platform/bitmap_pixels.h"

namespace {

// Blends a 32-bit glyph at (X, Y) with Opacity on top of its own alpha. The
// system blends premultiplied colours; straight ones are multiplied into a copy.
void BlendGlyph(HDC DC, int X, int Y, TBitmap& Glyph, BYTE Opacity) {
  const int w = Glyph.Width(), h = Glyph.Height();
  TBitmap premultiplied;
  TBitmap* source = &Glyph;
  if (Glyph.AlphaFormat() != afPremultiplied) {
    PremultiplyAlpha(Glyph, premultiplied);
    source = &premultiplied;
  }
  BLENDFUNCTION blend{AC_SRC_OVER, 0, Opacity, AC_SRC_ALPHA};
  AlphaBlend(DC, X, Y, w, h, source->Canvas()->Handle(), 0, 0, w, h, blend);
}

}  // namespace

TKemCustomBitButton::TKemCustomBitButton(TComponent* AOwner)
    : TKemCustomButton(AOwner), FImage(std::make_unique<TBitmap>()) {
  SetAutoSize(true);
}

TKemCustomBitButton::~TKemCustomBitButton() = default;

void TKemCustomBitButton::SetImage(const TBitmap& Value) {
  FImage->Assign(Value);
  if (!FImage->Empty()) SetBounds(Left(), Top(), FImage->Width() / 2, FImage->Height());
  Invalidate();
}

void TKemCustomBitButton::SetGlyphPosition(TKemGlyphPosition Value) {
  FGlyphPosition = Value;
  Invalidate();
}

void TKemCustomBitButton::SetBorderWidth(int Value) {
  FBorderWidth = Value;
  Invalidate();
}

void TKemCustomBitButton::SetColorText(TColor Value) {
  FColorText = Value;
  Invalidate();
}

void TKemCustomBitButton::SetColorTextDis(TColor Value) {
  FColorTextDis = Value;
  Invalidate();
}

void TKemCustomBitButton::SetCornerWidth(int Value) {
  if (FCornerWidth == Value) return;
  FCornerWidth = Value;
  SetAutoSize(false);
  SetAutoSize(true);
  Invalidate();
}

void TKemCustomBitButton::SetCornerHeight(int Value) {
  if (FCornerHeight == Value) return;
  FCornerHeight = Value;
  SetAutoSize(false);
  SetAutoSize(true);
  Invalidate();
}

void TKemCustomBitButton::SetDown(bool Value) {
  FDown = Value;
  Invalidate();
}

void TKemCustomBitButton::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TKemCustomBitButton::AdjustSize() {
  const TSize size =
      BitButtonAutoSize(FImage->Width(), FImage->Height(), FCornerWidth, FCornerHeight, TSize{Width(), Height()});
  SetBounds(Left(), Top(), size.cx, size.cy);
}

void TKemCustomBitButton::Paint() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  const bool down = Pressed() || FDown;
  c->SetFont(*Font());
  c->Font()->SetColor(Enabled() ? FColorText : FColorTextDis);
  if (FImage->Empty()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
  } else {
    const TRect face = BitButtonFace(FImage->Width(), FImage->Height(), down);
    for (const TFacePart& part : FaceParts(face, client, FCornerWidth, FCornerHeight)) {
      c->CopyRect(part.Dest, *FImage->Canvas(), part.Source);
    }
  }
  TBitmap* glyph = Glyph();
  if (!glyph->Empty()) {
    const TPoint at =
        BitButtonGlyphOrigin(FGlyphPosition, Width(), Height(), glyph->Width(), glyph->Height(), FBorderWidth, down);
    if (BitsPerPixel(glyph->PixelFormat()) == 32) {
      BlendGlyph(c->Handle(), at.X, at.Y, *glyph, Enabled() ? 255 : 64);
    } else {
      c->Draw(at.X, at.Y, *glyph);
    }
  }
  c->Brush()->SetStyle(bsClear);
  TRect text = Rect(client.Left, client.Top, client.Right - 1, client.Bottom - 1);
  if (down) OffsetRect(text, 1, 1);
  WideString caption = Caption();
  c->DrawText(caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
