// The launch chooser on a real window, with and without our skin: its rows
// show each icon's picture beside its title, all of them fit, and with a
// skin the list lies in the skin's "list" window.
#include "launcher/launchlist_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/graphics/vosskinlist.h"
#include "kem3/graphics/vosskinner_win.h"
#include "launcher/ov3iconcache.h"
#include "platform/app_scope_win.h"
#include "support/temp_dir.h"

namespace {

TEST(LaunchListWin, RowsShowPicturesAndTitlesInTheSkinsListWindow) {
  TAppScope app;
  TempDir dir;
  TIconCache cache(dir.file("ov3.icc"), dir.file(""), nullptr);
  TKemXml doc;
  std::vector<TKemXmlTag*> icons;
  for (const char* title : {"First", "Second", "Third"}) {
    icons.push_back(doc.Root()->AddTag("icon"));
    icons.back()->WriteAttr("title", title);
  }
  for (const bool skinned : {false, true}) {
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    if (skinned) {
      ScanSkinsIn(GetExeDir() + "Skins");
      ASSERT_TRUE(SelectSkin(0, 0));
    } else {
      FreeSkinList();
    }
    auto* list = new TdLaunchList(Application);
    list->Fill(icons, &cache);
    list->Show();
    TKemPanelList* rows = list->plLaunch;
    ASSERT_EQ(rows->Count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_NE(rows->Items(i)->Bitmap, nullptr);
    // Every row fits, at least as tall as its picture, the first selected.
    EXPECT_GE(rows->ItemRect(0).Height(), cache.IconSize);
    EXPECT_LE(rows->ItemRect(2).Bottom, rows->ItemsArea().Bottom);
    EXPECT_FALSE(rows->Scroller()->Visible());
    EXPECT_EQ(rows->ItemIndex(), 0);
    EXPECT_EQ(list->Skinner() != nullptr, skinned);
    if (skinned) {
      EXPECT_EQ(list->Skinner()->WindowIndex(), CurrentSkin()->IndexOfWindow("list"));
      EXPECT_EQ(rows->Parent(), list->Skinner());
      EXPECT_EQ(rows->BoundsRect(), list->Skinner()->SlotRect("client"));
      EXPECT_EQ(rows->Skin(), CurrentSkin());
      // The frame's shape: the corner lies outside the window.
      HRGN region = CreateRectRgn(0, 0, 0, 0);
      ASSERT_NE(GetWindowRgn(list->Handle(), region), ERROR);
      EXPECT_FALSE(PtInRegion(region, 0, 0));
      DeleteObject(region);
    }
    list->Free();
  }
  FreeSkinList();
}

}  // namespace
