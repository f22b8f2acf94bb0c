// The icon and group editors of the real bar, driven by keys alone as a user
// would (SendInput): a new icon and a group made and renamed, the icon edited
// again, an editor left with Escape; ov3.xml holds what was confirmed. With
// ORV_SHOTS set to a folder, each editor is saved there as a picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/ov3_folder_win.h"
#include "launcher/ov3_outline.h"
#include "launcher/user_input_win.h"
#include "launcher/window_shot_win.h"
#include "platform/files.h"

using namespace ov3test;

namespace {

// The editor with that caption once it has the keyboard: the foreground
// window, its focused control inside it, and a text there shown selected,
// as typing replaces it. Keys sent before reach the bar instead.
HWND WaitForEditor(testproc::ChildProcess& Bar, const wchar_t* Caption) {
  for (int i = 0; i < 600; ++i) {
    HWND editor = FindWindowW(L"TOrvForm", Caption);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    if (editor && IsWindowVisible(editor) && GetForegroundWindow() == editor &&
        GetGUIThreadInfo(GetWindowThreadProcessId(editor, nullptr), &thread) && thread.hwndFocus &&
        IsChild(editor, thread.hwndFocus)) {
      // The text's length is asked of the control: another process's edit has no window text of its own.
      DWORD_PTR selection = 0, length = 0;
      SendMessageTimeoutW(thread.hwndFocus, EM_GETSEL, 0, 0, SMTO_NORMAL, 5000, &selection);
      SendMessageTimeoutW(thread.hwndFocus, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length);
      if (LOWORD(selection) == 0 && HIWORD(selection) == length) return editor;
    }
    (void)Bar.Wait(50);
  }
  return nullptr;
}

// Once the editor has gone and the bar answers again, the command that
// opened it has returned, with the contents saved.
void WaitUntilClosed(testproc::ChildProcess& Bar, HWND Window, const wchar_t* Caption) {
  for (int i = 0; i < 600 && FindWindowW(L"TOrvForm", Caption); ++i) (void)Bar.Wait(50);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(Window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
  // The keys that open the next editor go to the bar once it is active again.
  for (int i = 0; i < 100 && GetForegroundWindow() != Window; ++i) (void)Bar.Wait(50);
}

}  // namespace

TEST(Ov3EditorsProcess, IconsAndGroupsEditedByKeysReachTheContentsFile) {
  Ov3Folder folder;
  const String contents = folder.File("ov3.xml");
  WriteFileAtomic(contents,
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups>"
                  "<group title=\"Tools\"><icons><icon id=\"1\" title=\"Alpha\" type=\"program\">"
                  "<application filename=\"nothing.exe\"/><shortcut key=\"f7,ctrl\"/></icon></icons></group>"
                  "</groups></ov3contents>\n");
  testproc::ChildProcess bar(folder.Exe(), L"", folder.Folder());
  ASSERT_TRUE(bar.Started());
  HWND window = bar.WaitForWindow(15000);
  ASSERT_NE(window, nullptr);
  (void)bar.Wait(800);
  SetForegroundWindow(window);
  (void)bar.Wait(300);
  const auto saved = [&] { return ContentsOutline(ReadFileBytes(contents)); };
  // Wine takes a while (some seconds) to put a captioned window away: the
  // editor's answer is in the file once the command has returned.
  const auto closed = [&](const wchar_t* Caption) {
    WaitUntilClosed(bar, window, Caption);
    return saved();
  };

  // Ins: a new program icon, titled by keys (its title shows selected), Enter = OK.
  Press(VK_INSERT);
  HWND editor = WaitForEditor(bar, L"Edit icon");
  ASSERT_NE(editor, nullptr);
  SaveShot(editor, "editicon");
  Type(L"Notes");
  Press(VK_RETURN);
  EXPECT_EQ(closed(L"Edit icon"), "Tools: Alpha Notes");

  // Alt+Enter: the new icon, selected, edited again; Escape leaves the file as it is.
  const std::string before = ReadFileBytes(contents);
  Press(VK_RETURN, {VK_MENU});
  ASSERT_NE(WaitForEditor(bar, L"Edit icon"), nullptr);
  Type(L"Lost");
  Press(VK_ESCAPE);
  WaitUntilClosed(bar, window, L"Edit icon");
  EXPECT_EQ(ReadFileBytes(contents), before);
  Press(VK_RETURN, {VK_MENU});
  ASSERT_NE(WaitForEditor(bar, L"Edit icon"), nullptr);
  Type(L"Memo");
  Press(VK_RETURN);
  EXPECT_EQ(closed(L"Edit icon"), "Tools: Alpha Memo");

  // Shift+Ins: a new group; Shift+Enter renames the one on show.
  Press(VK_INSERT, {VK_SHIFT});
  editor = WaitForEditor(bar, L"Edit group");
  ASSERT_NE(editor, nullptr);
  SaveShot(editor, "editgroup");
  Type(L"Games");
  Press(VK_RETURN);
  EXPECT_EQ(closed(L"Edit group"), "Tools: Alpha Memo | Games:");
  Press(VK_RETURN, {VK_SHIFT});
  ASSERT_NE(WaitForEditor(bar, L"Edit group"), nullptr);
  Type(L"Work");
  Press(VK_RETURN);
  EXPECT_EQ(closed(L"Edit group"), "Work: Alpha Memo | Games:");
  // The shortcut of the icon no editor touched is as it was.
  EXPECT_NE(ReadFileBytes(contents).find("key=\"f7,ctrl\""), std::string::npos);
  EXPECT_EQ(CloseBar(bar, window), 0);
}
