// The bar changing its skin while it runs, in the test's own process: the
// preferences select another skin or layout and deliver the skin change; the
// bar turns when the orientation changes, lays its controls into the new
// slots and keeps the selection in its settings file.
#include <gtest/gtest.h>

#include <filesystem>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/graphics/vosskinlist.h"
#include "kem3/graphics/vosskinner_win.h"
#include "launcher/main_win.h"
#include "platform/app_scope_win.h"
#include "platform/inifile.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

namespace {

class BarSkinWin : public testing::Test {
 protected:
  BarSkinWin() {
    std::filesystem::copy(std::filesystem::path(GetExeDir()) / "Skins", Dir.path() / "Skins",
                          std::filesystem::copy_options::recursive);
    SetProgramFileName(Dir.file("ov3.exe"));
    {
      TIniFile ini(Dir.file("ov3.ini"));
      ini.WriteString("Skin", "Current", "Slate");
      ini.WriteString("Skin", "Layout", "default");
      ini.UpdateFile();
    }
    cfgInit();
    InitSkins();
  }
  ~BarSkinWin() override {
    DoneSkins(false);
    cfgDone();
    SetProgramFileName("");
  }
  // The bar's window region holds the point.
  static bool InRegion(TfMain* Bar, int X, int Y) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool in = GetWindowRgn(Bar->Handle(), region) != ERROR && PtInRegion(region, X, Y);
    DeleteObject(region);
    return in;
  }

  TempDir Dir;
  TAppScope App;
};

TEST_F(BarSkinWin, ASkinChangeRedrawsTheBarTurningItWithTheOrientation) {
  TfMain* bar = NewForm<TfMain>(Application);
  ASSERT_NE(bar->Skinner(), nullptr);
  const struct {
    const char* title;
    const char* layout;
    bool vertical;
    TKemButtonSetDirection direction;
  } steps[] = {{"Slate", "default", false, bsdHorizontal},
               {"Column", "default", true, bsdVerticalDown},
               {"Slate", "glacier", false, bsdHorizontal},
               {"Slate", "glacier", false, bsdHorizontal}};  // the same again: nothing to change
  const int longSide = std::max(bar->Width(), bar->Height());
  for (const auto& s : steps) {
    SCOPED_TRACE(std::string(s.title) + "/" + s.layout);
    SelectSkinByName(s.title, s.layout);
    bar->FormConfigUpdate(-2, Variant());
    EXPECT_EQ(bar->Vertical(), s.vertical);
    EXPECT_EQ(bar->Height() > bar->Width(), s.vertical);
    EXPECT_EQ(std::max(bar->Width(), bar->Height()), longSide);
    EXPECT_EQ(bar->bsGroups->Direction(), s.direction);
    EXPECT_EQ(bar->plIcons->Options().Contains(ploListviewScrollVert), s.vertical);
    // The controls lie in the new skin's slots, under the skin.
    TVosFormSkinner* skinner = bar->Skinner();
    EXPECT_EQ(skinner->Skin(), CurrentSkin());
    EXPECT_EQ(skinner->Width(), bar->Width());
    EXPECT_EQ(bar->pClient->BoundsRect(), skinner->SlotRect("client"));
    EXPECT_EQ(bar->plIcons->Skin(), CurrentSkin());
    EXPECT_EQ(bar->bsGroups->Skin(), CurrentSkin());
    const TRect group = skinner->SlotRect("group");
    EXPECT_EQ(s.vertical ? bar->bsGroups->Width() : bar->bsGroups->Height(),
              s.vertical ? group.Width() : group.Height());
    // The window's shape is the new frame's, and the icons take the skin's metrics.
    EXPECT_FALSE(InRegion(bar, 0, 0));
    EXPECT_TRUE(InRegion(bar, bar->Width() / 2, bar->Height() / 2));
    CurrentSkin()->SelectWindow(CurrentSkin()->IndexOfWindow("main"));
    const TVosWindowRecord& w = CurrentSkin()->Window();
    EXPECT_EQ(bar->plIcons->ItemWidth(), w.ItemSpaceLeft + w.ItemSpaceRight + cfgGetInt(201));
    // A group button's caption, turned with the bar, has room for a line across it.
    const TVosIndents& item = w.SetItemIndent;
    TKemButtonSetButton* button = bar->bsGroups->Buttons(0);
    const int across =
        s.vertical ? button->Width() - item.Left - item.Right : button->Height() - item.Top - item.Bottom;
    EXPECT_GE(across, CurrentSkin()->MeasureSkinText(w.SetItemFont, u"Wg", vtfSingleLine, 0).cy);
  }
  bar->Free();
  // The last selection is what the settings file keeps.
  TIniFile ini(Dir.file("ov3.ini"));
  EXPECT_EQ(ini.ReadString("Skin", "Current", ""), "Slate");
  EXPECT_EQ(ini.ReadString("Skin", "Layout", ""), "glacier");
}

// Not about the skin, but the bar made the same way: a key on the bar gives it
// the whole hide delay again, counted from the key, not from the tick under way.
TEST_F(BarSkinWin, AKeyOnTheBarRestartsTheHideCountdownAndItsTick) {
  TFakeTimerService timers;
  TfMain* bar = NewForm<TfMain>(Application);
  // The pointer well away from the bar: every tick counts down.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  cfgSetValue(121, Variant(true));
  bar->FormConfigUpdate(121, Variant(true));
  ASSERT_TRUE(bar->tHideTimer->Enabled());
  timers.Advance(250 * 3);
  EXPECT_EQ(bar->AutoHide().Countdown(), 5);
  timers.Advance(200);
  SendMessageW(bar->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
  EXPECT_EQ(bar->AutoHide().Countdown(), 8);
  // 249 ms after the key no tick has come, though one was due 50 ms after it.
  timers.Advance(249);
  EXPECT_EQ(bar->AutoHide().Countdown(), 8);
  timers.Advance(1);
  EXPECT_EQ(bar->AutoHide().Countdown(), 7);
  bar->Free();
}

}  // namespace
