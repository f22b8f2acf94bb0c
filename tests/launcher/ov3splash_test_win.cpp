// The splash of the start: up before the bar is made, following its steps,
// gone when the bar first shows, which makes the file browser.
#include <gtest/gtest.h>

#include "kem3/browser/kembrowser_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/dialogs/kemabout_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlantext.h"
#include "kem3/unicode/ucstdctrls_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3browse_win.h"
#include "launcher/ov3startup_win.h"
#include "platform/app_scope_win.h"
#include "platform/imglist.h"
#include "platform/toolbar_win.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

TEST(StartSplashWin, ShowsWhileTheBarIsMadeAndGoesAtItsFirstShow) {
  TempDir dir;
  // kem3.dll is found beside the program: loaded before the program moves.
  LoadResourceLibrary();
  SetProgramFileName(dir.file("ov3.exe"));
  cfgInit();
  // Each status line shows its index.
  SetLanguageTextHooks({[](int Index, const WideString& Default) {
                          return Index >= 265 && Index <= 267 ? u"#" + Utf8ToWide(std::to_string(Index)) : Default;
                        },
                        [](const String&) { return -1; }});
  TOvFileBrowser* files = nullptr;
  {
    TAppScope app;
    ShowStartSplash();
    ASSERT_NE(SplashForm(), nullptr);
    EXPECT_EQ(SplashForm()->lTitle->Caption(), u"3.3.9");
    EXPECT_EQ(SplashForm()->lStatus->Caption(), u"#265");
    auto* bar = NewForm<TfMain>(Application);
    ASSERT_NE(SplashForm(), nullptr) << "the bar is made under the splash";
    EXPECT_TRUE(IsWindowVisible(SplashForm()->Handle()));
    EXPECT_EQ(SplashForm()->lStatus->Caption(), u"#267");
    bar->Show();
    EXPECT_EQ(SplashForm(), nullptr) << "the first show frees it";
    // It also makes the one file browser, drawing its toolbar with the bar's pictures.
    files = dynamic_cast<TOvFileBrowser*>(OvBrowser());
    TdBrowser* dialog = files ? files->Dialog() : nullptr;
    bool handed = false;
    for (int i = 0; dialog && i < dialog->pTop->ControlCount(); ++i)
      if (auto* tools = dynamic_cast<TToolBar*>(dialog->pTop->Controls(i)))
        handed = tools->Images() == bar->ilToolbar && bar->ilToolbar->Count() == 10;
    EXPECT_TRUE(handed);
    bar->Free();
  }
  ASSERT_NE(files, nullptr);
  EXPECT_EQ(files->Dialog(), nullptr) << "gone with the application";
  SetOvBrowser(nullptr);
  WaitForRetiredBrowserWorkers();
  SetLanguageTextHooks({});
  cfgDone();
  SetProgramFileName("");
}

}  // namespace
