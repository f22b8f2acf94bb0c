// The bar changing its skin while it runs, in the test's own process: the
// preferences select another skin or layout and deliver the skin change; the
// bar turns when the orientation changes, lays its controls into the new
// slots and keeps the selection in its settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemmenu_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/graphics/vosskinlist.h"
#include "launcher/bar_folder_win.h"
#include "launcher/launchlist_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/window_shot_win.h"
#include "platform/app_scope_win.h"
#include "platform/geometry_win.h"
#include "platform/inifile.h"
#include "support/temp_dir.h"
#include "support/wait_win.h"

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
  // The hook library bound as at start-up: only with its mouse hook can a
  // hidden bar come back, so only then does it hide. It is the tests' own copy,
  // found beside the program before the program moves: a loaded library stays
  // in its folder until the process ends, and the test's folder must go.
  void BindHookLibraryBeside() {
    const String bar = ProgramFileName();
    SetProgramFileName("");
    BindHookLibrary();
    SetProgramFileName(bar);
  }
  ~BarSkinWin() override { FreeHookLibrary(); }
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
    EXPECT_EQ(bar->plIcons->ItemWidth(), w.ItemSpaceLeft + w.ItemSpaceRight + cfgGetInt(ovsIconsSize));
    const TVosIndents& in = w.SetItemIndent;  // a turned group caption has room across its button
    const TKemButtonSetButton* b = bar->bsGroups->Buttons(0);
    EXPECT_GE(s.vertical ? b->Width() - in.Left - in.Right : b->Height() - in.Top - in.Bottom, 10);
  }
  bar->Free();
  // The last selection is what the settings file keeps.
  TIniFile ini(Dir.file("ov3.ini"));
  EXPECT_EQ(ini.ReadString("Skin", "Current", ""), "Slate");
  EXPECT_EQ(ini.ReadString("Skin", "Layout", ""), "glacier");
}

// A skin of its own beside ours: a bar window record, and of the bar's slots only those listed.
void WriteSlotSkin(const std::filesystem::path& Skins, const std::string& Title,
                   const std::vector<std::string>& Slots) {
  std::string group;
  for (const std::string& id : Slots)
    group += "<slot id=\"" + id + "\" left=\"4\" top=\"4\" right=\"4\" bottom=\"4\"/>";
  std::filesystem::create_directories(Skins / Title);
  std::ofstream(Skins / Title / "skin.xml")
      << "<?xml version=\"1.0\" encoding=\"utf-8\"?><vosskindefinition title=\"" << Title
      << "\"><layouts><layout id=\"default\" title=\"" << Title
      << "\"/></layouts><layout><default mode=\"horizontal\"><containers><group>" << group
      << "</group></containers><windows><window id=\"main\"/></windows></default></layout></vosskindefinition>";
}

// A right click on an empty spot of the icon panel opens the main menu.
bool RightClickOpensMainMenu(TfMain* Bar) {
  const HWND panel = Bar->plIcons->Handle();
  const LPARAM at = MAKELPARAM(Bar->plIcons->Width() - 3, Bar->plIcons->Height() - 3);
  PostMessageW(panel, WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageW(panel, WM_RBUTTONUP, 0, at);
  testproc::WaitUntil([Bar] { return Bar->MenuOpen(); }, 15000, [] { Application->ProcessMessages(); });
  const bool open = ActivePopupMenu() == Bar->BarMenu(obmMain);
  if (ActivePopupMenu()) ActivePopupMenu()->Hide();
  return open;
}

TEST_F(BarSkinWin, ASkinWithoutTheIconsGroupsOrCaptionSlotGivesThePlainBar) {
  const std::filesystem::path skins = Dir.path() / "Skins";
  WriteSlotSkin(skins, "NoClient", {"icon", "caption", "group"});
  WriteSlotSkin(skins, "NoGroup", {"icon", "caption", "client"});
  WriteSlotSkin(skins, "NoCaption", {"icon", "group", "client"});
  ScanSkins();
  // Started with such a skin, and changed to one and back while it runs.
  ASSERT_TRUE(SelectSkinByName("NoClient", "default"));
  TfMain* bar = NewForm<TfMain>(Application);
  bar->Show();
  const struct {
    const char* title;
    bool skinned;
  } steps[] = {{"NoClient", false}, {"Slate", true}, {"NoGroup", false}, {"Slate", true}, {"NoCaption", false}};
  for (size_t i = 0; i < std::size(steps); ++i) {
    const auto& s = steps[i];
    SCOPED_TRACE(s.title);
    if (i > 0) {
      ASSERT_TRUE(SelectSkinByName(s.title, "default"));
      bar->FormConfigUpdate(-2, Variant());
    }
    EXPECT_EQ(bar->Skinner() && bar->Skinner()->Visible(), s.skinned);
    EXPECT_EQ(bar->pClient->Parent() == bar, !s.skinned);
    EXPECT_EQ(bar->bsGroups->Parent() == bar, !s.skinned);
    EXPECT_TRUE(bar->plIcons->Showing());
    EXPECT_GT(bar->plIcons->Height(), 20);
    EXPECT_TRUE(RightClickOpensMainMenu(bar));
  }
  bar->Free();
}

// The colour the screen shows at a point of the bar.
COLORREF ScreenPixel(TfMain* Bar, int X, int Y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, Bar->Left() + X, Bar->Top() + Y);
  ReleaseDC(nullptr, screen);
  return c;
}

// The colours of a row of the bar from X on, as the screen shows them.
std::vector<COLORREF> ScreenRow(TfMain* Bar, int X, int Y, int Count) {
  std::vector<COLORREF> row;
  for (int x = X; x < X + Count; ++x) row.push_back(ScreenPixel(Bar, x, Y));
  return row;
}

// The same row as the bar painted it, before the screen shows it.
std::vector<COLORREF> PaintedRow(TfMain* Bar, int X, int Y, int Count) {
  HDC dc = GetWindowDC(Bar->Handle());
  std::vector<COLORREF> row;
  for (int x = X; x < X + Count; ++x) row.push_back(GetPixel(dc, x, Y));
  ReleaseDC(Bar->Handle(), dc);
  return row;
}

void PumpApplication() { Application->ProcessMessages(); }

// Dragging a grip 150 px to the right: the modules, the icon panel and the
// group buttons take their places in the wider bar, and the screen shows the
// skin's frame at the new edge and the bar's face, not black, where it grew.
TEST_F(BarSkinWin, ABarSizedByItsGripLaysOutAndRedrawsTheWholeForm) {
  TfMain* bar = NewForm<TfMain>(Application);
  bar->SetBounds(40, 200, 560, 96);
  bar->Show();
  Application->ProcessMessages();
  TVosFormSkinner* skinner = bar->Skinner();
  ASSERT_NE(skinner, nullptr);
  cfgSetValue(ovsWindowSize, Variant(true));  // the window can be sized
  bar->FormConfigUpdate(ovsWindowSize, Variant(true));
  ASSERT_EQ(skinner->BoundsRect(), Rect(0, 0, 560, 96));
  const int y = 60;
  // The frame's right edge as the screen shows it once the bar's painting has reached it.
  std::vector<COLORREF> edge;
  ASSERT_TRUE(testproc::WaitUntil(
      [&] {
        edge = ScreenRow(bar, 552, y, 8);
        return edge == PaintedRow(bar, 552, y, 8);
      },
      15000, PumpApplication));
  // Our skins grip at the corners: the lower right one.
  ASSERT_NE(skinner->GripAt({557, 93}), 0);
  const TPoint press = skinner->ClientToScreen({557, 93});
  SetCursorPos(press.X, press.Y);
  SendMessageW(skinner->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(557, 93));
  for (int d = 10; d <= 150; d += 10) {
    SetCursorPos(press.X + d, press.Y);
    SendMessageW(skinner->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(557 + d, 93));
    Application->ProcessMessages();
  }
  SendMessageW(skinner->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(707, 93));
  // Until the wider bar is on the screen: its frame at the new edge, its face where it grew.
  const auto faceShown = [&] {
    for (int x = 555; x < 700; x += 7)
      if (ScreenPixel(bar, x, 2) == 0u) return false;
    return true;
  };
  EXPECT_TRUE(testproc::WaitUntil(
      [&] { return bar->Width() == 710 && ScreenRow(bar, 702, y, 8) == edge && faceShown(); }, 15000, PumpApplication));
  ASSERT_EQ(bar->Width(), 710);
  EXPECT_EQ(bar->pClient->BoundsRect(), skinner->SlotRect("client"));
  // The modules at both ends and the icon panel between them fill the client slot's width.
  int covered = 0;
  for (int i = 0; i < bar->pClient->ControlCount(); ++i) {
    const TControl* c = bar->pClient->Controls(i);
    EXPECT_LE(c->Left() + c->Width(), bar->pClient->ClientWidth()) << i;
    covered += c->Width();
  }
  EXPECT_EQ(covered, bar->pClient->ClientWidth());
  const TRect group = skinner->SlotRect("group");
  EXPECT_EQ(bar->bsGroups->BoundsRect(), Rect(0, 0, group.Width(), group.Height()));
  for (int x = 702; x < 710; ++x) EXPECT_EQ(ScreenPixel(bar, x, y), edge[static_cast<size_t>(x - 702)]) << x;
  for (int x = 555; x < 700; x += 7) EXPECT_NE(ScreenPixel(bar, x, 2), 0u) << x;
  SaveShot(bar->Handle(), "bar_resized");
  bar->Free();
}

TEST_F(BarSkinWin, AKeyOnTheBarRestartsTheHideCountdownAndItsTick) {
  TFakeTimerService timers;
  BindHookLibraryBeside();
  TfMain* bar = NewForm<TfMain>(Application);
  cfgSetValue(ovsAutoHide, Variant(true));
  bar->FormConfigUpdate(ovsAutoHide, Variant(true));
  SetCursorPos(0, GetSystemMetrics(SM_CYSCREEN) - 1);  // away from the bar
  timers.Advance(250 * 3 + 200);
  SendMessageW(bar->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
  timers.Advance(249);  // the tick due 50 ms after the key is gone
  EXPECT_EQ(bar->AutoHide().Countdown(), 8);
  bar->Free();
}

// Auto-hide on, the bar hidden at the top while the preferences choose a
// vertical skin: it comes home, turns, and docks to the left edge (nearer its
// centre; a turned bar left hanging from the top hid sideways, 360 pixels
// from the edge that called it back). There it hides again, the left edge
// brings it back beside the pointer, and the top edge does not.
TEST_F(BarSkinWin, ASkinChangeWhileHiddenTurnsTheBarToTheNearestEdgeOfTheNewSkin) {
  TFakeTimerService timers;
  BindHookLibraryBeside();
  TfMain* bar = NewForm<TfMain>(Application);
  bar->Show();
  cfgSetValue(ovsAutoHideMethod, Variant("1"));  // at once
  cfgSetValue(ovsAutoHide, Variant(true));
  bar->FormConfigUpdate(ovsAutoHide, Variant(true));
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  SetCursorPos(screenW / 2, screenH - 1);  // away from the bar
  timers.Advance(250 * 10);
  ASSERT_TRUE(bar->Hidden());
  ASSERT_LT(bar->BoundsRect().Bottom, 1);
  SelectSkinByName("Column", "default");
  bar->FormConfigUpdate(-2, Variant());
  EXPECT_TRUE(bar->Vertical());
  EXPECT_FALSE(bar->Hidden());
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const TRect docked = bar->BoundsRect();
  EXPECT_GT(docked.Height(), docked.Width());
  EXPECT_EQ(docked.Left, work.left);
  EXPECT_EQ(docked.Top, work.top + (work.bottom - work.top - docked.Height()) / 2);
  EXPECT_EQ(bar->AutoHide().Home(), docked.TopLeft());
  EXPECT_EQ(bar->AutoHide().Countdown(), 8);
  timers.Advance(250 * 10);
  ASSERT_TRUE(bar->Hidden());
  EXPECT_LT(bar->BoundsRect().Right, 1);
  // Saved as the align menu's docking is, at home while the bar is away.
  TIniFile saved(Dir.file("ov3.ini"));
  EXPECT_EQ(saved.ReadInteger("MainForm", "Left", -1), docked.Left);
  EXPECT_EQ(saved.ReadInteger("MainForm", "Top", -1), docked.Top);
  // The mouse hook's message for the pointer resting in an area, after the show delay.
  const auto PointerRestsIn = [&](int Area, POINT At) {
    SetCursorPos(At.x, At.y);
    PostMessageW(bar->Handle(), WM_MOUSEHOOK, hekEnter, Area);
    Application->ProcessMessages();
    timers.Advance(bar->AutoHide().Settings.ShowDelay + 250);
  };
  PointerRestsIn(0, {screenW / 2, 1});
  EXPECT_TRUE(bar->Hidden()) << "the top edge is not the vertical bar's";
  const POINT side{1, docked.Top + docked.Height() / 2};
  PointerRestsIn(2, side);
  EXPECT_FALSE(bar->Hidden());
  EXPECT_EQ(bar->BoundsRect(), docked);
  const RECT shown = ToRECT(bar->BoundsRect());
  EXPECT_TRUE(PtInRect(&shown, side)) << "back under the pointer";
  UpdateWindow(bar->Handle());
  SaveShot(GetDesktopWindow(), "column_docked_left");
  bar->Free();
}

TEST_F(BarSkinWin, TheChooserShowsPicturesInWholeRowsInTheSkinsListWindow) {
  TIconCache cache(Dir.file("ov3.icc"), Dir.file(""), nullptr);
  TKemXml doc;
  auto* list = new TdLaunchList(Application);
  list->Fill(std::vector<TKemXmlTag*>(3, doc.Root()->AddTag("icon")), &cache);
  list->Show();
  EXPECT_GE(list->plLaunch->ItemRect(0).Height(), cache.IconSize + 16);  // the picture, 8 above and below
  EXPECT_LE(list->plLaunch->ItemRect(2).Bottom, list->plLaunch->ItemsArea().Bottom);
  ASSERT_EQ(list->Skinner() ? list->Skinner()->WindowIndex() : -1, CurrentSkin()->IndexOfWindow("list"));
  EXPECT_EQ(list->plLaunch->BoundsRect(), list->Skinner()->SlotRect("client"));
  list->Free();
}

}  // namespace
