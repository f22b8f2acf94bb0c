// The file browser's network listing while it shows modally: Wine's own
// network, a fake one with servers and shares, and a network that hangs.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemsysinfo.h"
#include "kembrwork_fakes.h"
#include "platform/app_scope_win.h"
#include "platform/menus_win.h"
#include "platform/unicode_convert.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"

namespace {

using namespace browser_steps;
using Clock = std::chrono::steady_clock;

class BrowserNetworkWin : public testing::Test {
 protected:
  BrowserNetworkWin() {
    SetProgramFileName(Dir.file("browser.exe"));
    Dialog = NewForm<TdBrowser>(nullptr);
    Previous = SetBrowserMessage([this](const WideString& Caption, const WideString&) { Outcome = Caption; });
  }
  ~BrowserNetworkWin() override {
    SetBrowserMessage(Previous);
    if (Dialog) Dialog->Free();
    WaitForRetiredBrowserWorkers();
    FreeIniFile();
    SetProgramFileName("");
  }
  void Run(std::vector<TSteps::TStep> Steps) {
    const size_t count = Steps.size();
    const int done = RunSteps(std::move(Steps), [&] { Dialog->Execute(brmOpen, -1, false, "", -1); });
    EXPECT_EQ(done, static_cast<int>(count)) << "a negative count: that step timed out";
  }
  static TSteps::TStep Do(std::function<void(TdBrowser&)> Action) {
    return [Action](TdBrowser& D) { return Action(D), true; };
  }

  TAppScope App;
  TempDir Dir;
  TdBrowser* Dialog = nullptr;
  TBrowserMessage Previous;
  WideString Outcome;
};

TNetNode Node(const WideString& Name, TNetKind Kind) { return {Name, {}, {}, Kind, false, Kind == nkShare}; }

}  // namespace

// Wine has no network of its own: the listing has only to end, and a server
// that is not there has to say so.
TEST_F(BrowserNetworkWin, WinesNetworkEndsAndAMissingServerSaysSo) {
  size_t servers = 0, workgroups = 0;
  Run({[](TdBrowser& D) { return D.Idle(); }, Do([](TdBrowser& D) { D.ShowNetwork(); }),
       [&](TdBrowser& D) {
         if (!D.Idle()) return false;
         EXPECT_EQ(D.ePath->Text(), u"Network");
         servers = D.Model().Count();
         for (int i = 0; i < D.WorkgroupMenu()->Items()->Count(); ++i)
           workgroups += D.WorkgroupMenu()->Items()->Items(i)->Enabled();
         D.ShowFolder("\\\\NOSUCHSERVER", "");
         return true;
       },
       [&](TdBrowser& D) { return D.Idle() && !Outcome.empty(); }, Do([](TdBrowser& D) { D.GoUp(); }),
       [](TdBrowser& D) { return D.Idle() && D.Folder().empty(); }, Do([](TdBrowser& D) { D.bCancel->Click(); })});
  std::cout << "Wine's network: " << servers << " servers, " << workgroups
            << " workgroups; a missing server: " << WideToUtf8(Outcome) << "\n";
  EXPECT_EQ(Outcome, u"No connection");
}

TEST_F(BrowserNetworkWin, ListsCheckedWorkgroupsServersAndSharesAndGoesUp) {
  const WideString own = Utf8ToWide(GetWorkgroupName());  // checked until the user chooses
  TFakeBrowserSystem net;
  net.network[u""] = {Node(own, nkDomain), Node(u"OFFICE", nkDomain)};
  net.network[own] = {Node(u"\\\\SRV", nkServer)};
  net.network[u"OFFICE"] = {Node(u"\\\\EMPTY", nkServer)};
  net.shares[u"\\\\SRV"] = {{Node(u"\\\\SRV\\Data", nkShare), Node(u"\\\\SRV\\Pub", nkShare)}};
  Dialog->SetNetworkSystem(&net);
  Run({[](TdBrowser& D) { return D.Idle(); }, Do([](TdBrowser& D) { D.ShowNetwork(); }),
       // The own workgroup only, until OFFICE is checked as well.
       Listed({u"SRV"}), Do([&](TdBrowser& D) {
         TMenuItem& menu = *D.WorkgroupMenu()->Items();
         EXPECT_TRUE(menu.Items(0)->Checked() && !menu.Items(1)->Checked());
         menu.Items(1)->Click();
       }),
       Listed({u"EMPTY", u"SRV"}), Press(1, VK_RETURN), Listed({u"Data", u"Pub"}), Do([](TdBrowser& D) {
         EXPECT_EQ(D.Folder(), "\\\\SRV\\");
         EXPECT_EQ(D.ePath->Text(), u"Shares of SRV");
         D.GoUp();
       }),
       Listed({u"EMPTY", u"SRV"}), [](TdBrowser& D) { return D.Model().SelectedIndex() == 1; },
       // A server without shares says so, and stays shown.
       Press(0, VK_RETURN), [this](TdBrowser& D) { return D.Idle() && Outcome == u"No shares"; },
       Do([](TdBrowser& D) { D.ShowFolder("\\\\SRV\\Data\\", ""); }), Do([](TdBrowser& D) { D.GoUp(); }),
       Listed({u"Data", u"Pub"}), [](TdBrowser& D) { return D.Model().SelectedIndex() == 0; },
       Do([](TdBrowser& D) { D.bCancel->Click(); })});
  EXPECT_EQ(Names(*Dialog), (std::vector<WideString>{u"Data", u"Pub"}));
}

// A worker stuck in the network never holds up Cancel, closing or freeing.
TEST_F(BrowserNetworkWin, CancelAndClosingAnswerWhileTheNetworkHangs) {
  TFakeBrowserSystem servers, shares;
  servers.gate.at = "net";
  shares.gate.at = "connect";
  // The close is timed, not the hiding (up to 2 s under Wine without a window manager).
  Clock::time_point asked, closed;
  Dialog->OnClose = [&](TObject*, TCloseAction&) { closed = Clock::now(); };
  Dialog->SetNetworkSystem(&servers);
  Run({Do([](TdBrowser& D) { D.ShowNetwork(); }), [&](TdBrowser& D) {
         if (!servers.gate.Reached()) return false;
         asked = Clock::now();
         D.bCancel->Click();
         return true;
       }});
  EXPECT_LT(closed - asked, std::chrono::milliseconds(500));
  Dialog->SetNetworkSystem(&shares);
  Run({Do([](TdBrowser& D) { D.ShowFolder("\\\\DEAD", ""); }), [&](TdBrowser& D) {
         if (!shares.gate.Reached()) return false;
         asked = Clock::now();
         PostMessageW(D.Handle(), WM_CLOSE, 0, 0);
         return true;
       }});
  EXPECT_LT(closed - asked, std::chrono::milliseconds(500));
  asked = Clock::now();
  Dialog->Free();
  Dialog = nullptr;
  EXPECT_LT(Clock::now() - asked, std::chrono::milliseconds(500));
  EXPECT_GE(ReapRetiredBrowserWorkers(), 2) << "both still hang";
  servers.gate.Open();
  shares.gate.Open();
  WaitForRetiredBrowserWorkers();  // before the systems they call go
}
