// The bar's modules in the test's own process: placed around the icon panel
// with their pictures, switched off and on while their threads run, and gone
// with every thread when the bar goes.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <tlhelp32.h>

#include <filesystem>

#include "kem3/controls/kemform_win.h"
#include "kem3/controls/kemmenu_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/graphics/vosskinlist.h"
#include "launcher/bar_folder_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3modctl_win.h"
#include "launcher/ov3modsys.h"
#include "launcher/ov3modthread.h"
#include "platform/app_scope_win.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/synchronize.h"
#include "support/temp_dir.h"
#include "support/wait_win.h"

namespace {

// A full bin and a half-charged battery, whatever the host has.
class TFakeSystem : public TOvModuleSystem {
 public:
  TPowerStatus PowerStatus() override { return {0, 0, 50}; }
  std::vector<String> FixedDriveRoots() override { return {"c:\\"}; }
  bool QueryRecycleBin(const String&, std::int64_t& Count, std::int64_t& Size) override {
    Count = 3;
    Size = 3000;
    return true;
  }
  void EmptyRecycleBins(const std::vector<String>&) override { ++Emptied; }
  void OpenRecycleBinFolder() override {}
  std::atomic<int> Emptied{0};
};

int ProcessThreadCount() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 e{};
  e.dwSize = sizeof(e);
  int count = 0;
  for (BOOL ok = Thread32First(snap, &e); ok; ok = Thread32Next(snap, &e))
    count += e.th32OwnerProcessID == GetCurrentProcessId();
  CloseHandle(snap);
  return count;
}

class BarModulesWin : public BarFolderWin {
 protected:
  BarModulesWin() { FOldSystem = SetModuleSystem(&System); }
  ~BarModulesWin() override { SetModuleSystem(FOldSystem); }
  static void Pump(int Ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(Ms);
    while (GetTickCount() < end) PumpOnce();
  }
  // The messages and the module threads' synchronised calls until Done holds.
  template <class F>
  static bool PumpUntil(F Done) {
    return testproc::WaitUntil(Done, 15000, PumpOnce);
  }
  static void PumpOnce() {
    Application->ProcessMessages();
    CheckSynchronize(5);
  }

  TFakeSystem System;

 private:
  TOvModuleSystem* FOldSystem = nullptr;
};

TEST_F(BarModulesWin, ModulesStandAroundTheIconPanelAndEndWithTheBar) {
  TfMain* bar = NewForm<TfMain>(Application);
  ASSERT_FALSE(bar->Vertical());
  bar->Show();
  // The bin's thread has counted its items.
  PumpUntil([&] {
    return Modules().Count() == static_cast<int>(kModules.size()) && bar->ModuleControl(omkRecycleBin) &&
           bar->ModuleControl(omkRecycleBin)->GetHint().substr(0, 7) == u"3 items";
  });
  EXPECT_EQ(Modules().Count(), static_cast<int>(kModules.size()));
  const int threadsRunning = ProcessThreadCount();
  const int iconsLeft = bar->plIcons->Left();
  for (int i = 0; i < static_cast<int>(kModules.size()); ++i) {
    TOvModuleControl* m = bar->ModuleControl(i);
    ASSERT_NE(m, nullptr) << i;
    EXPECT_EQ(m->Image()->Width(), 72) << i;
    EXPECT_EQ(m->Image()->Height(), 72) << i;
    // Clock and calendar before the icons, bin and battery behind them, in document order.
    if (!kModules[static_cast<size_t>(i)].BehindIcons)
      EXPECT_LT(m->Left(), iconsLeft) << i;
    else
      EXPECT_GE(m->Left(), iconsLeft + bar->plIcons->Width()) << i;
  }
  EXPECT_LT(bar->ModuleControl(omkAnalogClock)->Left(), bar->ModuleControl(omkCalendar)->Left());
  EXPECT_LT(bar->ModuleControl(omkRecycleBin)->Left(), bar->ModuleControl(omkBattery)->Left());
  EXPECT_EQ(bar->ModuleControl(omkRecycleBin)->GetHint().substr(0, 7), u"3 items");
  // The full bin can be emptied; the calendar has no menu; the clock's offers its second hand.
  EXPECT_TRUE(bar->ActionState(ovaEmptyRecycleBin).Enabled);
  bar->FormActionExecute(ovaEmptyRecycleBin);
  WaitForRecycleThreads();
  EXPECT_EQ(System.Emptied, 1);
  bar->FormActionExecute(ovaSecondHandOff);  // whatever an earlier run left
  TOvModuleControl* clock = bar->ModuleControl(omkAnalogClock);
  const TPoint centre = clock->ImagePosition() + TPoint{36, 36};
  EXPECT_TRUE(bar->ModuleControl(omkCalendar)->GetMenuAt(centre.X, centre.Y).empty());
  ASSERT_FALSE(clock->GetMenuAt(centre.X, centre.Y).empty());
  EXPECT_EQ(clock->GetMenuAt(centre.X, centre.Y).back().ActionId, ovaSecondHandOn);
  EXPECT_TRUE(clock->GetMenuAt(clock->ImagePosition().X + 1, clock->ImagePosition().Y + 1).empty());
  // The second hand turned on is kept in the contents file.
  bar->FormActionExecute(ovaSecondHandOn);
  EXPECT_NE(ReadFileBytes(bar->ContentsFileName()).find("value=\"yes\""), std::string::npos);
  EXPECT_TRUE(static_cast<TOvAnalogClock*>(clock->Module())->SecondHand());

  bar->Free();
  EXPECT_EQ(Modules().Count(), 0);
  // The modules' threads are gone (Wine's own may stay).
  EXPECT_LE(ProcessThreadCount(), threadsRunning - static_cast<int>(kModules.size()));
}

TEST_F(BarModulesWin, RightClickOpensTheModuleMenuOnThePictureElseTheMainMenu) {
  TfMain* bar = NewForm<TfMain>(Application);
  bar->Show();
  TOvModuleControl* clock = bar->ModuleControl(omkAnalogClock);
  const TPoint centre = clock->ImagePosition() + TPoint{36, 36};
  auto rightClick = [](TOvModuleControl* c, TPoint at) { c->OnMouseUp(c, mbRight, {}, at.X, at.Y); };
  // The face: the clock's title, a separator and the second hand on, which runs once the menu has hidden.
  rightClick(clock, centre);
  TKemMenu* menu = ActivePopupMenu();
  ASSERT_TRUE(menu && bar->MenuOpen() && menu->GetEntryCount() == 3);
  menu->GetEntry(2)->Highlight();
  menu->GetEntry(2)->Execute();
  PumpUntil([&] {
    return !menu->Visible() && !bar->MenuOpen() && static_cast<TOvAnalogClock*>(clock->Module())->SecondHand();
  });
  EXPECT_FALSE(menu->Visible() || bar->MenuOpen());
  EXPECT_TRUE(static_cast<TOvAnalogClock*>(clock->Module())->SecondHand());
  EXPECT_NE(ReadFileBytes(bar->ContentsFileName()).find("value=\"yes\""), std::string::npos);
  // A transparent corner of the face, the calendar and the battery: the main menu.
  for (auto [c, at] :
       {std::pair{clock, clock->ImagePosition() + TPoint{1, 1}}, std::pair{bar->ModuleControl(omkCalendar), centre},
        std::pair{bar->ModuleControl(omkBattery), centre}}) {
    rightClick(c, at);
    EXPECT_EQ(ActivePopupMenu(), bar->BarMenu(obmMain)) << c->Name();
    ActivePopupMenu()->Hide();
  }
  bar->Free();
}

// A module is dragged as the caption is: its moves reach the drag as well as the hints.
TEST_F(BarModulesWin, DraggingAModuleMovesTheBar) {
  TfMain* bar = NewForm<TfMain>(Application);
  bar->Show();
  cfgSetValueNotify(ovsWindowMove, true);
  cfgApplyChanges(*bar);
  TOvModuleControl* clock = bar->ModuleControl(omkAnalogClock);
  const TRect before = bar->BoundsRect();
  const TPoint press = clock->ClientToScreen({5, 5});
  SetCursorPos(press.X, press.Y);
  SendMessageW(clock->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SetCursorPos(press.X + 50, press.Y + 100);
  SendMessageW(clock->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(55, 105));
  SendMessageW(clock->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(55, 105));
  EXPECT_EQ(bar->BoundsRect().TopLeft(), (before.TopLeft() + TPoint{50, 100}));
  bar->Free();
}

TEST_F(BarModulesWin, SwitchingAModuleOffAndOnWhileThreadsRunEndsEachThread) {
  TfMain* bar = NewForm<TfMain>(Application);
  bar->Show();
  bar->FormActionExecute(ovaSecondHandOn);  // the clock's thread wakes ten times a second
  Pump(100);
  const int threads = ProcessThreadCount();
  TKemXmlTag* clock = bar->FindModuleElement("AnalogClock");
  ASSERT_NE(clock, nullptr);
  for (int i = 0; i < 100; ++i) {
    clock->WriteAttr("active", i % 2 ? "yes" : "no");
    bar->ApplyModules();
    EXPECT_EQ(bar->ModuleControl(omkAnalogClock) != nullptr, i % 2 == 1);
    if (i % 10 == 0) Pump(20);  // the threads run on between the switches
  }
  EXPECT_EQ(bar->ModuleControl(omkAnalogClock) != nullptr, true);
  // Every thread switched off has ended.
  PumpUntil([&] { return ProcessThreadCount() == threads; });
  EXPECT_EQ(ProcessThreadCount(), threads);
  EXPECT_EQ(Modules().Count(), 4);
  // "icons" first: every module behind the panel.
  TKemXmlTag* modules = bar->Contents()->FindPath("ov3contents.modules");
  for (int i = 0; i < modules->GetChildCount(); ++i)
    if (modules->GetChild(i)->Name == "icons") modules->MoveChild(i, 0);
  bar->ApplyModules();
  for (int i = 0; i < 4; ++i) EXPECT_GT(bar->ModuleControl(i)->Left(), bar->plIcons->Left()) << i;
  bar->Free();
}

}  // namespace
