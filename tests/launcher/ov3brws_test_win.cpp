// The launcher's handlers at their indexes, and the icons handler on a preview
// notebook as the browser holds one: what has pictures shows them on the
// handler's page; what has none or cannot be read shows page 0, no error.
#include "launcher/ov3brws_win.h"

#include <gtest/gtest.h>

#include "kem3/browser/kembrwprev_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kemplist_win.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"
#include "tools/common/iconwriter.h"
#include "window_shot_win.h"

namespace {

struct TTestHost : TBrowserHost {
  int Mode() const override { return 0; }
  void ShowPreviewPage(int Index) override { Pages->Show(Index); }
  TBrowserPreviewPages* Pages = nullptr;
};

}  // namespace

TEST(OvBrwsWin, TheIconsHandlerPreviewsWhatItCanRead) {
  ClearBrowserPreviews();
  RegisterLauncherPreviews();
  auto& icons = dynamic_cast<TBPIcons&>(*GetBrowserPreview(kPreviewIcons));
  TAppScope app;
  TempDir dir;
  WriteFileAtomic(dir.file("Folder"), iconwriter::IcnsFamily({{"icl8", std::string(1024, '\xE3')}}));
  WriteFileAtomic(dir.file("notes.txt"), "no pictures in here");
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);

  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(100, 100, 420, 300);
  auto* notebook = new TKemNotebook(form);
  notebook->SetParent(form);
  notebook->SetAlign(alClient);
  TBrowserPreviewPages pages(*notebook);
  TTestHost host;
  host.Pages = &pages;
  icons.Browser = &host;
  pages.Prepare(icons);
  pages.Prepare(icons);  // the preview is made once
  ASSERT_EQ(notebook->PageCount() + icons.PreviewPage, 3);
  form->Show();
  const struct {
    String File;
    int Page, Count;  // -1: many
  } cases[] = {{dir.file("Folder"), 1, 1},
               {dir.file("notes.txt"), 0, 0},
               {dir.file("gone.icl"), 0, 0},
               {WideToUtf8(reinterpret_cast<const char16_t*>(system)) + "\\shell32.dll", 1, -1}};
  for (const auto& c : cases) {
    icons.ShowPreview(c.File);
    EXPECT_EQ(pages.Shown(), c.Page) << c.File;
    EXPECT_TRUE(c.Count < 0 ? icons.List()->Count() > 10 : icons.List()->Count() == c.Count) << c.File;
  }
  Application->ProcessMessages();
  EXPECT_TRUE(app.Errors.empty());
  SaveShot(form->Handle(), "browser_icons_preview");
  icons.ClearPreview();
  EXPECT_EQ(pages.Shown(), 0);
  EXPECT_EQ(icons.List()->Count(), 0);
  // The browser's notebook goes first; the handler lives on in the registry.
  form->Free();
  EXPECT_EQ(icons.List(), nullptr);
  ClearBrowserPreviews();
}
