// The browser's toolbar on a test folder: its buttons with their pictures from
// kem3.dll, clicks that do what they say, what is enabled when, and the main
// window's pictures taking the place of the dialog's own.
#include <gtest/gtest.h>

#include "platform/winapi_win.h"

#include <filesystem>
#include <fstream>
#include <tuple>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/browser/kembrowser_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/framework/kemactinfo.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemtoolbar.h"
#include "launcher/window_shot_win.h"
#include "platform/app_scope_win.h"
#include "platform/imglist.h"
#include "platform/sysutils.h"
#include "platform/toolbar_win.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"

namespace {

class BrowserToolsWin : public testing::Test {
 protected:
  BrowserToolsWin() {
    // Only the dialog's own descriptions: their pictures' places are known.
    FreeActionInfos();
    std::filesystem::create_directory(Dir.path() / "Sub");
    std::ofstream(Dir.path() / "Sub" / "inner.txt") << "x";
    // kem3.dll is found beside the program: loaded before the program moves.
    LoadResourceLibrary();
    SetProgramFileName(Dir.file("browser.exe"));
    Dialog = NewForm<TdBrowser>(nullptr);
    for (int i = 0; i < Dialog->pTop->ControlCount(); ++i)
      if (auto* bar = dynamic_cast<TToolBar*>(Dialog->pTop->Controls(i))) Bar = bar;
  }
  ~BrowserToolsWin() override {
    Dialog->Free();
    WaitForRetiredBrowserWorkers();
    FreeIniFile();
    SetProgramFileName("");
    FreeActionInfos();
  }
  TToolButton* Button(int Id) const {
    for (int i = 0; i < Bar->ButtonCount(); ++i)
      if (auto* action = dynamic_cast<TKemAction*>(Bar->Buttons(i)->Action()); action && action->Id() == Id)
        return Bar->Buttons(i);
    return nullptr;
  }
  // A press and release in the middle of the button's picture part.
  browser_steps::TSteps::TStep Click(int Id) {
    return [this, Id](TdBrowser&) {
      TToolButton* b = Button(Id);
      const int x = b->Left() + (b->Width() - (b->Style() == tbsDropDown ? TToolButton::kDropdownArrowWidth : 0)) / 2;
      const int y = b->Top() + b->Height() / 2;
      SendMouse(Bar->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON);
      SendMouse(Bar->Handle(), WM_LBUTTONUP, x, y);
      return true;
    };
  }
  static bool Enabled(TdBrowser& D, int Id) {
    D.UpdateActions();
    return D.FindAction(Id)->Enabled();
  }

  TAppScope App;
  TempDir Dir;
  TdBrowser* Dialog = nullptr;
  TToolBar* Bar = nullptr;
};

}  // namespace

TEST_F(BrowserToolsWin, ButtonsWithTheirPicturesDoWhatTheySay) {
  ASSERT_NE(Bar, nullptr);
  // Three groups of buttons; network and favourites drop down, 20 pixel pictures.
  const std::tuple<TToolButtonStyle, int> want[] = {{tbsButton, 100000}, {tbsButton, 100001},   {tbsButton, 100002},
                                                    {tbsSeparator, -1},  {tbsDropDown, 100003}, {tbsDropDown, 100004},
                                                    {tbsButton, 100005}, {tbsButton, 100006},   {tbsSeparator, -1},
                                                    {tbsButton, 100007}, {tbsButton, 100008},   {tbsButton, 100009}};
  ASSERT_EQ(Bar->ButtonCount(), 12);
  for (int i = 0; i < 12; ++i) {
    TToolButton* b = Bar->Buttons(i);
    auto* action = dynamic_cast<TKemAction*>(b->Action());
    EXPECT_EQ(std::make_tuple(b->Style(), action ? action->Id() : -1), want[i]) << i;
    if (action) {
      EXPECT_EQ(b->ImageIndex(), FindActionInfo(action->Id())->ImageIndex) << i;
    }
  }
  ASSERT_NE(Bar->Images(), nullptr);
  EXPECT_EQ(Bar->Images()->Count(), 10) << "every action's picture loads";
  EXPECT_EQ(Bar->Images()->Width(), 20);
  EXPECT_EQ(Dialog->FindAction(100000)->Hint(), u"Up|Shows the folder that holds this one");

  const String root = BrowserWithDelimiter(Dir.file(""));
  std::vector<browser_steps::TSteps::TStep> steps{
      browser_steps::Listed({u"inner.txt"}),
      [&](TdBrowser& D) {
        EXPECT_TRUE(Enabled(D, 100000));
        EXPECT_FALSE(Enabled(D, 100009)) << "no search runs";
        EXPECT_TRUE(Enabled(D, 100008));
        D.Update();
        SaveShot(D.Handle(), "browser_toolbar");
        // The up arrow's green in the middle of its picture, drawn from kem3.dll.
        TToolButton* up = Button(100000);
        HDC dc = GetDC(Bar->Handle());
        const COLORREF middle = GetPixel(dc, up->Left() + up->Width() / 2, up->Top() + up->Height() / 2);
        ReleaseDC(Bar->Handle(), dc);
        EXPECT_EQ(middle, RGB(0x3D, 0xA3, 0x4A));
        return true;
      },
      Click(100000),
      [&](TdBrowser& D) { return D.Idle() && D.Folder() == root; },
      Click(100002),
      [&](TdBrowser& D) { return D.Idle() && D.Folder().empty() && D.Model().Count() > 0; },
      [&](TdBrowser& D) {
        EXPECT_FALSE(Enabled(D, 100000)) << "nothing above the drives";
        EXPECT_FALSE(Enabled(D, 100005));
        D.SetModalResult(mrCancel);
        return true;
      }};
  const size_t count = steps.size();
  EXPECT_EQ(browser_steps::RunSteps(std::move(steps),
                                    [&] { Dialog->Execute(brmOpen, -1, false, root + "Sub\\inner.txt", -1); }),
            static_cast<int>(count));
}

TEST_F(BrowserToolsWin, TheMainWindowsPicturesReplaceTheDialogsOwn) {
  TImageList small(nullptr);
  LoadActionImages(small, clFuchsia, false);
  Dialog->SetToolImages(&small);
  EXPECT_EQ(Bar->Images(), &small);
  EXPECT_EQ(small.Width(), 16);
  // Pictures 16 wide: plain buttons 23, drop-down ones 37; the path follows the bar.
  EXPECT_EQ(Button(100000)->Width(), 23);
  EXPECT_EQ(Button(100003)->Width(), 37);
  EXPECT_EQ(Bar->Width(), 8 * 23 + 2 * 37 + 2 * 8);
  EXPECT_GT(Dialog->ePath->Left(), Bar->Left() + Bar->Width());
}

TEST(BrowserToolBitmapsWin, KemThreeCarriesEveryActionInTheFourCodes) {
  for (int id = BrowserToolGroup; id < BrowserToolGroup + 10; ++id) {
    for (const bool high : {true, false}) {
      for (const bool large : {true, false}) {
        TBitmap picture;
        EXPECT_NO_THROW(picture.LoadFromResourceName(LoadResourceLibrary(), ToolBitmapName(id, high, large)));
        EXPECT_EQ(picture.Width(), large ? 20 : 16) << ToolBitmapName(id, high, large);
        // The corners show the toolbar's face through the transparent colour.
        EXPECT_EQ(picture.Empty() ? clNone : picture.PixelColor(0, 0), clFuchsia) << ToolBitmapName(id, high, large);
      }
    }
  }
}
