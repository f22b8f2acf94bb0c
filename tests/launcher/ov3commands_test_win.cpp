// The bar's icon and group commands and drops, on the real bar in the test's
// own process: each runs through its action (or the drop calls the drop
// target makes), deletions are answered in the system's message box, and what
// they did is read back from ov3.xml.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "launcher/main_win.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

BOOL CALLBACK FindMessageBox(HWND Window, LPARAM Found) {
  wchar_t name[16];
  if (GetClassNameW(Window, name, 16) && std::wstring(name) == L"#32770") *reinterpret_cast<HWND*>(Found) = Window;
  return TRUE;
}

class BarCommandsWin : public testing::Test {
 protected:
  BarCommandsWin() {
    SetProgramFileName(Dir.file("ov3.exe"));
    WriteFileAtomic(Dir.file("ov3.xml"),
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups>"
                    "<group title=\"Tools\"><icons><icon id=\"1\" title=\"Editor\" type=\"program\">"
                    "<application filename=\"ed.exe\"/></icon></icons></group>"
                    "<group title=\"Games\"><icons><icon id=\"2\" title=\"Chess\"/></icons></group>"
                    "<group title=\"Web\"><icons/></group></groups></ov3contents>\n");
    cfgInit();
    Bar = NewForm<TfMain>(Application);
  }
  ~BarCommandsWin() override {
    Bar->Free();
    cfgDone();
    SetProgramFileName("");
  }

  // "Group: icon icon | ..." as ov3.xml holds them now.
  std::string Saved() const {
    const std::string text = ReadFileBytes(Dir.file("ov3.xml"));
    std::string outline;
    for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
      const bool group = text.compare(at, 7, "<group ") == 0, icon = text.compare(at, 6, "<icon ") == 0;
      const size_t title = text.find("title=\"", at);
      if (!group && !icon) continue;
      const std::string name = text.substr(title + 7, text.find('"', title + 7) - title - 7);
      outline += group ? (outline.empty() ? "" : " | ") + name + ":" : " " + name;
    }
    return outline;
  }

  // Runs the action while another thread answers the message box it opens;
  // the box's caption and text as they were shown.
  std::wstring Answer(int Action, int Button) {
    std::wstring shown;
    std::atomic<bool> done{false};
    std::thread answerer([&] {
      for (int i = 0; i < 500 && !done; ++i) {
        HWND box = nullptr;
        EnumThreadWindows(MainThread, FindMessageBox, reinterpret_cast<LPARAM>(&box));
        if (box) {
          wchar_t text[512];
          GetWindowTextW(box, text, 512);
          shown = text;
          GetDlgItemTextW(box, 0xFFFF, text, 512);
          shown += L"|" + std::wstring(text);
          SendMessageW(GetDlgItem(box, Button), BM_CLICK, 0, 0);
          return;
        }
        Sleep(20);
      }
    });
    Bar->FormActionExecute(Action);
    done = true;
    answerer.join();
    return shown;
  }

  TPoint ButtonCentre(int Index) const {
    TControl* button = Bar->bsGroups->Buttons(Index);
    return button->ClientToScreen(Point(button->Width() / 2, button->Height() / 2));
  }

  TempDir Dir;
  TAppScope App;
  DWORD MainThread = GetCurrentThreadId();
  TfMain* Bar = nullptr;
};

TEST_F(BarCommandsWin, CopiesNewIconsAndGroupsReachTheContentsFile) {
  Bar->plIcons->SetItemIndex(0);
  Bar->FormActionExecute(144);
  // The copy is selected: copying it counts on.
  Bar->FormActionExecute(144);
  EXPECT_EQ(Saved(), "Tools: Editor Editor copy 1 Editor copy 2 | Games: Chess | Web:");
  const std::string file = ReadFileBytes(Dir.file("ov3.xml"));
  EXPECT_EQ(file.find("id=\"1\""), file.rfind("id=\"1\"")) << "copies leave the id behind";
  Bar->FormActionExecute(141);
  Bar->FormActionExecute(142);
  Bar->FormActionExecute(161);
  EXPECT_EQ(Saved(),
            "Tools: Editor Editor copy 1 Editor copy 2 New program New batch | Games: Chess | Web: | New group:");
  EXPECT_EQ(Bar->bsGroups->PageCount(), 4);
  EXPECT_TRUE(App.Errors.empty());
}

TEST_F(BarCommandsWin, DeletionsAskAndANoKeepsEverything) {
  Bar->SelectGroup(1);
  EXPECT_EQ(Answer(162, IDNO),
            L"Delete group|Do you really want to delete the group \"Games\" and all its icons?"
            L"\r\n\r\nThe group cannot be restored afterwards.");
  EXPECT_EQ(Saved(), "Tools: Editor | Games: Chess | Web:");
  EXPECT_EQ(Bar->bsGroups->PageCount(), 3);
  Bar->plIcons->SetItemIndex(0);
  EXPECT_NE(Answer(143, IDNO).find(L"\"Chess\""), std::wstring::npos);
  EXPECT_EQ(Saved(), "Tools: Editor | Games: Chess | Web:");
  Answer(143, IDYES);
  EXPECT_EQ(Saved(), "Tools: Editor | Games: | Web:");
  EXPECT_EQ(Bar->plIcons->Count(), 0);
  EXPECT_FALSE(Bar->ActionState(143).Enabled) << "nothing selected";
  Answer(162, IDYES);
  EXPECT_EQ(Saved(), "Tools: Editor | Web:");
  EXPECT_EQ(Bar->bsGroups->PageCount(), 2);
  EXPECT_EQ(Bar->CurrentGroupIndex(), 0);
  Answer(162, IDYES);
  EXPECT_FALSE(Bar->ActionState(162).Enabled) << "the last group stays";
  Bar->FormActionExecute(162);
  EXPECT_EQ(Saved(), "Web:");
}

TEST_F(BarCommandsWin, DropsAddIconsToTheGroupUnderThePointer) {
  const String site = Dir.file("Site.url");
  WriteFileAtomic(site, "[InternetShortcut]\r\nURL=http://example.org/x\r\n");
  const std::vector<WideString> files = {Utf8ToWide(Dir.file("my tool.exe")), Utf8ToWide(site),
                                         Utf8ToWide(Dir.file("read_me.TXT"))};
  Bar->DropTargetOver(ButtonCentre(2));
  EXPECT_TRUE(Bar->bsGroups->Buttons(2)->DropHighlight());
  EXPECT_FALSE(Bar->bsGroups->Buttons(0)->DropHighlight());
  // A web address that comes with files is not used.
  Bar->DropItems(ButtonCentre(2), files, u"http://ignored.example/");
  EXPECT_FALSE(Bar->bsGroups->Buttons(2)->DropHighlight());
  EXPECT_EQ(Saved(), "Tools: Editor | Games: Chess | Web: My Tool Site Read_Me");
  const std::string file = ReadFileBytes(Dir.file("ov3.xml"));
  EXPECT_NE(file.find("filename=\"http://example.org/x\""), std::string::npos);
  // Away from the buttons, a web address alone goes to the group on show.
  Bar->DropTargetOver(Point(-1000, -1000));
  Bar->DropTargetLeave();
  Bar->DropItems(Point(-1000, -1000), {}, u"https://Example.org/page");
  EXPECT_EQ(Saved(), "Tools: Editor Example.org | Games: Chess | Web: My Tool Site Read_Me");
  EXPECT_EQ(Bar->plIcons->Count(), 2);
  Bar->DropItems(Point(-1000, -1000), {}, u"");
  EXPECT_EQ(Bar->plIcons->Count(), 2);
}

}  // namespace
