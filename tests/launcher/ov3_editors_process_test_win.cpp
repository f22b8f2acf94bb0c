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
HWND WaitForEditor(const wchar_t* Caption) {
  HWND editor = nullptr;
  const bool ready = testproc::WaitUntil(
      [&] {
        editor = FindWindowW(L"TOrvForm", Caption);
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        if (!editor || !IsWindowVisible(editor) || GetForegroundWindow() != editor ||
            !GetGUIThreadInfo(GetWindowThreadProcessId(editor, nullptr), &thread) || !thread.hwndFocus ||
            !IsChild(editor, thread.hwndFocus))
          return false;
        // The text's length is asked of the control: another process's edit has no window text of its own.
        DWORD_PTR selection = 0, length = 0;
        SendMessageTimeoutW(thread.hwndFocus, EM_GETSEL, 0, 0, SMTO_NORMAL, 5000, &selection);
        SendMessageTimeoutW(thread.hwndFocus, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length);
        return LOWORD(selection) == 0 && HIWORD(selection) == length;
      },
      30000);
  return ready ? editor : nullptr;
}

// Once the editor has gone and the bar answers again, the command that
// opened it has returned, with the contents saved.
void WaitUntilClosed(RunningBar& Bar, const wchar_t* Caption) {
  testproc::WaitUntil([Caption] { return !FindWindowW(L"TOrvForm", Caption); }, 30000);
  // The keys that open the next editor go to the bar once it takes them again.
  EXPECT_TRUE(Bar.TakesKeys());
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
  RunningBar bar(folder);
  HWND window = bar.Window();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(bar.Activate());
  const auto saved = [&] { return ContentsOutline(ReadFileBytes(contents)); };
  // Wine takes a while (some seconds) to put a captioned window away: the
  // editor's answer is in the file once the command has returned.
  const auto closed = [&](const wchar_t* Caption) {
    WaitUntilClosed(bar, Caption);
    return saved();
  };

  // Ins: a new program icon, titled by keys (its title shows selected), Enter = OK.
  Press(VK_INSERT);
  HWND editor = WaitForEditor(L"Edit icon");
  ASSERT_NE(editor, nullptr);
  SaveShot(editor, "editicon");
  Type(L"Notes");
  Press(VK_RETURN);
  EXPECT_EQ(closed(L"Edit icon"), "Tools: Alpha Notes");

  // Alt+Enter: the new icon, selected, edited again; Escape leaves the file as it is.
  const std::string before = ReadFileBytes(contents);
  Press(VK_RETURN, {VK_MENU});
  ASSERT_NE(WaitForEditor(L"Edit icon"), nullptr);
  Type(L"Lost");
  Press(VK_ESCAPE);
  WaitUntilClosed(bar, L"Edit icon");
  EXPECT_EQ(ReadFileBytes(contents), before);
  Press(VK_RETURN, {VK_MENU});
  ASSERT_NE(WaitForEditor(L"Edit icon"), nullptr);
  Type(L"Memo");
  Press(VK_RETURN);
  EXPECT_EQ(closed(L"Edit icon"), "Tools: Alpha Memo");

  // Shift+Ins: a new group; Shift+Enter renames the one on show.
  Press(VK_INSERT, {VK_SHIFT});
  editor = WaitForEditor(L"Edit group");
  ASSERT_NE(editor, nullptr);
  SaveShot(editor, "editgroup");
  Type(L"Games");
  Press(VK_RETURN);
  EXPECT_EQ(closed(L"Edit group"), "Tools: Alpha Memo | Games:");
  Press(VK_RETURN, {VK_SHIFT});
  ASSERT_NE(WaitForEditor(L"Edit group"), nullptr);
  Type(L"Work");
  Press(VK_RETURN);
  EXPECT_EQ(closed(L"Edit group"), "Work: Alpha Memo | Games:");
  // The shortcut of the icon no editor touched is as it was.
  EXPECT_NE(ReadFileBytes(contents).find("key=\"f7,ctrl\""), std::string::npos);
  EXPECT_EQ(CloseBar(bar, window), 0);
}
