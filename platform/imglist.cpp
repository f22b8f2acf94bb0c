#include "platform/imglist.h"

#include <algorithm>
#include <cstdint>

#include "platform/lists.h"

void TImageList::SetWidth(int Value) {
  if (Value == FWidth) return;
  FWidth = Value;
  Clear();
}

void TImageList::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Clear();
}

int TImageList::AddMasked(const TBitmap& Image, TColor MaskColor) {
  const int First = Count();
  const TColor Mask = ColorToRGB(MaskColor) & 0xFFFFFF;
  const int Parts = FWidth > 0 ? std::max(1, Image.Width() / FWidth) : 1;
  for (int P = 0; P < Parts; ++P) {
    auto Picture = std::make_unique<TBitmap>();
    Picture->SetPixelFormat(pf32bit);
    Picture->SetSize(FWidth, FHeight);
    Picture->SetAlphaFormat(afDefined);
    for (int Y = 0; Y < FHeight; ++Y) {
      auto* Row = static_cast<TRGBQuad*>(Picture->ScanLine(Y));
      for (int X = 0; X < FWidth; ++X) {
        const int SX = P * FWidth + X;
        const bool Inside = SX < Image.Width() && Y < Image.Height();
        const TColor C = Inside ? Image.PixelColor(SX, Y) & 0xFFFFFF : Mask;
        const std::uint8_t Alpha = C == Mask ? 0 : 255;
        Row[X] = {std::uint8_t(C >> 16), std::uint8_t(C >> 8), std::uint8_t(C), Alpha};
      }
    }
    FImages.push_back(std::move(Picture));
  }
  return First;
}

const TBitmap& TImageList::Images(int Index) const {
  if (Index < 0 || Index >= Count()) ListError("Image index out of bounds", Index);
  return *FImages[size_t(Index)];
}

void GreyImage(TBitmap& Image) {
  for (int Y = 0; Y < Image.Height(); ++Y) {
    auto* Row = static_cast<TRGBQuad*>(Image.ScanLine(Y));
    for (int X = 0; X < Image.Width(); ++X) {
      TRGBQuad& Q = Row[X];
      const auto Grey = std::uint8_t((Q.rgbRed * 30 + Q.rgbGreen * 59 + Q.rgbBlue * 11) / 100);
      Q = {Grey, Grey, Grey, std::uint8_t(Q.rgbReserved / 2)};
    }
  }
}
