// Window placements of real forms: restored bounds of a maximised form, the
// nearest monitor's work area, and the bar's settings around its placement.
#include "kem3/framework/kemcfg_win.h"

#include <gtest/gtest.h>

#include <climits>

#include "kem3/framework/kemexe.h"
#include "launcher/ov3cfg_win.h"
#include "platform/app_scope_win.h"
#include "platform/geometry_win.h"
#include "platform/inifile.h"
#include "platform/timer.h"
#include "support/temp_dir.h"

namespace {

class CfgFormsWin : public testing::Test {
 protected:
  void SetUp() override {
    SetProgramFileName(Dir.file("ov3.exe"));
    cfgInit();
  }
  void TearDown() override {
    cfgDone();
    SetProgramFileName("");
  }
  String OnDisk(const String& Section, const String& Key) const {
    TIniFile ini(Dir.file("ov3.ini"));
    return ini.ReadString(Section, Key, "<missing>");
  }

  TempDir Dir;
  TFakeTimerService Timers;
  TAppScope App;
};

TEST_F(CfgFormsWin, AMaximisedFormStoresItsRestoredBoundsAndComesBackMaximised) {
  const TRect work = Screen->WorkAreaRect();
  const TRect normal = Bounds(work.Left + 50, work.Top + 60, 300, 200);
  auto* form = NewForm<TForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBoundsRect(normal);
  form->Show();
  form->SetWindowState(wsMaximized);
  ASSERT_TRUE(IsZoomed(form->Handle()));
  EXPECT_NE(form->BoundsRect(), normal);  // the window fills the screen now

  const TcfgWindowPlacement seen = cfgFormPlacement(*form);
  EXPECT_EQ(seen.Bounds, normal);
  EXPECT_EQ(seen.State, wsMaximized);
  cfgSaveFormPlacement("Form", form, false);
  EXPECT_EQ(OnDisk("Form", "Left"), std::to_string(normal.Left));
  EXPECT_EQ(OnDisk("Form", "Top"), std::to_string(normal.Top));
  EXPECT_EQ(OnDisk("Form", "Width"), "300");
  EXPECT_EQ(OnDisk("Form", "Height"), "200");
  EXPECT_EQ(OnDisk("Form", "State"), "1");
  form->Free();

  auto* again = NewForm<TForm>(Application);
  again->SetBorderStyle(bsNone);
  again->SetBounds(0, 0, 100, 100);
  cfgLoadFormPlacement("Form", again, false);
  EXPECT_EQ(again->BoundsRect(), normal);
  EXPECT_EQ(again->WindowState(), wsMaximized);
  again->Show();
  EXPECT_TRUE(IsZoomed(again->Handle()));
  EXPECT_EQ(again->WindowState(), wsMaximized);
  EXPECT_EQ(cfgFormPlacement(*again).Bounds, normal);
  again->Free();
}

TEST_F(CfgFormsWin, ANormalFormIsFittedIntoTheWorkAreaOfItsMonitor) {
  const TRect work = Screen->WorkAreaRect();
  cfgWriteInt("Form", "Left", work.Right + 500);
  cfgWriteInt("Form", "Top", work.Top - 400);
  cfgWriteInt("Form", "Width", 200);
  cfgWriteInt("Form", "Height", 100);
  cfgWriteInt("Form", "State", 0);
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(10, 10, 50, 50);
  cfgLoadFormPlacement("Form", form, false);
  EXPECT_EQ(form->BoundsRect(), Bounds(work.Right - 200, work.Top, 200, 100));
  EXPECT_EQ(form->WindowState(), wsNormal);

  // Keep size: the form's own size, and nothing but the position is stored.
  form->SetBounds(work.Left + 5, work.Top + 6, 70, 40);
  cfgSaveFormPlacement("Kept", form, true);
  EXPECT_EQ(OnDisk("Kept", "Left"), std::to_string(work.Left + 5));
  EXPECT_EQ(OnDisk("Kept", "Width"), "<missing>");
  EXPECT_EQ(OnDisk("Kept", "State"), "0");
  const TRect given = Bounds(work.Left + 1, work.Top + 2, 90, 30);
  cfgLoadFormPlacement("Missing", form, true, &given);
  EXPECT_EQ(form->BoundsRect(), given);
  form->Free();
}

TEST_F(CfgFormsWin, TheNearestMonitorsWorkArea) {
  const TRect work = Screen->WorkAreaRect();
  EXPECT_EQ(cfgWorkAreaNearest(Bounds(work.Left + 10, work.Top + 10, 50, 50)), work);
  // Far off every monitor: the nearest one's (here the only one's).
  EXPECT_EQ(cfgWorkAreaNearest(Bounds(-40000, -40000, 10, 10)),
            Screen->MonitorFromPoint(Point(-40000, -40000))->WorkareaRect());
}

TEST_F(CfgFormsWin, TheBarSavesItsHomePositionWhileHidden) {
  const TRect work = Screen->WorkAreaRect();
  const TPoint home{work.Left + 120, work.Bottom - 60};
  bool hidden = false;
  auto* bar = NewForm<TQuietForm>(Application);
  DefineSettings([&] { SaveMainFormSettings(*bar, hidden ? &home : nullptr); });
  bar->SetBounds(home.X, work.Bottom - 5, 400, 60);  // slid down: all but 5 pixels gone
  hidden = true;
  cfgSaveAtShutDown();
  EXPECT_EQ(OnDisk("MainForm", "Left"), std::to_string(home.X));
  EXPECT_EQ(OnDisk("MainForm", "Top"), std::to_string(home.Y));
  EXPECT_EQ(OnDisk("MainForm", "Width"), "400");
  EXPECT_EQ(OnDisk("MainForm", "Height"), "60");
  EXPECT_EQ(OnDisk("Version", "Current"), "3.3.9");
  EXPECT_EQ(OnDisk("Icons", "Size"), "32");

  // The next start: placement with the size from the file, then the settings.
  cfgDone();
  FreeIniFile();
  cfgInit();
  DefineSettings(nullptr);
  cfgWriteString("Hints", "Show hints", "1");
  bar->SetBounds(0, 0, 10, 10);
  LoadMainFormSettings(*bar);
  EXPECT_EQ(bar->BoundsRect(), Bounds(home.X, home.Y, 400, 60));
  EXPECT_EQ(cfgGetStr(ovsShowHints), "1011");

  // Shown, it saves where it stands.
  hidden = false;
  bar->SetBounds(work.Left + 7, work.Top + 8, 400, 60);
  SaveMainFormSettings(*bar);
  EXPECT_EQ(OnDisk("MainForm", "Left"), std::to_string(work.Left + 7));
  bar->Free();
}

TEST_F(CfgFormsWin, TheBarComesBackWholeInsideAWorkAreaThatDoesNotStartAtZero) {
  // Taskbars on the left and at the top; put back at the end.
  RECT old{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &old, 0);
  RECT moved{old.left + 100, old.top + 50, old.right, old.bottom};
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &moved, 0);
  const TRect work = FromRECT(moved);
  const struct {
    int Left, Top, Width, Height;
    TRect Out;
  } cases[] = {
      {0, 0, 400, 60, Bounds(work.Left, work.Top, 400, 60)},
      // As large as the work area both ways would cover it: the bar keeps its thickness.
      {work.Left + 300, 0, INT_MAX, INT_MAX, Bounds(work.Left, work.Top, work.Width(), OvBarDefaultSize.cy)},
      {INT_MIN, INT_MIN, 1, 1, Bounds(work.Left, work.Top, OvBarMinSize.cx, OvBarMinSize.cy)},
  };
  auto* bar = NewForm<TQuietForm>(Application);
  DefineSettings(nullptr);
  for (const auto& c : cases) {
    cfgWriteInt("MainForm", "Left", c.Left);
    cfgWriteInt("MainForm", "Top", c.Top);
    cfgWriteInt("MainForm", "Width", c.Width);
    cfgWriteInt("MainForm", "Height", c.Height);
    LoadMainFormSettings(*bar);
    EXPECT_EQ(bar->BoundsRect(), c.Out) << c.Left << "," << c.Top << " " << c.Width << "x" << c.Height;
  }
  SaveMainFormSettings(*bar);
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &old, 0);
  EXPECT_EQ(OnDisk("MainForm", "Width"), std::to_string(OvBarMinSize.cx)) << "what was held is saved";
  bar->Free();
}

}  // namespace
