// The icon editor in the test's own process: the program browse button with
// a fake browser and the fields that follow it, rows added by their buttons
// and deleted once, Tab and Shift+Tab keys in the order the dialog reads, how long the
// previews of the system's shell library take, and a flat picture's preview whole.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <tuple>

#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/controls/kempicture_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "launcher/editicon_win.h"
#include "launcher/ov3browse.h"
#include "platform/app_scope_win.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "support/key_walk_win.h"
#include "support/keys_win.h"
#include "support/temp_dir.h"
#include "support/text_fit_win.h"
#include "window_shot_win.h"

namespace {

// Answers every browse with the next of its names.
class TFakeBrowser : public TOvBrowser {
 public:
  explicit TFakeBrowser(std::vector<String> Names) : FNames(std::move(Names)) {}
  bool Execute(int Mode, int Preview, bool, const String& InitialPath, int) override {
    Calls.push_back(IntToStr(Mode) + "," + IntToStr(Preview) + "," + InitialPath);
    if (FNames.empty()) return false;
    FName = FNames.front();
    FNames.erase(FNames.begin());
    return true;
  }
  String FileName() const override { return FName; }
  std::vector<String> Calls;

 private:
  std::vector<String> FNames;
  String FName;
};

class EditIconWin : public testing::Test {
 protected:
  EditIconWin() { Dialog = NewForm<TdEditIcon>(Application); }
  ~EditIconWin() override {
    Dialog->Free();
    SetOvBrowser(nullptr);
  }
  String Text(TKemEdit* Edit) const { return WideToUtf8(Edit->Text()); }

  TAppScope App;
  TdEditIcon* Dialog = nullptr;
};

}  // namespace

TEST_F(EditIconWin, FolderAndIconFollowTheBrowsedProgram) {
  TOvIconFields f;
  f.FileName = "C:\\Tools\\a.exe";
  f.Folder = "C:\\Tools";
  f.IconFile = "c:\\tools\\A.EXE";
  Dialog->SetFields(f, {});
  auto owned = std::make_unique<TFakeBrowser>(std::vector<String>{"D:\\Apps\\b.exe"});
  TFakeBrowser* browser = owned.get();
  SetOvBrowser(std::move(owned));

  Dialog->eFilename->OnButtonClick(Dialog->eFilename, 1);
  EXPECT_EQ(Text(Dialog->eFolder), "D:\\Apps");
  EXPECT_EQ(Text(Dialog->eIcon), "D:\\Apps\\b.exe");
  // Nothing chosen: nothing changes.
  Dialog->eFilename->OnButtonClick(Dialog->eFilename, 1);
  EXPECT_EQ(Text(Dialog->eFilename), "D:\\Apps\\b.exe");
  EXPECT_EQ(browser->Calls, (std::vector<String>{"0,1,C:\\Tools\\a.exe", "0,1,D:\\Apps\\b.exe"}));
  // A typed key: the icon that is the program follows what is typed.
  SendMessageW(Dialog->eFilename->Editor()->Handle(), WM_CHAR, L'x', 0);
  EXPECT_EQ(Text(Dialog->eIcon), Text(Dialog->eFilename));
}

TEST_F(EditIconWin, RowsComeFromTheirButtonsAndGoOnce) {
  TOvIconFields f;
  f.Batch = true;
  f.Programs = {{0, ""}, {-1, "99"}};
  f.Shortcuts = {ParseHotkeyText("f5,ctrl+apps")};
  Dialog->SetFields(f, TOvProgramIcons{{"Editor (Main)", "Mail (Main)"}, {nullptr, nullptr}});
  ASSERT_EQ(Dialog->ProgramRowCount(), 2);
  EXPECT_EQ(Dialog->ProgramRow(1)->List->Items()->Count(), 3);  // the two icons and its own id

  Dialog->bAddProgram->Click();
  Dialog->bAddShortcut->Click();
  ASSERT_EQ(Dialog->ProgramRowCount(), 3);
  ASSERT_EQ(Dialog->ShortcutRowCount(), 2);
  EXPECT_EQ(FormatHotkeyText(Dialog->ShortcutRow(1)->Hotkey()), "A,none");

  // Mend: a second message for a row already gone is ignored.
  TProgramBlock* first = Dialog->ProgramRow(0);
  for (int i = 0; i < 2; ++i) PostMessageW(Dialog->Handle(), kDeleteProgramRow, 0, reinterpret_cast<LPARAM>(first));
  Dialog->ShortcutRow(0)->DeleteButton->Click();
  Application->ProcessMessages();
  ASSERT_EQ(Dialog->ProgramRowCount(), 2);
  ASSERT_EQ(Dialog->ShortcutRowCount(), 1);
  const TOvIconFields back = Dialog->Fields();
  ASSERT_EQ(back.Programs.size(), 2u);
  EXPECT_EQ(back.Programs[0].OwnId, "99");
  EXPECT_EQ(back.Programs[1].Entry, -1);  // the empty row: written as nothing
  EXPECT_TRUE(App.Errors.empty());
}

TEST_F(EditIconWin, TabGoesInTheOrderTheDialogReads) {
  TOvIconFields f;
  f.Shortcuts = {ParseHotkeyText("f5,ctrl")};
  Dialog->SetFields(f, {});
  Dialog->Show();
  Dialog->eTitle->SetFocus();
  std::vector<RECT> visited;
  for (int i = 0; i < 40; ++i) {
    RECT r;
    GetWindowRect(GetFocus(), &r);
    if (!visited.empty() && r.left == visited.front().left && r.top == visited.front().top) break;
    visited.push_back(r);
    PressFocused(VK_TAB);
  }
  // Title, comment, the three program fields, icon, previews, the shortcut
  // row's key, button and four modifiers, add, OK and Cancel.
  ASSERT_EQ(visited.size(), 16u);
  // Each stop lies right of the one before on its line, or on a line below.
  for (size_t i = 1; i < visited.size(); ++i) {
    const RECT &a = visited[i - 1], &b = visited[i];
    const bool sameLine = std::abs(b.top - a.top) < 10;
    EXPECT_TRUE(sameLine ? b.left > a.left : b.top > a.top) << "stop " << i;
  }
  // Shift+Tab goes the same way back, through the key and modifier lists too.
  for (size_t i = visited.size(); i-- > 0;) {
    PressFocused(VK_TAB, {VK_SHIFT});
    RECT r;
    GetWindowRect(GetFocus(), &r);
    EXPECT_TRUE(r.left == visited[i].left && r.top == visited[i].top) << "stop " << i;
  }
  Dialog->Hide();
}

TEST_F(EditIconWin, PreviewsOfTheShellLibrary) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const String file = WideToUtf8(reinterpret_cast<const char16_t*>(system)) + "\\shell32.dll";
  TKemPanelList& list = *Dialog->plIcon;
  const auto start = std::chrono::steady_clock::now();
  FillImagePreviews(file, list);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  std::printf("FillImagePreviews(shell32.dll): %d previews in %lld ms\n", list.Count(), static_cast<long long>(ms));
  EXPECT_GT(list.Count(), 10);
  // An index beyond them falls back to the first when the file changes.
  TOvIconFields f;
  f.IconFile = file;
  f.IconIndex = 100000;
  Dialog->SetFields(f, {});
  EXPECT_EQ(Dialog->IconIndex(), 0);
  EXPECT_EQ(Dialog->plIcon->ItemIndex(), 0);
}

// A flat picture repeats its corner's colour all over: its preview (the icon
// editor's and the file browser's) shows every pixel of it, no holes.
TEST_F(EditIconWin, AFlatPicturesPreviewShowsWhole) {
  TempDir dir;
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) picture.SetPixelColor(x, y, x >= 12 && x < 20 && y >= 12 && y < 20 ? clBlue : clRed);
  picture.SaveToFile(dir.file("flat.bmp"));
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(50, 50, 200, 200);
  auto* list = new TKemPanelList(form);
  list->SetParent(form);
  list->SetAlign(alClient);
  list->SetColor(clWhite);
  form->Show();
  FillImagePreviews(dir.file("flat.bmp"), *list);
  ASSERT_EQ(list->Count(), 1);
  // Drawn by its own alpha, whole over all the picture: no colour of the
  // picture is taken as transparent.
  const TKemPanelListItem& item = *list->Items(0);
  EXPECT_TRUE(item.AlphaChannel);
  ASSERT_EQ(item.Bitmap->PixelFormat(), pf32bit);
  int holes = 0;
  for (int y = 0; y < item.Bitmap->Height(); ++y)
    for (int x = 0; x < item.Bitmap->Width(); ++x)
      holes += static_cast<const TRGBQuad*>(item.Bitmap->ScanLine(y))[x].rgbReserved != 255;
  EXPECT_EQ(holes, 0);
  form->Free();
}

// Every label, button and list item of the editor shows whole in both
// languages, German's font a quarter larger included, with a shortcut row
// and a program row on the batch page.
TEST_F(EditIconWin, EveryTextShowsWholeInBothLanguages) {
  Dialog->Free();
  SetProgramFileName(GetExeDir() + "ov3.exe");
  InitLanguages();
  TOvIconFields f;
  f.Batch = true;
  f.Programs = {{0, ""}};
  f.Shortcuts = {ParseHotkeyText("f5,ctrl+apps")};
  for (const char* code : {"US", "DE"}) {
    SelectLanguageByCode(code);
    ASSERT_EQ(LanguageCode(CurrentLanguageIndex()), code);
    Dialog = NewForm<TdEditIcon>(Application);
    Dialog->SetFields(f, TOvProgramIcons{{"Editor (Main)"}, {nullptr}});
    EXPECT_EQ(textfit::CutTexts(*Dialog), std::vector<std::string>()) << code;
    if (std::string(code) == "US") Dialog->Free();
  }
  DoneLanguages(false);
  SetProgramFileName("");
}

// Walked by keys alone in both languages, on either notebook page: Tab from
// the title through every control and back, Shift+Tab the way back, and
// Enter and Escape from each kind of control give OK's and Cancel's results.
TEST_F(EditIconWin, WalkedByKeysAloneInBothLanguages) {
  Dialog->Free();
  SetProgramFileName(GetExeDir() + "ov3.exe");
  InitLanguages();
  for (const char* code : {"US", "DE"}) {
    for (bool batch : {false, true}) {
      SelectLanguageByCode(code);
      Dialog = NewForm<TdEditIcon>(Application);
      TOvIconFields f;
      f.Batch = batch;
      f.Programs = {{0, ""}};
      f.Shortcuts = {ParseHotkeyText("f5,ctrl+apps")};
      Dialog->SetFields(f, TOvProgramIcons{{"Editor (Main)"}, {nullptr}});
      Dialog->Show();
      Dialog->eTitle->SetFocus();
      std::vector<std::string> kinds;
      EXPECT_EQ(keywalk::WalkFaults(*Dialog), std::vector<std::string>()) << code << batch;
      EXPECT_EQ(keywalk::EnterEscapeFaults(*Dialog, mrOk, mrCancel, &kinds), std::vector<std::string>())
          << code << batch;
      EXPECT_EQ(kinds, (std::vector<std::string>{"button", "edit", "list", "other"})) << code << batch;
      // Below the program page a whole shortcut row shows, its lines of modifiers too.
      if (!batch) {
        EXPECT_GE(Dialog->sbShortcuts->ClientHeight(), Dialog->ShortcutRow(0)->Panel->Height()) << code;
      }
      Dialog->Hide();
      if (!(std::string(code) == "DE" && batch)) Dialog->Free();
    }
  }
  DoneLanguages(false);
  SetProgramFileName("");
}

// Both add buttons show on the batch page, each with a key of its own in
// either language: Alt and the one key adds a program row, Alt and the other
// a shortcut row (both said "A&dd", and that key only reached the first).
TEST_F(EditIconWin, EachAddButtonHasAKeyOfItsOwn) {
  Dialog->Free();
  SetProgramFileName(GetExeDir() + "ov3.exe");
  InitLanguages();
  for (const char* code : {"US", "DE"}) {
    SelectLanguageByCode(code);
    Dialog = NewForm<TdEditIcon>(Application);
    TOvIconFields f;
    f.Batch = true;
    Dialog->SetFields(f, {});
    Dialog->Show();
    Dialog->eTitle->SetFocus();
    const WideString program = Dialog->bAddProgram->Caption(), shortcut = Dialog->bAddShortcut->Caption();
    EXPECT_EQ(StripAccelCharsW(program), StripAccelCharsW(shortcut)) << code << ": the same words";
    // Alt and a key, as the keyboard hands it to the focused control.
    for (const auto& [key, programs, shortcuts] :
         {std::tuple{GetAccelCharW(shortcut), 0, 1}, std::tuple{GetAccelCharW(program), 1, 1}}) {
      SendMessageW(GetFocus(), WM_SYSCHAR, key, 0x20000001);
      EXPECT_EQ(Dialog->ProgramRowCount(), programs) << code;
      EXPECT_EQ(Dialog->ShortcutRowCount(), shortcuts) << code;
    }
    Dialog->Hide();
    if (std::string(code) == "US") Dialog->Free();
  }
  DoneLanguages(false);
  SetProgramFileName("");
}

// In English every shortcut row shows its modifier lists whole inside the
// shortcuts' box, and Tab (real key presses) onto the last list of each row,
// the one below the box's lower edge too, finds it inside the box's visible part.
TEST_F(EditIconWin, TabFindsEveryModifierListInsideTheBox) {
  Dialog->Free();
  SetProgramFileName(GetExeDir() + "ov3.exe");
  InitLanguages();
  SelectLanguageByCode("US");
  Dialog = NewForm<TdEditIcon>(Application);
  TOvIconFields f;
  f.Shortcuts = {ParseHotkeyText("f5,ctrl"), ParseHotkeyText("f6,alt")};
  Dialog->SetFields(f, {});
  Dialog->Show();
  const auto screenRect = [](HWND Window, bool Client) {
    RECT r;
    if (Client) {
      GetClientRect(Window, &r);
      MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    } else {
      GetWindowRect(Window, &r);
    }
    return r;
  };
  const auto inside = [](const RECT& Inner, const RECT& Outer) {
    return Inner.left >= Outer.left && Inner.top >= Outer.top && Inner.right <= Outer.right &&
           Inner.bottom <= Outer.bottom;
  };
  RedrawWindow(Dialog->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  SaveShot(Dialog->Handle(), "editicon-us");
  // Scrolled to the first row: the second one's last list lies below the box.
  Dialog->sbShortcuts->SetVertPosition(0);
  Dialog->eTitle->SetFocus();
  for (int row = 0; row < 2; ++row) {
    THotkeyBlock* block = Dialog->ShortcutRow(row);
    for (TKemDropDownList* list : block->Modifiers)
      EXPECT_TRUE(inside(screenRect(list->Handle(), false), screenRect(block->Frame->Handle(), true)))
          << "row " << row << ": a list outside its frame";
    HWND last = block->Modifiers[3]->Handle();
    for (int i = 0; i < 40 && GetFocus() != last; ++i) PressFocused(VK_TAB);
    ASSERT_EQ(GetFocus(), last) << "row " << row;
    EXPECT_TRUE(inside(screenRect(last, false), screenRect(Dialog->sbShortcuts->Handle(), true))) << "row " << row;
    RedrawWindow(Dialog->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SaveShot(Dialog->Handle(), ("editicon-us-tab" + std::to_string(row)).c_str());
  }
  Dialog->Hide();
  DoneLanguages(false);
  SetProgramFileName("");
}
