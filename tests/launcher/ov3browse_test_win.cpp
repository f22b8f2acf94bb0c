// The launcher's browse call served by the file browser dialog: the folder
// setting's chooser (mode 6), the icons use with its preview, and the
// dialog's first look in each language.
#include "launcher/ov3browse_win.h"

#include <gtest/gtest.h>

#include <cmath>

#include "kem3/browser/kembrowser_state.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kemsplit_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/pictures/pngimage.h"
#include "launcher/ov3brws_win.h"
#include "launcher/ov3cfg.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"
#include "support/text_fit_win.h"
#include "window_shot_win.h"

namespace {

using namespace browser_steps;

class OvBrowseWin : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramFileName(Dir.file("ov3.exe"));
    cfgInit();
    DefineSettings(nullptr);
    ClearBrowserPreviews();
    RegisterLauncherPreviews();
    InstallFileBrowser();
    Browser = dynamic_cast<TOvFileBrowser*>(OvBrowser());
    ASSERT_TRUE(Browser);
  }
  void TearDown() override {
    SetOvBrowser(nullptr);
    WaitForRetiredBrowserWorkers();
    ClearBrowserPreviews();
    cfgDone();
    SetProgramFileName("");
  }

  TAppScope App;
  TempDir Dir;
  TOvFileBrowser* Browser = nullptr;
};

}  // namespace

TEST_F(OvBrowseWin, TheFolderChooserGoesThroughTheBrowser) {
  ForceDirectories(Dir.file("Icons\\Set"));
  const String start = Dir.file("Icons");
  String folder;
  bool chosen = false;
  EXPECT_EQ(RunSteps({Listed({u"Set"}), Press(0, VK_RETURN)}, [&] { chosen = OvFolderChooser(start, folder); }), 2);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(folder, Dir.file("Icons\\Set"));
}

TEST_F(OvBrowseWin, TheIconsUsePreviewsTheSelectedLibrary) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const String shell = WideToUtf8(reinterpret_cast<const char16_t*>(system)) + "\\shell32.dll";
  TBrowserPreview* icons = GetBrowserPreview(kPreviewIcons);
  bool chosen = false;
  const int done = RunSteps({[](TdBrowser& D) { return D.Idle() && D.Model().SelectedIndex() >= 0; },
                             [](TdBrowser& D) {
                               D.SetIconView(true);
                               return true;
                             },
                             [icons](TdBrowser& D) { return D.nbPreview->PageIndex() == icons->PreviewPage; },
                             [](TdBrowser& D) {
                               D.Update();
                               SaveShot(D.Handle(), "browser_launcher_icons");
                               return true;
                             },
                             Press(-1, VK_RETURN)},
                            [&] { chosen = Browser->Execute(obmOpen, kPreviewIcons, false, shell, -1); });
  EXPECT_EQ(done, 5);
  EXPECT_TRUE(chosen);
  EXPECT_TRUE(SameText(Browser->FileName(), shell)) << Browser->FileName();
}

TEST_F(OvBrowseWin, SeveralChosenFilesReachTheCaller) {
  ForceDirectories(Dir.file("Pick"));
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteFileAtomic(Dir.file(String("Pick\\") + name), "x");
  const TSteps::TStep selectFirstAndLast = [](TdBrowser& D) {
    LVITEMW item{};
    item.state = item.stateMask = LVIS_SELECTED;
    for (WPARAM i : {0, 2}) SendMessageW(D.lvFiles->Handle(), LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
    return true;
  };
  EXPECT_EQ(RunSteps({Listed({u"a.txt", u"b.txt", u"c.txt"}), selectFirstAndLast, Press(-1, VK_RETURN)},
                     [&] { Browser->Execute(obmOpen, kPreviewBlank, true, Dir.file("Pick\\"), -1); }),
            3);
  EXPECT_EQ(Browser->Files(), (std::vector<String>{Dir.file("Pick\\a.txt"), Dir.file("Pick\\c.txt")}));
  cfgSetValue(ovsBrowserFltPrograms, 1);  // "All files" kept, though the icon editor asks for type 0
  EXPECT_EQ(RunSteps({Listed({u"a.txt", u"b.txt", u"c.txt"}), Press(-1, VK_ESCAPE)},
                     [&] { Browser->Execute(obmOpen, kPreviewPrograms, false, Dir.file("Pick\\"), 0); }),
            2);
}

// The first look in each language: the dialog's first size grows with the
// language's font; while nothing is previewed the preview strip is gone and
// the list has the width, every column visible (its caption and texts whole,
// no sideways scrolling) and every label whole; a picture's preview brings
// the strip back.
TEST_F(OvBrowseWin, TheListShowsEveryColumnWhileNothingIsPreviewed) {
  // The languages the build made, beside the test program.
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const String built = ExtractFilePath(WideToUtf8(reinterpret_cast<const char16_t*>(exe))) + "Language\\";
  ForceDirectories(Dir.file("Language"));
  for (const char* name : {"ov3english.lan", "ov3german.lan"})
    ASSERT_TRUE(CopyFileTo(built + name, Dir.file("Language\\") + name));
  ForceDirectories(Dir.file("Files\\Pictures"));
  for (const char* name : {"Archive.zip", "Notes.txt", "Setup.exe"})
    WriteFileAtomic(Dir.file(String("Files\\") + name), "x");
  // A wide picture with a circle: its preview keeps it round.
  TPNGImage png;
  png.SetPixelFormat(pf24bit);
  png.SetSize(200, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      png.SetPixelColor(x, y, std::hypot(x - 99.5, y - 49.5) < 45 ? TColor(0xC05020) : TColor(0xF0F0F0));
  png.SaveToFile(Dir.file("Files\\Picture.png"));
  cfgSetValue(ovsBrowserFltIcons, 1);  // all files
  TBrowserPreview* icons = GetBrowserPreview(kPreviewIcons);
  InitLanguages();
  const struct {
    const char* Code;
    int Width, Height;
  } cases[] = {{"US", 780, 460}, {"DE", 975, 575}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Code);
    ASSERT_TRUE(SelectLanguageByCode(c.Code) || LanguageCode(CurrentLanguageIndex()) == c.Code);
    // No size kept from the language before.
    cfgWriteInt(BrowserSection, "Width", 0);
    cfgWriteInt(BrowserSection, "Height", 0);
    const std::vector<WideString> names{u"Pictures", u"Archive.zip", u"Notes.txt", u"Picture.png", u"Setup.exe"};
    const int done = RunSteps(
        {[&](TdBrowser& D) {
           if (!D.Idle() || Names(D) != names) return false;
           for (int i = 0; i < D.Model().Count(); ++i)
             if (D.Model().Entry(i).Data->Columns.Count() < 4) return false;
           return true;
         },
         [&](TdBrowser& D) {
           EXPECT_EQ(D.Width(), c.Width);
           EXPECT_EQ(D.Height(), c.Height);
           EXPECT_FALSE(D.nbPreview->Visible());
           EXPECT_FALSE(D.Splitter->Visible());
           EXPECT_EQ(D.lvFiles->Left() + D.lvFiles->Width(), D.ClientWidth()) << "the list reaches the right edge";
           const HWND list = D.lvFiles->Handle();
           auto textWidth = [list](const WideString& Text) {
             return static_cast<int>(
                 SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(Text.c_str())));
           };
           int total = 0;
           for (int col = 0; col < 5; ++col) {
             const int width = D.lvFiles->Columns(col)->Width();
             total += width;
             std::vector<WideString> texts{D.lvFiles->Columns(col)->Caption()};
             for (int i = 0; i < D.Model().Count(); ++i) {
               const TBrowserEntry& e = D.Model().Entry(i);
               texts.push_back(col == 0 ? e.Name : e.Data->Columns.Strings(col - 1));
             }
             for (const WideString& text : texts)
               EXPECT_GE(width, textWidth(text) + 12 + (col == 0 ? GetSystemMetrics(SM_CXSMICON) : 0))
                   << "column " << col << ": " << WideToUtf8(text);
           }
           RECT client{};
           GetClientRect(list, &client);
           EXPECT_LE(total, client.right);
           EXPECT_FALSE(GetWindowLongPtrW(list, GWL_STYLE) & WS_HSCROLL) << "the list scrolls sideways";
           EXPECT_EQ(textfit::CutTexts(D), std::vector<std::string>());
           D.Update();
           SaveShot(D.Handle(), (String("browser_files_") + c.Code).c_str());
           D.SelectEntry(3);
           return true;
         },
         [icons](TdBrowser& D) { return D.nbPreview->Visible() && D.nbPreview->PageIndex() == icons->PreviewPage; },
         [&](TdBrowser& D) {
           EXPECT_TRUE(D.Splitter->Visible());
           EXPECT_LT(D.Splitter->Left(), D.nbPreview->Left()) << "the splitter lies left of the strip";
           D.Update();
           SaveShot(D.Handle(), (String("browser_picture_") + c.Code).c_str());
           return true;
         },
         Press(-1, VK_ESCAPE)},
        [&] { Browser->Execute(obmOpen, kPreviewIcons, false, Dir.file("Files\\"), -1); });
    EXPECT_EQ(done, 5);
  }
  DoneLanguages(false);
  EXPECT_TRUE(App.Errors.empty());
}
