// The OS-free part of TBitmap: picture size and format, the bottom-up row
// layout, conversion between pixel formats and single-pixel access. The BMP
// file format lives in bitmap_bmp.cpp; the memory comes from the platform part.
#include "platform/bitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/bitmap_pixels.h"

int BitsPerPixel(TPixelFormat Format) {
  switch (Format) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    case pfDevice:
    case pf32bit:
      return 32;
  }
  return 32;
}

std::int64_t BytesPerScanLine(std::int64_t Width, int BitsPerPixel) {
  if (Width <= 0 || BitsPerPixel <= 0) return 0;
  return (Width * BitsPerPixel + 31) / 32 * 4;
}

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() = default;

void TBitmap::ReplaceImage(int NewWidth, int NewHeight, TPixelFormat Format, std::vector<TRGBQuad> Table,
                           std::unique_ptr<TBitmapStorage> Storage) {
  ReleaseCanvasContext();
  FStorage = std::move(Storage);
  FWidth = FStorage ? NewWidth : 0;
  FHeight = FStorage ? NewHeight : 0;
  FPixelFormat = Format;
  FColorTable = std::move(Table);
}

std::uint8_t* TBitmap::RowAddress(int Row) const {
  return FStorage->Bits() + static_cast<std::size_t>(FHeight - 1 - Row) * static_cast<std::size_t>(ScanLineSize());
}

void TBitmap::CheckRow(int Row) const {
  if (Row < 0 || Row >= FHeight || !FStorage) throw EInvalidGraphicOperation("Scan line index out of range");
}

int TBitmap::ScanLineSize() const { return static_cast<int>(BytesPerScanLine(FWidth, BitsPerPixel(FPixelFormat))); }

void* TBitmap::ScanLine(int Row) {
  CheckRow(Row);
  FStorage->Flush();
  return RowAddress(Row);
}

const void* TBitmap::ScanLine(int Row) const {
  CheckRow(Row);
  FStorage->Flush();
  return RowAddress(Row);
}

void TBitmap::SetSize(int NewWidth, int NewHeight) {
  NewWidth = std::max(NewWidth, 0);
  NewHeight = std::max(NewHeight, 0);
  if (NewWidth == FWidth && NewHeight == FHeight) return;
  if (NewWidth == 0 || NewHeight == 0) {
    ReplaceImage(0, 0, FPixelFormat, FColorTable, nullptr);
    return;
  }
  int bits = BitsPerPixel(FPixelFormat);
  CheckImageSize(NewWidth, NewHeight, bits);
  std::vector<TRGBQuad> table = FColorTable;
  if (IsPaletteFormat(FPixelFormat) && table.empty()) table = StandardColorTable(FPixelFormat);
  auto storage = NewBitmapStorage(NewWidth, NewHeight, FPixelFormat, table);
  if (FStorage) {
    FStorage->Flush();
    std::size_t newStride = static_cast<std::size_t>(BytesPerScanLine(NewWidth, bits));
    std::size_t bytes =
        static_cast<std::size_t>((static_cast<std::int64_t>(std::min(FWidth, NewWidth)) * bits + 7) / 8);
    for (int y = 0, rows = std::min(FHeight, NewHeight); y < rows; ++y)
      std::memcpy(storage->Bits() + static_cast<std::size_t>(NewHeight - 1 - y) * newStride, RowAddress(y), bytes);
  }
  ReplaceImage(NewWidth, NewHeight, FPixelFormat, std::move(table), std::move(storage));
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  std::vector<TRGBQuad> table = IsPaletteFormat(Value) ? StandardColorTable(Value) : std::vector<TRGBQuad>{};
  if (Empty()) {
    FPixelFormat = Value;
    FColorTable = std::move(table);
    return;
  }
  int oldBits = BitsPerPixel(FPixelFormat);
  auto storage = NewBitmapStorage(FWidth, FHeight, Value, table);
  FStorage->Flush();
  if (oldBits == 32 && BitsPerPixel(Value) == 32) {
    // pfDevice and pf32bit share their layout.
    std::memcpy(storage->Bits(), FStorage->Bits(),
                static_cast<std::size_t>(ScanLineSize()) * static_cast<std::size_t>(FHeight));
  } else {
    std::vector<TRGBQuad> row(static_cast<std::size_t>(FWidth));
    TNearestColor nearest(table);
    std::size_t newStride = static_cast<std::size_t>(BytesPerScanLine(FWidth, BitsPerPixel(Value)));
    for (int y = 0; y < FHeight; ++y) {
      DecodeRow(RowAddress(y), FPixelFormat, FColorTable, row);
      EncodeRow(row, Value, nearest, storage->Bits() + static_cast<std::size_t>(FHeight - 1 - y) * newStride);
    }
  }
  ReplaceImage(FWidth, FHeight, Value, std::move(table), std::move(storage));
}

void TBitmap::SetColorTable(const std::vector<TRGBQuad>& Table) {
  if (!IsPaletteFormat(FPixelFormat)) throw EInvalidGraphicOperation("Bitmap format has no colour table");
  if (Table.empty() || Table.size() > (std::size_t{1} << BitsPerPixel(FPixelFormat)))
    throw EInvalidGraphicOperation("Invalid number of colour table entries");
  FColorTable = Table;
  for (TRGBQuad& q : FColorTable) q.rgbReserved = 0;
  if (FStorage) FStorage->ColorTableChanged(FColorTable);
}

TColor TBitmap::PixelColor(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return clNone;
  FStorage->Flush();
  TRGBQuad q = DecodePixel(RowAddress(Y), X, FPixelFormat, FColorTable);
  return RGBColor(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

void TBitmap::SetPixelColor(int X, int Y, TColor Color) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  FStorage->Flush();
  TColor rgb = ColorToRGB(Color);
  TRGBQuad q{static_cast<std::uint8_t>(GetBlue(rgb)), static_cast<std::uint8_t>(GetGreen(rgb)),
             static_cast<std::uint8_t>(GetRed(rgb)), 255};
  TNearestColor nearest(FColorTable);
  EncodePixel(q, X, FPixelFormat, nearest, RowAddress(Y));
}

void TBitmap::Assign(const TBitmap& Source) {
  if (&Source == this) return;
  std::unique_ptr<TBitmapStorage> storage;
  if (!Source.Empty()) {
    storage = NewBitmapStorage(Source.FWidth, Source.FHeight, Source.FPixelFormat, Source.FColorTable);
    Source.FStorage->Flush();
    std::memcpy(storage->Bits(), Source.FStorage->Bits(),
                static_cast<std::size_t>(Source.ScanLineSize()) * static_cast<std::size_t>(Source.FHeight));
  }
  ReplaceImage(Source.FWidth, Source.FHeight, Source.FPixelFormat, Source.FColorTable, std::move(storage));
  FAlphaFormat = Source.FAlphaFormat;
  FTransparent = Source.FTransparent;
  FTransparentColor = Source.FTransparentColor;
}
