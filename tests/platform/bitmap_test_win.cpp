#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/bitmap.h"
#include "platform/canvas_win.h"
#include "platform/unicode_convert.h"
#include "platform/winapi_win.h"

namespace {

DIBSECTION SectionOf(HBITMAP bitmap) {
  DIBSECTION ds{};
  EXPECT_EQ(GetObjectW(bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds));
  return ds;
}

}  // namespace

TEST(BitmapWin, PixelsLiveInTheDibSection) {
  for (TPixelFormat format : {pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(format);
    TBitmap b;
    b.SetPixelFormat(format);
    EXPECT_EQ(b.Handle(), nullptr);
    b.SetSize(13, 7);
    DIBSECTION ds = SectionOf(b.Handle());
    EXPECT_EQ(ds.dsBm.bmWidth, 13);
    EXPECT_EQ(ds.dsBm.bmHeight, 7);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, BitsPerPixel(format));
    EXPECT_EQ(ds.dsBm.bmWidthBytes, b.ScanLineSize());
    EXPECT_GT(ds.dsBmih.biHeight, 0);  // bottom-up
    // The bottom row starts the memory.
    EXPECT_EQ(ds.dsBm.bmBits, b.ScanLine(6));
    if (format == pf16bit) {
      EXPECT_EQ(ds.dsBitfields[0], 0xF800u);
      EXPECT_EQ(ds.dsBitfields[1], 0x07E0u);
      EXPECT_EQ(ds.dsBitfields[2], 0x001Fu);
    }
  }
}

TEST(BitmapWin, ColourTablesReachTheSection) {
  TBitmap b;
  b.SetPixelFormat(pf4bit);
  b.SetSize(4, 4);
  auto tableOf = [&] {
    RGBQUAD colors[16];
    UINT n = GetDIBColorTable(b.Canvas()->Handle(), 0, 16, colors);
    std::vector<TRGBQuad> table(n);
    std::memcpy(table.data(), colors, n * sizeof(RGBQUAD));
    return table;
  };
  EXPECT_EQ(tableOf(), b.ColorTable());
  std::vector<TRGBQuad> mine(16, TRGBQuad{0, 0, 0, 0});
  mine[3] = {0, 0, 255, 0};
  b.SetColorTable(mine);
  EXPECT_EQ(tableOf(), mine);
  static_cast<std::uint8_t*>(b.ScanLine(0))[0] = 0x30;
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
}

TEST(BitmapWin, HandleCanBeSelectedElsewhere) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(4, 4);
  b.Canvas()->Brush()->SetColor(clBlue);
  b.Canvas()->FillRect(Rect(0, 0, 4, 4));
  HBITMAP bitmap = b.Handle();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ASSERT_NE(old, nullptr);  // the canvas let it go
  SetPixel(dc, 1, 1, RGB(255, 0, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_EQ(b.PixelColor(1, 1), clRed);
  // The canvas takes it back when it draws again.
  b.Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(b.PixelColor(0, 0), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
}

TEST(BitmapWin, SavedFilesMatchTheSystemsReading) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(5, 3);
  b.Canvas()->Brush()->SetColor(RGBColor(10, 200, 30));
  b.Canvas()->FillRect(Rect(0, 0, 5, 3));
  b.Canvas()->SetPixels(4, 0, clFuchsia);
  TMemoryStream s;
  b.SaveToStream(s);
  // The system's own reader takes the bytes after the file header.
  auto* bytes = static_cast<const std::uint8_t*>(s.Memory());
  auto* info = reinterpret_cast<const BITMAPINFO*>(bytes + 14);
  std::uint32_t offset;
  std::memcpy(&offset, bytes + 10, 4);
  HDC screen = GetDC(nullptr);
  HBITMAP dib = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, bytes + offset, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  ASSERT_NE(dib, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  EXPECT_EQ(GetPixel(dc, 4, 0), RGB(255, 0, 255));
  EXPECT_EQ(GetPixel(dc, 0, 2), RGB(10, 200, 30));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

namespace {

// The first "BITMAP" resource of a system module, for reading resources as the program's own.
BOOL CALLBACK FirstName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
  auto* out = reinterpret_cast<std::vector<ULONG_PTR>*>(found);
  if (IS_INTRESOURCE(name)) out->push_back(reinterpret_cast<ULONG_PTR>(name));
  return out->empty();
}

}  // namespace

TEST(BitmapWin, LoadsBitmapResources) {
  TBitmap b;
  HMODULE self = GetModuleHandleW(nullptr);
  EXPECT_THROW(b.LoadFromResourceName(self, "NO_SUCH_BITMAP"), EResNotFound);
  EXPECT_THROW(b.LoadFromResourceID(self, 4711), EResNotFound);

  HMODULE module = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  std::vector<ULONG_PTR> ids;
  EnumResourceNamesW(module, MAKEINTRESOURCEW(2), FirstName, reinterpret_cast<LONG_PTR>(&ids));
  if (ids.empty()) {
    FreeLibrary(module);
    GTEST_SKIP() << "no bitmap resources in comctl32.dll";
  }
  int id = static_cast<int>(ids[0]);
  b.LoadFromResourceID(module, id);
  HBITMAP system =
      static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(system, nullptr);
  BITMAP bm{};
  GetObjectW(system, sizeof bm, &bm);
  EXPECT_EQ(b.Width(), bm.bmWidth);
  EXPECT_EQ(b.Height(), bm.bmHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, system);
  for (int y = 0; y < b.Height(); y += 3)
    for (int x = 0; x < b.Width(); x += 3)
      ASSERT_EQ(static_cast<COLORREF>(b.PixelColor(x, y)), GetPixel(dc, x, y)) << x << "," << y;
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(system);
  FreeLibrary(module);
}
