#include "kem3/pictures/kemimage_win.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "kem3/pictures/jpeg_test_encoder.h"
#include "kem3/pictures/jpegimage.h"
#include "kem3/pictures/pngimage.h"
#include "platform/app_scope_win.h"
#include "platform/screen_win.h"
#include "support/temp_dir.h"

namespace {

std::filesystem::path ProgramFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

std::string StreamBytes(TMemoryStream& Stream) {
  return std::string(static_cast<const char*>(Stream.Memory()), static_cast<std::size_t>(Stream.Size()));
}

std::string BmpFile(TColor Color) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) b.SetPixelColor(x, y, Color);
  TMemoryStream s;
  b.SaveToStream(s);
  return StreamBytes(s);
}

std::string PngFile(int W, int H, TColor Color) {
  TPNGImage png;
  png.SetPixelFormat(pf32bit);
  png.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) png.SetPixelColor(x, y, Color);
  TMemoryStream s;
  png.SaveToStream(s);
  return StreamBytes(s);
}

std::string GreenJpeg() {
  std::vector<std::uint8_t> pixels;
  for (int i = 0; i < 8 * 8; ++i) pixels.insert(pixels.end(), {0, 255, 0});
  return EncodeTestJpeg(8, 8, 3, JCS_RGB, pixels);
}

// A module whose resources the tests write: a copy of kem3.dll with pictures
// added by the system's resource updater, loaded as data.
class TPictureModule {
 public:
  TPictureModule() {
    std::filesystem::path file = FDir.path() / "pictures.dll";
    std::filesystem::copy_file(ProgramFolder() / "kem3.dll", file);
    HANDLE update = BeginUpdateResourceW(file.c_str(), FALSE);
    EXPECT_NE(update, nullptr);
    Add(update, L"BMPIMG", L"RED", BmpFile(clRed));
    Add(update, L"JPGIMG", L"BOTH", GreenJpeg());
    Add(update, L"PNGIMG", L"BOTH", PngFile(8, 8, clBlue));
    Add(update, L"PNGIMG", L"LOGO", PngFile(6, 5, clYellow));
    Add(update, L"JPGIMG", L"PHOTO", GreenJpeg());
    Add(update, L"JPGIMG", L"BROKEN", "not a picture");
    EXPECT_TRUE(EndUpdateResourceW(update, FALSE));
    Handle = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    EXPECT_NE(Handle, nullptr);
  }
  ~TPictureModule() {
    if (Handle) FreeLibrary(Handle);
  }
  TPictureModule(const TPictureModule&) = delete;
  TPictureModule& operator=(const TPictureModule&) = delete;

  HMODULE Handle = nullptr;

 private:
  static void Add(HANDLE Update, const wchar_t* Type, const wchar_t* Name, const std::string& Bytes) {
    EXPECT_TRUE(UpdateResourceW(Update, Type, Name, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),
                                const_cast<char*>(Bytes.data()), static_cast<DWORD>(Bytes.size())));
  }
  TempDir FDir;
};

HMODULE GLibrary = nullptr;
HINSTANCE TestLibrary() { return GLibrary; }

void Paint(TBitmap& b, int W, int H, TColor Color) {
  b.SetPixelFormat(pf24bit);
  b.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) b.SetPixelColor(x, y, Color);
}

}  // namespace

TEST(KemImageResources, PicturesOfEachTypeAndTheJpegFirst) {
  TPictureModule module;
  TBitmap b;
  LoadBitmapResource(b, "RED", module.Handle);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.PixelColor(2, 1), clRed);
  LoadBitmapResource(b, "logo", module.Handle);  // names are case-insensitive
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.PixelColor(5, 4), clYellow);
  // Present as JPGIMG and PNGIMG: the JPEG (green, 24-bit) wins over the PNG (blue).
  LoadBitmapResource(b, "BOTH", module.Handle);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  TColor c = b.PixelColor(3, 3);
  EXPECT_GT(GetGreen(c), 240);
  EXPECT_LT(GetBlue(c), 16);
  // Missing: unchanged.
  LoadBitmapResource(b, "NOSUCH", module.Handle);
  EXPECT_EQ(b.Width(), 8);
  EXPECT_THROW(LoadBitmapResource(b, "BROKEN", module.Handle), EJPEG);
  auto created = CreateResourceBitmap("PHOTO", module.Handle);
  EXPECT_EQ(created->Height(), 8);
  EXPECT_TRUE(CreateResourceBitmap("NOSUCH", module.Handle)->Empty());
}

TEST(KemImageResources, ResourceLibraryAndSharedCache) {
  TPictureModule module;
  GLibrary = module.Handle;
  SetResourceLibraryFunction(TestLibrary);
  TBitmap b;
  LoadBitmapResource(b, "RED", ResourceLibraryModule());
  EXPECT_EQ(b.PixelColor(0, 0), clRed);
  TBitmap* shared = GetSharedResourceBitmap("LOGO", ResourceLibraryModule());
  EXPECT_EQ(shared->Width(), 6);
  EXPECT_EQ(GetSharedResourceBitmap("logo", nullptr), shared);  // cached by name
  FreeImageResources();
  // Without a resource library nothing is found.
  GLibrary = nullptr;
  TBitmap untouched;
  LoadBitmapResource(untouched, "RED", ResourceLibraryModule());
  EXPECT_TRUE(untouched.Empty());
  EXPECT_TRUE(GetSharedResourceBitmap("LOGO", ResourceLibraryModule())->Empty());
  FreeImageResources();
  SetResourceLibraryFunction(nullptr);
}

TEST(KemImageResources, JpegFromResourceName) {
  TPictureModule module;
  TJPEGImage jpeg;
  jpeg.LoadFromResourceName(module.Handle, "PHOTO");
  EXPECT_EQ(jpeg.Width(), 8);
  EXPECT_THROW(jpeg.LoadFromResourceName(module.Handle, "RED"), EResNotFound);
}

TEST(KemImageCursors, TheLibraryCarriesAllTwentyOne) {
  TAppScope app;
  HMODULE library = LoadLibraryW((ProgramFolder() / "kem3.dll").c_str());
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(LoadKemCursors(*Screen, library), 21);
  FreeLibrary(library);  // the cursors are copies of our own: they stay valid
  HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  std::set<HCURSOR> seen;
  for (const TKemCursorResource& cursor : KemCursorResources) {
    SCOPED_TRACE(cursor.Name);
    HCURSOR handle = Screen->Cursors(cursor.Index);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(handle, arrow);
    seen.insert(handle);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(handle, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_LT(info.xHotspot, 32u);
    EXPECT_LT(info.yHotspot, 32u);
    if (cursor.Index == crKemCursor) {  // the pointer's tip
      EXPECT_EQ(info.xHotspot, 1u);
      EXPECT_EQ(info.yHotspot, 1u);
    }
    BITMAP colour{};
    if (info.hbmColor) GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_GT(colour.bmWidth, 0);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
  EXPECT_EQ(seen.size(), 21u);
}

TEST(KemImageCursors, RegisterCursorsOnceFromTheResourceLibrary) {
  TAppScope app;
  GLibrary = nullptr;
  SetResourceLibraryFunction(TestLibrary);
  HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  RegisterCursors();  // no library yet: nothing, and it tries again later
  EXPECT_EQ(Screen->Cursors(crKemZoom), arrow);
  GLibrary = LoadLibraryW((ProgramFolder() / "kem3.dll").c_str());
  ASSERT_NE(GLibrary, nullptr);
  RegisterCursors();
  HCURSOR zoom = Screen->Cursors(crKemZoom);
  EXPECT_NE(zoom, arrow);
  EXPECT_NE(Screen->Cursors(crKemTracker), arrow);
  RegisterCursors();  // once: the same cursors stay
  EXPECT_EQ(Screen->Cursors(crKemZoom), zoom);
  {
    TAppScope next;  // a screen of its own gets them again
    EXPECT_EQ(Screen->Cursors(crKemZoom), arrow);
    RegisterCursors();
    EXPECT_NE(Screen->Cursors(crKemZoom), arrow);
  }
  FreeLibrary(GLibrary);
  GLibrary = nullptr;
  SetResourceLibraryFunction(nullptr);
}

TEST(KemImageDrawing, TilesWrapTheirOffsetsAndStayInside) {
  TBitmap tile;
  tile.SetPixelFormat(pf24bit);
  tile.SetSize(3, 2);
  const TColor colours[2][3] = {{clRed, clLime, clBlue}, {clYellow, clAqua, clFuchsia}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) tile.SetPixelColor(x, y, colours[y][x]);
  struct {
    int OffsetX, OffsetY;
  } cases[] = {{0, 0}, {7, 5}, {-1, -4}, {3001, -2001}};
  for (auto c : cases) {
    SCOPED_TRACE(testing::Message() << c.OffsetX << ", " << c.OffsetY);
    TBitmap target;
    Paint(target, 12, 9, clWhite);
    TRect r = Rect(1, 2, 11, 8);
    DrawTiled(*target.Canvas(), r, tile, c.OffsetY, c.OffsetX);
    int ox = ((c.OffsetX % 3) + 3) % 3, oy = ((c.OffsetY % 2) + 2) % 2;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 12; ++x) {
        TColor expected = PtInRect(r, Point(x, y)) ? colours[(y - r.Top + oy) % 2][(x - r.Left + ox) % 3] : clWhite;
        ASSERT_EQ(target.PixelColor(x, y), expected) << x << ", " << y;
      }
  }
  TBitmap target, empty;
  Paint(target, 4, 4, clWhite);
  DrawTiled(*target.Canvas(), Rect(0, 0, 4, 4), empty, 0, 0);
  EXPECT_EQ(target.PixelColor(1, 1), clWhite);
}

TEST(KemImageDrawing, CornerMarksAndPixelPatterns) {
  TBitmap target;
  Paint(target, 10, 8, clWhite);
  TCanvas& canvas = *target.Canvas();
  canvas.Brush()->SetColor(clGreen);
  DrawCornerMarks(canvas, Rect(1, 1, 9, 7), clRed);
  EXPECT_EQ(canvas.Brush()->Color(), clGreen);
  std::set<std::pair<int, int>> marked = {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {1, 3}, {8, 1}, {7, 1},
                                          {6, 1}, {8, 2}, {8, 3}, {1, 6}, {2, 6}, {3, 6}, {1, 5},
                                          {1, 4}, {8, 6}, {7, 6}, {6, 6}, {8, 5}, {8, 4}};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(target.PixelColor(x, y), marked.count({x, y}) ? clRed : clWhite) << x << ", " << y;

  TPixelPattern pattern{};
  for (int i = 0; i < 9; ++i) pattern[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)] = 1;
  TBitmap board;
  Paint(board, 11, 11, clWhite);
  DrawPixelPattern(*board.Canvas(), 1, 2, clNone, clBlue, pattern);
  EXPECT_EQ(board.PixelColor(1, 2), clBlue);
  EXPECT_EQ(board.PixelColor(9, 10), clBlue);
  EXPECT_EQ(board.PixelColor(2, 2), clWhite);  // no back colour: left alone
  DrawPixelPattern(*board.Canvas(), 1, 2, clBlack, clRed, pattern);
  EXPECT_EQ(board.PixelColor(5, 6), clRed);
  EXPECT_EQ(board.PixelColor(2, 2), clBlack);
  EXPECT_EQ(board.PixelColor(0, 2), clWhite);  // outside the 9 x 9 block
  EXPECT_EQ(board.PixelColor(10, 10), clWhite);
}

TEST(KemImageDrawing, ScratchBitmapAndScreenCanvas) {
  EnsureScratchBitmapSize(10, 5);
  EXPECT_GE(ScratchBitmap()->Width(), 10);
  EnsureScratchBitmapSize(3, 20);
  EXPECT_GE(ScratchBitmap()->Width(), 10);  // it only grows
  EXPECT_GE(ScratchBitmap()->Height(), 20);
  EXPECT_NE(ScreenCanvas()->Handle(), nullptr);
  EXPECT_GT(ScreenCanvas()->TextWidth(u"Orvanel"), 0);
  FreeImageResources();
  EXPECT_TRUE(ScratchBitmap()->Empty());
  FreeImageResources();
}
