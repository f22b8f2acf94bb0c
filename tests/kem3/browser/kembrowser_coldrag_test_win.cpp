// Column drags under the mouse-area hook, by crafted header notifications.
#include <gtest/gtest.h>

#include "platform/winapi_win.h"

#include <commctrl.h>

#include <fstream>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/controls/kemlview_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemlan.h"
#include "launcher/window_shot_win.h"
#include "platform/app_scope_win.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"

namespace {

using namespace browser_steps;
// A header's drag notification as the list gets it; what the list answers.
LRESULT HeaderDrag(TdBrowser& D, UINT Code, int Column, int Position) {
  HDITEMW item{};
  item.mask = HDI_ORDER, item.iOrder = Position;
  NMHEADERW n{};
  n.hdr = {D.lvFiles->HeaderHandle(), 0, Code}, n.iItem = Column, n.pitem = &item;
  return SendMessageW(D.lvFiles->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

// A picture a few beats later, when the screen shows what was painted.
TSteps::TStep Shot(const char* Name) {
  return [Name, beats = 0](TdBrowser& D) mutable { return ++beats > 3 && (SaveShot(D.Handle(), Name), true); };
}

}  // namespace

TEST(BrowserColumnDragWin, DropsInsideMoveAndLastDropsOutsideGoBack) {
  TAppScope app;
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "Files");
  std::ofstream(dir.path() / "Files" / "a.txt") << "x";
  BindHookLibrary();                            // kem3.dll beside the tests
  SetProgramFileName(GetExeDir() + "ov3.exe");  // the program's languages beside the tests
  InitLanguages();
  SetProgramFileName(dir.file("browser.exe"));  // the kept state's settings file
  const auto use = [&](std::vector<TSteps::TStep> Steps) {
    TdBrowser* dialog = NewForm<TdBrowser>(nullptr);
    Steps.insert(Steps.begin(), Listed({u"a.txt"}));
    Steps.push_back([](TdBrowser& D) { return D.SetModalResult(mrCancel), true; });
    const int count = static_cast<int>(Steps.size());
    EXPECT_EQ(RunSteps(std::move(Steps), [&] { dialog->Execute(brmOpen, -1, false, dir.file("Files\\"), -1); }), count);
    dialog->Free();
  };
  ASSERT_TRUE(HookLibraryLoaded());
  use({Shot("browser_details"), [](TdBrowser& D) {
         // The header painted itself (read as a header item, its custom draw once kept it black).
         RECT r{};
         GetWindowRect(D.lvFiles->HeaderHandle(), &r);
         HDC screen = GetDC(nullptr);
         EXPECT_NE(GetPixel(screen, r.left + 3, r.top + 3), RGB(0, 0, 0));
         ReleaseDC(nullptr, screen);
         const HWND list = D.lvFiles->Handle();
         GetWindowRect(list, &r);
         const RECT area{r.left, r.top, r.right - 1, r.bottom - 1};
         struct {
           bool PointerOutside;
           int Report;  // the hook's report of the release: its area, -1 outside all, -2 none
           LRESULT Refused;
         } drops[] = {{false, -2, FALSE}, {true, 0, FALSE}, {true, -2, TRUE}, {false, -1, TRUE}};
         for (const auto& drop : drops) {
           EXPECT_EQ(HeaderDrag(D, HDN_BEGINDRAG, 3, 3), 0);
           RECT held = mhGetArea(list, 0, 0);
           EXPECT_TRUE(EqualRect(&held, &area));
           SetCursorPos(drop.PointerOutside ? area.right + 5 : area.left + 5, area.top + 5);
           if (drop.Report > -2) PostMessageW(list, WM_MOUSEHOOK, hekLeftUp, drop.Report);
           // Inside: the date column goes first.
           EXPECT_EQ(HeaderDrag(D, HDN_ENDDRAG, 3, drop.Refused ? 2 : 0), drop.Refused) << drop.Report;
           // The hook let go: the list's area is empty, whether its section
           // is gone (a new one reads zeros) or another process that loaded
           // the hook still maps it (the area parked).
           held = mhGetArea(list, 0, 0);
           EXPECT_TRUE(IsRectEmpty(&held)) << held.left << "," << held.top << "," << held.right << "," << held.bottom;
         }
         return true;
       }});
  // The next use keeps the files' order; the drives show theirs.
  use({[](TdBrowser& D) {
         EXPECT_EQ(D.lvFiles->GetColumnOrder(), (std::vector<int>{3, 0, 1, 2, 4}));
         D.ShowDrives();
         return true;
       },
       [](TdBrowser& D) {
         if (!D.Idle() || D.Model().Count() == 0) return false;
         EXPECT_EQ(D.lvFiles->GetColumnOrder(), (std::vector<int>{0, 1, 2, 3, 4}));
         return true;
       },
       Shot("browser_drives")});
  FreeHookLibrary();
  DoneLanguages(false);
  WaitForRetiredBrowserWorkers();
  FreeIniFile();
  SetProgramFileName("");
}
