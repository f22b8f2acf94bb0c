// The browser's places pane on a test folder: the icon library's place and a
// favourite listed and opened by a click, favourites reaching the settings
// file, and the pane's width kept for the next dialog.
#include <gtest/gtest.h>

#include "platform/winapi_win.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/browser/kembrowser_places.h"
#include "kem3/framework/kemexe.h"
#include "launcher/window_shot_win.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/menus_win.h"
#include "platform/unicode_convert.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"

namespace {

using namespace browser_steps;

TWinControl* Pane(TdBrowser& D) { return dynamic_cast<TWinControl*>(D.FindComponent("pPlaces")); }

std::vector<WideString> MenuCaptions(TdBrowser& D) {
  std::vector<WideString> captions;
  for (int i = 0; i < D.FavouritesMenu()->Items()->Count(); ++i)
    captions.push_back(D.FavouritesMenu()->Items()->Items(i)->Caption());
  return captions;
}

// A click on the pane's row (22 pixels high).
bool Click(TdBrowser& D, int Row) {
  const LPARAM at = MAKELPARAM(10, Row * 22 + 11);
  SendMessageW(Pane(D)->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(Pane(D)->Handle(), WM_LBUTTONUP, 0, at);
  return true;
}

}  // namespace

TEST(BrowserPlacesWin, ListsOpensAndKeepsFavouritesAndWidth) {
  TAppScope app;
  TempDir dir;
  for (const char* folder : {"Files/Work", "Icons"}) std::filesystem::create_directories(dir.path() / folder);
  std::ofstream(dir.path() / "Files" / "Work" / "plan.txt") << "x";
  std::ofstream(dir.path() / "Icons" / "set.icl") << "x";
  String root = BrowserWithDelimiter(dir.file(""));
  std::replace(root.begin(), root.end(), '/', '\\');
  const String work = root + "Files\\Work", settings = root + "browser.ini";
  SetProgramFileName(root + "browser.exe");
  BrowserNamedPlaces().Clear();
  SetBrowserIconsPlace(BrowserNamedPlaces(), "Icons");  // as the launcher keeps it: relative
  TdBrowser* dialog = NewForm<TdBrowser>(nullptr);
  const auto run = [&](std::vector<TSteps::TStep> Steps) {
    const int count = static_cast<int>(Steps.size());
    EXPECT_EQ(RunSteps(std::move(Steps), [&] { dialog->Execute(brmOpen, -1, false, work, -1); }), count);
  };
  const TSteps::TStep cancel = [](TdBrowser& D) { return D.SetModalResult(mrCancel), true; };

  run({Listed({u"plan.txt"}),
       [&](TdBrowser& D) {
         D.AddFavourite();
         EXPECT_NE(ReadFileBytes(settings).find(work + "\\"), std::string::npos);
         EXPECT_EQ(MenuCaptions(D), (std::vector<WideString>{u"Icons", Utf8ToWide(work)}));
         return Click(D, 0);  // the icon library's place
       },
       Listed({u"set.icl"}),
       [&](TdBrowser& D) {
         EXPECT_EQ(D.Folder(), root + "Icons\\");
         Pane(D)->SetWidth(210);
         RedrawWindow(D.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
         SaveShot(D.Handle(), "browser_places");
         return Click(D, 2);  // row 1 heads the favourites
       },
       Listed({u"plan.txt"}), cancel});

  dialog->Free();
  dialog = NewForm<TdBrowser>(nullptr);
  run({Listed({u"plan.txt"}),
       [&](TdBrowser& D) {
         EXPECT_EQ(Pane(D)->Width(), 210);
         D.RemoveFavourite();
         EXPECT_EQ(MenuCaptions(D), std::vector<WideString>{u"Icons"});
         return true;
       },
       cancel});
  EXPECT_EQ(ReadFileBytes(settings).find(work), std::string::npos);

  dialog->Free();
  WaitForRetiredBrowserWorkers();
  BrowserNamedPlaces().Clear();
  FreeIniFile();
  SetProgramFileName("");
}
