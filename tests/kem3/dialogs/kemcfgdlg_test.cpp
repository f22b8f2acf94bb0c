// The preferences dialog's run without windows: how pages stack their items,
// what the main form hears at OK, Apply and Cancel and in which order, and
// what is left of a run once it is over.
#include "kem3/dialogs/kemcfgdlg.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "kem3/dialogs/kemcustompage.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

namespace {

using Log = std::vector<std::string>;
std::string Str(const char* What, int A) { return What + std::to_string(A); }

// Reaches 12 pixels above its place and is 100 high; one with a negative
// Param fails to apply.
class TFakePage : public TKemCustomDlgPage {
 public:
  explicit TFakePage(Log& L) : FLog(L) {}
  void CreateControls(TWinControl*, int Top) override { FLog.push_back(Str("controls ", Top)); }
  int GetHeight() override { return 100; }
  int GetTopOffset() override { return 12; }
  void Close() override { FLog.push_back(Str("close ", Param)); }
  void Apply() override {
    FLog.push_back(Str("apply ", Param));
    if (Param < 0) throw std::runtime_error("apply failed");
  }

 private:
  Log& FLog;
};

// Logs every call; the selectors' choices and the skin switch's answer are the test's.
class TFakeHost : public TKemConfigDlgHost {
 public:
  Log L;
  int Language = -1, Skin = -1;
  bool SkinLoads = true, LanguageLoads = true;
  void BuildPageFrame(TKemConfigDlgPage& Page) override { L.push_back(Str("frame ", Page.NotebookIndex)); }
  int BuildPart(TKemConfigDlgPage&, const TKemConfigItemPart&, int Top) override {
    L.push_back(Str("part ", Top));
    return 50;
  }
  void BuildLanguageSelector(TKemConfigDlgPage&, const TKemConfigItemLan&, int Top) override {
    L.push_back(Str("language ", Top));
  }
  void BuildSkinSelector(TKemConfigDlgPage&, const TKemConfigItemSkin&, int Top, int LayoutTop) override {
    L.push_back(Str("skin ", Top) + Str(" ", LayoutTop));
  }
  void PlaceCustomPage(TKemConfigDlgPage&, TKemCustomDlgPage& Page, int Top) override { Page.CreateControls(0, Top); }
  bool NotifyMainForm(int Id, const Variant& Value) override {
    L.push_back(std::to_string(Id) + " " + Value.AsString());
    return true;
  }
  void LockRedraw(bool Lock) override { L.push_back(Lock ? "lock" : "unlock"); }
  void ReadGeneratedRows() override { L.push_back("read"); }
  int ChosenLanguage() override { return Language; }
  int ChosenSkin() override { return Skin; }
  int ChosenLayout() override { return 1; }
  bool SelectLanguage(int Index) override {
    L.push_back(Str("lan ", Index));
    return LanguageLoads;
  }
  bool SelectSkin(int S, int Layout) override {
    L.push_back(Str("skin ", S) + Str(" ", Layout));
    return SkinLoads;
  }
  void RelabelPage(TKemConfigDlgPage&) override {}
  // Each item built adds a control; the pages' own field columns are the
  // test's; what lining the pages up does goes into A.
  Log A;
  std::vector<int> Columns{0, 0};
  int ControlMark(TKemConfigDlgPage&) override { return static_cast<int>(L.size()); }
  void ShiftControls(TKemConfigDlgPage& Page, int Mark, int Dy) override {
    A.push_back(Str("shift ", Page.NotebookIndex) + Str(" from ", Mark) + Str(" by ", Dy));
  }
  int FieldColumn(TKemConfigDlgPage& Page) override {
    const auto at = static_cast<size_t>(Page.NotebookIndex);
    return at < Columns.size() ? Columns[at] : 0;
  }
  void SetFieldColumn(TKemConfigDlgPage& Page, int Column) override {
    A.push_back(Str("fields ", Page.NotebookIndex) + Str(" at ", Column));
  }
  void FitPagesHeight(int Bottom) override { A.push_back(Str("fit ", Bottom)); }
};

// A page that wants its fields at Column and is Grow taller once it has a column.
class TColumnPage : public TKemCustomDlgPage {
 public:
  TColumnPage(Log& L, Log& A, int Column, int Grow) : FLog(L), FAlign(A), FColumn(Column), FGrow(Grow) {}
  void CreateControls(TWinControl*, int Top) override { FLog.push_back(Str("controls ", Top)); }
  int GetHeight() override { return 100 + (FAligned ? FGrow : 0); }
  int FieldColumn() override { return FColumn; }
  void SetFieldColumn(int Column) override {
    FAlign.push_back(Str("column ", Column));
    FAligned = true;
  }

 private:
  Log &FLog, &FAlign;
  int FColumn, FGrow;
  bool FAligned = false;
};

class CfgDlg : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramFileName(Dir.file("prog.exe"));
    cfgInit();
    cfgAddItem(5, cfgtInteger, 1, "S", "A", "", unNone, -1, 0, 0, 21);
  }
  void TearDown() override {
    cfgDone();
    SetProgramFileName("");
  }
  TKemCustomPageFactory Fake() {
    return [this] { return std::make_unique<TFakePage>(Host.L); };
  }
  TempDir Dir;
  TFakeTimerService Timers;
  TFakeHost Host;
};

TEST_F(CfgDlg, ItemsStackBelowTheCaptionBarOneAfterAnother) {
  TKemConfigDlg dlg;
  TKemConfigDlgPage* page = dlg.AddPage(-1);
  page->AddLanguageSelector(25);
  page->AddSkinSelector(25);
  page->AddCustomPage(Fake(), 7);
  page->AddPart(300, 8, 1, 0, 100);
  dlg.AddPage(-1)->AddPart(400, 8, 1, 0, 100);
  TKemConfigDlgRun(dlg, Host).BuildPages();  // and closes its custom page at once
  // The custom page at 32 + 152 - 12; the running height then 240, and the part 32 below it.
  EXPECT_EQ(Host.L, (Log{"frame 0", "language 32", "skin 96 160", "controls 172", "part 272", "frame 1", "part 32",
                         "close 7"}));
}

// Built pages line up: every field of a page in the column its widest
// caption needs (the generated rows' or a custom page's), the items below a
// custom page that grew by it move down, and the tallest page is made room
// for; again after a change of language.
TEST_F(CfgDlg, EveryFieldOfAPageInOneColumnAndItemsBelowAGrownOneMoveDown) {
  TKemConfigDlg dlg;
  TKemConfigDlgPage* first = dlg.AddPage(-1);
  first->AddPart(300, 8, 1, 0, 100);
  first->AddCustomPage([this] { return std::make_unique<TColumnPage>(Host.L, Host.A, 140, 24); }, 0);
  first->AddPart(301, 8, 1, 0, 100);
  dlg.AddPage(-1)->AddLanguageSelector(25);
  Host.Columns = {131, 160};
  TKemConfigDlgRun run(dlg, Host);
  run.BuildPages();
  // The second part's controls start after the custom page's (mark 3): they go 24 down.
  EXPECT_EQ(Host.L, (Log{"frame 0", "part 32", "controls 82", "part 182", "frame 1", "language 32"}));
  EXPECT_EQ(Host.A, (Log{"fields 0 at 140", "column 140", "shift 0 from 3 by 24", "fields 1 at 160", "fit 256"}));
  Host.A.clear();
  run.LanguageChanged();
  EXPECT_EQ(Host.A, (Log{"fields 0 at 140", "column 140", "fields 1 at 160", "fit 256"}));
}

TEST_F(CfgDlg, OkAndApplyTellTheMainFormBeforeAndAfterEverySettingAndCancelOnlyOnce) {
  TKemConfigDlg dlg;
  dlg.AddPage(-1)->AddCustomPage(Fake(), 3);
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
       {"-10 2", "lock", "read", "lan 1", "skin 0 1", "-2 ", "apply 3", "5 9", "unlock", "-11 2"}},
      // No selection: no language or skin step; the skin as it was: no -2.
      {-1, -1, true, kcaOk, {"-10 0", "lock", "read", "apply 3", "5 9", "unlock", "-11 0"}},
      {-1, 2, false, kcaOk, {"-10 0", "lock", "read", "skin 2 1", "apply 3", "5 9", "unlock", "-11 0"}},
      {1, 1, true, kcaCancel, {"-20 1"}},
      {1, 1, true, 7, {}},
  };
  for (const auto& c : cases) {
    Host.L.clear();
    Host.Language = c.Language, Host.Skin = c.Skin, Host.SkinLoads = c.SkinLoads;
    cfgSetValueNotify(5, 0);
    cfgSetValueNotify(5, 9);  // changed, whatever the case before
    run.ActionExecute(c.Action);
    EXPECT_EQ(Host.L, c.Expected) << "action " << c.Action;
  }
}

// Another language, or another layout of the same skin, changes no setting
// and keeps the bar's size: the selection is saved all the same, as the
// settings are.
TEST_F(CfgDlg, AnotherLanguageSkinOrLayoutIsSavedWithoutAnySettingChanged) {
  TKemConfigDlg dlg;
  dlg.AddPage(-1)->AddCustomPage(Fake(), 3);
  TKemConfigDlgRun run(dlg, Host);
  run.BuildPages();
  int saves = 0;
  cfgSkinSaver = [&](const String&, const String&, const String& LayoutKey) { saves += LayoutKey == "Layout"; };
  const struct {
    int language, skin;
    bool loads;
  } steps[] = {{-1, 0, true}, {-1, 0, false}, {1, -1, true}, {1, -1, false}};
  for (const auto& s : steps) {
    cfgTimer()->SaveNow();
    saves = 0;
    Host.Language = s.language, Host.Skin = s.skin;
    Host.SkinLoads = Host.LanguageLoads = s.loads;
    run.ActionExecute(kcaOk);
    Timers.Advance(TTimerController::SaveInterval + 1);
    EXPECT_EQ(saves, s.loads ? 1 : 0) << "language " << s.language << " skin " << s.skin << " loaded " << s.loads;
  }
  cfgSkinSaver = nullptr;
}

TEST_F(CfgDlg, AFailingStepUnlocksAndAfterTheRunNothingOfItIsLeft) {
  TKemConfigDlg dlg;
  TKemConfigDlgPage* page = dlg.AddPage(-1);
  page->AddCustomPage(Fake(), 1);
  page->AddCustomPage(Fake(), -1);  // fails to apply
  auto* item = static_cast<TKemConfigItemCustomPage*>(page->Items[0].get());
  {
    TKemConfigDlgRun run(dlg, Host);
    run.BuildPages();
    EXPECT_EQ(item->Instance, run.CustomPages()[0].get());
    EXPECT_THROW(run.ActionExecute(kcaOk), std::runtime_error);
    EXPECT_EQ(Host.L.back(), "unlock") << "the dialog is not left frozen";
    Host.L.clear();
  }
  EXPECT_EQ(Host.L, (Log{"close 1", "close -1"}));
  EXPECT_EQ(item->Instance, nullptr);
}

}  // namespace
