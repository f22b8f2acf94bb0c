// TKemFrame, TKemLogo and TKemImage: their painting into the control's own picture.
#include "kem3/controls/kempicture_win.h"

#include "kem3/pictures/kemimage.h"
#include "platform/setprop.h"

namespace {

void FillRectWith(TCanvas* C, const TRect& R, TColor Color) {
  if (IsRectEmpty(R)) return;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

}  // namespace

// ---- TKemFrame ---------------------------------------------------------------------

TKemFrame::TKemFrame(TComponent* AOwner) : TKemCustomControl(AOwner), FImage(std::make_unique<TBitmap>()) {
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
  SetBounds(0, 0, 185, 41);
}

TKemFrame::~TKemFrame() = default;

void TKemFrame::SetImage(const TBitmap& Value) {
  FImage->Assign(Value);
  Invalidate();
}

void TKemFrame::SetFillColor(TColor Value) { SetPainted(*this, FFillColor, Value); }

void TKemFrame::SetSizes(const TFrameSizes& Value) {
  FSizes = Value;
  Invalidate();
}

void TKemFrame::SetBorderWidth(int Value) {
  if (!StoreChanged(FBorderWidth, Value)) return;
  Realign();
  Invalidate();
}

void TKemFrame::AdjustClientRect(TRect& Rect) {
  TKemCustomControl::AdjustClientRect(Rect);
  InflateRect(Rect, -FBorderWidth, -FBorderWidth);
}

void TKemFrame::Paint() {
  TCanvas* c = Canvas();
  const TSize size{Width(), Height()};
  const TPoint centre = FrameCentrePixel(FSizes);
  const bool hasCentre = !FImage->Empty() && centre.X < FImage->Width() && centre.Y < FImage->Height();
  TColor inside = hasCentre ? FImage->PixelColor(centre.X, centre.Y) : ColorToRGB(Color());
  if (FFillColor != clFrameFillNone && ColorToRGB(FFillColor) != inside && !FImage->Empty()) {
    inside = ColorToRGB(FFillColor);
    // The image takes the fill colour in every pixel, its alpha kept.
    MakeBitmap32(*FImage);
    for (int y = 0; y < FImage->Height(); ++y) {
      for (int x = 0; x < FImage->Width(); ++x) {
        const std::uint8_t alpha = GetPixelAlpha(*FImage, x, y);
        auto* row = static_cast<std::uint8_t*>(FImage->ScanLine(y));
        row[4 * x] = static_cast<std::uint8_t>(GetBlue(inside));
        row[4 * x + 1] = static_cast<std::uint8_t>(GetGreen(inside));
        row[4 * x + 2] = static_cast<std::uint8_t>(GetRed(inside));
        row[4 * x + 3] = alpha;
      }
    }
  } else if (FFillColor != clFrameFillNone && FImage->Empty()) {
    inside = ColorToRGB(FFillColor);
  }
  FillRectWith(c, ClientRect(), Color());
  for (const TRect& r : FrameInside(FSizes, size)) FillRectWith(c, r, inside);
  if (FImage->Empty() || !PaintBuffer()) return;
  MakeBitmap32(*FImage);
  GdiFlush();
  for (const TFramePiece& p : FramePieces(FSizes, {FImage->Width(), FImage->Height()}, size))
    AlphaBlendBitmapRect(*PaintBuffer(), p.Dest.Left, p.Dest.Top, p.Source, *FImage);
}

// ---- TKemLogo ----------------------------------------------------------------------

TKemLogo::TKemLogo(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + csOpaque);
  SetBounds(0, 0, 130, 75);
}

void TKemLogo::SetLogo(TLogoType Value) { SetPainted(*this, FLogo, Value); }

void TKemLogo::Paint() { FillRectWith(Canvas(), ClientRect(), Color()); }

// ---- TKemImage ---------------------------------------------------------------------

TKemImage::TKemImage(TComponent* AOwner)
    : TKemCustomControl(AOwner), FImage(std::make_unique<TBitmap>()), FMask(std::make_unique<TBitmap>()) {
  SetControlStyle(ControlStyle() + csOpaque);
  SetBounds(0, 0, 75, 75);
}

TKemImage::~TKemImage() = default;

void TKemImage::SetImage(const TBitmap& Value) {
  try {
    FImage->Assign(Value);
  } catch (const Exception&) {
    // The old picture stays.
  }
  Invalidate();
}

void TKemImage::SetMask(const TBitmap& Value) {
  FMask->Assign(Value);
  Invalidate();
}

void TKemImage::SetAlphaMask(bool Value) {
  FAlphaMask = Value;
  Invalidate();
}

void TKemImage::SetCenter(bool Value) {
  FCenter = Value;
  Invalidate();
}

void TKemImage::SetTransparent(bool Value) {
  FTransparent = Value;
  Invalidate();
}

void TKemImage::Paint() {
  TCanvas* c = Canvas();
  FillRectWith(c, ClientRect(), Color());
  if (FImage->Empty() || !PaintBuffer()) return;
  const int x = FCenter ? (Width() - FImage->Width()) / 2 : 0;
  const int y = FCenter ? (Height() - FImage->Height()) / 2 : 0;
  if (FAlphaMask && FImage->PixelFormat() == pf32bit) {
    GdiFlush();
    AlphaBlendBitmap(*PaintBuffer(), x, y, *FImage);
  } else if (!FMask->Empty()) {
    const TCopyMode old = c->CopyMode();
    c->SetCopyMode(cmSrcAnd);
    c->Draw(x, y, *FMask);
    c->SetCopyMode(cmSrcPaint);
    c->Draw(x, y, *FImage);
    c->SetCopyMode(old);
  } else if (FTransparent) {
    // What has the corner colour lets the background show.
    const TColor clear = GetCornerColor(*FImage);
    GdiFlush();
    TBitmap& dest = *PaintBuffer();
    for (int py = 0; py < FImage->Height(); ++py) {
      for (int px = 0; px < FImage->Width(); ++px) {
        const int dx = x + px, dy = y + py;
        if (dx < 0 || dy < 0 || dx >= dest.Width() || dy >= dest.Height()) continue;
        const TColor pixel = FImage->PixelColor(px, py);
        if (pixel != clear) dest.SetPixelColor(dx, dy, pixel);
      }
    }
  } else {
    c->Draw(x, y, *FImage);
  }
}
