// The browser's places pane on a test folder: the icon library's place and a
// favourite listed and opened by a click, favourites reaching the settings
// file, the pane's width kept for the next use; and a picture of it.
#include <gtest/gtest.h>

#include "platform/winapi_win.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "kem3/framework/kembrowser_model_execute.h"
#include "kem3/framework/kembrowser_places.h"
#include "kem3/framework/kembrowser_win.h"
#include "kem3/framework/kemexe.h"
#include "launcher/window_shot_win.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/menus_win.h"
#include "platform/stringlist.h"
#include "platform/unicode_convert.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"

namespace {

using namespace browser_steps;

constexpr int kRow = 22;  // the pane's row height

class BrowserPlacesWin : public testing::Test {
 protected:
  BrowserPlacesWin() {
    for (const char* folder : {"Icons", "Files/Work"}) std::filesystem::create_directories(Dir.path() / folder);
    std::ofstream(Dir.path() / "Icons" / "set.icl") << "x";
    std::ofstream(Dir.path() / "Files" / "Work" / "plan.txt") << "x";
    Root = BrowserWithDelimiter(Dir.file(""));
    std::replace(Root.begin(), Root.end(), '/', '\\');
    SetProgramFileName(Root + "browser.exe");
    // As the launcher keeps it: relative to the program's folder.
    BrowserNamedPlaces().Clear();
    SetBrowserIconsPlace(BrowserNamedPlaces(), "Icons");
    Dialog = NewForm<TdBrowser>(nullptr);
  }
  ~BrowserPlacesWin() override {
    Dialog->Free();
    WaitForRetiredBrowserWorkers();
    BrowserNamedPlaces().Clear();
    FreeIniFile();
    SetProgramFileName("");
  }

  int Run(const String& Initial, std::vector<TSteps::TStep> Steps) {
    return RunSteps(std::move(Steps), [&] { Dialog->Execute(brmOpen, -1, false, Initial, -1); });
  }
  String Settings() const { return ReadFileBytes(Root + "browser.ini"); }
  static TWinControl* Pane(TdBrowser& D) { return dynamic_cast<TWinControl*>(D.FindComponent("pPlaces")); }
  static std::vector<WideString> MenuCaptions(TdBrowser& D) {
    std::vector<WideString> captions;
    TMenuItem* items = D.FavouritesMenu()->Items();
    for (int i = 0; i < items->Count(); ++i) captions.push_back(items->Items(i)->Caption());
    return captions;
  }
  // A click on the pane's row, then the folder it opened, listed.
  static TSteps::TStep Click(int Row) {
    return [Row](TdBrowser& D) {
      const LPARAM at = MAKELPARAM(10, Row * kRow + kRow / 2);
      SendMessageW(Pane(D)->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
      SendMessageW(Pane(D)->Handle(), WM_LBUTTONUP, 0, at);
      return true;
    };
  }
  static TSteps::TStep Cancel() {
    return [](TdBrowser& D) {
      D.SetModalResult(mrCancel);
      return true;
    };
  }

  TAppScope App;
  TempDir Dir;
  String Root;
  TdBrowser* Dialog = nullptr;
};

}  // namespace

TEST_F(BrowserPlacesWin, ListsOpensAndKeepsFavouritesAndItsWidth) {
  const String work = Root + "Files\\Work";
  const std::vector<TSteps::TStep> steps = {
      Listed({u"plan.txt"}),
      [&](TdBrowser& D) {
        D.AddFavourite();
        D.AddFavourite();  // once is enough
        EXPECT_NE(Settings().find(work + "\\"), std::string::npos) << Settings();
        EXPECT_EQ(MenuCaptions(D), (std::vector<WideString>{u"Icons", Utf8ToWide(work)}));
        D.ShowFolder(Root + "Files", "");
        return true;
      },
      // Row 0 is the icon library's place; row 1 heads the favourites.
      Listed({u"Work"}), Click(0), Listed({u"set.icl"}),
      [this](TdBrowser& D) {
        EXPECT_EQ(D.Folder(), Root + "Icons\\");
        Pane(D)->SetWidth(210);
        RedrawWindow(D.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SaveShot(D.Handle(), "browser_places");
        return true;
      },
      Click(2), Listed({u"plan.txt"}), Cancel()};
  EXPECT_EQ(Run(work, steps), static_cast<int>(steps.size()));
  EXPECT_EQ(Dialog->Folder(), work + "\\");

  // A new dialog: the width it was left with, the favourite until removed.
  Dialog->Free();
  Dialog = NewForm<TdBrowser>(nullptr);
  int width = 0;
  EXPECT_EQ(Run(work, {Listed({u"plan.txt"}),
                       [&](TdBrowser& D) {
                         width = Pane(D)->Width();
                         D.RemoveFavourite();
                         return true;
                       },
                       Cancel()}),
            3);
  EXPECT_EQ(width, 210);
  EXPECT_NE(Settings().find("FAVList="), std::string::npos);
  EXPECT_EQ(Settings().find(work), std::string::npos) << Settings();
  EXPECT_EQ(MenuCaptions(*Dialog), std::vector<WideString>{u"Icons"});
}
