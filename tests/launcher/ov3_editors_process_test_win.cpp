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

// The window of the editor with that caption, once it shows.
HWND WaitForEditor(testproc::ChildProcess& Bar, const wchar_t* Caption) {
  for (int i = 0; i < 100; ++i) {
    HWND editor = FindWindowW(L"TOrvForm", Caption);
    if (editor && IsWindowVisible(editor)) {
      (void)Bar.Wait(300);
      return editor;
    }
    (void)Bar.Wait(100);
  }
  return nullptr;
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
  // editor's answer reaches the file once the modal loop has returned.
  const auto settled = [&](const std::string& Expected) {
    for (int i = 0; i < 80 && saved() != Expected; ++i) (void)bar.Wait(100);
    return saved();
  };

  // Ins: a new program icon, titled by keys (its title shows selected), Enter = OK.
  Press(VK_INSERT);
  HWND editor = WaitForEditor(bar, L"Edit icon");
  ASSERT_NE(editor, nullptr);
  SaveShot(editor, "editicon");
  Type(L"Notes");
  Press(VK_RETURN);
  EXPECT_EQ(settled("Tools: Alpha Notes"), "Tools: Alpha Notes");

  // Alt+Enter: the new icon, selected, edited again; Escape leaves the file as it is.
  const std::string before = ReadFileBytes(contents);
  Press(VK_RETURN, {VK_MENU});
  ASSERT_NE(WaitForEditor(bar, L"Edit icon"), nullptr);
  Type(L"Lost");
  Press(VK_ESCAPE);
  for (int i = 0; i < 40 && FindWindowW(L"TOrvForm", L"Edit icon"); ++i) (void)bar.Wait(100);
  (void)bar.Wait(3000);
  EXPECT_EQ(ReadFileBytes(contents), before);
  Press(VK_RETURN, {VK_MENU});
  ASSERT_NE(WaitForEditor(bar, L"Edit icon"), nullptr);
  Type(L"Memo");
  Press(VK_RETURN);
  EXPECT_EQ(settled("Tools: Alpha Memo"), "Tools: Alpha Memo");

  // Shift+Ins: a new group; Shift+Enter renames the one on show.
  Press(VK_INSERT, {VK_SHIFT});
  editor = WaitForEditor(bar, L"Edit group");
  ASSERT_NE(editor, nullptr);
  SaveShot(editor, "editgroup");
  Type(L"Games");
  Press(VK_RETURN);
  EXPECT_EQ(settled("Tools: Alpha Memo | Games:"), "Tools: Alpha Memo | Games:");
  Press(VK_RETURN, {VK_SHIFT});
  ASSERT_NE(WaitForEditor(bar, L"Edit group"), nullptr);
  Type(L"Work");
  Press(VK_RETURN);
  EXPECT_EQ(settled("Work: Alpha Memo | Games:"), "Work: Alpha Memo | Games:");
  // The shortcut of the icon no editor touched is as it was.
  EXPECT_NE(ReadFileBytes(contents).find("key=\"f7,ctrl\""), std::string::npos);
  EXPECT_EQ(CloseBar(bar, window), 0);
}
