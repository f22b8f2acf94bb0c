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

// The bar's open menu, waiting up to five seconds for it (a loaded machine
// can hold a posted click that long); nil when none shows.
HWND OpenMenu(testproc::ChildProcess& bar) {
  for (int i = 0; i < 250; ++i) {
    MenuSearch s{bar.Id(), nullptr};
    EnumWindows(FindMenuStep, reinterpret_cast<LPARAM>(&s));
    if (s.Found) return s.Found;
    (void)bar.Wait(20);
  }
  return nullptr;
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
  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  const HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  (void)bar.Wait(500);
  // The plain bar: the group row (a window whose children carry captions) and the panel.
  HWND panel = nullptr, button = nullptr;
  for (HWND child : Children(window)) {
    std::vector<HWND> inner = Children(child);
    if (inner.empty()) continue;
    wchar_t text[64];
    if (GetWindowTextW(inner.front(), text, 64) > 0)
      button = inner.front();
    else
      panel = inner.front();
  }
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(button, nullptr);

  RightClick(panel, 200, 30);
  const HWND main = OpenMenu(bar);
  ASSERT_NE(main, nullptr);
  const int mainHeight = Height(main);
  Key(main, VK_ESCAPE);
  (void)bar.Wait(300);
  EXPECT_FALSE(IsWindowVisible(main));

  RightClick(button, 5, 5);
  const HWND groups = OpenMenu(bar);
  ASSERT_NE(groups, nullptr);
  EXPECT_NE(groups, main);
  EXPECT_LT(Height(groups), mainHeight / 2);  // 4 entries against 15
  Key(groups, VK_ESCAPE);
  (void)bar.Wait(300);

  RightClick(panel, 200, 30);
  ASSERT_EQ(OpenMenu(bar), main);
  Key(main, VK_UP);  // from no selection: the last entry, "Exit"
  Key(main, VK_RETURN);
  EXPECT_EQ(bar.Wait(15000), 0);
}
