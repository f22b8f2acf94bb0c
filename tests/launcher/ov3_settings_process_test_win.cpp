// The settings file as a user meets it: written after start-up and at exit,
// read at the next start, mended when old or damaged, and one that cannot be
// written told once and written as soon as it can be.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "launcher/ov3_folder_win.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/stringlist.h"
#include "platform/unicode_convert.h"

using namespace ov3test;

namespace {

// Waits until the file exists and holds the given section.
bool WaitForSection(const String& file, const String& section, DWORD milliseconds) {
  return testproc::WaitUntil([&] { return FileExists(file) && TIniFile(file).SectionExists(section); }, milliseconds,
                             testproc::PumpMessages, testproc::kFilePoll);
}

void WriteText(const String& file, const String& text) { WriteFileAtomic(file, text); }

// A file held open with the given sharing; let go at the end whatever fails,
// so that the folder can be removed.
struct THeld {
  HANDLE Handle;
  THeld(const std::wstring& name, DWORD share)
      : Handle(CreateFileW(name.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
  }
  ~THeld() { Release(); }
  THeld(const THeld&) = delete;
  THeld& operator=(const THeld&) = delete;
  void Release() {
    if (Handle != INVALID_HANDLE_VALUE) CloseHandle(Handle);
    Handle = INVALID_HANDLE_VALUE;
  }
};

// The text of a message box of the bar's.
std::wstring BoxText(HWND box) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  return text;
}

String Narrow(const std::wstring& text) {
  return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

}  // namespace

// Ending 0 closes the bar; 1 and 2 end the session (logoff) as Windows does,
// ending the process as soon as one of its windows, the bar or its hidden
// owner, has answered.
static void TheFileAppearsAfterStartUpAndAgainAtTheEnd(int ending) {
  Ov3Folder folder;
  const String ini = folder.File("ov3.ini");
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  // The deferred save is armed at creation: one save 2,500 ms after start-up.
  ASSERT_TRUE(WaitForSection(ini, "Window", 15000));
  DeleteFile(ini);
  DeleteFile(folder.File("ov3.xml"));
  if (ending == 0) {
    ASSERT_EQ(CloseBar(bar, window), 0);
  } else {
    SendMessageW(ending == 1 ? window : GetWindow(window, GW_OWNER), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    bar.Kill();
    EXPECT_TRUE(FileExists(folder.File("ov3.xml"))) << "the contents get their last try";
  }

  TIniFile file(ini);
  EXPECT_EQ(file.ReadString("Version", "Current", ""), "3.3.9");
  EXPECT_EQ(file.ReadString("Window", "Auto hide", ""), "no");
  EXPECT_EQ(file.ReadString("Window", "Auto hide hidedelay", ""), "2000");
  EXPECT_EQ(file.ReadString("Window", "Auto hide hidedelay (Unit)", ""), "ms");
  EXPECT_EQ(file.ReadString("Icons", "Size", ""), "32");
  EXPECT_EQ(file.ReadString("Groups", "Next group", ""), "tabulator,ctrl+shift");
  EXPECT_EQ(file.ReadString("Hints", "Show hints", ""), "0011");
  EXPECT_EQ(file.ReadString("Browser", "Flt icons", ""), "0");
  EXPECT_TRUE(file.ValueExists("MainForm", "Left"));
  EXPECT_TRUE(file.ValueExists("MainForm", "Width"));
}

TEST(Ov3SettingsProcess, TheFileAppearsAfterStartUpAndAgainAtExitWithEveryKey) {
  for (const int ending : {0, 1, 2}) {
    SCOPED_TRACE(ending);
    TheFileAppearsAfterStartUpAndAgainAtTheEnd(ending);
  }
}

TEST(Ov3SettingsProcess, HandEditedValuesTakeEffectAndOldOrDamagedOnesAreMended) {
  Ov3Folder folder;
  const String ini = folder.File("ov3.ini");
  WriteText(ini,
            "[Version]\r\nCurrent=3.0.1\r\n"
            "[Browser]\r\nFAVList=C:\\old\r\n"
            "[MainForm]\r\nLeft=100\r\nTop=200\r\nWidth=400\r\nHeight=80\r\n"
            "[Hints]\r\nShow hints=1\r\n"
            "[Window]\r\nAuto hide=perhaps\r\nScreen snap=NO\r\n"
            "[Icons]\r\nSize=big\r\n");
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 200);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 80);
  ASSERT_EQ(CloseBar(bar, window), 0);

  TIniFile file(ini);
  EXPECT_EQ(file.ReadString("Version", "Current", ""), "3.3.9");
  EXPECT_FALSE(file.ValueExists("Browser", "FAVList")) << "an older version's browser state goes once";
  EXPECT_EQ(file.ReadString("Hints", "Show hints", ""), "1011");
  EXPECT_EQ(file.ReadString("Window", "Auto hide", ""), "no") << "garbage reads as the default";
  EXPECT_EQ(file.ReadString("Window", "Screen snap", ""), "no") << "a value in other case still counts";
  EXPECT_EQ(file.ReadString("Icons", "Size", ""), "32");

  // The erase happens once: browser state written by this version stays.
  {
    TIniFile edit(ini);
    edit.WriteString("Browser", "FAVList", "C:\\new");
  }
  RunningBar again(folder);
  ASSERT_NE(again.Window(), nullptr);
  ASSERT_EQ(again.Close(), 0);
  EXPECT_EQ(TIniFile(ini).ReadString("Browser", "FAVList", ""), "C:\\new");
}

TEST(Ov3SettingsProcess, AKilledBarLeavesAFileThatReadsWhole) {
  Ov3Folder folder;
  const String ini = folder.File("ov3.ini");
  RunningBar bar(folder);
  ASSERT_NE(bar.Window(), nullptr);
  ASSERT_TRUE(WaitForSection(ini, "Browser", 15000));
  bar.Kill();
  TIniFile file(ini);
  TStringList sections;
  file.ReadSections(sections);
  EXPECT_EQ(sections.CommaText(), "Version,MainForm,General,Window,Hints,Wheel,Icons,Groups,Misc,Browser,Language");
  String bytes = ReadFileBytes(ini);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << "the file ends with its last whole line";
}

TEST(Ov3SettingsProcess, TheStoredLanguageIsChosenAtStartAndKeptAtExit) {
  Ov3Folder folder;
  const String ini = folder.File("ov3.ini");
  for (const auto& [stored, kept] : {std::pair<String, String>{"DE", "DE"}, {"XX", "US"}}) {
    WriteText(ini, "[Language]\r\nCurrent=" + stored + "\r\n");
    RunningBar bar(folder);
    HWND window = bar.Window();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(CloseBar(bar, window), 0);
    // An unknown code falls back to English.
    EXPECT_EQ(TIniFile(ini).ReadString("Language", "Current", ""), kept) << stored;
  }
}

// Held open without leave to replace it, as a file in a folder without write
// rights behaves: the first failed save is told, in the user's language, and
// the values reach the file at the first save after it is let go.
TEST(Ov3SettingsProcess, AFileThatCannotBeWrittenIsToldOnceAndWrittenWhenItCanBe) {
  Ov3Folder folder;
  const String ini = folder.File("ov3.ini");
  WriteText(ini, "[Version]\r\nCurrent=3.3.9\r\n[Language]\r\nCurrent=DE\r\n[Window]\r\nAuto hide hidedelay=3000\r\n");
  const std::wstring name = (std::filesystem::path(folder.Folder()) / L"ov3.ini").wstring();
  // Without leave to replace it.
  THeld held(name, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_NE(held.Handle, INVALID_HANDLE_VALUE);
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  HWND box = nullptr;
  testproc::WaitUntil([&] { return (box = FindWindowW(L"#32770", L"Orvanel")) != nullptr; });
  ASSERT_NE(box, nullptr) << "the failed save is told";
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  const std::wstring told(text);
  EXPECT_NE(told.find(L"Die Einstellungen k\u00f6nnen nicht in "), std::wstring::npos)
      << WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(told.data()), told.size()));
  EXPECT_NE(told.find(name), std::wstring::npos);
  PostMessageW(box, WM_COMMAND, IDOK, 0);

  // A change while the file is still held is saved 2,500 ms later, fails again and is not told again:
  // a fixed wait, as what is checked is that nothing shows.
  SetWindowPos(window, nullptr, 150, 120, 600, 96, SWP_NOZORDER | SWP_NOACTIVATE);
  (void)bar.Wait(4500);
  EXPECT_EQ(FindWindowW(L"#32770", L"Orvanel"), nullptr) << "once a run";

  held.Release();
  SetWindowPos(window, nullptr, 150, 120, 620, 96, SWP_NOZORDER | SWP_NOACTIVATE);
  testproc::WaitUntil([&] { return TIniFile(ini).ReadString("MainForm", "Width", "") == "620"; }, 15000,
                      testproc::PumpMessages, testproc::kFilePoll);
  TIniFile file(ini);
  EXPECT_EQ(file.ReadString("MainForm", "Width", ""), "620");
  EXPECT_EQ(file.ReadString("MainForm", "Left", ""), "150");
  EXPECT_EQ(file.ReadString("Window", "Auto hide hidedelay", ""), "3000") << "the file's own values are kept";
  EXPECT_EQ(file.ReadString("Language", "Current", ""), "DE");
  EXPECT_EQ(FindWindowW(L"#32770", L"Orvanel"), nullptr);
  ASSERT_EQ(CloseBar(bar, window), 0);
}

// The saves as the bar closes are the last: when they fail, what they hold is
// lost, and the user is told so before the bar is gone, each file in a
// message of its own. When Windows ends the session nobody is left to answer
// a message: the bar only tries, shows nothing, and ends.
TEST(Ov3SettingsProcess, ALastSaveThatFailsIsToldAtExitButNotWhenTheSessionEnds) {
  for (const bool sessionEnds : {false, true}) {
    SCOPED_TRACE(sessionEnds);
    Ov3Folder folder;
    const String ini = folder.File("ov3.ini");
    RunningBar bar(folder);
    HWND window = bar.Window();
    ASSERT_NE(window, nullptr);
    // After the save that follows start-up, both files are held without leave to read or replace them.
    ASSERT_TRUE(WaitForSection(ini, "Browser", 15000));
    const std::filesystem::path dir(folder.Folder());
    THeld contents((dir / L"ov3.xml").wstring(), 0);
    THeld settings((dir / L"ov3.ini").wstring(), 0);
    ASSERT_NE(contents.Handle, INVALID_HANDLE_VALUE);
    ASSERT_NE(settings.Handle, INVALID_HANDLE_VALUE);
    const auto findBox = [&bar] {
      HWND box = nullptr;
      while ((box = FindWindowExW(nullptr, box, L"#32770", L"Orvanel"))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == bar.Id() && IsWindowVisible(box)) return box;
      }
      return HWND{};
    };
    if (sessionEnds) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 15000, &result);
      // The bar ends of itself; a message would hold it up.
      HWND box = nullptr;
      testproc::WaitUntil([&] { return (box = findBox()) != nullptr || bar.Wait(0) >= 0; });
      EXPECT_EQ(box, nullptr) << Narrow(box ? BoxText(box) : L"");
      if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
    } else {
      PostMessageW(window, WM_CLOSE, 0, 0);
      std::vector<std::wstring> told;
      for (int i = 0; i < 2; ++i) {
        HWND box = nullptr;
        testproc::WaitUntil([&] { return (box = findBox()) != nullptr; });
        ASSERT_NE(box, nullptr) << "message " << i + 1 << " of the failed last saves";
        told.push_back(BoxText(box));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(testproc::WaitUntil([box] { return !IsWindow(box); }));
      }
      EXPECT_NE(told[0].find(L"The contents cannot be saved to " + (dir / L"ov3.xml").wstring()), std::wstring::npos)
          << Narrow(told[0]);
      EXPECT_NE(told[1].find(L"The settings cannot be saved to " + (dir / L"ov3.ini").wstring()), std::wstring::npos)
          << Narrow(told[1]);
      EXPECT_NE(told[1].find(L"are lost"), std::wstring::npos) << Narrow(told[1]);
    }
    EXPECT_EQ(bar.Wait(15000), 0);
  }
}
