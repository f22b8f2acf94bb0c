// The bar with the real hook library, driven from another program of ours
// (hookdriver) as a user would: it hides after the delay and comes back when
// the pointer rests in the top edge area; a global hotkey typed into the other
// program starts the icon bound to it, and that program never sees the key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/ov3_folder_win.h"
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
  EXPECT_EQ(testproc::RunProgram(testproc::ProgramFolder() + L"hookdriver.exe",
                                 L"\"" + log + L"\" " + window + L" " + script),
            0);
  return testproc::ReadLines(log);
}

RECT BarRect(HWND bar) {
  RECT r{};
  GetWindowRect(bar, &r);
  return r;
}

// Lets the bar run until Done holds or the time is up.
template <class F>
bool WaitFor(testproc::ChildProcess& bar, F Done, int milliseconds = 10000) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (Done()) return true;
    (void)bar.Wait(50);
  }
  return Done();
}

}  // namespace

TEST(Ov3AutoHideProcess, HidesAfterTheDelayAndComesBackFromTheTopEdge) {
  Ov3Folder folder;
  WriteFileAtomic(folder.File("ov3.ini"),
                  "[Window]\r\nAuto hide=yes\r\nAuto hide method=1\r\nAuto hide hidedelay=500\r\n"
                  "Auto hide showdelay=100\r\n");
  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  const RECT home = BarRect(window);
  ASSERT_EQ(home.top, 0);

  // The pointer leaves the bar; half a second later the bar is off the screen.
  const int middle = (home.left + home.right) / 2;
  Drive(folder, L"move " + std::to_wstring(middle) + L" 200");
  ASSERT_TRUE(WaitFor(bar, [&] { return BarRect(window).bottom < 1; })) << BarRect(window).top;

  // Resting in the top edge area brings it back to exactly where it was...
  Drive(folder, L"move " + std::to_wstring(middle) + L" 1");
  ASSERT_TRUE(WaitFor(bar, [&] { return BarRect(window).top == home.top; }));
  EXPECT_EQ(BarRect(window).left, home.left);
  // ...and it stays while the pointer is on it.
  (void)bar.Wait(1500);
  EXPECT_EQ(BarRect(window).top, home.top);
  EXPECT_EQ(CloseBar(bar, window), 0);
}

TEST(Ov3AutoHideProcess, AGlobalHotkeyStartsItsIconAndIsSwallowed) {
  Ov3Folder folder;
  const String log = folder.File("recorder.log");
  const String recorder = Utf8(testproc::ProgramFolder() + L"recorder.exe");
  WriteFileAtomic(folder.File("ov3.xml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents>\n<groups>\n"
                  "<group title=\"Tools\"><icons><icon id=\"1\" title=\"Recorder\" type=\"program\">"
                  "<application filename=\"" +
                      recorder +
                      "\" parameters=\"hotkey\"/><shortcut key=\"a,alt+ctrl\"/></icon>"
                      "</icons></group>\n</groups>\n</ov3contents>\n");
  SetEnvironmentVariableW(L"ORV_RECORDER_LOG", Wide(log).c_str());
  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  (void)bar.Wait(500);

  // Left Ctrl, left Alt, A, typed into the driver's window.
  const std::vector<std::string> input = Drive(folder, L"kdown 162 kdown 164 kdown 65 kup 65 kup 164 kup 162");
  for (const std::string& line : input) EXPECT_NE(line, "keydown 65");
  ASSERT_TRUE(WaitFor(bar, [&] { return !testproc::ReadLines(Wide(log)).empty(); }));
  const std::vector<std::string> lines = testproc::ReadLines(Wide(log));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("\thotkey"), std::string::npos);
  SetEnvironmentVariableW(L"ORV_RECORDER_LOG", nullptr);
  EXPECT_EQ(CloseBar(bar, window), 0);
}
