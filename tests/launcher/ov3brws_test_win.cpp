// The launcher's handlers at their fixed indexes, and the icons handler on a
// preview notebook as the browser holds one: a library, an icon file and an
// extensionless Mac icon file show their pictures on the handler's page;
// what holds none, or cannot be read, shows the empty page without an error.
#include "launcher/ov3brws_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kembrwprev_win.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/forms_win.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"
#include "tools/common/iconwriter.h"
#include "window_shot_win.h"

namespace {

// The browser's part a handler reaches: its mode and the notebook's pages.
class TTestHost : public TBrowserHost {
 public:
  explicit TTestHost(TBrowserPreviewPages& Pages) : FPages(Pages) {}
  int Mode() const override { return 0; }
  void ShowPreviewPage(int Index) override { FPages.Show(Index); }

 private:
  TBrowserPreviewPages& FPages;
};

String SystemFile(const char* Name) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  return WideToUtf8(reinterpret_cast<const char16_t*>(system)) + "\\" + Name;
}

}  // namespace

TEST(OvBrwsWin, TheHandlersAtTheirIndexes) {
  ClearBrowserPreviews();
  RegisterLauncherPreviews();
  RegisterLauncherPreviews();  // once only
  EXPECT_EQ(BrowserPreviewCount(), 3);
  EXPECT_NE(dynamic_cast<TBPBlank*>(GetBrowserPreview(kPreviewBlank)), nullptr);
  EXPECT_NE(dynamic_cast<TBPPrograms*>(GetBrowserPreview(kPreviewPrograms)), nullptr);
  EXPECT_NE(dynamic_cast<TBPIcons*>(GetBrowserPreview(kPreviewIcons)), nullptr);
  ClearBrowserPreviews();
}

TEST(OvBrwsWin, TheIconsHandlerPreviewsWhatItCanRead) {
  TAppScope app;
  TempDir dir;
  using namespace iconwriter;
  WriteFileAtomic(dir.file("two.ico"), IcoFile({SolidIcoEntry(32, 0xFF2060C0u), SolidIcoEntry(16, 0xFFC04020u)}));
  WriteFileAtomic(dir.file("Folder"), IcnsFamily({{"icl8", std::string(1024, '\xE3')}}));
  WriteFileAtomic(dir.file("notes.txt"), "no pictures in here");
  WriteFileAtomic(dir.file("broken.png"), "\x89PNG\r\n\x1a\n cut short");

  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(100, 100, 420, 300);
  auto* notebook = new TKemNotebook(form);
  notebook->SetParent(form);
  notebook->SetAlign(alClient);
  TBrowserPreviewPages pages(*notebook);
  TTestHost host(pages);
  TBPIcons icons;
  icons.Browser = &host;
  pages.Prepare(icons);
  pages.Prepare(icons);  // the preview is made once
  ASSERT_EQ(notebook->PageCount(), 2);
  ASSERT_EQ(icons.PreviewPage, 1);
  ASSERT_NE(icons.List(), nullptr);
  form->Show();

  // Count -1: many (the system's library).
  const struct {
    String File;
    int Page;
    int Count;
  } cases[] = {
      {dir.file("two.ico"), 1, 1},  // one icon, both sizes in its one cell
      {dir.file("Folder"), 1, 1},      {dir.file("notes.txt"), 0, 0},      {dir.file("broken.png"), 0, 0},
      {dir.file("missing.icl"), 0, 0}, {SystemFile("shell32.dll"), 1, -1},
  };
  for (const auto& c : cases) {
    icons.ShowPreview(c.File);
    EXPECT_EQ(pages.Shown(), c.Page) << c.File;
    if (c.Count < 0) {
      EXPECT_GT(icons.List()->Count(), 10) << c.File;
    } else {
      EXPECT_EQ(icons.List()->Count(), c.Count) << c.File;
    }
  }
  Application->ProcessMessages();
  EXPECT_TRUE(app.Errors.empty());
  SaveShot(form->Handle(), "browser_icons_preview");

  icons.ClearPreview();
  EXPECT_EQ(pages.Shown(), 0);
  EXPECT_EQ(icons.List()->Count(), 0);

  // The browser's notebook goes before the handler, which lives on in the registry.
  form->Free();
  EXPECT_EQ(icons.List(), nullptr);
}
