// The launcher's browse call served by the file browser dialog: the folder
// setting's chooser (mode 6) and the icons use with its preview.
#include "launcher/ov3browse_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kemnote_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "launcher/ov3brws_win.h"
#include "launcher/ov3cfg.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"
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
