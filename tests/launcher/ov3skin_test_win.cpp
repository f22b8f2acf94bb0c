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
#include "launcher/bar_folder_win.h"
#include "launcher/main_win.h"
#include "platform/app_scope_win.h"
#include "platform/inifile.h"
#include "support/temp_dir.h"

namespace {

class BarSkinWin : public BarFolderWin {
 protected:
  // The bar's window region holds the point.
  static bool InRegion(TfMain* Bar, int X, int Y) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool in = GetWindowRgn(Bar->Handle(), region) != ERROR && PtInRegion(region, X, Y);
    DeleteObject(region);
    return in;
  }
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
  }
  bar->Free();
  // The last selection is what the settings file keeps.
  TIniFile ini(Dir.file("ov3.ini"));
  EXPECT_EQ(ini.ReadString("Skin", "Current", ""), "Slate");
  EXPECT_EQ(ini.ReadString("Skin", "Layout", ""), "glacier");
}

}  // namespace
