// The bar's icon pictures as a user meets them: a first start makes "ov3.icc"
// from icons of every kind (an executable, a DLL built by windres, an icon
// file, a picture, a missing file), the
// next start reads it, and a damaged cache is made again.
#include <gtest/gtest.h>

#include <filesystem>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3_folder_win.h"
#include "launcher/ov3contents.h"
#include "launcher/ov3iconcache.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "tools/common/iconwriter.h"

using namespace ov3test;

namespace {

std::vector<String> CacheIndexes(const String& ContentsFile) {
  TKemXml doc;
  doc.LoadFromFile(ContentsFile);
  std::vector<String> out;
  for (TKemXmlTag* icon : ListIcons(ListGroups(ContentsGroups(doc))[0])) out.push_back(icon->ReadAttr("cacheindex"));
  return out;
}

// Starts the bar, lets it settle and closes it.
void RunBar(const Ov3Folder& Folder) {
  testproc::ChildProcess bar(Folder.Exe(), L"", Folder.Folder());
  ASSERT_TRUE(bar.Started());
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  (void)bar.Wait(500);
  EXPECT_EQ(CloseBar(bar, window), 0);
}

}  // namespace

TEST(Ov3IconsProcess, FirstStartMakesTheCacheAndADamagedOneIsMadeAgain) {
  Ov3Folder folder;
  std::filesystem::copy_file(testproc::ProgramFolder() + L"iconres.dll", folder.Folder() + L"\\iconres.dll");
  using namespace iconwriter;
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(40, 40);
  picture.SaveToFile(folder.File("pic.bmp"));
  WriteFileAtomic(folder.File("app.ico"),
                  IcoFile({{32, 32, 0, 1, 32,
                            DibImage(
                                32, 32, 32, [](int, int) { return 0xFF2060C0u; }, [](int, int) { return false; })}}));
  const String contents = folder.File("ov3.xml");
  WriteFileAtomic(contents,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups><group title=\"Main\"><icons>"
                  "<icon title=\"Program\"><image filename=\"ov3.exe\" index=\"0\"/></icon>"
                  "<icon title=\"Library\"><image filename=\"iconres.dll\" index=\"2\"/></icon>"
                  "<icon title=\"Icon file\"><image filename=\"app.ico\"/></icon>"
                  "<icon title=\"Missing\"><image filename=\"missing.png\"/></icon>"
                  "<icon title=\"Picture\"><image filename=\"pic.bmp\"/></icon>"
                  "</icons></group></groups></ov3contents>\n");

  RunBar(folder);
  const String cacheFile = folder.File("ov3.icc");
  ASSERT_TRUE(FileExists(cacheFile));
  EXPECT_EQ(CacheIndexes(contents), (std::vector<String>{"0", "1", "2", "-1", "3"}));
  auto items = ReadIconCacheItems(ReadFileBytes(cacheFile));
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[2]->Bitmap->PixelColor(16, 16), 0xC06020);  // TColor is blue-green-red

  // The next start reads the cache: a changed source does not show until a rebuild.
  WriteFileAtomic(folder.File("app.ico"), "no longer an icon");
  RunBar(folder);
  EXPECT_EQ(CacheIndexes(contents), (std::vector<String>{"0", "1", "2", "-1", "3"}));
  EXPECT_EQ(ReadIconCacheItems(ReadFileBytes(cacheFile)).size(), 4u);

  // A damaged cache is discarded and made again from the sources.
  WriteFileAtomic(cacheFile, "OV3ICCF" + std::string(1, '\0') + "damaged cache file");
  RunBar(folder);
  EXPECT_EQ(CacheIndexes(contents), (std::vector<String>{"0", "1", "-1", "-1", "2"}));
  EXPECT_EQ(ReadIconCacheItems(ReadFileBytes(cacheFile)).size(), 3u);
}
