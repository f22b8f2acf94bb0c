// The browser's list icons from kem3.dll: a name that does not load takes the
// file's picture, so every name keeps its place.
#include "kem3/browser/kembrowser_icons_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The picture at Index drawn on white, pixel by pixel.
std::vector<COLORREF> Drawn(const TBrowserIcons& Icons, int Index) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const RECT all{0, 0, 16, 16};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ImageList_Draw(Icons.Handle(), Index, dc, 0, 0, ILD_NORMAL);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) pixels.push_back(GetPixel(dc, x, y));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

}  // namespace

TEST(BrowserIconsWin, ANameThatDoesNotLoadTakesTheFilesPicture) {
  TBrowserIcons icons(16);
  EXPECT_EQ(icons.Add(BrowserIconImage), 0);
  EXPECT_EQ(icons.Add("NOSUCHICON"), 1);
  EXPECT_EQ(icons.Add(BrowserIconFile), 2);
  EXPECT_EQ(icons.Add(BrowserIconFolder), 3);
  EXPECT_EQ(icons.Count(), 4);
  const std::vector<COLORREF> white(256, RGB(255, 255, 255));
  EXPECT_NE(Drawn(icons, 2), white) << "the file's picture loaded";
  EXPECT_EQ(Drawn(icons, 1), Drawn(icons, 2));
  EXPECT_NE(Drawn(icons, 0), Drawn(icons, 2));
  EXPECT_NE(Drawn(icons, 3), Drawn(icons, 2));
}
