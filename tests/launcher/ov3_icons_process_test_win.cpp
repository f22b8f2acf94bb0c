// The bar's icon pictures as a user meets them: a first start makes "ov3.icc"
// from icons of every kind (an executable, a DLL built by windres, an icon
// file, a picture, a missing file), the
// next start reads it, and a damaged cache is made again. Icon files and
// libraries made to cost much neither hold the start nor eat memory.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <filesystem>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3_folder_win.h"
#include "launcher/ov3contents.h"
#include "launcher/ov3iconcache.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "support/crafted_icons.h"
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

// How long a start took until the bar answered, and the most memory it held.
struct TStartCost {
  ULONGLONG Milliseconds = 0;
  SIZE_T PeakBytes = 0;
};

// Starts the bar, waits until it answers, and closes it.
TStartCost MeasureStart(const Ov3Folder& Folder) {
  TStartCost cost;
  const ULONGLONG start = GetTickCount64();
  RunningBar bar(Folder, L"", 120000);
  EXPECT_NE(bar.Window(), nullptr);
  if (!bar.Window()) return cost;
  EXPECT_TRUE(bar.Answers(120000));
  cost.Milliseconds = GetTickCount64() - start;
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, bar.Id())) {
    if (GetProcessMemoryInfo(process, &memory, sizeof memory)) cost.PeakBytes = memory.PeakWorkingSetSize;
    CloseHandle(process);
  }
  EXPECT_EQ(bar.Close(), 0);
  return cost;
}

// Starts the bar, lets it finish its start-up and closes it.
void RunBar(const Ov3Folder& Folder) {
  RunningBar bar(Folder);
  ASSERT_NE(bar.Window(), nullptr);
  EXPECT_TRUE(bar.Answers());
  EXPECT_EQ(bar.Close(), 0);
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

// Icon files made to cost much (references to one long string, entries naming
// one picture, thousands of tiny elements or types, a large file that is no
// icon) hold the start no longer than plain ones: it took a minute and
// gigabytes before their reading was bounded.
TEST(Ov3IconsProcess, CraftedIconFilesDoNotHoldTheStart) {
  using namespace iconwriter;
  // 300,000 references to a 100 KB string; 45,000 objects of a class so named.
  const std::string references = craftedicons::TypedStreamStringReferences(300000, 100000);
  const std::string objects = craftedicons::TypedStreamClassObjects(45000, 100000);
  // 300 entries naming one 1024 x 1024 picture.
  const std::string picture = DibImage(
      1024, 1024, 32, [](int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(x ^ y); },
      [](int, int) { return false; });
  std::string entries = LE16(0) + LE16(1) + LE16(300);
  for (int i = 0; i < 300; ++i)
    entries += std::string(4, '\0') + LE16(1) + LE16(32) + LE32(static_cast<std::uint32_t>(picture.size())) +
               LE32(6 + 16 * 300);
  entries += picture;
  // 10,000 tiny elements; a resource fork whose 8,000 types lead to one family.
  const std::string elements =
      IcnsFamily(std::vector<TIcnsElement>(10000, TIcnsElement{"it32", std::string(1, '\xFF')}));
  const std::string fork =
      craftedicons::ResourceForkOfManyTypes(IcnsFamily({{"icl8", std::string(1024, '\x01')}}), 8000, 1);
  const std::pair<const char*, std::string> files[] = {{"references.tiff", references},
                                                       {"objects.tiff", objects},
                                                       {"entries.ico", entries},
                                                       {"elements.icns", elements},
                                                       {"._types", AppleSingle(fork, true)},
                                                       {"large.dat", std::string(64 * 1024 * 1024, 'x')}};
  Ov3Folder folder;
  std::string icons;
  for (const auto& [name, bytes] : files) {
    WriteFileAtomic(folder.File(name), bytes);
    icons += std::string("<icon title=\"") + name + "\"><image filename=\"" + name + "\"/></icon>";
  }
  WriteFileAtomic(folder.File("ov3.xml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups>"
                  "<group title=\"Main\"><icons>" +
                      icons + "</icons></group></groups></ov3contents>\n");
  // A plain start takes well under a second here.
  const ULONGLONG start = GetTickCount64();
  RunningBar bar(folder, L"", 60000);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(bar.Answers(60000));
  EXPECT_LT(GetTickCount64() - start, 8000u);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, bar.Id());
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(GetProcessMemoryInfo(process, &memory, sizeof memory));
  CloseHandle(process);
  EXPECT_LT(memory.PeakWorkingSetSize, SIZE_T{256} << 20);
  EXPECT_EQ(CloseBar(bar, window), 0);
}

// Icon libraries whose groups all name one directory: 10,000 groups of a
// 16-bit library sharing 65,535 entries held every start a minute, 65,000
// groups of a 16-bit library or a DLL sharing 256 entries of a 1 x 1 picture
// took 1.44 GB, and 4,000 DLL groups sharing 65,535 entries of missing icons
// held every start 14 s. Neither the first start, which makes their pictures,
// nor the next, which does not try again the one that failed, is held longer
// than a plain start or comes near 400 MB.
TEST(Ov3IconsProcess, CraftedIconLibrariesHoldNeitherTheFirstStartNorTheNext) {
  using namespace craftedicons;
  const std::string tiny = iconwriter::DibImage(
      1, 1, 32, [](int, int) { return 0xFF2060C0u; }, [](int, int) { return false; });
  const std::string head = PngHead(1024, 1024);
  auto icon1 = [](int) { return 1u; };
  const std::string tinyDirectory = GroupDirectory(256, icon1, 1, 1, 32, tiny.size());
  const std::pair<const char*, std::string> files[] = {
      {"shared.icl", NeLibraryOfSharedDirectory(head, 10000, GroupDirectory(65535, icon1, 0, 0, 32, head.size()))},
      {"tiny.icl", NeLibraryOfSharedDirectory(tiny, 65000, tinyDirectory)},
      {"tiny.dll", PeLibraryOfSharedDirectory({tiny}, 65000, tinyDirectory)},
      {"missing.dll", PeLibraryOfSharedDirectory({tiny}, 4000,
                                                 GroupDirectory(
                                                     65535, [](int i) { return 2u + static_cast<unsigned>(i % 65000); },
                                                     1, 1, 32, tiny.size()))},
  };
  // What a start costs here today: a bar whose only icon is a plain icon file.
  Ov3Folder plain;
  WriteFileAtomic(plain.File("app.ico"), iconwriter::IcoFile({iconwriter::SolidIcoEntry(32, 0xFF2060C0u)}));
  WriteFileAtomic(plain.File("ov3.xml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups><group title=\"Main\"><icons>"
                  "<icon title=\"app\"><image filename=\"app.ico\"/></icon></icons></group></groups></ov3contents>\n");
  const TStartCost usual = MeasureStart(plain);

  Ov3Folder folder;
  std::string icons;
  for (const auto& [name, bytes] : files) {
    WriteFileAtomic(folder.File(name), bytes);
    icons += std::string("<icon title=\"") + name + "\"><image filename=\"" + name + "\"/></icon>";
  }
  const String contents = folder.File("ov3.xml");
  WriteFileAtomic(contents,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups>"
                  "<group title=\"Main\"><icons>" +
                      icons + "</icons></group></groups></ov3contents>\n");
  std::vector<String> firstIndexes;
  for (const char* run : {"first", "next"}) {
    const TStartCost cost = MeasureStart(folder);
    std::printf(
        "[ start cost ] %s start: %llu ms, peak %llu MiB (a plain start: %llu ms, %llu MiB)\n", run,
        static_cast<unsigned long long>(cost.Milliseconds), static_cast<unsigned long long>(cost.PeakBytes >> 20),
        static_cast<unsigned long long>(usual.Milliseconds), static_cast<unsigned long long>(usual.PeakBytes >> 20));
    EXPECT_LT(cost.Milliseconds, usual.Milliseconds + 3000) << run;
    EXPECT_LT(cost.PeakBytes, SIZE_T{400} << 20) << run;
    // The 1 x 1 pictures are made; the library that gives none keeps its note.
    const std::vector<String> indexes = CacheIndexes(contents);
    ASSERT_EQ(indexes.size(), 4u) << run;
    EXPECT_EQ(indexes[0], "-1") << run;
    EXPECT_NE(indexes[1], "-1") << run;
    EXPECT_NE(indexes[2], "-1") << run;
    if (firstIndexes.empty()) firstIndexes = indexes;
    EXPECT_EQ(indexes, firstIndexes) << run;
  }
}
