// The bar's commands run by their actions and the drop target's calls, on the real
// bar in the test's own process; what they did is read back from ov3.xml.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <chrono>
#include <functional>

#include "kem3/browser/kembrowser_places.h"
#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemlout_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/dialogs/kemmsg_win.h"
#include "kem3/dragdrop/dragdroppidl.h"
#include "kem3/dragdrop/droptarget_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "launcher/editgroup_win.h"
#include "launcher/editicon_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3_outline.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3message_win.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "support/data_object_win.h"
#include "support/modal_answer_win.h"
#include "support/temp_dir.h"
#include "support/wait_win.h"

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

  // Runs the action while the confirmation it opens is answered with Key; the
  // dialog's caption and lines as they were shown.
  std::wstring Answer(int Action, WPARAM Key) {
    std::wstring shown;
    modal_answer::AnswerWhenShown<TdMessage>([&](TdMessage& Dialog) {
      WideString text = Dialog.Caption();
      for (const auto& p : Dialog.l->Paragraphs()) text += u"|" + p->Text();
      shown.assign(text.begin(), text.end());
      modal_answer::PressKey(Dialog, Key);
    });
    Bar->FormActionExecute(Action);
    return shown;
  }

  // Runs Step while its editor is answered: Text typed into the field that
  // has the focus, then Key (Enter or Escape).
  template <class TEditor>
  void AnswerEditor(const std::function<void()>& Step, WPARAM Key, const char16_t* Text = u"") {
    modal_answer::AnswerWhenShown<TEditor>([Key, Text](TEditor& Editor) {
      for (const char16_t* c = Text; *c; ++c) PostMessageW(GetFocus(), WM_CHAR, *c, 0);
      modal_answer::PressKey(Editor, Key);
    });
    Step();
  }

  // A whole drag of Data onto the bar's drop target at a screen point: the
  // effect the drop reported; Highlighted: the button under the drag lit up.
  DWORD DragTo(const TPoint& At, testdnd::DataObject& Data, bool& Highlighted) {
    IDropTarget* drop = Bar->dtMain->DropTargetInterface();
    const POINTL point{At.X, At.Y};
    const int button =
        Bar->bsGroups->ButtonAtPos(Bar->bsGroups->ScreenToClient(At).X, Bar->bsGroups->ScreenToClient(At).Y);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    drop->DragEnter(&Data, MK_LBUTTON, point, &effect);
    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    drop->DragOver(MK_LBUTTON, point, &effect);
    Highlighted = button >= 0 && Bar->bsGroups->Buttons(button)->DropHighlight();
    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    drop->Drop(&Data, MK_LBUTTON, point, &effect);
    return effect;
  }

  TempDir Dir;
  TAppScope App;
  TfMain* Bar = nullptr;
};

TEST_F(BarCommandsWin, CopiesNewIconsAndGroupsReachTheContentsFile) {
  Bar->plIcons->SetItemIndex(0);
  // The copy is selected: copying it counts on.
  for (int action : {ovaCopyIcon, ovaCopyIcon}) Bar->FormActionExecute(action);
  // The editors open on the new icons and group; Enter takes them as they are, Escape drops them.
  for (int action : {ovaNewIcon, ovaNewBatchIcon})
    AnswerEditor<TdEditIcon>([&] { Bar->FormActionExecute(action); }, VK_RETURN);
  AnswerEditor<TdEditGroup>([&] { Bar->FormActionExecute(ovaNewGroup); }, VK_RETURN);
  AnswerEditor<TdEditIcon>([&] { Bar->FormActionExecute(ovaNewIcon); }, VK_ESCAPE);
  AnswerEditor<TdEditGroup>([&] { Bar->FormActionExecute(ovaNewGroup); }, VK_ESCAPE);
  EXPECT_EQ(Saved(),
            "Tools: Editor Editor copy 1 Editor copy 2 New program New batch | Games: Chess | Web: | New group:");
  // The current group and the selected icon, renamed in their editors.
  AnswerEditor<TdEditGroup>([&] { Bar->FormActionExecute(ovaEditGroup); }, VK_RETURN, u"Work");
  Bar->plIcons->SetItemIndex(0);
  AnswerEditor<TdEditIcon>([&] { Bar->FormActionExecute(ovaEditIcon); }, VK_RETURN, u"Ed");
  EXPECT_EQ(Saved().substr(0, 16), "Work: Ed Editor ");
  EXPECT_NE(Bar->bsGroups->Buttons(0)->Caption().find(u"Work"), WideString::npos);
}

TEST_F(BarCommandsWin, TheIconLibraryFolderIsTheBrowsersFirstPlace) {
  EXPECT_EQ(BrowserNamedPlaces().Get(0), "BROWSERIMAGE,Icons=" + cfgGetStr(ovsIconLibFolder));
  cfgSetValueNotify(ovsIconLibFolder, String("D:\\Pictures"));
  cfgApplyChanges(*Bar);
  EXPECT_EQ(BrowserNamedPlaces().Get(0), "BROWSERIMAGE,Icons=D:\\Pictures");
}

// Each question costs Wine two seconds to close: three of them.
TEST_F(BarCommandsWin, DeletionsAskAndOnlyAYesDeletes) {
  Bar->SelectGroup(1);
  Bar->plIcons->SetItemIndex(0);
  EXPECT_EQ(Answer(ovaDeleteGroup, VK_ESCAPE),
            L"Delete group|{s:ov2text}Do you really want to delete the group \"Games\" and all its icons?"
            L"|{s:ov2text}The group cannot be restored afterwards.");
  EXPECT_EQ(Saved(), "Tools: Editor | Games: Chess | Web:");
  Answer(ovaDeleteGroup, VK_RETURN);
  EXPECT_EQ(Saved(), "Tools: Editor | Web:");
  EXPECT_EQ(Bar->bsGroups->PageCount(), 2);
  EXPECT_EQ(Bar->CurrentGroupIndex(), 0);
  EXPECT_EQ(Bar->plIcons->Count(), 1);
  // A title goes in literally: its braces neither hide text nor load a picture.
  Bar->plIcons->SetItemIndex(0);
  Bar->SelectedIcon()->WriteAttr("title", "{p \\\\host\\a.png}");
  EXPECT_EQ(Answer(ovaDeleteIcon, VK_RETURN),
            L"Delete icon|{s:ov2text}Do you really want to delete the icon \"{x {}p \\\\host\\a.png}\"?"
            L"|{s:ov2text}The icon cannot be restored afterwards.");
  EXPECT_EQ(Saved(), "Tools: | Web:");
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
  EXPECT_TRUE(
      Bar->DropItems(onWeb, {Utf8ToWide(tool), Utf8ToWide(site), Utf8ToWide(Dir.file("read_me.TXT")), Utf8ToWide(link)},
                     u"http://ignored.example/"));
  EXPECT_FALSE(Bar->bsGroups->Buttons(2)->DropHighlight());
  EXPECT_EQ(Saved(), "Tools: Editor | Games: Chess | Web: My Tool Site Read_Me Tool Link");
  // The link's target is its application and, naming no icon of its own, its picture.
  const std::string file = ReadFileBytes(Dir.file("ov3.xml"));
  const size_t linkIcon = file.find("title=\"Tool Link\"");
  EXPECT_NE(file.find("<application filename=\"" + tool + "\"", linkIcon), std::string::npos) << file;
  EXPECT_NE(file.find("<image filename=\"" + tool + "\"", linkIcon), std::string::npos);
  // Away from the buttons, a web address alone goes to the group on show, once
  // its editor, which opens when the drop is over, was confirmed
  // (ovsShowDropDialog); a cancelled one adds nothing. The drop tells what it will make.
  EXPECT_TRUE(Bar->DropItems(Point(-1000, -1000), {}, u"https://ignored.example/"));
  AnswerEditor<TdEditIcon>([] { Application->ProcessMessages(); }, VK_ESCAPE);
  EXPECT_EQ(Saved(), "Tools: Editor | Games: Chess | Web: My Tool Site Read_Me Tool Link");
  EXPECT_TRUE(Bar->DropItems(Point(-1000, -1000), {}, u"https://Example.org/page"));
  AnswerEditor<TdEditIcon>([] { Application->ProcessMessages(); }, VK_RETURN);
  EXPECT_EQ(Saved(), "Tools: Editor Example.org | Games: Chess | Web: My Tool Site Read_Me Tool Link");
  EXPECT_EQ(Bar->plIcons->Count(), 2);
}

// Through the bar's drop target: a drop the bar refuses leaves no button lit,
// and one that makes no icon tells the source that nothing was copied.
TEST_F(BarCommandsWin, DropsThatAddNothingEndTheDragWithoutEffect) {
  Bar->Show();
  TControl* web = Bar->bsGroups->Buttons(2);
  const TPoint onWeb = web->ClientToScreen(Point(web->Width() / 2, web->Height() / 2));
  const std::string before = Saved();
  std::string unreadable = testdnd::DropFiles({L"C:\\a.exe"});
  unreadable[0] = static_cast<char>(0xF0);  // the name list lies beyond the block
  std::string titleOnly = std::string("\1\0\0\0", 4) + std::string(332, '\0');
  titleOnly.replace(4 + 72, 11, "Example.url");  // a link's name without its address
  struct Case {
    const char* what;
    testdnd::DataObject data;
  } cases[] = {
      {"a file list that cannot be read", testdnd::DataObject().Offer(CF_HDROP, unreadable)},
      {"a descriptor without an address", testdnd::DataObject().Offer("FileGroupDescriptor", titleOnly)},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    bool highlighted = false;
    EXPECT_EQ(DragTo(onWeb, c.data, highlighted), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(highlighted);
    EXPECT_FALSE(Bar->bsGroups->Buttons(2)->DropHighlight());
    EXPECT_EQ(c.data.Written("Performed DropEffect"), -1);
  }
  EXPECT_EQ(Saved(), before);
}

// 20,000 dropped names held the bar for 11 s: one drop makes at most 1,000
// icons, and once the drop is over a note says how many were left out.
TEST_F(BarCommandsWin, ALargeDropIsCutAndTheRestCounted) {
  const String tool = Dir.file("tool.exe");
  WriteFileAtomic(tool, "MZ");
  const std::vector<WideString> names(20000, Utf8ToWide(tool));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(Bar->DropItems(Point(-1000, -1000), names, u""));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  EXPECT_EQ(Bar->plIcons->Count(), 1 + 1000);
  std::wstring note;
  modal_answer::AnswerWhenShown<TMessageForm>([&](TMessageForm& Box) {
    for (const auto& p : Box.lBody->Paragraphs()) note.append(p->Text().begin(), p->Text().end());
    modal_answer::PressKey(Box, VK_RETURN);
  });
  testproc::WaitUntil([&] { return !note.empty(); });
  EXPECT_NE(note.find(L"20000 files dropped, the first 1000 became icons; the other 19000"), std::wstring::npos)
      << std::string(note.begin(), note.end());
}

// Every item of a drop that came as shell items only has this path.
class OnePathShell : public TShellNamespace {
 public:
  OnePathShell() : previous_(SetShellNamespace(this)) {}
  ~OnePathShell() override { SetShellNamespace(previous_); }
  WideString PathFromIDList(const TIDList&) override { return u"C:\\dir\\y.txt"; }
  bool HasDesktop() override { return true; }
  bool ParseDisplayName(const WideString&, TIDList&) override { return false; }

 private:
  TShellNamespace* previous_;
};

// What a drop left out is told in one note once the drop is over: the items
// of a drop that came as shell items only (cut at 1,000 without a word
// before), and an address too long for an icon (refused without a word).
TEST_F(BarCommandsWin, TheNoteTellsWhatADropLeftOut) {
  OnePathShell shell;
  constexpr std::uint32_t n = 1200;
  const auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  std::string items = u32(n) + u32(4 + 4 * (n + 1));
  for (std::uint32_t i = 0; i < n; ++i) items += u32(4 + 4 * (n + 1) + 2 + 5 * i);
  items += std::string(2, '\0');
  for (std::uint32_t i = 0; i < n; ++i) items += std::string("\x03\0y\0\0", 5);
  testdnd::DataObject shellItems;
  shellItems.Offer("Shell IDList Array", items);
  // 5,001 characters, of which two outside the code page.
  const WideString address = u"https://\u4f8b\u3048.example/" + WideString(4982, u'a');
  ASSERT_EQ(address.size(), 5001u);

  const auto noteOf = [](const std::function<void()>& Drop) {
    std::wstring note;
    modal_answer::AnswerWhenShown<TMessageForm>([&](TMessageForm& Box) {
      WideString text = Box.Caption();
      for (const auto& p : Box.lBody->Paragraphs()) text += u"|" + p->Text();
      note.assign(text.begin(), text.end());
      modal_answer::PressKey(Box, VK_RETURN);
    });
    Drop();
    testproc::WaitUntil([&] { return !note.empty(); }, 3000);
    return note;
  };
  Bar->Show();
  TControl* tools = Bar->bsGroups->Buttons(0);
  bool highlighted = false;
  EXPECT_EQ(noteOf([&] {
              DragTo(tools->ClientToScreen(Point(tools->Width() / 2, tools->Height() / 2)), shellItems, highlighted);
            }),
            L"Too many files|{s:msgtext}Of the 1200 files dropped, the first 1000 became icons; the other 200 were "
            L"left out.");
  EXPECT_EQ(Bar->plIcons->Count(), 1 + 1000);
  bool added = true;
  EXPECT_EQ(noteOf([&] { added = Bar->DropItems(Point(-1000, -1000), {}, address); }),
            L"Address too long|{s:msgtext}The address on \u4f8b\u3048.example has 5001 characters, more than the "
            L"5000 an icon can hold; it made no icon.");
  EXPECT_FALSE(added);
}

}  // namespace
