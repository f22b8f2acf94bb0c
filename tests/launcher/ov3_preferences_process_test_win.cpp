// The preferences of the real bar as a user meets them (SendInput keys and
// mouse): Ctrl+P; a check box clicked, a tracker and a value list by keys, a
// time switched from ms to s, a custom screen area clicked, a shortcut row,
// a module parameter; OK; ov3.ini and ov3.xml hold the changes. With
// ORV_SHOTS set to a folder, every page is saved there as a picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/ov3_folder_win.h"
#include "launcher/user_input_win.h"
#include "launcher/window_shot_win.h"
#include "platform/files.h"
#include "platform/inifile.h"

using namespace ov3test;

namespace {

// The visible child windows of the dialog in their order, with class and text.
struct TChild {
  HWND Window;
  std::wstring Class, Text;
  RECT Rect;
};

BOOL CALLBACK AddVisibleChild(HWND W, LPARAM P) {
  if (!IsWindowVisible(W)) return TRUE;
  wchar_t cls[64] = {}, text[128] = {};
  GetClassNameW(W, cls, 64);
  GetWindowTextW(W, text, 128);
  TChild child{W, cls, text, {}};
  GetWindowRect(W, &child.Rect);
  reinterpret_cast<std::vector<TChild>*>(P)->push_back(child);
  return TRUE;
}

std::vector<TChild> VisibleChildren(HWND Dialog) {
  std::vector<TChild> children;
  EnumChildWindows(Dialog, AddVisibleChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

// The Index-th visible child of that class (and text, when given).
RECT ChildRect(HWND Dialog, const wchar_t* Class, int Index, const wchar_t* Text = nullptr) {
  for (const TChild& c : VisibleChildren(Dialog))
    if (c.Class == Class && (!Text || c.Text == Text) && Index-- == 0) return c.Rect;
  ADD_FAILURE() << "no child " << Index;
  return {};
}

POINT Inside(RECT R, int Dx = -1, int Dy = -1) {
  return {Dx < 0 ? (R.left + R.right) / 2 : R.left + Dx, Dy < 0 ? (R.top + R.bottom) / 2 : R.top + Dy};
}

}  // namespace

TEST(Ov3PreferencesProcess, SettingsChangedByKeysAndMouseReachTheFiles) {
  Ov3Folder folder;
  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  ASSERT_TRUE(bar.Started());
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  // Under Wine the bar takes keys some seconds after it shows.
  (void)bar.Wait(3000);
  SetForegroundWindow(window);
  (void)bar.Wait(300);
  Press('P', {VK_CONTROL});
  HWND dialog = nullptr;
  for (int i = 0; i < 100 && !(dialog = FindWindowW(nullptr, L"Preferences")); ++i) (void)bar.Wait(100);
  ASSERT_NE(dialog, nullptr);
  (void)bar.Wait(1500);
  const auto settle = [&] { (void)bar.Wait(600); };

  // General: Tab from the page tree through language, skin and layout to the
  // key of "Show the bar"; Down picks the next key (F10 -> F11).
  SaveShot(dialog, "page1");
  for (int i = 0; i < 4; ++i) Press(VK_TAB);
  Press(VK_DOWN);
  settle();
  SaveShot(dialog, "page1-changed");

  // Window: the auto-hide check box by click; "Hide after" from ms to s; the custom screen areas.
  Click(Inside(ChildRect(dialog, L"OrvSysTreeView32", 0), 40, 24));
  settle();
  SaveShot(dialog, "page2");
  Click(Inside(ChildRect(dialog, L"TOrvControl", 0, L"Hide the bar automatically"), 8));
  settle();
  Click(Inside(ChildRect(dialog, L"OrvEDIT", 0)));
  Press(VK_TAB);
  Press(VK_DOWN);
  settle();
  Click(Inside(ChildRect(dialog, L"OrvEDIT", 4)));  // edge size
  Press(VK_TAB, {VK_SHIFT});
  Press(VK_DOWN);
  settle();
  // The screen picture, as wide as the screen's shape makes it.
  const RECT picture = ChildRect(dialog, L"TOvScreenArea", 0);
  Click({(picture.left + picture.right) / 2, picture.bottom - 4});
  settle();
  SaveShot(dialog, "page2-changed");

  for (int page = 3; page <= 7; ++page) {
    Click(Inside(ChildRect(dialog, L"OrvSysTreeView32", 0), 40, 8 + 16 * (page - 1)));
    settle();
    SaveShot(dialog, ("page" + std::to_string(page)).c_str());
    if (page == 5) {
      // Icons: Tab from the tree to the size tracker (Right: 33), then the "Stretch" list (Down: the second entry).
      Press(VK_TAB);
      Press(VK_RIGHT);
      Press(VK_TAB);
      Press(VK_DOWN);
      settle();
      SaveShot(dialog, "page5-changed");
    } else if (page == 7) {
      // Modules: the clock's width one up in its spin edit.
      Click(Inside(ChildRect(dialog, L"OrvEDIT", 0)));
      Press(VK_UP);
      settle();
      SaveShot(dialog, "page7-changed");
    }
  }
  Press(VK_RETURN);
  for (int i = 0; i < 80 && IsWindowVisible(dialog); ++i) (void)bar.Wait(100);
  (void)bar.Wait(1000);
  EXPECT_EQ(CloseBar(bar, window), 0);

  TIniFile ini(folder.File("ov3.ini"));
  EXPECT_EQ(ini.ReadString("General", "Focus shortcut", ""), "f11,ctrl");
  EXPECT_EQ(ini.ReadString("Window", "Auto hide", ""), "yes");
  EXPECT_EQ(ini.ReadString("Window", "Auto hide hidedelay (Unit)", ""), "s");
  EXPECT_EQ(ini.ReadString("Window", "Auto hide hidedelay", ""), "2");
  EXPECT_EQ(ini.ReadString("Window", "Screen area", ""), "1");
  EXPECT_NE(ini.ReadString("Window", "Screen areas", ""), "0,4,5");
  EXPECT_EQ(ini.ReadString("Icons", "Size", ""), "33");
  EXPECT_EQ(ini.ReadString("Icons", "Stretch", ""), "1");
  const std::string contents = ReadFileBytes(folder.File("ov3.xml"));
  EXPECT_NE(contents.find("value=\"73\""), std::string::npos) << contents;  // the clock's width
}
