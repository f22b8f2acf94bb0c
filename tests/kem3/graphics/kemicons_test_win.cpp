// The icon library on Windows: the icon groups of a DLL built by windres in
// resource order, crafted DLLs whose groups share one directory read within
// the file's budget, and a document type registered for the user that takes
// its icon from there, also by a bare name on the search path.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include "kem3/graphics/kemicons.h"
#include "platform/files.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"
#include "platform/winapi_win.h"
#include "support/crafted_icons.h"
#include "support/temp_dir.h"

namespace {

String BesideTests(const char* Name) {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  String dir = WideToUtf8(std::u16string(reinterpret_cast<const char16_t*>(path), n));
  return dir.substr(0, dir.find_last_of("\\/") + 1) + Name;
}

void SetDefault(const std::wstring& Key, const String& Value) {
  const WideString wide = Utf8ToWide(Value);
  RegSetKeyValueW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + Key).c_str(), nullptr, REG_SZ, wide.c_str(),
                  static_cast<DWORD>((wide.size() + 1) * 2));
}

}  // namespace

TEST(KemIconsWin, DllGroupsInResourceOrder) {
  TKemIcons icons;
  icons.LoadFromFile(BesideTests("iconres.dll"));
  ASSERT_EQ(icons.GetCount(), 3);
  const char* const names[] = {"MAINICON", "1", "32512"};
  for (int g = 0; g < 3; ++g) {
    const TKemIconGroup& group = *icons.GetGroup(g);
    EXPECT_EQ(group.Name, names[g]);
    ASSERT_EQ(group.Count(), 3);
    EXPECT_EQ(group.ExactImage(32, 32)->Width, 32);
    TBitmap bitmap, mask;
    bitmap.SetSize(24, 24);
    group.BestImage(48, 32)->Draw(bitmap, mask, true, true);
    EXPECT_EQ(bitmap.Width(), 24);
  }
}

TEST(KemIconsWin, DllGroupsSharingOneDirectoryStayWithinTheFileBudget) {
  // Groups may all name one directory, and its entries one picture or a
  // missing icon: 65,000 groups of 256 entries of a 1 x 1 picture took
  // 1.44 GB, and 4,000 groups sharing 65,535 entries of missing icons 11 s.
  using namespace iconwriter;
  const std::string tiny = DibImage(
      1, 1, 32, [](int, int) { return 0xFF102030u; }, [](int, int) { return false; });
  struct Case {
    const char* Name;
    std::string Dll;
    int FirstImages;  // of group 0; 0: no group at all
  };
  const Case cases[] = {
      {"tiny pictures",
       craftedicons::PeLibraryOfSharedDirectory({tiny}, 8000,
                                                craftedicons::GroupDirectory(
                                                    256, [](int) { return 1u; }, 1, 1, 32, tiny.size())),
       kMaxIconImagesPerGroup},
      {"missing icons",
       craftedicons::PeLibraryOfSharedDirectory(
           {tiny}, 4000,
           craftedicons::GroupDirectory(
               65535, [](int i) { return 2u + static_cast<unsigned>(i % 65000); }, 1, 1, 32, tiny.size())),
       0},
  };
  TempDir dir;
  for (const Case& c : cases) {
    // Not a type with an icon registered: only the file's own groups count.
    const String file = dir.file(std::string(c.Name) + ".orvtestlib");
    WriteFileAtomic(file, c.Dll);
    PROCESS_MEMORY_COUNTERS before{}, after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    const ULONGLONG start = GetTickCount64();
    TKemIcons icons;
    icons.LoadFromFile(file);
    EXPECT_LT(GetTickCount64() - start, 2000u) << c.Name;
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    EXPECT_LT(static_cast<std::int64_t>(after.PagefileUsage) - static_cast<std::int64_t>(before.PagefileUsage),
              std::int64_t{48} << 20)
        << c.Name;
    if (c.FirstImages == 0) {
      EXPECT_EQ(icons.GetCount(), 0) << c.Name;
      continue;
    }
    // Reading stops at the budget and keeps what it read.
    ASSERT_GE(icons.GetCount(), 1) << c.Name;
    EXPECT_EQ(icons.GetGroup(0)->Count(), c.FirstImages) << c.Name;
    EXPECT_EQ(icons.GetGroup(0)->Name, "1") << c.Name;
    int images = 0;
    for (int g = 0; g < icons.GetCount(); ++g) images += icons.GetGroup(g)->Count();
    EXPECT_LE(images, kMaxIconEntriesPerFile) << c.Name;
    TBitmap bitmap, mask;
    icons.GetGroup(0)->Image(0)->Draw(bitmap, mask, false, true);
    EXPECT_EQ(bitmap.PixelColor(0, 0), 0x302010) << c.Name;  // TColor is blue-green-red
  }
}

TEST(KemIconsWin, DocumentsTakeTheIconRegisteredForTheirType) {
  TempDir dir;
  const String doc = dir.file("letter.orvtestdoc");
  WriteFileAtomic(doc, "a document");
  struct Case {
    const char* Location;
    int Groups, Default;
  };
  const String dll = BesideTests("iconres.dll");
  const Case cases[] = {
      {"", 0, 0},
      {"%1", 0, 0},
      {"@,2", 3, 2},
      {"\"@\",-32512", 3, 2},
      {"@,9", 3, 9},  // beyond the library: the caller falls back to 0
      {"C:\\no\\such.dll,0", 0, 0},
      {"iconres.dll,1", 3, 1},  // a bare name: found on the search path, not in the current folder
  };
  SetDefault(L".orvtestdoc", "Orvanel.TestDoc");
  // The tests' folder on the search path; the current folder elsewhere.
  wchar_t oldPath[32767], oldFolder[MAX_PATH];
  GetEnvironmentVariableW(L"PATH", oldPath, 32767);
  GetCurrentDirectoryW(MAX_PATH, oldFolder);
  const String testsFolder = ExcludeTrailingPathDelimiter(ExtractFilePath(dll));
  SetEnvironmentVariableW(L"PATH", (std::wstring(oldPath) + L";" + WidePath(testsFolder)).c_str());
  SetCurrentDirectoryW(WidePath(dir.path().string()).c_str());
  for (const Case& c : cases) {
    SetDefault(L"Orvanel.TestDoc\\DefaultIcon", StringReplace(c.Location, "@", dll, TReplaceFlags{rfReplaceAll}));
    TKemIcons icons;
    icons.LoadFromFile(doc);
    EXPECT_EQ(icons.GetCount(), c.Groups) << c.Location;
    EXPECT_EQ(icons.FromRegisteredIcon(), c.Groups > 0) << c.Location;
    EXPECT_EQ(icons.DefaultGroup(), c.Default) << c.Location;
    EXPECT_EQ(icons.FileName(), doc);
  }
  SetEnvironmentVariableW(L"PATH", oldPath);
  SetCurrentDirectoryW(oldFolder);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.orvtestdoc");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\Orvanel.TestDoc");
}
