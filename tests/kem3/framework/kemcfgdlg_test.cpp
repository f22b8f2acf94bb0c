// The preferences dialog's run without windows: how pages stack their items,
// the notebook pages a dialog needs, what the main form hears at OK, Apply and
// Cancel and in which order, and what is left of a run once it is over.
#include "kem3/framework/kemcfgdlg.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemcustompage.h"
#include "kem3/framework/kemexe.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

namespace {

using Log = std::vector<std::string>;

class TFakePage : public TKemCustomDlgPage {
 public:
  TFakePage(Log& L, int TopOffset, int Height) : FLog(L), FTopOffset(TopOffset), FHeight(Height) {}
  void CreateControls(TWinControl*, int Top) override { FLog.push_back("controls " + std::to_string(Top)); }
  int GetHeight() override { return FHeight; }
  int GetTopOffset() override { return FTopOffset; }
  void Close() override { FLog.push_back("close " + std::to_string(Param)); }
  void Apply() override {
    FLog.push_back("apply " + std::to_string(Param));
    if (Fails) throw std::runtime_error("apply failed");
  }
  void UpdateLanguage() override { FLog.push_back("language " + std::to_string(Param)); }
  bool Fails = false;

 private:
  Log& FLog;
  int FTopOffset, FHeight;
};

// Records every call; the selectors' choices and the skin switch are set by the test.
class TFakeHost : public TKemConfigDlgHost {
 public:
  Log L;
  int Language = -1, Skin = -1, Layout = -1;
  bool SkinLoads = true;

  void BuildPageFrame(TKemConfigDlgPage& Page) override { L.push_back("frame " + std::to_string(Page.NotebookIndex)); }
  int BuildPart(TKemConfigDlgPage&, const TKemConfigItemPart& Item, int Top) override {
    L.push_back("part " + std::to_string(Item.PageId) + " " + std::to_string(Top));
    return 50;
  }
  void BuildLanguageSelector(TKemConfigDlgPage&, const TKemConfigItemLan&, int Top) override {
    L.push_back("language " + std::to_string(Top));
  }
  void BuildSkinSelector(TKemConfigDlgPage&, const TKemConfigItemSkin&, int Top, int LayoutTop) override {
    L.push_back("skin " + std::to_string(Top) + " layouts " + std::to_string(LayoutTop));
  }
  void PlaceCustomPage(TKemConfigDlgPage&, TKemCustomDlgPage& Instance, int Top) override {
    Instance.CreateControls(nullptr, Top);
  }
  bool NotifyMainForm(int Id, const Variant& Value) override {
    L.push_back("notify " + std::to_string(Id) + " " + Value.AsString());
    return true;
  }
  void LockRedraw(bool Lock) override { L.push_back(Lock ? "lock" : "unlock"); }
  void ReadGeneratedRows() override { L.push_back("read rows"); }
  int ChosenLanguage() override { return Language; }
  int ChosenSkin() override { return Skin; }
  int ChosenLayout() override { return Layout; }
  void SelectLanguage(int Index) override { L.push_back("select language " + std::to_string(Index)); }
  bool SelectSkin(int S, int Layout) override {
    L.push_back("select skin " + std::to_string(S) + " " + std::to_string(Layout));
    return SkinLoads;
  }
  void RelabelPage(TKemConfigDlgPage& Page) override { L.push_back("relabel " + std::to_string(Page.NotebookIndex)); }
};

TKemCustomPageFactory FakePage(Log& L, int TopOffset, int Height) {
  return [&L, TopOffset, Height] { return std::make_unique<TFakePage>(L, TopOffset, Height); };
}

class CfgDlg : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramFileName(Dir.file("prog.exe"));
    cfgInit();
  }
  void TearDown() override {
    cfgDone();
    SetProgramFileName("");
  }
  TempDir Dir;
  TFakeTimerService Timers;
  TFakeHost Host;
  Log Pages;  // what the custom pages were asked
};

TEST_F(CfgDlg, ItemsStackBelowTheCaptionBarOneAfterAnother) {
  TKemConfigDlg dlg;
  TKemConfigDlgPage* page = dlg.AddPage(-1);
  page->AddLanguageSelector(25);
  page->AddSkinSelector(25);
  page->AddCustomPage(FakePage(Pages, 12, 100), 7);
  page->AddPart(300, 8, 1, 0, 100);
  TKemConfigDlgPage* second = dlg.AddPage(-1);
  second->AddPart(400, 8, 1, 0, 100);
  TKemConfigDlgRun run(dlg, Host);
  run.BuildPages();
  EXPECT_EQ(Host.L, (Log{"frame 0", "language 32", "skin 96 layouts 160", "part 300 272", "frame 1", "part 400 32"}));
  EXPECT_EQ(Pages, Log{"controls 172"});  // 32 + 152 - 12: the page reaches 12 pixels above its place
  EXPECT_EQ(dlg.RunningPage, 2);
  EXPECT_EQ(second->NotebookIndex, 1);
  // Alone on a page of its own, the same items end at 240 (8 + 24 for the part's caption bar).
  TKemConfigDlg alone;
  TKemConfigDlgPage* p = alone.AddPage(-1);
  p->AddLanguageSelector(25);
  p->AddSkinSelector(25);
  p->AddCustomPage(FakePage(Pages, 12, 100), 0);
  TKemConfigDlgRun other(alone, Host);
  EXPECT_EQ(other.BuildPage(*p), 240);
}

TEST_F(CfgDlg, ALonePageStillGetsTwoNotebookPages) {
  TKemConfigDlg dlg;
  EXPECT_EQ(dlg.NotebookPageCount(), 0);
  dlg.AddPage(-1);
  EXPECT_EQ(dlg.NotebookPageCount(), 2);
  dlg.AddPage(-1);
  EXPECT_EQ(dlg.NotebookPageCount(), 2);
  dlg.AddPage(-1);
  EXPECT_EQ(dlg.NotebookPageCount(), 3);
}

TEST_F(CfgDlg, OkAndApplyTellTheMainFormBeforeAndAfterEverySettingAndCancelOnlyOnce) {
  cfgAddItem(5, cfgtInteger, 1, "S", "A", "", unNone, -1, 0, 0, 21);
  TKemConfigDlg dlg;
  TKemConfigDlgPage* page = dlg.AddPage(-1);
  page->AddCustomPage(FakePage(Pages, 0, 10), 3);
  TKemConfigDlgRun run(dlg, Host);
  run.BuildPages();
  const struct {
    int Language, Skin;
    bool SkinLoads;
    int Action;
    Log Expected;
  } cases[] = {
      {1,
       0,
       true,
       kcaApply,
       {"notify -10 2", "lock", "read rows", "select language 1", "select skin 0 1", "notify -2 ", "notify 5 9",
        "unlock", "notify -11 2"}},
      // No selection: no language or skin step; the same skin again: no -2.
      {-1, -1, true, kcaOk, {"notify -10 0", "lock", "read rows", "notify 5 9", "unlock", "notify -11 0"}},
      {-1,
       2,
       false,
       kcaOk,
       {"notify -10 0", "lock", "read rows", "select skin 2 1", "notify 5 9", "unlock", "notify -11 0"}},
      {1, 1, true, kcaCancel, {"notify -20 1"}},
      {1, 1, true, 7, {}},
  };
  for (const auto& c : cases) {
    Host.L.clear();
    Pages.clear();
    Host.Language = c.Language, Host.Skin = c.Skin, Host.Layout = 1, Host.SkinLoads = c.SkinLoads;
    cfgSetValueNotify(5, 0);
    cfgSetValueNotify(5, 9);  // changed, whatever the case before
    run.ActionExecute(c.Action);
    Log expected = c.Expected;
    if (c.Action == kcaCancel || c.Action == 7) {
      EXPECT_EQ(Pages, Log{});
      cfgApplyChanges([](int, const Variant&) { return true; });
    } else {
      EXPECT_EQ(Pages, Log{"apply 3"});
    }
    EXPECT_EQ(Host.L, expected) << "action " << c.Action;
  }
}

TEST_F(CfgDlg, AFailingStepStillUnlocksTheDialog) {
  TKemConfigDlg dlg;
  TFakePage* failing = nullptr;
  dlg.AddPage(-1)->AddCustomPage(
      [&]() -> std::unique_ptr<TKemCustomDlgPage> {
        auto page = std::make_unique<TFakePage>(Pages, 0, 0);
        failing = page.get();
        return page;
      },
      0);
  TKemConfigDlgRun run(dlg, Host);
  run.BuildPages();
  failing->Fails = true;
  EXPECT_THROW(run.ActionExecute(kcaOk), std::runtime_error);
  EXPECT_EQ(Host.L.back(), "unlock");
}

TEST_F(CfgDlg, ALanguageChangeRelabelsBuiltPagesAndAfterTheRunNothingIsLeft) {
  TKemConfigDlg dlg;
  TKemConfigDlgPage* first = dlg.AddPage(-1);
  first->Caption = u"Own";
  first->AddCustomPage(FakePage(Pages, 0, 0), 1);
  first->AddCustomPage(FakePage(Pages, 0, 0), 2);
  TKemConfigDlgPage* second = dlg.AddPage(-1);
  second->AddCustomPage(FakePage(Pages, 0, 0), 3);
  auto* item = static_cast<TKemConfigItemCustomPage*>(first->Items[0].get());
  {
    TKemConfigDlgRun run(dlg, Host);
    run.BuildPages();
    ASSERT_EQ(run.CustomPages().size(), 3u);
    EXPECT_EQ(item->Instance, run.CustomPages()[0].get());
    EXPECT_EQ(item->Instance->Param, 1);
    Host.L.clear();
    Pages.clear();
    run.LanguageChanged();
    EXPECT_EQ(Host.L, (Log{"relabel 0", "relabel 1"}));
    EXPECT_EQ(first->Caption, u"Own") << "a page without text index keeps its caption";
    EXPECT_EQ(Pages, (Log{"language 1", "language 2", "language 3"}));
    Pages.clear();
  }
  EXPECT_EQ(Pages, (Log{"close 1", "close 2", "close 3"}));
  EXPECT_EQ(item->Instance, nullptr);
  EXPECT_EQ(first->NotebookIndex, -1);
  // A later run makes fresh pages.
  TKemConfigDlgRun again(dlg, Host);
  again.BuildPages();
  EXPECT_NE(item->Instance, nullptr);
}

}  // namespace
