// The images of Windows icons: our own bounds-checked decoder of the DIB with
// its AND mask (and of PNG entries), and the drawing of any icon image into a
// bitmap of the wanted size.
#include <algorithm>
#include <cstring>
#include <utility>

#include "kem3/graphics/kemicons.h"
#include "kem3/pictures/kemresample.h"
#include "kem3/pictures/pngimage.h"
#include "platform/bitmap_pixels.h"

namespace {

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);
// Icons are small; anything wider is a damaged header.
constexpr int kMaxIconSide = 1024;

bool IsPngData(std::string_view Data) { return Data.substr(0, 8) == kPngSignature; }

// Where the parts of a DIB icon image lie, every one inside the data.
struct TDibLayout {
  int Width = 0;
  int Height = 0;  // of the picture: half the stored height
  int Bits = 0;
  std::int64_t PaletteOffset = 0;
  int PaletteCount = 0;
  std::int64_t ColorOffset = 0;
  std::int64_t ColorStride = 0;
  std::int64_t MaskOffset = -1;  // -1: a 32-bit image without a mask
  std::int64_t MaskStride = 0;
};

TDibLayout ReadDibLayout(const TIconBytes& Bytes) {
  TDibLayout l;
  const std::uint32_t headerSize = Bytes.U32(0);
  if (headerSize < 40 || !Bytes.Has(0, headerSize)) throw EIconError("Icon image header");
  const std::int32_t width = static_cast<std::int32_t>(Bytes.U32(4));
  const std::int32_t height = static_cast<std::int32_t>(Bytes.U32(8));
  if (width <= 0 || width > kMaxIconSide || height < 2 || height > 2 * kMaxIconSide)
    throw EIconError("Icon image size");
  l.Width = width;
  l.Height = height / 2;
  l.Bits = Bytes.U16(14);
  if (l.Bits != 1 && l.Bits != 4 && l.Bits != 8 && l.Bits != 16 && l.Bits != 24 && l.Bits != 32)
    throw EIconError("Icon image bit count");
  if (Bytes.U32(16) != 0) throw EIconError("Icon image compression");
  const std::uint32_t used = Bytes.U32(32);
  if (l.Bits <= 8) {
    if (used > (1u << l.Bits)) throw EIconError("Icon image colour count");
    l.PaletteCount = used ? static_cast<int>(used) : 1 << l.Bits;
  } else if (used > 256) {
    throw EIconError("Icon image colour count");
  }
  l.PaletteOffset = headerSize;
  // A table beside true colours is a display hint: skipped, not used.
  l.ColorOffset = l.PaletteOffset + 4 * std::int64_t{l.Bits <= 8 ? l.PaletteCount : static_cast<int>(used)};
  l.ColorStride = BytesPerScanLine(l.Width, l.Bits);
  l.MaskStride = BytesPerScanLine(l.Width, 1);
  const std::int64_t colorBytes = l.ColorStride * l.Height;
  if (!Bytes.Has(l.ColorOffset, colorBytes)) throw EIconError("Icon image data truncated");
  const std::int64_t maskOffset = l.ColorOffset + colorBytes;
  if (Bytes.Has(maskOffset, l.MaskStride * l.Height))
    l.MaskOffset = maskOffset;
  else if (l.Bits != 32)
    throw EIconError("Icon image mask truncated");
  return l;
}

TRGBQuad DibPixel(const TIconBytes& Bytes, const TDibLayout& l, std::int64_t Row, int X) {
  switch (l.Bits) {
    case 1:
    case 4:
    case 8: {
      const std::int64_t bit = std::int64_t{X} * l.Bits;
      const int shift = 8 - l.Bits - static_cast<int>(bit % 8);
      const int index = (Bytes.U8(Row + bit / 8) >> shift) & ((1 << l.Bits) - 1);
      if (index >= l.PaletteCount) return TRGBQuad{0, 0, 0, 255};
      const std::int64_t e = l.PaletteOffset + 4 * std::int64_t{index};
      return TRGBQuad{Bytes.U8(e), Bytes.U8(e + 1), Bytes.U8(e + 2), 255};
    }
    case 16: {
      const std::uint16_t v = Bytes.U16(Row + 2 * std::int64_t{X});
      auto five = [](int c) { return static_cast<std::uint8_t>((c << 3) | (c >> 2)); };
      return TRGBQuad{five(v & 31), five((v >> 5) & 31), five((v >> 10) & 31), 255};
    }
    case 24: {
      const std::int64_t p = Row + 3 * std::int64_t{X};
      return TRGBQuad{Bytes.U8(p), Bytes.U8(p + 1), Bytes.U8(p + 2), 255};
    }
    default: {
      const std::int64_t p = Row + 4 * std::int64_t{X};
      return TRGBQuad{Bytes.U8(p), Bytes.U8(p + 1), Bytes.U8(p + 2), Bytes.U8(p + 3)};
    }
  }
}

// A pf1bit mask of the given size: 1 (white) where transparent.
void MakeMask(TBitmap& Mask, int Width, int Height) {
  Mask.SetSize(0, 0);
  Mask.SetPixelFormat(pf1bit);
  Mask.SetSize(Width, Height);
}
// Bits of one mask row (rows are fetched once: ScanLine flushes the system's drawing).
void SetBit(std::uint8_t* Row, int X, bool Transparent) {
  const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (X % 8));
  if (Transparent)
    Row[X / 8] |= bit;
  else
    Row[X / 8] &= static_cast<std::uint8_t>(~bit);
}
bool GetBit(const std::uint8_t* Row, int X) { return (Row[X / 8] & (0x80 >> (X % 8))) != 0; }
std::uint8_t* MaskRow(TBitmap& Mask, int Y) { return static_cast<std::uint8_t*>(Mask.ScanLine(Y)); }
const std::uint8_t* MaskRow(const TBitmap& Mask, int Y) { return static_cast<const std::uint8_t*>(Mask.ScanLine(Y)); }

void New32(TBitmap& Bitmap, int Width, int Height) {
  Bitmap.SetSize(0, 0);
  Bitmap.SetPixelFormat(pf32bit);
  Bitmap.SetSize(Width, Height);
  Bitmap.SetAlphaFormat(afDefined);
}

void DecodePng(std::string_view Data, TBitmap& Color, TBitmap& Mask) {
  TPNGImage png;
  TStringStream stream{std::string(Data)};
  png.LoadFromStream(stream);
  if (png.Width() <= 0 || png.Width() > kMaxIconSide || png.Height() <= 0 || png.Height() > kMaxIconSide)
    throw EIconError("Icon image size");
  Color.Assign(png);
  // Formats without alpha become opaque pf32bit.
  if (Color.PixelFormat() != pf32bit) Color.SetPixelFormat(pf32bit);
  Color.SetAlphaFormat(afDefined);
  MakeMask(Mask, Color.Width(), Color.Height());
  for (int y = 0; y < Color.Height(); ++y) {
    const auto* row = static_cast<const TRGBQuad*>(Color.ScanLine(y));
    std::uint8_t* bits = MaskRow(Mask, y);
    for (int x = 0; x < Color.Width(); ++x) SetBit(bits, x, row[x].rgbReserved == 0);
  }
}

}  // namespace

void DecodeIconImageData(std::string_view Data, TBitmap& Color, TBitmap& Mask) {
  if (IsPngData(Data)) return DecodePng(Data, Color, Mask);
  const TIconBytes bytes(Data);
  const TDibLayout l = ReadDibLayout(bytes);
  New32(Color, l.Width, l.Height);
  MakeMask(Mask, l.Width, l.Height);
  bool anyAlpha = false;
  for (int i = 0; i < l.Height; ++i) {
    const int y = l.Height - 1 - i;  // rows are stored bottom-up
    auto* out = static_cast<TRGBQuad*>(Color.ScanLine(y));
    std::uint8_t* bits = MaskRow(Mask, y);
    const std::int64_t row = l.ColorOffset + l.ColorStride * i;
    const std::int64_t maskRow = l.MaskOffset + l.MaskStride * i;
    for (int x = 0; x < l.Width; ++x) {
      out[x] = DibPixel(bytes, l, row, x);
      anyAlpha = anyAlpha || (l.Bits == 32 && out[x].rgbReserved != 0);
      SetBit(bits, x, l.MaskOffset >= 0 && ((bytes.U8(maskRow + x / 8) >> (7 - x % 8)) & 1));
    }
  }
  // An alpha channel of all zeros is none: the AND mask decides.
  if (anyAlpha) return;
  for (int y = 0; y < l.Height; ++y) {
    auto* out = static_cast<TRGBQuad*>(Color.ScanLine(y));
    const std::uint8_t* bits = MaskRow(std::as_const(Mask), y);
    for (int x = 0; x < l.Width; ++x) out[x].rgbReserved = GetBit(bits, x) ? 0 : 255;
  }
}

TKemIconImageWin::TKemIconImageWin(std::string_view Data, int AWidth, int AHeight, int AColorCount, int APlanes,
                                   int ABitCount, TIconBlock Block)
    : FBlock(std::move(Block)), FData(Data), FIsPNG(IsPngData(Data)) {
  Width = AWidth == 255 && AHeight == 255 ? 0 : AWidth;
  Height = AWidth == 255 && AHeight == 255 ? 0 : AHeight;
  ColorCount = AColorCount;
  Planes = static_cast<std::uint8_t>(APlanes);
  BitCount = static_cast<std::uint8_t>(ABitCount);
  const TIconBytes bytes(Data);
  if (FIsPNG) {
    // Only the header is read here (libraries hold hundreds of PNG images);
    // an image that then fails to decode is skipped where it is drawn.
    if (bytes.Sub(12, 4) != "IHDR") throw EIconError("Icon image PNG header");
    const std::uint32_t width = bytes.U32BE(16), height = bytes.U32BE(20);
    if (width == 0 || width > kMaxIconSide || height == 0 || height > kMaxIconSide) throw EIconError("Icon image size");
    if (Width == 0 || Height == 0) {
      Width = static_cast<int>(width);
      Height = static_cast<int>(height);
    }
    BitCount = 32;
  } else {
    const TDibLayout l = ReadDibLayout(bytes);
    if (BitCount != 0 && Width != 0 && Height != 0) {
      // A stated bit count that does not fit the stated size is not believed.
      const int palette = BitCount == 1 ? 2 : BitCount <= 8 ? (ColorCount ? ColorCount : BitCount == 4 ? 16 : 256) : 0;
      const std::int64_t expected =
          40 + (BytesPerScanLine(Width, BitCount) + BytesPerScanLine(Width, 1)) * Height + 4 * std::int64_t{palette};
      if (expected != bytes.Size()) BitCount = 0;
    }
    if (BitCount == 0 || BitCount > 32) BitCount = static_cast<std::uint8_t>(l.Bits);
    if (Width == 0 || Height == 0) {
      Width = l.Width;
      Height = l.Height;
    }
    // A stated size beyond the picture's parts is not kept.
    const std::int64_t end =
        l.MaskOffset >= 0 ? l.MaskOffset + l.MaskStride * l.Height : l.ColorOffset + l.ColorStride * l.Height;
    FData = Data.substr(0, static_cast<std::size_t>(end));
  }
  Alpha = BitCount >= 32;
  if (!FBlock) {
    FBlock = std::make_shared<const std::string>(FData);
    FData = *FBlock;
  }
}

void TKemIconImageWin::Decode(TBitmap& Color, TBitmap& Mask) const { DecodeIconImageData(FData, Color, Mask); }

void DrawIconPicture(const TBitmap& Color, const TBitmap* Mask, TBitmap& Bitmap, TBitmap& MaskOut, bool Resample,
                     bool UseAlpha) {
  const int w = Color.Width(), h = Color.Height();
  const int tw = Bitmap.Empty() ? w : Bitmap.Width(), th = Bitmap.Empty() ? h : Bitmap.Height();
  // Whether source pixel X of a row is masked out: by the mask, else by its alpha.
  auto masked = [&](const TRGBQuad* Row, const std::uint8_t* Bits, int X) {
    return Bits ? GetBit(Bits, X) : Row[X].rgbReserved < 128;
  };
  if (tw == w && th == h) {
    New32(Bitmap, tw, th);
    MakeMask(MaskOut, tw, th);
    for (int y = 0; y < th; ++y) {
      const auto* in = static_cast<const TRGBQuad*>(Color.ScanLine(y));
      const std::uint8_t* bits = Mask ? MaskRow(*Mask, y) : nullptr;
      std::uint8_t* out = MaskRow(MaskOut, y);
      std::memcpy(Bitmap.ScanLine(y), in, static_cast<std::size_t>(tw) * 4);
      for (int x = 0; x < tw; ++x) SetBit(out, x, masked(in, bits, x));
    }
  } else if (Resample) {
    // Resampled with the colours weighted by their alpha, so the colours of
    // transparent pixels do not bleed into the edges.
    TBitmap premultiplied;
    PremultiplyAlpha(Color, premultiplied);
    New32(Bitmap, tw, th);
    ResampleBitmap(Bitmap, premultiplied, rfLanczos3, 0);
    Bitmap.SetAlphaFormat(afDefined);
    MakeMask(MaskOut, tw, th);
    for (int y = 0; y < th; ++y) {
      auto* row = static_cast<TRGBQuad*>(Bitmap.ScanLine(y));
      std::uint8_t* out = MaskRow(MaskOut, y);
      for (int x = 0; x < tw; ++x) {
        const int a = row[x].rgbReserved;
        auto channel = [a](int c) { return static_cast<std::uint8_t>(a ? std::min(255, (c * 255 + a / 2) / a) : 0); };
        row[x] = TRGBQuad{channel(row[x].rgbBlue), channel(row[x].rgbGreen), channel(row[x].rgbRed),
                          static_cast<std::uint8_t>(a)};
        SetBit(out, x, a < 128);
      }
    }
  } else {
    // Cleared, then the picture centred at its own size, clipped to the target.
    New32(Bitmap, tw, th);
    MakeMask(MaskOut, tw, th);
    const int left = (tw - w) / 2, top = (th - h) / 2;
    for (int y = 0; y < th; ++y) {
      std::uint8_t* out = MaskRow(MaskOut, y);
      for (int x = 0; x < tw; ++x) SetBit(out, x, true);
      if (y < top || y >= top + h) continue;
      auto* pixels = static_cast<TRGBQuad*>(Bitmap.ScanLine(y));
      const auto* in = static_cast<const TRGBQuad*>(Color.ScanLine(y - top));
      const std::uint8_t* bits = Mask ? MaskRow(*Mask, y - top) : nullptr;
      for (int x = std::max(0, left); x < std::min(tw, left + w); ++x) {
        pixels[x] = in[x - left];
        SetBit(out, x, masked(in, bits, x - left));
      }
    }
  }
  if (UseAlpha) MakeMask(MaskOut, 1, 1);
}

void TKemIconImage::Draw(TBitmap& Bitmap, TBitmap& Mask, bool Resample, bool UseAlpha) const {
  TBitmap color, mask;
  Decode(color, mask);
  DrawIconPicture(color, &mask, Bitmap, Mask, Resample, UseAlpha);
}
