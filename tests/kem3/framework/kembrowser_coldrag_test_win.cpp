// The browser list's column drags under the mouse-area hook, by crafted
// header notifications: the area covers the list while a column moves, a
// drop outside puts it back, and the files' order lasts to the next use.
#include <gtest/gtest.h>

#include "platform/winapi_win.h"

#include <commctrl.h>

#include <filesystem>
#include <fstream>

#include "kem3/controls/kemlview_win.h"
#include "kem3/framework/kembrowser_model_execute.h"
#include "kem3/framework/kembrowser_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemhi_win.h"
#include "launcher/window_shot_win.h"
#include "platform/app_scope_win.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"

namespace {

using namespace browser_steps;

// Sends a header's drag notification to the list; what the list answers.
LRESULT HeaderDrag(TdBrowser& D, UINT Code, int Column, int Position) {
  HDITEMW item{};
  item.mask = HDI_ORDER;
  item.iOrder = Position;
  NMHEADERW n{};
  n.hdr.hwndFrom = D.lvFiles->HeaderHandle();
  n.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(n.hdr.hwndFrom));
  n.hdr.code = Code;
  n.iItem = Column;
  n.iButton = 0;
  n.pitem = &item;
  return SendMessageW(D.lvFiles->Handle(), WM_NOTIFY, n.hdr.idFrom, reinterpret_cast<LPARAM>(&n));
}

RECT ListArea(TdBrowser& D) {
  RECT r{};
  GetWindowRect(D.lvFiles->Handle(), &r);
  return {r.left, r.top, r.right - 1, r.bottom - 1};
}

bool operator==(const RECT& A, const RECT& B) {
  return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

// A picture of the dialog a few beats later, when the screen shows what it painted.
TSteps::TStep Shot(const char* Name) {
  return [Name, beats = 0](TdBrowser& D) mutable {
    if (++beats < 4) return false;
    SaveShot(D.Handle(), Name);
    return true;
  };
}

class BrowserColumnDragWin : public testing::Test {
 protected:
  BrowserColumnDragWin() {
    std::filesystem::create_directory(Dir.path() / "Files");
    for (const char* name : {"Files/a.txt", "Files/b.txt"}) std::ofstream(Dir.path() / name) << "x";
    BindHookLibrary();  // kem3.dll beside the tests
    SetProgramFileName(Dir.file("browser.exe"));
  }
  ~BrowserColumnDragWin() override {
    FreeHookLibrary();
    WaitForRetiredBrowserWorkers();
    FreeIniFile();
    SetProgramFileName("");
  }
  // One use of a fresh dialog (the kept state goes through the settings file).
  void Use(std::vector<TSteps::TStep> Steps) {
    TdBrowser* dialog = NewForm<TdBrowser>(nullptr);
    Steps.insert(Steps.begin(), Listed({u"a.txt", u"b.txt"}));
    Steps.push_back([](TdBrowser& D) {
      D.SetModalResult(mrCancel);
      return true;
    });
    const size_t count = Steps.size();
    EXPECT_EQ(RunSteps(std::move(Steps), [&] { dialog->Execute(brmOpen, -1, false, Dir.file("Files\\"), -1); }),
              static_cast<int>(count));
    dialog->Free();
  }

  TAppScope App;
  TempDir Dir;
};

}  // namespace

TEST_F(BrowserColumnDragWin, DropsInsideMoveAndLastDropsOutsideGoBack) {
  ASSERT_TRUE(HookLibraryLoaded());
  Use({Shot("browser_details"), [](TdBrowser& D) {
         const HWND list = D.lvFiles->Handle();
         // The header painted itself (it stayed black once).
         RECT header{};
         GetWindowRect(D.lvFiles->HeaderHandle(), &header);
         HDC screen = GetDC(nullptr);
         EXPECT_NE(GetPixel(screen, header.left + 3, header.top + 3), RGB(0, 0, 0));
         ReleaseDC(nullptr, screen);
         struct {
           const char* What;
           bool PointerOutside;
           int Report;  // the hook's report of the release: -1 none, else its area (-1 outside all)
           LRESULT Refused;
         } drops[] = {
             {"pointer inside", false, -2, FALSE},
             {"reported inside, pointer outside", true, 0, FALSE},
             {"pointer outside", true, -2, TRUE},
             {"reported outside", false, -1, TRUE},
         };
         for (const auto& drop : drops) {
           EXPECT_EQ(HeaderDrag(D, HDN_BEGINDRAG, 3, 3), 0) << drop.What;
           const RECT area = ListArea(D);
           EXPECT_TRUE(mhGetArea(list, 0, 0) == area) << drop.What;
           SetCursorPos(drop.PointerOutside ? area.right + 5 : area.left + 5, area.top + 5);
           if (drop.Report > -2) PostMessageW(list, WM_MOUSEHOOK, hekLeftUp, drop.Report);
           // Inside: the date column goes first (kept, as the header will show it).
           EXPECT_EQ(HeaderDrag(D, HDN_ENDDRAG, 3, drop.Refused ? 2 : 0), drop.Refused) << drop.What;
           // The hook let go of the list: its section is gone, and no report is left over.
           EXPECT_TRUE(mhGetArea(list, 0, 0) == (RECT{0, 0, 0, 0})) << drop.What;
           MSG msg;
           EXPECT_FALSE(PeekMessageW(&msg, list, WM_MOUSEHOOK, WM_MOUSEHOOK, PM_NOREMOVE)) << drop.What;
         }
         return true;
       }});
  Use({[](TdBrowser& D) {
         EXPECT_EQ(D.lvFiles->GetColumnOrder(), (std::vector<int>{3, 0, 1, 2, 4}));
         // The drives have their own columns in their own order.
         D.ShowDrives();
         return true;
       },
       [](TdBrowser& D) {
         if (!D.Idle() || D.Model().Count() == 0) return false;
         EXPECT_EQ(D.lvFiles->GetColumnOrder(), (std::vector<int>{0, 1, 2, 3, 4}));
         return true;
       },
       Shot("browser_drives")});
}
