// Our icon readers against Debian's tools: the icons inside Wine's own DLLs
// (taken out by wrestool) read by our ICO reader and by icotool, pixel for
// pixel; and icon families written by png2icns from our PNGs read back.
#include <png.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "kem3/graphics/icon_pixels.h"
#include "kem3/graphics/kemicons.h"
#include "kem3/pictures/pngimage.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// RGBA rows of a PNG file, as libpng reads them.
bool ReadRgba(const std::string& File, int& W, int& H, std::vector<std::uint8_t>& Rgba) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, File.c_str())) return false;
  image.format = PNG_FORMAT_RGBA;
  W = static_cast<int>(image.width);
  H = static_cast<int>(image.height);
  Rgba.assign(PNG_IMAGE_SIZE(image), 0);
  return png_image_finish_read(&image, nullptr, Rgba.data(), 0, nullptr) != 0;
}

// Pixels of Image drawn at its own size that differ from Expected (RGBA rows);
// the colour of a fully transparent pixel says nothing.
int Differences(const TKemIconImage& Image, const std::function<const std::uint8_t*(int X, int Y)>& Expected) {
  TBitmap bitmap, mask;
  Image.Draw(bitmap, mask, false, true);
  int differences = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t a = Argb(bitmap, x, y);
      const std::uint8_t* p = Expected(x, y);
      const std::uint32_t b = std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
      differences += (a >> 24) != p[3] || (p[3] != 0 && a != b);
    }
  return differences;
}

int Shell(const std::string& Command) { return std::system((Command + " >/dev/null 2>&1").c_str()); }

const char* const kWineDlls = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";

}  // namespace

TEST(KemIconsTools, OurReaderMatchesIcotoolOnWineIcons) {
  if (!fs::exists(kWineDlls)) GTEST_SKIP() << "Wine's DLLs are not installed";
  TempDir dir;
  const fs::path icons = dir.path() / "ico";
  fs::create_directories(icons);
  for (const char* dll : {"user32.dll", "comdlg32.dll", "shell32.dll"})
    ASSERT_EQ(Shell("wrestool -x -t 14 -o " + icons.string() + " " + kWineDlls + dll), 0) << dll;
  int compared = 0;
  for (const auto& entry : fs::directory_iterator(icons)) {
    if (compared > 400) break;
    const fs::path pngs = dir.path() / ("png_" + entry.path().stem().string());
    fs::create_directories(pngs);
    ASSERT_EQ(Shell("icotool -x -o " + pngs.string() + " '" + entry.path().string() + "'"), 0);
    TKemIcons ours;
    ours.LoadFromFile(entry.path().string());
    ASSERT_EQ(ours.GetCount(), 1) << entry.path();
    const TKemIconGroup& group = *ours.GetGroup(0);
    for (const auto& png : fs::directory_iterator(pngs)) {
      // icotool names its files NAME_INDEX_WxHxBITS.png, the index counting from 1.
      const std::string file = png.path().string();
      const std::string stem = png.path().stem().string();
      const std::string head = stem.substr(0, stem.rfind('_'));
      const int index = std::stoi(head.substr(head.rfind('_') + 1)) - 1;
      int w = 0, h = 0;
      std::vector<std::uint8_t> rgba;
      ASSERT_TRUE(ReadRgba(file, w, h, rgba)) << file;
      const TKemIconImage* image = group.Image(index);
      ASSERT_NE(image, nullptr) << file;
      ASSERT_EQ(image->Width, w) << file;
      ASSERT_EQ(image->Height, h) << file;
      EXPECT_EQ(Differences(*image, [&](int x, int y) { return &rgba[(static_cast<std::size_t>(y) * w + x) * 4]; }), 0)
          << file;
      ++compared;
    }
  }
  EXPECT_GT(compared, 50);
}

TEST(KemIconsTools, Png2icnsFamiliesReadBack) {
  if (Shell("command -v png2icns") != 0) GTEST_SKIP() << "icnsutils is not installed";
  TempDir dir;
  std::string args;
  std::map<int, std::unique_ptr<TPNGImage>> sources;
  for (int size : {16, 32, 48, 128}) {
    auto png = std::make_unique<TPNGImage>();
    png->SetPixelFormat(pf32bit);
    png->SetSize(size, size);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        // Opaque stripes with a transparent corner: runs and literals for the packer.
        const bool clear = x + y < size / 4;
        static_cast<TRGBQuad*>(png->ScanLine(y))[x] =
            TRGBQuad{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>((y / 3) * 20),
                     static_cast<std::uint8_t>(x % 5 == 0 ? 250 : 30), static_cast<std::uint8_t>(clear ? 0 : 255)};
      }
    const std::string file = dir.file("icon" + std::to_string(size) + ".png");
    png->SaveToFile(file);
    args += " " + file;
    sources[size] = std::move(png);
  }
  const std::string icns = dir.file("icon.icns");
  ASSERT_EQ(Shell("png2icns " + icns + args), 0);
  TKemIcons icons;
  icons.LoadFromFile(icns);
  ASSERT_EQ(icons.GetCount(), 1);
  const TKemIconGroup& group = *icons.GetGroup(0);
  ASSERT_EQ(group.Count(), 4);
  for (int i = 0; i < group.Count(); ++i) {
    const TKemIconImage& image = *group.Image(i);
    ASSERT_TRUE(sources.count(image.Width)) << image.Width;
    EXPECT_TRUE(image.Alpha);
    const TPNGImage& source = *sources[image.Width];
    std::uint8_t rgba[4];
    EXPECT_EQ(Differences(image,
                          [&](int x, int y) {
                            const TRGBQuad q = static_cast<const TRGBQuad*>(source.ScanLine(y))[x];
                            rgba[0] = q.rgbRed, rgba[1] = q.rgbGreen, rgba[2] = q.rgbBlue, rgba[3] = q.rgbReserved;
                            return static_cast<const std::uint8_t*>(rgba);
                          }),
              0)
        << image.Width;
  }
}
