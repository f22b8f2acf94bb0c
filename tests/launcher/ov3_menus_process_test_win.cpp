// The bar's context menus, driven from outside: a right click on the icon
// panel opens the main menu, one on a group button the smaller groups menu;
// Escape closes a menu; "Exit" chosen with the keys ends the program cleanly.
#include <gtest/gtest.h>

#include <vector>

#include "launcher/ov3_folder_win.h"

using namespace ov3test;

namespace {

struct MenuSearch {
  DWORD Process;
  HWND Found;
};

BOOL CALLBACK FindMenuStep(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<MenuSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  wchar_t name[32];
  if (owner != s->Process || !IsWindowVisible(w) || !GetClassNameW(w, name, 32) || std::wstring(name) != L"TKemMenu")
    return TRUE;
  s->Found = w;
  return FALSE;
}

// The bar's open menu, once it shows; nil when none shows in time.
HWND OpenMenu(testproc::ChildProcess& bar) {
  MenuSearch s{bar.Id(), nullptr};
  testproc::WaitUntil([&] {
    EnumWindows(FindMenuStep, reinterpret_cast<LPARAM>(&s));
    return s.Found != nullptr;
  });
  return s.Found;
}

int Height(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r.bottom - r.top;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> result;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) result.push_back(child);
  return result;
}

void RightClick(HWND w, int x, int y) {
  PostMessageW(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
  PostMessageW(w, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
}

void Key(HWND w, WORD key) { PostMessageW(w, WM_KEYDOWN, key, 0); }

}  // namespace

TEST(BarMenusProcess, RightClicksOpenTheirMenusAndExitEndsTheBar) {
  Ov3Folder folder;
  RunningBar bar(folder);
  const HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  bar.RestPointer();
  // The plain bar, once its first show is done: the group row (a window whose
  // children carry captions) and the panel.
  ASSERT_TRUE(bar.Answers());
  HWND panel = nullptr, button = nullptr;
  testproc::WaitUntil([&] {
    for (HWND child : Children(window)) {
      std::vector<HWND> inner = Children(child);
      if (inner.empty()) continue;
      wchar_t text[64];
      if (GetWindowTextW(inner.front(), text, 64) > 0)
        button = inner.front();
      else
        panel = inner.front();
    }
    return panel && button;
  });
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(button, nullptr);

  RightClick(panel, 200, 30);
  const HWND main = OpenMenu(bar);
  ASSERT_NE(main, nullptr);
  const int mainHeight = Height(main);
  Key(main, VK_ESCAPE);
  EXPECT_TRUE(testproc::WaitUntil([&] { return !IsWindowVisible(main); }));
  EXPECT_FALSE(IsWindowVisible(main));

  RightClick(button, 5, 5);
  const HWND groups = OpenMenu(bar);
  ASSERT_NE(groups, nullptr);
  EXPECT_NE(groups, main);
  EXPECT_LT(Height(groups), mainHeight / 2);  // 4 entries against 15
  Key(groups, VK_ESCAPE);
  ASSERT_TRUE(testproc::WaitUntil([&] { return !IsWindowVisible(groups); }));

  RightClick(panel, 200, 30);
  ASSERT_EQ(OpenMenu(bar), main);
  Key(main, VK_UP);  // from no selection: the last entry, "Exit"
  Key(main, VK_RETURN);
  EXPECT_EQ(bar.Wait(15000), 0);
}
