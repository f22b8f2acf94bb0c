// The icon library on Windows: the icon groups of a DLL built by windres in
// resource order, and a document type registered for the user that takes
// its icon from there, also by a bare name on the search path.
#include <gtest/gtest.h>

#include "kem3/graphics/kemicons.h"
#include "platform/files.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "platform/win_util_win.h"
#include "platform/winapi_win.h"
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
