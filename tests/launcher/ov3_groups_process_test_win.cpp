// The bar with groups and icons, driven from outside as a user would: group
// buttons from the contents file, a click on a group, a double click on an
// icon that starts our recording program, keys, accelerators and the wheel; a
// start with a contents file that cannot be written and stale temporary files;
// drags of icons and groups that reach the contents file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "launcher/ov3_folder_win.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"

using namespace ov3test;

namespace {

std::wstring WindowText(HWND window) {
  wchar_t buffer[256];
  const int length = GetWindowTextW(window, buffer, 256);
  return std::wstring(buffer, length > 0 ? length : 0);
}

std::wstring WithoutAmpersands(std::wstring text) {
  std::erase(text, L'&');
  return text;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> result;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) result.push_back(child);
  return result;
}

// The bar's parts as windows: the group buttons (in their order on screen)
// and the icon panel.
struct BarWindows {
  std::vector<HWND> buttons;
  HWND panel = nullptr;
};

BarWindows FindBarWindows(HWND bar) {
  BarWindows found;
  for (HWND child : Children(bar)) {
    std::vector<HWND> inner = Children(child);
    bool buttonRow = false;
    for (HWND w : inner)
      if (!WindowText(w).empty()) buttonRow = true;
    if (buttonRow) {
      found.buttons = inner;
      std::sort(found.buttons.begin(), found.buttons.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
      });
    } else if (!inner.empty()) {
      found.panel = inner.front();
    }
  }
  return found;
}

// The bar's parts once its group buttons (Count of them) and icon panel are there.
BarWindows WaitForBarWindows(HWND bar, size_t count = 3) {
  BarWindows parts;
  testproc::WaitUntil([&] {
    parts = FindBarWindows(bar);
    return parts.buttons.size() == count && parts.panel;
  });
  return parts;
}

void Click(HWND window, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
}

void DoubleClick(HWND window, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(window, WM_LBUTTONUP, 0, at);
}

String Utf8(const std::wstring& wide) {
  return WideToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

// Three groups; the recorder is the second icon of the second group.
String WriteThreeGroups(const Ov3Folder& folder, const String& log) {
  const String recorder = Utf8(testproc::ProgramFolder() + L"recorder.exe");
  const String contents =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents>\n<groups>\n"
      "<group title=\"Tools\"><icons><icon id=\"1\" title=\"Alpha\" type=\"program\">"
      "<application filename=\"nothing-here.exe\"/></icon></icons></group>\n"
      "<group title=\"Games, 1:1\"><icons>"
      "<icon id=\"2\" title=\"First\" type=\"program\"><application filename=\"nothing-here.exe\"/></icon>"
      "<icon id=\"3\" title=\"Recorder\" type=\"program\"><application filename=\"" +
      recorder + "\" parameters=\"one &#34;two three&#34;\" folder=\"" + Utf8(folder.Folder()) +
      "\"/></icon></icons></group>\n"
      "<group title=\"Web\"><icons/></group>\n</groups>\n</ov3contents>\n";
  WriteFileAtomic(folder.File("ov3.xml"), contents);
  SetEnvironmentVariableW(L"ORV_RECORDER_LOG", reinterpret_cast<const wchar_t*>(Utf8ToWide(log).c_str()));
  return recorder;
}

// The recorder's log once it has that many lines, or what it has at the deadline.
std::vector<std::string> WaitForLog(const String& log, size_t lines = 1) {
  const WideString logWide = Utf8ToWide(log);
  const std::wstring name(reinterpret_cast<const wchar_t*>(logWide.c_str()), logWide.size());
  testproc::WaitUntil([&] { return testproc::ReadLines(name).size() >= lines; }, 15000, testproc::PumpMessages,
                      testproc::kFilePoll);
  // A moment more, in which no start beyond those may come.
  Sleep(200);
  return testproc::ReadLines(name);
}

}  // namespace

TEST(Ov3GroupsProcess, ThreeGroupsShowThreeButtonsAndADoubleClickStartsTheIcon) {
  Ov3Folder folder;
  const String log = folder.File("recorder.log");
  WriteThreeGroups(folder, log);

  RunningBar bar(folder);
  const HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  bar.RestPointer();

  BarWindows parts = WaitForBarWindows(window);
  ASSERT_EQ(parts.buttons.size(), 3u);
  EXPECT_EQ(WithoutAmpersands(WindowText(parts.buttons[0])), L"Tools");
  EXPECT_EQ(WithoutAmpersands(WindowText(parts.buttons[1])), L"Games, 1:1");
  EXPECT_EQ(WithoutAmpersands(WindowText(parts.buttons[2])), L"Web");
  ASSERT_NE(parts.panel, nullptr);

  // The second group's icons: the recorder is its second cell (64 wide, 8 apart).
  Click(parts.buttons[1], 5, 5);  // sent: the group is on show once it returns
  DoubleClick(parts.panel, 72 + 32, 16);
  const std::vector<std::string> lines = WaitForLog(log);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], Utf8(folder.Folder()) + "\tone\ttwo three");
  // Alt and the one "R" starts it; so does Return on it, selected; Return with nothing selected does nothing.
  SendMessageW(parts.panel, WM_SYSCHAR, 'r', 0x20000000);
  Click(parts.panel, 72 + 32, 16);
  for (WPARAM key : {'\r', '\r'}) SendMessageW(parts.panel, WM_CHAR, key, 0);
  EXPECT_EQ(WaitForLog(log, 3).size(), 3u);

  EXPECT_EQ(CloseBar(bar, window), 0);
  SetEnvironmentVariableW(L"ORV_RECORDER_LOG", nullptr);
}

TEST(Ov3GroupsProcess, TheWheelStepsThroughTheGroupsWithoutWrapping) {
  Ov3Folder folder;
  const String log = folder.File("recorder.log");
  WriteThreeGroups(folder, log);
  RunningBar bar(folder);
  const HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  bar.RestPointer();
  BarWindows parts = WaitForBarWindows(window);
  ASSERT_NE(parts.panel, nullptr);
  RECT r;
  GetWindowRect(parts.panel, &r);
  const LPARAM at = MAKELPARAM(r.left + 10, r.top + 10);
  // Down from the first group goes nowhere without wrapping; up goes to the second.
  SendMessageW(parts.panel, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), at);
  SendMessageW(parts.panel, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
  DoubleClick(parts.panel, 72 + 32, 16);
  const std::vector<std::string> lines = WaitForLog(log);
  EXPECT_EQ(lines.size(), 1u);
  EXPECT_EQ(CloseBar(bar, window), 0);
  SetEnvironmentVariableW(L"ORV_RECORDER_LOG", nullptr);
}

TEST(Ov3GroupsProcess, AContentsFileHeldOpenIsReportedOnceAndStopsNothing) {
  Ov3Folder folder;
  const String log = folder.File("recorder.log");
  WriteThreeGroups(folder, log);
  // Saves cut off earlier left the first three; the others are not ours (second: stays).
  const std::vector<std::pair<const char*, bool>> leftovers = {{"ov3.xml.~12-0", false},
                                                               {"ov3.ini.~7-3", false},
                                                               {"ov3.icc.~5-1", false},
                                                               {"ov3.xml.~x-1", true},
                                                               {"my ov3.xml.~1-2", true}};
  for (auto [name, stays] : leftovers) WriteFileAtomic(folder.File(name), "left behind");
  const std::wstring contents = (std::filesystem::path(folder.Folder()) / L"ov3.xml").wstring();
  HANDLE held = CreateFileW(contents.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  // The report shows before the bar: the bar's window is looked for once it is answered.
  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  HWND box = nullptr;
  testproc::WaitUntil([&] { return (box = FindWindowW(L"#32770", L"Orvanel")) != nullptr; });
  ASSERT_NE(box, nullptr) << "the failed save is reported";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  RestPointerOn(window);
  BarWindows parts = WaitForBarWindows(window);
  ASSERT_EQ(parts.buttons.size(), 3u);
  Click(parts.buttons[1], 5, 5);
  DoubleClick(parts.panel, 72 + 32, 16);
  EXPECT_EQ(WaitForLog(log).size(), 1u) << "the icons start";
  EXPECT_EQ(FindWindowW(L"#32770", L"Orvanel"), nullptr) << "once";

  // Let go, and the next change is saved: the first group dragged onto the second.
  CloseHandle(held);
  RECT first, second;
  GetWindowRect(parts.buttons[0], &first);
  GetWindowRect(parts.buttons[1], &second);
  const LPARAM onto = MAKELPARAM(second.left - first.left + 5, 5);
  SendMessageW(parts.buttons[0], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(parts.buttons[0], WM_MOUSEMOVE, MK_LBUTTON, onto);
  SendMessageW(parts.buttons[0], WM_LBUTTONUP, 0, onto);
  EXPECT_EQ(CloseBar(bar, window), 0);
  const String saved = ReadFileBytes(folder.File("ov3.xml"));
  EXPECT_LT(saved.find("Games, 1:1"), saved.find("Tools"));
  for (auto [name, stays] : leftovers) EXPECT_EQ(FileExists(folder.File(name)), stays) << name;
}

TEST(Ov3GroupsProcess, IconAndGroupDragsReachTheContentsFile) {
  Ov3Folder folder;
  WriteThreeGroups(folder, folder.File("recorder.log"));
  WriteFileAtomic(folder.File("ov3.ini"), "[Groups]\r\nPrevious group=tabulator,none\r\n");
  RunningBar bar(folder);
  const HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  bar.RestPointer();
  const BarWindows parts = WaitForBarWindows(window);
  ASSERT_EQ(parts.buttons.size(), 3u);
  HWND panel = parts.panel, tools = parts.buttons[0], web = parts.buttons[2];
  auto centreIn = [](HWND w, HWND to) {
    RECT r;
    GetClientRect(w, &r);
    MapWindowPoints(w, to, reinterpret_cast<POINT*>(&r), 2);
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  const LPARAM first = MAKELPARAM(32, 16), second = MAKELPARAM(72 + 32, 16), onWeb = centreIn(web, panel);
  const std::vector<std::string> reordered{"Tools", "Alpha", "Games, 1:1", "Recorder", "First", "Web"};
  using TSend = std::tuple<HWND, UINT, WPARAM, LPARAM>;
  auto down = [](HWND w, LPARAM at) { return TSend{w, WM_LBUTTONDOWN, MK_LBUTTON, at}; };
  auto drag = [](HWND w, LPARAM at) { return TSend{w, WM_MOUSEMOVE, MK_LBUTTON, at}; };
  auto up = [](HWND w, LPARAM at) { return TSend{w, WM_LBUTTONUP, 0, at}; };
  const TSend wheel{panel, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), centreIn(panel, nullptr)};
  const std::pair<std::vector<TSend>, std::vector<std::string>> gestures[] = {
      // An icon onto the next one.
      {{down(panel, first), drag(panel, second), up(panel, second)}, reordered},
      // A drag that loses the mouse; the pointer goes on with no button held.
      {{down(panel, first),
        drag(panel, second),
        {panel, WM_CANCELMODE, 0, 0},
        {panel, WM_MOUSEMOVE, 0, second},
        up(panel, second)},
       reordered},
      // An icon onto a group button, the wheel rolled and the group key pressed on the way.
      {{down(panel, second), drag(panel, onWeb), wheel, {panel, WM_KEYDOWN, VK_TAB, 1}, up(panel, onWeb)},
       {"Tools", "Alpha", "Games, 1:1", "Recorder", "Web", "First"}},
      // The first group button onto the last.
      {{down(tools, MAKELPARAM(5, 5)), drag(tools, centreIn(web, tools)), up(tools, MAKELPARAM(5, 5))},
       {"Web", "First", "Games, 1:1", "Recorder", "Tools", "Alpha"}},
  };
  Click(parts.buttons[1], 5, 5);
  for (const auto& [messages, titles] : gestures) {
    for (const TSend& m : messages) std::apply(SendMessageW, m);
    // The next gesture comes after the pointer move Wine queues as this one's capture ends.
    EXPECT_TRUE(bar.InputHandled(panel));
    // The titles of groups and icons in the saved file, in order.
    std::vector<std::string> inFile;
    testproc::WaitUntil(
        [&] {
          const String text = ReadFileBytes(folder.File("ov3.xml"));
          inFile.clear();
          for (size_t at = text.find("title=\""); at < text.find("</groups>"); at = text.find("title=\"", at)) {
            at += 7;
            inFile.push_back(text.substr(at, text.find('"', at) - at));
          }
          return inFile == titles;
        },
        15000, testproc::PumpMessages, testproc::kFilePoll);
    EXPECT_EQ(inFile, titles) << messages.size() << " messages";
  }
  EXPECT_EQ(CloseBar(bar, window), 0);
  SetEnvironmentVariableW(L"ORV_RECORDER_LOG", nullptr);
}
