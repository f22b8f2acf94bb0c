// The file browser dialog on a test folder, driven by messages while it shows
// modally: what it lists, Enter on a folder, OK on a file, the folder chooser,
// a file made elsewhere appearing, and a picture of it in icon mode.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemlview_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/framework/kembrowser_model_execute.h"
#include "kem3/framework/kembrowser_win.h"
#include "kem3/framework/kemexe.h"
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
