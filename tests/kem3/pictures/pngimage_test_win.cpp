// PNG images from a module's "PNGIMG" resources. The module is a copy of a
// binary beside the tests, given the resources with the system's resource
// update calls and loaded as data.
#include <gtest/gtest.h>

#include <filesystem>

#include "kem3/pictures/pngimage.h"
#include "platform/canvas_win.h"
#include "platform/graphics.h"
#include "platform/winapi_win.h"
#include "support/temp_dir.h"

namespace {

std::filesystem::path TestFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

// A module holding the given resources, loaded as data for the test's life.
class TResourceModule {
 public:
  explicit TResourceModule(const std::filesystem::path& Folder) : FPath(Folder / "pictures.dll") {
    std::filesystem::path source = TestFolder() / "kem3.dll";
    if (!std::filesystem::exists(source)) {
      wchar_t self[MAX_PATH];
      GetModuleFileNameW(nullptr, self, MAX_PATH);
      source = self;
    }
    std::filesystem::copy_file(source, FPath);
    FUpdate = BeginUpdateResourceW(FPath.c_str(), FALSE);
  }
  ~TResourceModule() {
    if (FModule) FreeLibrary(FModule);
  }
  void Add(LPCWSTR Type, LPCWSTR Name, const std::string& Bytes) {
    ASSERT_TRUE(UpdateResourceW(FUpdate, Type, Name, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                const_cast<char*>(Bytes.data()), static_cast<DWORD>(Bytes.size())));
  }
  HINSTANCE Load() {
    EXPECT_TRUE(EndUpdateResourceW(FUpdate, FALSE));
    FModule = LoadLibraryExW(FPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(FModule, nullptr);
    return FModule;
  }

 private:
  std::filesystem::path FPath;
  HANDLE FUpdate = nullptr;
  HMODULE FModule = nullptr;
};

TEST(PngImageWin, LoadsPngResourcesByName) {
  TPNGImage source;
  source.SetPixelFormat(pf32bit);
  source.SetSize(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) source.SetPixelColor(x, y, RGBColor(x * 30, y * 40, 200));
  static_cast<std::uint8_t*>(source.ScanLine(2))[3] = 0x40;
  TStringStream file;
  source.SaveToStream(file);

  TempDir dir;
  TResourceModule module(dir.path());
  module.Add(L"PNGIMG", L"SKINPART", file.DataString());
  module.Add(MAKEINTRESOURCEW(10), L"RAWPART", file.DataString());  // RT_RCDATA: not a picture resource
  module.Add(L"PNGIMG", L"BROKEN", file.DataString().substr(0, 40));
  HINSTANCE instance = module.Load();
  ASSERT_NE(instance, nullptr);

  TPNGImage image;
  image.LoadFromResourceName(instance, "SKINPART");
  ASSERT_EQ(image.Width(), 7);
  ASSERT_EQ(image.Height(), 5);
  EXPECT_EQ(image.PixelFormat(), pf32bit);
  EXPECT_EQ(image.PixelColor(6, 4), RGBColor(180, 160, 200));
  EXPECT_EQ(static_cast<const std::uint8_t*>(image.ScanLine(2))[3], 0x40);
  // The picture is a real DIB section: drawing sees the decoded pixels.
  EXPECT_NE(image.Handle(), nullptr);
  EXPECT_EQ(GetPixel(image.Canvas()->Handle(), 6, 4), static_cast<COLORREF>(RGBColor(180, 160, 200)));

  EXPECT_THROW(image.LoadFromResourceName(instance, "RAWPART"), EResNotFound);
  EXPECT_THROW(image.LoadFromResourceName(instance, "MISSING"), EResNotFound);
  EXPECT_THROW(image.LoadFromResourceName(instance, "BROKEN"), EPNGImage);
}

TEST(PngImageWin, PalettedPicturesKeepTheirColourTableInTheSection) {
  std::string file;
  {
    TPNGImage source;
    source.SetPixelFormat(pf4bit);
    source.SetSize(3, 1);
    std::vector<TRGBQuad> table = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    source.SetColorTable(table);
    static_cast<std::uint8_t*>(source.ScanLine(0))[0] = 0x01;
    static_cast<std::uint8_t*>(source.ScanLine(0))[1] = 0x20;
    TStringStream out;
    source.SaveToStream(out);
    file = out.DataString();
  }
  TPNGImage image;
  TStringStream in(file);
  image.LoadFromStream(in);
  ASSERT_EQ(image.PixelFormat(), pf4bit);
  HDC dc = image.Canvas()->Handle();
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 255));

  // Indices beyond a short palette draw black, as they read.
  static_cast<std::uint8_t*>(image.ScanLine(0))[1] = 0x90;  // the third pixel: index 9
  EXPECT_EQ(image.PixelColor(2, 0), clBlack);
  EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 0));
}

// Pictures drawn by the system go into the file, and loaded pictures draw.
TEST(PngImageWin, DrawnPicturesAreSavedAndLoadedPicturesDraw) {
  TPNGImage drawn;
  drawn.SetSize(12, 8);  // the screen's format, laid out as 32 bits
  drawn.Canvas()->Brush()->SetColor(RGBColor(10, 200, 30));
  drawn.Canvas()->FillRect(TRect{0, 0, 12, 8});
  drawn.Canvas()->Brush()->SetColor(RGBColor(250, 20, 120));
  drawn.Canvas()->FillRect(TRect{4, 2, 8, 6});
  TStringStream file;
  drawn.SaveToStream(file);
  EXPECT_EQ(drawn.PixelFormat(), pf24bit);  // the file holds truecolour
  EXPECT_EQ(drawn.PixelColor(5, 3), RGBColor(250, 20, 120));

  TPNGImage loaded;
  file.SetPosition(0);
  loaded.LoadFromStream(file);
  EXPECT_EQ(loaded.PixelFormat(), pf24bit);
  EXPECT_EQ(loaded.PixelColor(0, 0), RGBColor(10, 200, 30));
  EXPECT_EQ(loaded.PixelColor(5, 3), RGBColor(250, 20, 120));

  // A plain bitmap takes the picture and draws it.
  TBitmap target;
  target.SetPixelFormat(pf24bit);
  target.SetSize(12, 8);
  target.Canvas()->Draw(0, 0, loaded);
  EXPECT_EQ(GetPixel(target.Canvas()->Handle(), 5, 3), static_cast<COLORREF>(RGBColor(250, 20, 120)));
  EXPECT_EQ(GetPixel(target.Canvas()->Handle(), 11, 7), static_cast<COLORREF>(RGBColor(10, 200, 30)));
  TBitmap copy;
  copy.Assign(loaded);
  EXPECT_EQ(GetPixel(copy.Canvas()->Handle(), 5, 3), static_cast<COLORREF>(RGBColor(250, 20, 120)));
}

}  // namespace
