// The bar with the real hook library, driven from another program of ours
// (hookdriver) as a user would: it hides after the delay and comes back when
// the pointer rests in the top edge area; a global hotkey typed into the other
// program starts the icon bound to it, and that program never sees the key.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "kem3/framework/kemhi_win.h"
#include "launcher/ov3_folder_win.h"
#include "launcher/ov3autohide.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"

using namespace ov3test;

namespace {

std::wstring Wide(const String& text) {
  const WideString wide = Utf8ToWide(text);
  return std::wstring(reinterpret_cast<const wchar_t*>(wide.c_str()), wide.size());
}

String Utf8(const std::wstring& wide) {
  return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// Runs the driver with a window over the upper half of the screen and a
// script; gives the input its window received.
std::vector<std::string> Drive(const Ov3Folder& folder, const std::wstring& script) {
  const std::wstring log = Wide(folder.File("driver.log"));
  const std::wstring window = L"0 0 " + std::to_wstring(GetSystemMetrics(SM_CXSCREEN)) + L" " +
                              std::to_wstring(GetSystemMetrics(SM_CYSCREEN) / 2);
  const int rc = testproc::RunProgram(testproc::ProgramFolder() + L"hookdriver.exe",
                                      L"\"" + log + L"\" " + window + L" " + script);
  EXPECT_EQ(rc, 0) << std::hex << static_cast<unsigned>(rc);
  return testproc::ReadLines(log);
}

struct WindowSearch {
  DWORD Process;
  HWND Bar, Found;
};

BOOL CALLBACK FindOtherWindowStep(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s->Process || w == s->Bar || !IsWindowVisible(w)) return TRUE;
  s->Found = w;
  return FALSE;
}

// A visible top-level window of the bar's process other than the bar.
HWND FindOtherWindow(const testproc::ChildProcess& bar, HWND barWindow) {
  WindowSearch search{bar.Id(), barWindow, nullptr};
  EnumWindows(FindOtherWindowStep, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

String RecorderIcon(int id, const char* parameters, const char* key) {
  return "<icon id=\"" + std::to_string(id) + "\" title=\"" + parameters +
         "\" type=\"program\"><application filename=\"" + Utf8(testproc::ProgramFolder() + L"recorder.exe") +
         "\" parameters=\"" + parameters + "\"/><shortcut key=\"" + key + "\"/></icon>";
}

void WriteIcons(const Ov3Folder& folder, const String& icons) {
  WriteFileAtomic(folder.File("ov3.xml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents>\n<groups>\n"
                  "<group title=\"Tools\"><icons>" +
                      icons + "</icons></group>\n</groups>\n</ov3contents>\n");
  SetEnvironmentVariableW(L"ORV_RECORDER_LOG", Wide(folder.File("recorder.log")).c_str());
}

RECT BarRect(HWND bar) {
  RECT r{};
  GetWindowRect(bar, &r);
  return r;
}

}  // namespace

TEST(Ov3AutoHideProcess, HidesAfterTheDelayAndComesBackFromTheTopEdge) {
  Ov3Folder folder;
  WriteFileAtomic(folder.File("ov3.ini"),
                  "[Window]\r\nAuto hide=yes\r\nAuto hide method=1\r\nAuto hide hidedelay=500\r\n"
                  "Auto hide showdelay=100\r\n");
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  const RECT home = BarRect(window);
  ASSERT_EQ(home.top, 0);

  // The pointer leaves the bar; half a second later the bar is off the screen.
  const int middle = (home.left + home.right) / 2;
  Drive(folder, L"move " + std::to_wstring(middle) + L" 200");
  ASSERT_TRUE(testproc::WaitUntil([&] { return BarRect(window).bottom < 1; })) << BarRect(window).top;

  // Resting in the top edge area brings it back to exactly where it was...
  Drive(folder, L"move " + std::to_wstring(middle) + L" 1");
  ASSERT_TRUE(testproc::WaitUntil([&] { return BarRect(window).top == home.top; }));
  EXPECT_EQ(BarRect(window).left, home.left);
  // ...and it stays while the pointer is on it: three hide delays in which it may not go.
  (void)bar.Wait(1500);
  EXPECT_EQ(BarRect(window).top, home.top);
  EXPECT_EQ(CloseBar(bar, window), 0);
}

TEST(Ov3AutoHideProcess, AGlobalHotkeyStartsItsIconAndIsSwallowed) {
  Ov3Folder folder;
  const std::wstring log = Wide(folder.File("recorder.log"));
  WriteIcons(folder, RecorderIcon(1, "hotkey", "a,alt+ctrl") + RecorderIcon(2, "first", "B,Ctrl+Alt") +
                         RecorderIcon(3, "second", "b,ctrl+alt"));
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  // Its first show, which binds the hotkeys, is done.
  ASSERT_TRUE(bar.Answers());

  // Left Ctrl, left Alt, A, typed into the driver's window.
  const std::vector<std::string> input = Drive(folder, L"kdown 162 kdown 164 kdown 65 kup 65 kup 164 kup 162");
  for (const std::string& line : input) EXPECT_NE(line, "keydown 65");
  ASSERT_TRUE(testproc::WaitUntil([&] { return !testproc::ReadLines(log).empty(); }, 15000, testproc::PumpMessages,
                                  testproc::kFilePoll));
  std::vector<std::string> lines = testproc::ReadLines(log);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("\thotkey"), std::string::npos);

  // Two icons on one key: the chooser opens, Enter starts the first.
  Drive(folder, L"kdown 162 kdown 164 kdown 66 kup 66 kup 164 kup 162");
  HWND chooser = nullptr;
  ASSERT_TRUE(testproc::WaitUntil([&] { return (chooser = FindOtherWindow(bar, window)) != nullptr; }));
  PostMessageW(chooser, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(testproc::WaitUntil([&] { return testproc::ReadLines(log).size() == 2; }, 15000, testproc::PumpMessages,
                                  testproc::kFilePoll));
  lines = testproc::ReadLines(log);
  EXPECT_NE(lines[1].find("\tfirst"), std::string::npos);
  EXPECT_FALSE(IsWindowVisible(chooser));

  // A click outside the chooser closes it, and nothing starts.
  Drive(folder, L"kdown 162 kdown 164 kdown 66 kup 66 kup 164 kup 162");
  ASSERT_TRUE(testproc::WaitUntil([&] { return FindOtherWindow(bar, window) != nullptr; }));
  Drive(folder, L"move 10 10 ldown lup");
  EXPECT_TRUE(testproc::WaitUntil([&] { return FindOtherWindow(bar, window) == nullptr; }));
  (void)bar.Wait(500);  // a time in which nothing may start
  EXPECT_EQ(testproc::ReadLines(log).size(), 2u);
  SetEnvironmentVariableW(L"ORV_RECORDER_LOG", nullptr);
  EXPECT_EQ(CloseBar(bar, window), 0);
}

TEST(Ov3AutoHideProcess, ScreenAreasAreSetAgainOnADisplayChange) {
  BindHookLibrary();
  ASSERT_TRUE(HookLibraryLoaded());
  Ov3Folder folder;
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  const TRect bottom = ScreenAreaRect(1, w, h, 3, 5);
  auto Area = [&] {
    const RECT r = mhGetArea(window, 1, 0);
    return Rect(r.left, r.top, r.right, r.bottom);
  };
  EXPECT_EQ(Area(), bottom);
  // As if the areas were set for another resolution: the change sets them anew.
  mhSetArea(window, 1, 0, 1, 5, 500, 600, 503);
  SendMessageW(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(w, h));
  EXPECT_EQ(Area(), bottom);
  EXPECT_EQ(CloseBar(bar, window), 0);
  FreeHookLibrary();
}

namespace {

// Auto-hide saved on: nothing could bring a hidden bar back, so it stays where
// it is, and the one message says so (and why).
void ExpectOneMessageAndTheBarAtHome(const Ov3Folder& folder, const wchar_t* why) {
  WriteFileAtomic(folder.File("ov3.ini"),
                  "[Window]\r\nAuto hide=yes\r\nAuto hide method=1\r\nAuto hide hidedelay=100\r\n");
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) - 10);  // away from the bar
  RunningBar bar(folder);
  HWND window = bar.Window(), box = nullptr;
  ASSERT_TRUE(testproc::WaitUntil([&] { return (box = FindOtherWindow(bar, window)) != nullptr; }));
  if (GetParent(box) != window) std::swap(box, window);  // the message showed first
  wchar_t text[512] = {};
  const int length = GetDlgItemTextW(box, 0xFFFF, text, 512);  // a message box's message
  const std::wstring message(text, length);
  EXPECT_NE(message.find(L"kem3.dll"), std::wstring::npos);
  EXPECT_NE(message.find(why), std::wstring::npos) << Utf8(message);
  EXPECT_NE(message.find(L"auto-hide keeps the bar on the screen"), std::wstring::npos) << Utf8(message);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  // The bar goes on once the message has gone: it takes its foreground hotkey.
  const auto hotkeyHeld = [] {
    if (!RegisterHotKey(nullptr, 1, 0, VK_F24)) return true;
    UnregisterHotKey(nullptr, 1);
    return false;
  };
  EXPECT_TRUE(testproc::WaitUntil([&] { return !IsWindow(box) && hotkeyHeld(); }));
  (void)bar.Wait(1500);                                 // a time in which no second message may show
  EXPECT_EQ(FindOtherWindow(bar, window), nullptr);     // one message for all the hook could not do
  EXPECT_FALSE(RegisterHotKey(nullptr, 1, 0, VK_F24));  // the bar holds its foreground hotkey
  const RECT home = BarRect(window);
  EXPECT_EQ(home.top, 0);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(CloseBar(bar, window), 0);
}

}  // namespace

TEST(Ov3AutoHideProcess, WithoutTheHookLibraryTheBarSaysSoOnceAndStaysOnTheScreen) {
  Ov3Folder folder;
  ASSERT_TRUE(DeleteFileW((folder.Folder() + L"\\kem3.dll").c_str()));
  ExpectOneMessageAndTheBarAtHome(folder, L"missing or incomplete");
}

// The hook installs, but its area table is full: no area would call the bar back.
TEST(Ov3AutoHideProcess, AHookThatRefusesTheScreenAreasIsToldOnceAndTheBarStaysOnTheScreen) {
  Ov3Folder folder;
  std::filesystem::copy_file(testproc::ProgramFolder() + L"kem3areas.dll", folder.Folder() + L"\\kem3.dll",
                             std::filesystem::copy_options::overwrite_existing);
  ExpectOneMessageAndTheBarAtHome(folder, L"could not set the screen areas");
}
