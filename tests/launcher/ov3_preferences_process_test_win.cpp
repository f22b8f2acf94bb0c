// The preferences of the real bar as a user meets them (SendInput keys and
// mouse): Ctrl+P; a check box clicked, a tracker and a value list by keys, a
// time switched from ms to s, a custom screen area clicked, a shortcut row,
// a module parameter; OK; ov3.ini and ov3.xml hold the changes. With
// ORV_SHOTS set to a folder, every page is saved there as a picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
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

LRESULT Ask(HWND Window, UINT Message, WPARAM W, LPARAM L) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(Window, Message, W, L, SMTO_NORMAL, 5000, &result);
  return static_cast<LRESULT>(result);
}

// The Index-th item of the page tree, counted from the first.
HTREEITEM TreeItem(HWND Tree, int Index) {
  auto item = reinterpret_cast<HTREEITEM>(Ask(Tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  for (int i = 0; item && i < Index; ++i)
    item = reinterpret_cast<HTREEITEM>(Ask(Tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
  return item;
}

// The screen rectangle of an item's text, as the tree of the other process
// gives it: the question goes in that process's memory.
RECT TreeItemRect(HWND Tree, HTREEITEM Item) {
  RECT r{};
  DWORD id = 0;
  GetWindowThreadProcessId(Tree, &id);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
  if (!process) return r;
  void* remote = VirtualAllocEx(process, nullptr, sizeof r, MEM_COMMIT, PAGE_READWRITE);
  std::memcpy(&r, &Item, sizeof Item);  // the question: the item, where the answer goes
  if (remote && WriteProcessMemory(process, remote, &r, sizeof r, nullptr) &&
      Ask(Tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote)) &&
      ReadProcessMemory(process, remote, &r, sizeof r, nullptr)) {
    MapWindowPoints(Tree, nullptr, reinterpret_cast<POINT*>(&r), 2);
  } else {
    r = {};
  }
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return r;
}

// The focused window of the dialog's thread.
HWND FocusOf(HWND Dialog) {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  return GetGUIThreadInfo(GetWindowThreadProcessId(Dialog, nullptr), &thread) ? thread.hwndFocus : nullptr;
}

// Another process's control's text, asked of the control.
std::wstring TextOf(HWND Window) {
  wchar_t text[128] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(Window, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
  return std::wstring(text, std::min<size_t>(length, 127));
}

}  // namespace

TEST(Ov3PreferencesProcess, SettingsChangedByKeysAndMouseReachTheFiles) {
  Ov3Folder folder;
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  // The bar takes keys once it is in front with the focus in it; under Wine
  // the start-up splash takes the activation with it for a while as it goes.
  ASSERT_TRUE(bar.Activate());
  Press('P', {VK_CONTROL});
  HWND dialog = nullptr;
  ASSERT_TRUE(testproc::WaitUntil([&] { return (dialog = FindWindowW(nullptr, L"Preferences")) != nullptr; }));
  HWND tree = nullptr;
  ASSERT_TRUE(testproc::WaitUntil([&] {
    for (const TChild& c : VisibleChildren(dialog))
      if (c.Class == L"OrvSysTreeView32") tree = c.Window;
    return tree != nullptr;
  }));
  // Keys and clicks reach the dialog's thread in the order they are sent:
  // the test waits where what it does next depends on what the dialog shows
  // or where its focus is.
  const auto focusIs = [&](HWND control) {
    return testproc::WaitUntil([&] {
      const HWND focus = FocusOf(dialog);
      return focus && (focus == control || IsChild(control, focus));
    });
  };
  const auto focusLeaves = [&](HWND control) {
    HWND focus = nullptr;
    testproc::WaitUntil([&] { return (focus = FocusOf(dialog)) && focus != control; });
    return focus;
  };
  const auto textIs = [&](HWND control, const wchar_t* text) {
    return testproc::WaitUntil([&] { return TextOf(control) == text; });
  };
  // The page shows once the tree has it selected and the notebook shows its title.
  const auto pageTitle = [&] {
    for (const TChild& c : VisibleChildren(dialog))
      if (c.Class == L"TOrvControl" && c.Text.rfind(L"  ", 0) == 0) return c.Text;
    return std::wstring();
  };
  // On a loaded machine Wine may hand a click a stale pointer place: a click
  // that showed nothing is given again (clicking the item twice is harmless).
  const auto showPage = [&](int page) {
    const HTREEITEM item = TreeItem(tree, page - 1);
    const std::wstring before = pageTitle();
    for (int attempt = 0; attempt < 3; ++attempt) {
      Click(Inside(TreeItemRect(tree, item)));
      if (testproc::WaitUntil(
              [&] {
                return reinterpret_cast<HTREEITEM>(Ask(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) == item &&
                       pageTitle() != before;
              },
              5000))
        return true;
    }
    return false;
  };
  const auto clickOn = [&](HWND control, POINT at) {
    Click(at);
    return focusIs(control);
  };
  // The dialog takes keys once it is in front with its page tree focused.
  ASSERT_TRUE(testproc::WaitUntil([&] { return GetForegroundWindow() == dialog; }));
  ASSERT_TRUE(focusIs(tree));

  // General: Tab from the page tree through language, skin and layout to the
  // key of "Show the bar"; Down picks the next key (F10 -> F11).
  SaveShot(dialog, "page1");
  for (int i = 0; i < 4; ++i) Press(VK_TAB);
  Press(VK_DOWN);
  EXPECT_NE(focusLeaves(tree), nullptr);
  SaveShot(dialog, "page1-changed");

  // Window: the auto-hide check box by click; "Hide after" from ms to s; the custom screen areas.
  ASSERT_TRUE(showPage(2));
  SaveShot(dialog, "page2");
  const auto child = [&](const wchar_t* Class, int Index, const wchar_t* Text = nullptr) {
    int n = Index;
    for (const TChild& c : VisibleChildren(dialog))
      if (c.Class == Class && (!Text || c.Text == Text) && n-- == 0) return c;
    ADD_FAILURE() << "no child " << Index;
    return TChild{};
  };
  const TChild autoHide = child(L"TOrvControl", 0, L"Hide the bar automatically");
  EXPECT_TRUE(clickOn(autoHide.Window, Inside(autoHide.Rect, 8)));
  const TChild hideAfter = child(L"OrvEDIT", 0), hideUnit = child(L"OrvCOMBOBOX", 0);
  EXPECT_TRUE(clickOn(hideAfter.Window, Inside(hideAfter.Rect)));
  Press(VK_TAB);
  Press(VK_DOWN);
  EXPECT_TRUE(textIs(hideUnit.Window, L"s"));
  const TChild edge = child(L"OrvEDIT", 4), areas = child(L"OrvCOMBOBOX", 3);
  EXPECT_TRUE(clickOn(edge.Window, Inside(edge.Rect)));
  Press(VK_TAB, {VK_SHIFT});
  Press(VK_DOWN);
  EXPECT_TRUE(textIs(areas.Window, L"Custom"));
  // The screen picture, as wide as the screen's shape makes it.
  const RECT picture = ChildRect(dialog, L"TOvScreenArea", 0);
  Click({(picture.left + picture.right) / 2, picture.bottom - 4});
  SaveShot(dialog, "page2-changed");

  for (int page = 3; page <= 7; ++page) {
    ASSERT_TRUE(showPage(page)) << page;
    SaveShot(dialog, ("page" + std::to_string(page)).c_str());
    if (page == 5) {
      // Icons: Tab from the tree to the size tracker (Right: 33), then the "Stretch" list (Down: the second entry).
      Press(VK_TAB);
      const HWND tracker = focusLeaves(tree);
      Press(VK_RIGHT);
      Press(VK_TAB);
      EXPECT_NE(focusLeaves(tracker), tree);
      Press(VK_DOWN);
      SaveShot(dialog, "page5-changed");
    } else if (page == 7) {
      // Modules: the clock's width one up in its spin edit.
      const TChild width = child(L"OrvEDIT", 0);
      EXPECT_TRUE(clickOn(width.Window, Inside(width.Rect)));
      Press(VK_UP);
      EXPECT_TRUE(textIs(width.Window, L"73"));
      SaveShot(dialog, "page7-changed");
    }
  }
  Press(VK_RETURN);
  // OK has done its work once the dialog has gone and the bar answers again.
  EXPECT_TRUE(testproc::WaitUntil([&] { return !IsWindow(dialog); }, 30000));
  EXPECT_TRUE(bar.Answers());
  EXPECT_EQ(bar.Close(), 0);

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
