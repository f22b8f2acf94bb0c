#include "kem3/unicode/ucsyscalls_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "kem3/unicode/ucgraphics_win.h"
#include "kem3/unicode/uclocale.h"
#include "kem3/unicode/ucsystem.h"
#include "platform/bitmap.h"
#include "support/temp_dir.h"

namespace {

// Every test of the wrappers runs on the wide path and on the 8-bit path.
class WrapperTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { SetAnsiSystemCallsForTesting(GetParam()); }
  void TearDown() override { SetAnsiSystemCallsForTesting(false); }
};
INSTANTIATE_TEST_SUITE_P(BothPaths, WrapperTest, ::testing::Values(false, true));

TEST_P(WrapperTest, WindowTextAndDrawnTextArriveWhole) {
  EXPECT_TRUE(UnicodePlatform());
  EXPECT_EQ(UseWideSystemCalls(), !GetParam());
  HWND wnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  const WideString text = u"Gr\u00fc\u00dfe caf\u00e9";
  EXPECT_TRUE(WideSetWindowText(wnd, text.c_str()));
  wchar_t back[64] = {};
  GetWindowTextW(wnd, back, 64);
  EXPECT_EQ(WideString(reinterpret_cast<char16_t*>(back)), text);

  HDC dc = GetDC(wnd);
  RECT five{}, all{}, expected{};
  WideDrawText(dc, text.c_str(), 5, &five, DT_CALCRECT | DT_SINGLELINE);
  WideDrawText(dc, text.c_str(), -1, &all, DT_CALCRECT | DT_SINGLELINE);
  DrawTextW(dc, L"Gr\u00fc\u00dfe", 5, &expected, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(five.right, expected.right);  // only the first five characters
  EXPECT_GT(all.right, five.right);
  ReleaseDC(wnd, dc);
  DestroyWindow(wnd);
}

TEST_P(WrapperTest, FullPathNamesComeWholeWithTheirFilePart) {
  wchar_t cwd[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, cwd);
  const WideString dir = WideString(reinterpret_cast<char16_t*>(cwd)) + u"\\";
  std::vector<WideChar> buffer(1200, u'#');
  WideChar* part = nullptr;
  DWORD n = WideGetFullPathName(u"sub\\caf\u00e9.txt", 1200, buffer.data(), &part);
  EXPECT_EQ(WideString(buffer.data(), n), dir + u"sub\\caf\u00e9.txt");
  ASSERT_TRUE(part);
  EXPECT_EQ(WideString(part), u"caf\u00e9.txt");
  EXPECT_EQ(WideGetFullPathName(u"sub\\x.txt", 4, buffer.data(), &part), dir.size() + 10);  // the size needed

  // Longer than 260 characters (Wine's 8-bit entry gives no full name above
  // 260, so only the wide path goes past the 8-bit path's first 520).
  const WideString longName = u"sub\\" + WideString(GetParam() ? 200 : 600, u'a');
  n = WideGetFullPathName(longName.c_str(), 1200, buffer.data(), nullptr);
  EXPECT_EQ(WideString(buffer.data(), n), dir + longName);
  EXPECT_EQ(ExpandWideFileName(longName), dir + longName);
}

TEST_P(WrapperTest, FilesOpenWithTheModesRightsAndErrorsHaveTexts) {
  TempDir temp;
  const auto u16 = temp.path().u16string();
  const WideString name = WideString(u16.begin(), u16.end()) + u"\\Gr\u00fc\u00dfe.txt";
  HANDLE created = CreateFileByWideName(name);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  CloseHandle(created);
  HANDLE both = OpenFileByWideName(name, 0x22);  // read and write, others may read
  ASSERT_NE(both, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(both, "d", 1, &written, nullptr));
  HANDLE reader = OpenFileByWideName(name, 0x40);  // read, deny none: allowed beside it
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  CloseHandle(reader);
  EXPECT_EQ(OpenFileByWideName(name, 0x20), INVALID_HANDLE_VALUE);  // deny write: there is a writer
  CloseHandle(both);

  EXPECT_EQ(OpenFileByWideName(name + u"x", 0), INVALID_HANDLE_VALUE);
  const WideString missing = SystemErrorText(GetLastError());
  EXPECT_FALSE(missing.empty());
  EXPECT_NE(missing.back(), u'\n');
  EXPECT_EQ(SystemErrorText(0x2FFFFFFF), u"Unspecified error (805306367) from system.");
  SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_THROW(CheckWin32Result(0), EOSError);
}

BOOL CALLBACK AddBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR blocks) {
  if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<UINT>*>(blocks)->push_back(LOWORD(name));
  return TRUE;
}

// Every string of a module's string tables, by the table walk and by the system.
void CompareStringTables(HMODULE module) {
  std::vector<UINT> blocks;
  EnumResourceNamesW(module, MAKEINTRESOURCEW(6), AddBlock, reinterpret_cast<LONG_PTR>(&blocks));
  ASSERT_FALSE(blocks.empty());
  for (UINT block : blocks) {
    for (UINT ident = (block - 1) * 16; ident < block * 16; ++ident) {
      for (int size : {4097, 4, 1}) {
        std::vector<WideChar> ours(4097, u'#');
        std::vector<wchar_t> system(4097, L'#');
        const int n = LoadStringFromTable(module, ident, ours.data(), size);
        ASSERT_EQ(n, LoadStringW(module, ident, system.data(), size)) << ident << " " << size;
        if (size == 1) continue;  // the system leaves a buffer of one as it was for an empty entry
        ASSERT_EQ(std::u16string_view(ours.data(), n + 1),
                  std::u16string_view(reinterpret_cast<char16_t*>(system.data()), n + 1));
      }
    }
  }
}

TEST_P(WrapperTest, TheTableWalkAgreesWithTheSystemsLoader) {
  CompareStringTables(GetModuleHandleW(L"user32.dll"));
  CompareStringTables(LoadLibraryW(L"comctl32.dll"));
  EXPECT_EQ(LoadStringFromTable(GetModuleHandleW(nullptr), 0xFFF0, nullptr, 0), 0);  // no such block
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  wchar_t system[256] = {};
  UINT ident = 0;
  while (ident < 0xFFFF && LoadStringW(user32, ident, system, 256) == 0) ++ident;
  EXPECT_EQ(LoadWideResourceString(user32, ident), reinterpret_cast<char16_t*>(system));  // by either loader
}

TEST(CodePagesWin, ConvertInTheSystemsCodePagesAndOurOwn) {
  const struct {
    unsigned codePage;
    std::string bytes;
    WideString text;
  } cases[] = {
      {1252, "\x80 caf\xE9", u"\u20AC caf\u00e9"},        {1251, "\xC0\xE1\xE2", u"\u0410\u0431\u0432"},
      {437, "\x82\x9B\xE1", u"\u00e9\u00a2\u00df"},       {932, "\x82\xA0\x93\xFA\x96\x7B", u"\u3042\u65e5\u672c"},
      {kCpUtf8, "\xCE\x91\xE2\x82\xAC", u"\u0391\u20AC"}, {kCpUtf7, "Hi Mom -+Jjo--!", u"Hi Mom -\u263A-!"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodePageToWide(c.bytes, c.codePage), c.text) << c.codePage;
    EXPECT_EQ(WideToCodePage(c.text, c.codePage), c.bytes) << c.codePage;
  }
  EXPECT_EQ(LocaleAnsiCodePage(0x0419), 1251u);
  EXPECT_EQ(LocaleAnsiCodePage(0x0411), 932u);
  EXPECT_EQ(LayerCodePage(), kCpThreadAcp);
}

TEST(CanvasWideTextWin, RightToLeftStartsBehindTheText) {
  TBitmap bitmap;
  bitmap.SetSize(300, 40);
  TCanvas* canvas = bitmap.Canvas();
  const WideString text = u"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1";
  const int width = WideCanvasTextWidth(canvas, text);
  CanvasWideTextOut(canvas, 10, 5, text);
  EXPECT_EQ(canvas->PenPos().X, 10 + width);
  SetLayout(canvas->Handle(), LAYOUT_RTL);
  CanvasWideTextOut(canvas, 10, 5, text);
  EXPECT_EQ(canvas->PenPos().X, 10 + 2 * width + 1);
}

}  // namespace
