// The bar's commands run by their actions and the drop target's calls, on the real
// bar in the test's own process; what they did is read back from ov3.xml.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <functional>
#include <thread>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "launcher/main_win.h"
#include "launcher/ov3_outline.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

// A shell link made by the shell itself, as Explorer makes one.
void MakeShellLink(const String& File, const String& Target) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* link = nullptr;  // the shell has both
  IPersistFile* persist = nullptr;
  const WideString target = Utf8ToWide(Target), file = Utf8ToWide(File);
  CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, reinterpret_cast<void**>(&link));
  link->SetPath(reinterpret_cast<LPCWSTR>(target.c_str()));
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
  EXPECT_EQ(persist->Save(reinterpret_cast<LPCOLESTR>(file.c_str()), TRUE), S_OK);
  persist->Release();
  link->Release();
  CoUninitialize();
}

// The editor: a form of the thread that shows and takes input (the bar waits behind it, disabled).
BOOL CALLBACK FindEditor(HWND Window, LPARAM Found) {
  wchar_t name[16];
  if (IsWindowVisible(Window) && IsWindowEnabled(Window) && GetClassNameW(Window, name, 16) &&
      std::wstring(name) == L"TOrvForm")
    *reinterpret_cast<HWND*>(Found) = Window;
  return TRUE;
}

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

  std::string Saved() const { return ContentsOutline(ReadFileBytes(Dir.file("ov3.xml"))); }

  // Runs the action while another thread answers the message box it opens;
  // the box's caption and text as they were shown.
  std::wstring Answer(int Action, int Button) {
    std::wstring shown;
    std::thread answerer([&] {
      HWND box = nullptr;
      for (int i = 0; i < 500 && !box; ++i, Sleep(20))
        EnumThreadWindows(MainThread, FindMessageBox, reinterpret_cast<LPARAM>(&box));
      wchar_t caption[64] = {}, text[512] = {};
      GetWindowTextW(box, caption, 64);
      GetDlgItemTextW(box, 0xFFFF, text, 512);
      shown = std::wstring(caption) + L"|" + text;
      SendMessageW(GetDlgItem(box, Button), BM_CLICK, 0, 0);
    });
    Bar->FormActionExecute(Action);
    answerer.join();
    return shown;
  }

  // Runs Step while another thread answers the editor it opens: Text typed
  // into the field that has the focus, then Key (Enter or Escape).
  void AnswerEditor(const std::function<void()>& Step, WORD Key, const wchar_t* Text = L"") {
    std::thread answerer([&] {
      HWND editor = nullptr;
      for (int i = 0; i < 500 && !editor; ++i, Sleep(20)) EnumThreadWindows(MainThread, FindEditor, reinterpret_cast<LPARAM>(&editor));
      GUITHREADINFO info{};
      info.cbSize = sizeof(info);
      for (int i = 0; i < 100 && !info.hwndFocus; ++i, Sleep(20)) GetGUIThreadInfo(MainThread, &info);
      for (const wchar_t* c = Text; *c; ++c) PostMessageW(info.hwndFocus, WM_CHAR, *c, 0);
      PostMessageW(info.hwndFocus, WM_KEYDOWN, Key, 0);
    });
    Step();
    answerer.join();
  }

  TempDir Dir;
  TAppScope App;
  DWORD MainThread = GetCurrentThreadId();
  TfMain* Bar = nullptr;
};

TEST_F(BarCommandsWin, CopiesNewIconsAndGroupsReachTheContentsFile) {
  Bar->plIcons->SetItemIndex(0);
  // The copy is selected: copying it counts on.
  for (int action : {144, 144}) Bar->FormActionExecute(action);
  // The editors open on the new icons and group; Enter takes them as they are, Escape drops them.
  for (int action : {141, 142, 161}) AnswerEditor([&] { Bar->FormActionExecute(action); }, VK_RETURN);
  for (int action : {141, 161}) AnswerEditor([&] { Bar->FormActionExecute(action); }, VK_ESCAPE);
  EXPECT_EQ(Saved(),
            "Tools: Editor Editor copy 1 Editor copy 2 New program New batch | Games: Chess | Web: | New group:");
  // The current group and the selected icon, renamed in their editors.
  AnswerEditor([&] { Bar->FormActionExecute(163); }, VK_RETURN, L"Work");
  Bar->plIcons->SetItemIndex(0);
  AnswerEditor([&] { Bar->FormActionExecute(146); }, VK_RETURN, L"Ed");
  EXPECT_EQ(Saved().substr(0, 16), "Work: Ed Editor ");
  EXPECT_NE(Bar->bsGroups->Buttons(0)->Caption().find(u"Work"), WideString::npos);
}

// Each box costs Wine two seconds to close: three of them.
TEST_F(BarCommandsWin, DeletionsAskAndANoKeepsEverything) {
  Bar->SelectGroup(1);
  Bar->plIcons->SetItemIndex(0);
  EXPECT_NE(Answer(143, IDNO).find(L"\"Chess\""), std::wstring::npos);
  EXPECT_EQ(Answer(162, IDNO),
            L"Delete group|Do you really want to delete the group \"Games\" and all its icons?"
            L"\r\n\r\nThe group cannot be restored afterwards.");
  EXPECT_EQ(Saved(), "Tools: Editor | Games: Chess | Web:");
  Answer(162, IDYES);
  EXPECT_EQ(Saved(), "Tools: Editor | Web:");
  EXPECT_EQ(Bar->bsGroups->PageCount(), 2);
  EXPECT_EQ(Bar->CurrentGroupIndex(), 0);
  EXPECT_EQ(Bar->plIcons->Count(), 1);
}

TEST_F(BarCommandsWin, DropsAddIconsToTheGroupUnderThePointer) {
  const String site = Dir.file("Site.url"), tool = Dir.file("my tool.exe"), link = Dir.file("Tool Link.lnk");
  WriteFileAtomic(site, "[InternetShortcut]\r\nURL=http://example.org/x\r\n");
  WriteFileAtomic(tool, "MZ");
  MakeShellLink(link, tool);
  TControl* web = Bar->bsGroups->Buttons(2);
  const TPoint onWeb = web->ClientToScreen(Point(web->Width() / 2, web->Height() / 2));
  Bar->DropTargetOver(onWeb);
  EXPECT_TRUE(Bar->bsGroups->Buttons(2)->DropHighlight());
  // A web address that comes with files is not used.
  Bar->DropItems(onWeb, {Utf8ToWide(tool), Utf8ToWide(site), Utf8ToWide(Dir.file("read_me.TXT")), Utf8ToWide(link)},
                 u"http://ignored.example/");
  EXPECT_FALSE(Bar->bsGroups->Buttons(2)->DropHighlight());
  EXPECT_EQ(Saved(), "Tools: Editor | Games: Chess | Web: My Tool Site Read_Me Tool Link");
  // The link's target is its application and, naming no icon of its own, its picture.
  const std::string file = ReadFileBytes(Dir.file("ov3.xml"));
  const size_t linkIcon = file.find("title=\"Tool Link\"");
  EXPECT_NE(file.find("<application filename=\"" + tool + "\"", linkIcon), std::string::npos) << file;
  EXPECT_NE(file.find("<image filename=\"" + tool + "\"", linkIcon), std::string::npos);
  // Away from the buttons, a web address alone goes to the group on show, once
  // its editor was confirmed (setting 212); a cancelled one adds nothing.
  AnswerEditor([&] { Bar->DropItems(Point(-1000, -1000), {}, u"https://ignored.example/"); }, VK_ESCAPE);
  AnswerEditor([&] { Bar->DropItems(Point(-1000, -1000), {}, u"https://Example.org/page"); }, VK_RETURN);
  EXPECT_EQ(Saved(), "Tools: Editor Example.org | Games: Chess | Web: My Tool Site Read_Me Tool Link");
  EXPECT_EQ(Bar->plIcons->Count(), 2);
}

}  // namespace
