// The file browser dialog on a test folder, driven by messages while it shows
// modally: what it lists, Enter on a folder, OK on a file, the folder chooser,
// a file made elsewhere appearing, a picture of it in icon mode, the sort by a
// detail column through new listings, a folder typed into the address box and
// the list's sideways scrolling.
#include <gtest/gtest.h>

#include "platform/winapi_win.h"

#include <chrono>
#include <filesystem>
#include <fstream>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/browser/kembrowser_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemlview_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/framework/kemexe.h"
#include "launcher/user_input_win.h"
#include "launcher/window_shot_win.h"
#include "platform/app_scope_win.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"

namespace {

using namespace browser_steps;

// A handler with two types and a preview page that names the file shown.
class TTestPreview : public TBrowserPreview {
 public:
  void FillFileTypes(TBrowserFileTypes& Types) override {
    Types.Add(u"Programs (*.exe)");
    Types.Add(u"All files (*.*)");
    Types.SetItemIndex(0);
  }
  void CreatePreview(TWinControl& Parent) override {
    Label = new TKemLabel(&Parent);
    Label->SetParent(&Parent);
    Label->SetBounds(8, 8, 160, 40);
    Label->SetColor(clWindow);
  }
  void ShowPreview(const String& FileName) override {
    Shown = FileName;
    Label->SetCaption(Utf8ToWide("Preview of " + ExtractFileName(FileName)));
    if (Browser) Browser->ShowPreviewPage(PreviewPage);
  }
  void RefreshPreview() override { Shown.clear(); }
  TKemLabel* Label = nullptr;
  String Shown;
};

class BrowserWin : public testing::Test {
 protected:
  BrowserWin() {
    Preview = new TTestPreview;
    Index = TBrowserPreview::Register(std::unique_ptr<TBrowserPreview>(Preview));
    std::filesystem::create_directory(Dir.path() / "Sub");
    std::filesystem::create_directory(Dir.path() / "Zed");
    for (const char* name : {"b.exe", "a.exe", "notes.txt", "Sub/inner.exe"}) std::ofstream(Dir.path() / name) << "x";
    Root = Windows(Dir.file(""));
    // The browser's kept state goes into the test's own settings file.
    SetProgramFileName(Dir.file("browser.exe"));
    Dialog = NewForm<TdBrowser>(nullptr);
  }
  ~BrowserWin() override {
    Dialog->Free();
    WaitForRetiredBrowserWorkers();
    ClearBrowserPreviews();
    FreeIniFile();
    SetProgramFileName("");
  }
  static String Windows(String Path) {
    for (char& c : Path)
      if (c == '/') c = '\\';
    return BrowserWithDelimiter(Path);
  }
  bool Run(int Mode, const String& Initial, std::vector<TSteps::TStep> Steps) {
    const size_t count = Steps.size();
    bool chosen = false;
    const int done =
        browser_steps::RunSteps(std::move(Steps), [&] { chosen = Dialog->Execute(Mode, Index, false, Initial, -1); });
    EXPECT_EQ(done, static_cast<int>(count)) << "a negative count: that step timed out";
    return chosen;
  }

  TAppScope App;
  TempDir Dir;
  String Root;
  TTestPreview* Preview = nullptr;
  int Index = 0;
  TdBrowser* Dialog = nullptr;
};

}  // namespace

TEST_F(BrowserWin, ListsEntersChoosesAndSeesNewFiles) {
  std::chrono::steady_clock::time_point made;
  double seconds = 0;
  const bool chosen =
      Run(brmOpen, Root + "b.exe",
          {// Folders first, then the files of the type, each sorted by name; b.exe selected.
           Listed({u"Sub", u"Zed", u"a.exe", u"b.exe"}), [](TdBrowser& D) { return D.Model().SelectedIndex() == 3; },
           // Enter on a folder opens it.
           Press(0, VK_RETURN), Listed({u"inner.exe"}), Press(0, 0),
           [this, &made](TdBrowser& D) {
             EXPECT_EQ(D.Folder(), Root + "Sub\\");
             made = std::chrono::steady_clock::now();
             std::ofstream(Dir.path() / "Sub" / "new.exe") << "x";
             return true;
           },
           // A file made elsewhere appears by itself, the selection kept.
           [&](TdBrowser& D) {
             if (!D.Idle() || Names(D) != std::vector<WideString>{u"inner.exe", u"new.exe"}) return false;
             seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - made).count();
             EXPECT_EQ(D.Model().SelectedIndex(), 0);
             return true;
           },
           // The preview follows a file that stays selected.
           Press(1, 0), [this](TdBrowser&) { return Preview->Shown == Root + "Sub\\new.exe"; },
           // F5 refreshes the preview too.
           Press(-1, VK_F5), [this](TdBrowser& D) { return D.Idle() && Preview->Shown.empty(); },
           // OK on a file chooses it.
           Press(1, VK_RETURN)});
  EXPECT_TRUE(chosen);
  EXPECT_EQ(Dialog->FileName(), Root + "Sub\\new.exe");
  EXPECT_LT(seconds, 1.0);
}

// OK on a typed name that names nothing tells the user so, and the dialog stays.
TEST_F(BrowserWin, OkOnANameThatDoesNotExistSaysSo) {
  std::vector<std::pair<WideString, WideString>> shown;
  const TBrowserMessage previous =
      SetBrowserMessage([&](const WideString& Caption, const WideString& Body) { shown.emplace_back(Caption, Body); });
  EXPECT_FALSE(Run(brmOpen, Root,
                   {Listed({u"Sub", u"Zed", u"a.exe", u"b.exe"}),
                    [](TdBrowser& D) {
                      D.eName->SetText(u"nothing.exe");
                      D.eName->SetFocus();
                      modal_answer::PressKey(D, VK_RETURN);
                      return true;
                    },
                    [&](TdBrowser& D) {
                      if (shown.empty()) return false;
                      D.SetModalResult(mrCancel);
                      return true;
                    }}));
  SetBrowserMessage(previous);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].first, u"Not found");
  EXPECT_NE(shown[0].second.find(Utf8ToWide(Root + "nothing.exe")), WideString::npos);
}

TEST_F(BrowserWin, TheFolderChooserGivesFoldersWithoutTheirDelimiter) {
  // Only folders, the typed-in start's own.
  EXPECT_TRUE(Run(brmFolder, Root, {Listed({u"Sub", u"Zed"}), Press(1, VK_RETURN)}));
  EXPECT_EQ(Dialog->FileName(), Root + "Zed");
  // Nothing selected: the folder shown.
  EXPECT_TRUE(Run(brmFolder, Root + "Sub", {Listed({}), Press(-1, VK_RETURN)}));
  EXPECT_EQ(Dialog->FileName(), Root + "Sub");
}

TEST_F(BrowserWin, PictureInIconView) {
  Run(brmOpen, Root + "a.exe",
      {Listed({u"Sub", u"Zed", u"a.exe", u"b.exe"}),
       [](TdBrowser& D) {
         D.SetIconView(true);
         D.SelectEntry(2);
         return true;
       },
       [this](TdBrowser& D) {
         if (Preview->Shown.empty()) return false;
         EXPECT_EQ(D.nbPreview->PageIndex(), Preview->PreviewPage);
         EXPECT_TRUE(Preview->Label->Visible());
         D.Update();
         SaveShot(D.Handle(), "browser_icons");
         D.SetModalResult(mrCancel);
         return true;
       }});
  EXPECT_EQ(Preview->Shown, Root + "a.exe");
  Run(brmFolder, Root, {Listed({u"Sub", u"Zed"}), Press(-1, VK_ESCAPE)});
  EXPECT_EQ(Dialog->nbPreview->PageIndex(), 0) << "the last use's preview is gone";
}

TEST_F(BrowserWin, ColumnWidthsAndSortingLastToTheNextUse) {
  const TSteps::TStep widenAndTurn = [](TdBrowser& D) {
    D.lvFiles->Columns(1)->SetWidth(123);
    D.SetBounds(D.Left(), D.Top(), 700, 450);
    // A click on the name's header turns its direction.
    NMLISTVIEW click{};
    click.hdr.hwndFrom = D.lvFiles->Handle();
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    SendMessageW(GetParent(D.lvFiles->Handle()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    return true;
  };
  const TSteps::TStep cancel = [](TdBrowser& D) {
    D.SetModalResult(mrCancel);
    return true;
  };
  EXPECT_FALSE(Run(brmOpen, Root, {Listed({u"Sub", u"Zed", u"a.exe", u"b.exe"}), widenAndTurn, cancel}));
  Dialog->Free();
  Dialog = NewForm<TdBrowser>(nullptr);
  EXPECT_FALSE(Run(brmOpen, Root, {Listed({u"Zed", u"Sub", u"b.exe", u"a.exe"}), cancel}));
  EXPECT_EQ(Dialog->lvFiles->Columns(1)->Width(), 123);
  EXPECT_EQ(Dialog->Width() * 1000 + Dialog->Height(), 700450) << "the size kept";
}

// A list sorted by size, date, type or attributes stays so when the folder is
// listed again, with the same entry selected: sizes and dates come with the
// listing, types and attributes when the columns are filled.
TEST_F(BrowserWin, ADetailColumnsSortLastsThroughANewListing) {
  const std::filesystem::path folder = Dir.path() / "Sort";
  std::filesystem::create_directory(folder);
  const struct {
    const char* Name;
    int Size, AgeDays;
    bool ReadOnly;
  } files[] = {{"a.zip", 2, 1, true}, {"b.dat", 3, 2, false}, {"c.txt", 1, 3, false}};
  for (const auto& f : files) {
    const std::filesystem::path path = folder / f.Name;
    std::ofstream(path) << std::string(static_cast<size_t>(f.Size), 'x');
    std::filesystem::last_write_time(
        path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * f.AgeDays));
    if (f.ReadOnly) SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  }
  const struct {
    int Column;
    std::vector<WideString> Order;
  } cases[] = {{1, {u"c.txt", u"a.zip", u"b.dat"}},
               {2, {u"b.dat", u"c.txt", u"a.zip"}},
               {3, {u"c.txt", u"b.dat", u"a.zip"}},
               {4, {u"b.dat", u"c.txt", u"a.zip"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Column);
    const std::vector<TSteps::TStep> steps{
        [](TdBrowser& D) { return D.Idle() && D.Model().Count() == 3; },
        // A click on the column's header, until it sorts rising.
        [&c](TdBrowser& D) {
          NMLISTVIEW click{};
          click.hdr.hwndFrom = D.lvFiles->Handle();
          click.hdr.code = LVN_COLUMNCLICK;
          click.iItem = -1;
          click.iSubItem = c.Column;
          if (D.Model().SortColumn() != c.Column || D.Model().SortDescending())
            SendMessageW(GetParent(D.lvFiles->Handle()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
          return D.Model().SortColumn() == c.Column && !D.Model().SortDescending() && Names(D) == c.Order;
        },
        // The middle entry selected, the folder listed again (F5's command).
        [](TdBrowser& D) {
          D.SelectEntry(1);
          D.RefreshFolder();
          return true;
        },
        [&c](TdBrowser& D) { return D.Idle() && Names(D) == c.Order && D.Model().SelectedIndex() == 1; },
        [](TdBrowser& D) {
          D.SetModalResult(mrCancel);
          return true;
        }};
    const int done =
        browser_steps::RunSteps(steps, [&] { Dialog->Execute(brmOpen, Index, false, Root + "Sort\\", 1); });
    EXPECT_EQ(done, static_cast<int>(steps.size())) << "a negative count: that step timed out";
  }
  SetFileAttributesW((folder / "a.zip").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A folder that changed is listed again without the list moving: the top row
// the user scrolled to and the selected entry stay.
TEST_F(BrowserWin, AChangedFolderKeepsTheListsTopRowAndSelection) {
  const std::filesystem::path folder = Dir.path() / "Many";
  std::filesystem::create_directory(folder);
  char name[16];
  for (int i = 0; i < 300; ++i) {
    snprintf(name, sizeof name, "f%03d.txt", i);
    std::ofstream(folder / name) << "x";
  }
  auto top = [](TdBrowser& D) { return static_cast<int>(SendMessageW(D.lvFiles->Handle(), LVM_GETTOPINDEX, 0, 0)); };
  int kept = -1;
  const std::vector<TSteps::TStep> steps{
      [](TdBrowser& D) { return D.Idle() && D.Model().Count() == 300; },
      // f150.txt selected, then scrolled away from it, down to row 200.
      [&](TdBrowser& D) {
        D.SelectEntry(150);
        RECT row{};
        row.left = LVIR_BOUNDS;
        SendMessageW(D.lvFiles->Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
        SendMessageW(D.lvFiles->Handle(), LVM_SCROLL, 0, (200 - top(D)) * (row.bottom - row.top));
        kept = top(D);
        std::ofstream(folder / "new.txt") << "x";
        return true;
      },
      [&](TdBrowser& D) {
        if (!D.Idle() || D.Model().Count() != 301) return false;
        EXPECT_EQ(top(D), kept);
        EXPECT_GT(kept, 160);
        const int selected = D.Model().SelectedIndex();
        EXPECT_EQ(selected >= 0 ? D.Model().Entry(selected).Name : u"", u"f150.txt");
        D.SetModalResult(mrCancel);
        return true;
      }};
  const int done = browser_steps::RunSteps(steps, [&] { Dialog->Execute(brmOpen, Index, false, Root + "Many\\", 1); });
  EXPECT_EQ(done, static_cast<int>(steps.size())) << "a negative count: that step timed out";
}

// The address box takes what is typed: Enter there lists the folder it names
// (full, or within the one shown) or names a missing one in a message; the
// dialog stays open either way.
TEST_F(BrowserWin, EnterInTheAddressBoxGoesToTheTypedFolder) {
  std::vector<WideString> messages;
  const TBrowserMessage previous = SetBrowserMessage(
      [&](const WideString& Caption, const WideString& Body) { messages.push_back(Caption + u"|" + Body); });
  const struct {
    String Typed;
    String Folder;  // where the list stands after Enter
    std::vector<WideString> Names;
    bool Missing;
  } cases[] = {{Root + "Sub", Root + "Sub\\", {u"inner.exe"}, false},
               {"Zed", Root + "Zed\\", {}, false},
               {Root + "Gone", Root, {u"Sub", u"Zed", u"a.exe", u"b.exe"}, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Typed);
    messages.clear();
    const bool chosen = Run(brmOpen, Root,
                            {Listed({u"Sub", u"Zed", u"a.exe", u"b.exe"}),
                             [&c](TdBrowser& D) {
                               D.ePath->Editor()->SetFocus();
                               const HWND box = GetFocus();
                               SendMessageW(box, EM_SETSEL, 0, -1);
                               for (char ch : c.Typed) PostMessageW(box, WM_CHAR, static_cast<unsigned char>(ch), 1);
                               modal_answer::PressKey(D, VK_RETURN);
                               return true;
                             },
                             [&](TdBrowser& D) {
                               if (c.Missing ? messages.empty() : D.Folder() != c.Folder) return false;
                               return D.Idle() && Names(D) == c.Names;
                             },
                             [&c](TdBrowser& D) {
                               EXPECT_EQ(D.Folder(), c.Folder);
                               EXPECT_EQ(D.ePath->Text(), Utf8ToWide(c.Missing ? c.Typed : c.Folder));
                               EXPECT_EQ(D.ModalResult(), mrNone) << "Enter in the address box closed the dialog";
                               D.SetModalResult(mrCancel);
                               return true;
                             }});
    EXPECT_FALSE(chosen);
    ASSERT_EQ(messages.size(), c.Missing ? 1u : 0u);
    if (c.Missing) {
      EXPECT_TRUE(messages[0].starts_with(u"Not found|"));
      EXPECT_NE(messages[0].find(Utf8ToWide(c.Typed)), WideString::npos);
    }
  }
  SetBrowserMessage(previous);
}

// A click on the list's right scroll arrow moves it by a character of its
// font; the next opening starts scrolled fully left.
TEST_F(BrowserWin, TheListScrollsSidewaysByACharacterAndEachOpeningStartsLeft) {
  auto across = [](TdBrowser& D) { return GetScrollPos(D.lvFiles->Handle(), SB_HORZ); };
  int clicked = -1;
  Run(brmOpen, Root,
      {Listed({u"Sub", u"Zed", u"a.exe", u"b.exe"}),
       [](TdBrowser& D) {
         D.lvFiles->Columns(0)->SetWidth(1500);
         return true;
       },
       [](TdBrowser& D) {
         const HWND list = D.lvFiles->Handle();
         SCROLLBARINFO bar{};
         bar.cbSize = sizeof(bar);
         if (!(GetWindowLongPtrW(list, GWL_STYLE) & WS_HSCROLL) || !GetScrollBarInfo(list, OBJID_HSCROLL, &bar))
           return false;
         ov3test::Click({bar.rcScrollBar.right - GetSystemMetrics(SM_CXHSCROLL) / 2,
                         (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2});
         return true;
       },
       [&](TdBrowser& D) {
         if (across(D) == 0) return false;
         clicked = across(D);
         EXPECT_EQ(clicked, D.lvFiles->AverageCharWidth());
         D.SetModalResult(mrCancel);
         return true;
       }});
  EXPECT_GT(clicked, 1);
  Run(brmOpen, Root, {Listed({u"Sub", u"Zed", u"a.exe", u"b.exe"}), [&](TdBrowser& D) {
                        EXPECT_EQ(D.lvFiles->Columns(0)->Width(), 1500) << "the user's width kept";
                        EXPECT_EQ(across(D), 0);
                        D.SetModalResult(mrCancel);
                        return true;
                      }});
}
