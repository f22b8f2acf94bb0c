// Reading and writing pixels of every TBitmap format.
#include "platform/bitmap_pixels.h"

#include <cstring>

void CheckImageSize(std::int64_t Width, std::int64_t Height, int BitsPerPixel) {
  if (Width > 0 && Height > 0 && BytesPerScanLine(Width, BitsPerPixel) > kMaxImageBytes / Height)
    throw EOutOfResources("Bitmap image is too large");
}

namespace {

std::vector<TRGBQuad> MakeStandardColorTable(TPixelFormat Format) {
  auto quad = [](int r, int g, int b) {
    return TRGBQuad{static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r), 0};
  };
  std::vector<TRGBQuad> table;
  switch (Format) {
    case pf1bit:
      table = {quad(0, 0, 0), quad(255, 255, 255)};
      break;
    case pf4bit:
      table = {quad(0, 0, 0),       quad(128, 0, 0),   quad(0, 128, 0),   quad(128, 128, 0),
               quad(0, 0, 128),     quad(128, 0, 128), quad(0, 128, 128), quad(192, 192, 192),
               quad(128, 128, 128), quad(255, 0, 0),   quad(0, 255, 0),   quad(255, 255, 0),
               quad(0, 0, 255),     quad(255, 0, 255), quad(0, 255, 255), quad(255, 255, 255)};
      break;
    case pf8bit:
      for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
          for (int b = 0; b < 6; ++b) table.push_back(quad(r * 51, g * 51, b * 51));
      // Grey levels between the cube's six.
      for (int i = 1; i <= 40; ++i) {
        int v = (i * 255 + 20) / 41;
        table.push_back(quad(v, v, v));
      }
      break;
    default:
      break;
  }
  return table;
}

}  // namespace

// Made once: every new palette bitmap starts from one of these (each picture
// decoded into a palette format passes here).
std::vector<TRGBQuad> StandardColorTable(TPixelFormat Format) {
  static const std::vector<TRGBQuad> kTables[] = {MakeStandardColorTable(pf1bit), MakeStandardColorTable(pf4bit),
                                                  MakeStandardColorTable(pf8bit)};
  switch (Format) {
    case pf1bit:
      return kTables[0];
    case pf4bit:
      return kTables[1];
    case pf8bit:
      return kTables[2];
    default:
      return {};
  }
}

std::uint8_t TNearestColor::IndexOf(TRGBQuad Color) {
  Color.rgbReserved = 0;
  if (FHasLast && Color == FLastColor) return FLastIndex;
  int best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < FTable.size() && i < 256; ++i) {
    long db = FTable[i].rgbBlue - Color.rgbBlue;
    long dg = FTable[i].rgbGreen - Color.rgbGreen;
    long dr = FTable[i].rgbRed - Color.rgbRed;
    long distance = db * db + dg * dg + dr * dr;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
      if (distance == 0) break;
    }
  }
  FLastColor = Color;
  FLastIndex = static_cast<std::uint8_t>(best);
  FHasLast = true;
  return FLastIndex;
}

namespace {

std::uint8_t Expand5(unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); }
std::uint8_t Expand6(unsigned v) { return static_cast<std::uint8_t>((v << 2) | (v >> 4)); }

TRGBQuad FromTable(const std::vector<TRGBQuad>& Table, unsigned Index) {
  TRGBQuad q = Index < Table.size() ? Table[Index] : TRGBQuad{};
  q.rgbReserved = 255;
  return q;
}

}  // namespace

TRGBQuad DecodePixel(const std::uint8_t* Row, int X, TPixelFormat Format, const std::vector<TRGBQuad>& Table) {
  switch (Format) {
    case pf1bit:
      return FromTable(Table, (Row[X >> 3] >> (7 - (X & 7))) & 1u);
    case pf4bit:
      return FromTable(Table, (X & 1) ? Row[X >> 1] & 0x0Fu : Row[X >> 1] >> 4);
    case pf8bit:
      return FromTable(Table, Row[X]);
    case pf15bit: {
      unsigned v = Row[2 * X] | (Row[2 * X + 1] << 8);
      return {Expand5(v & 31), Expand5((v >> 5) & 31), Expand5((v >> 10) & 31), 255};
    }
    case pf16bit: {
      unsigned v = Row[2 * X] | (Row[2 * X + 1] << 8);
      return {Expand5(v & 31), Expand6((v >> 5) & 63), Expand5((v >> 11) & 31), 255};
    }
    case pf24bit: {
      const std::uint8_t* p = Row + 3 * X;
      return {p[0], p[1], p[2], 255};
    }
    case pfDevice:
    case pf32bit: {
      const std::uint8_t* p = Row + 4 * X;
      return {p[0], p[1], p[2], p[3]};
    }
  }
  return {};
}

void DecodeRow(const std::uint8_t* Row, TPixelFormat Format, const std::vector<TRGBQuad>& Table,
               std::span<TRGBQuad> Out) {
  if (Format == pf32bit || Format == pfDevice) {
    std::memcpy(Out.data(), Row, Out.size() * sizeof(TRGBQuad));
    return;
  }
  for (std::size_t x = 0; x < Out.size(); ++x) Out[x] = DecodePixel(Row, static_cast<int>(x), Format, Table);
}

void EncodePixel(TRGBQuad Color, int X, TPixelFormat Format, TNearestColor& Nearest, std::uint8_t* Row) {
  switch (Format) {
    case pf1bit: {
      unsigned shift = 7 - (X & 7);
      Row[X >> 3] =
          static_cast<std::uint8_t>((Row[X >> 3] & ~(1u << shift)) | ((Nearest.IndexOf(Color) & 1u) << shift));
      break;
    }
    case pf4bit: {
      unsigned index = Nearest.IndexOf(Color) & 0x0Fu;
      std::uint8_t& b = Row[X >> 1];
      b = static_cast<std::uint8_t>((X & 1) ? (b & 0xF0u) | index : (b & 0x0Fu) | (index << 4));
      break;
    }
    case pf8bit:
      Row[X] = Nearest.IndexOf(Color);
      break;
    case pf15bit: {
      unsigned v = ((Color.rgbRed >> 3) << 10) | ((Color.rgbGreen >> 3) << 5) | (Color.rgbBlue >> 3);
      Row[2 * X] = static_cast<std::uint8_t>(v);
      Row[2 * X + 1] = static_cast<std::uint8_t>(v >> 8);
      break;
    }
    case pf16bit: {
      unsigned v = ((Color.rgbRed >> 3) << 11) | ((Color.rgbGreen >> 2) << 5) | (Color.rgbBlue >> 3);
      Row[2 * X] = static_cast<std::uint8_t>(v);
      Row[2 * X + 1] = static_cast<std::uint8_t>(v >> 8);
      break;
    }
    case pf24bit: {
      std::uint8_t* p = Row + 3 * X;
      p[0] = Color.rgbBlue;
      p[1] = Color.rgbGreen;
      p[2] = Color.rgbRed;
      break;
    }
    case pfDevice:
    case pf32bit:
      std::memcpy(Row + 4 * X, &Color, sizeof Color);
      break;
  }
}

void EncodeRow(std::span<const TRGBQuad> Pixels, TPixelFormat Format, TNearestColor& Nearest, std::uint8_t* Row) {
  if (Format == pf32bit || Format == pfDevice) {
    std::memcpy(Row, Pixels.data(), Pixels.size() * sizeof(TRGBQuad));
    return;
  }
  for (std::size_t x = 0; x < Pixels.size(); ++x) EncodePixel(Pixels[x], static_cast<int>(x), Format, Nearest, Row);
}

TRGBQuad PremultipliedPixel(TRGBQuad Pixel) {
  const unsigned a = Pixel.rgbReserved;
  auto times = [a](unsigned c) { return static_cast<std::uint8_t>((c * a + 127) / 255); };
  return {times(Pixel.rgbBlue), times(Pixel.rgbGreen), times(Pixel.rgbRed), Pixel.rgbReserved};
}

void PremultiplyAlpha(const TBitmap& Picture, TBitmap& Copy) {
  const int w = Picture.Width(), h = Picture.Height();
  if (&Copy != &Picture) {
    Copy.SetPixelFormat(pf32bit);
    Copy.SetSize(w, h);
  }
  for (int y = 0; y < h; ++y) {
    const auto* in = static_cast<const TRGBQuad*>(Picture.ScanLine(y));
    auto* out = static_cast<TRGBQuad*>(Copy.ScanLine(y));
    for (int x = 0; x < w; ++x) out[x] = PremultipliedPixel(in[x]);
  }
  Copy.SetAlphaFormat(afPremultiplied);
}
