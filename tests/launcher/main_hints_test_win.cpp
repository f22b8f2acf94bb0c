// The skinned bar on the screen: resting on an icon where layered windows
// are composed fades the skin's hint in with the icon's title and comment, a
// key ends it; modules show hints as their flags say; menus, moves and
// scrolls end a hint and a new selection takes it along; a right click on
// the caption opens the main menu.
#include <gtest/gtest.h>

#include "kem3/controls/kemmenu_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/controls/kemscroll_win.h"
#include "kem3/controls/vosskinner_win.h"
#include "kem3/framework/kemcfg.h"
#include "launcher/bar_folder_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3hint_win.h"
#include "launcher/ov3modctl_win.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "support/wait_win.h"

namespace {

void PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds = 15000) {
  testproc::WaitUntil(Done, Milliseconds, [] { Application->ProcessMessages(); });
}

using BarScreenWin = BarFolderWin;

}  // namespace

TEST_F(BarScreenWin, RestingOnAnIconFadesTheSkinsHintInOnPlatformTypeSeven) {
  WriteFileAtomic(Dir.file("ov3.xml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups><group title=\"Tools\"><icons>"
                  "<icon id=\"1\" title=\"Editor\" comment=\"notes\\nmore\" type=\"program\"/>"
                  "</icons></group></groups></ov3contents>\n");
  TfMain* Bar = NewForm<TfMain>(Application);
  cfgSetValue(ovsIconsComment, Variant(1));
  Bar->Show();
  InstallBarHintWindow(7);
  TKemPanelList* Icons = Bar->plIcons;
  const TRect R = Icons->ItemRect(0);
  const TPoint On = Icons->ClientToScreen({R.Left + R.Width() / 2, R.Top + R.Height() / 2});
  SetCursorPos(On.X, On.Y);
  SendMessageW(Icons->Handle(), WM_MOUSEMOVE, 0,
               PointToLParam(On.X - Icons->ClientOrigin().X, On.Y - Icons->ClientOrigin().Y));
  PumpUntil(IsHintWindowShown);
  auto* Hint = dynamic_cast<TOvHintWindow*>(GlobalHintWindow());
  ASSERT_TRUE(Hint && IsHintWindowShown());
  EXPECT_LT(Hint->Opacity(), 255) << "fading in";
  PumpUntil([Hint] { return Hint->Opacity() == 255; });
  EXPECT_EQ(Hint->Opacity(), 255);
  // The title as written, without the accelerator mark the panel gave it.
  EXPECT_EQ(Icons->Items(0)->Caption(), u"&Editor");
  EXPECT_EQ(Hint->Text(), u"Editor\r\nnotes\r\nmore");
  EXPECT_NE(GetWindowLongPtrW(Hint->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_GT(Hint->Top(), Icons->ClientToScreen({0, R.Top}).Y);
  PostMessageW(Icons->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
  PumpUntil([] { return !IsHintWindowShown(); });
  EXPECT_FALSE(IsHintWindowShown());
  Bar->Free();
}

TEST_F(BarScreenWin, ARightClickOnTheCaptionOpensTheMainMenu) {
  TfMain* Bar = NewForm<TfMain>(Application);
  Bar->Show();
  TVosFormCaption* Caption = nullptr;
  for (int I = 0; I < Bar->ComponentCount() && !Caption; ++I)
    Caption = dynamic_cast<TVosFormCaption*>(Bar->Components(I));
  ASSERT_TRUE(Caption && Caption->Showing());
  PostMessageW(Caption->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(20, 2));
  PostMessageW(Caption->Handle(), WM_RBUTTONUP, 0, PointToLParam(20, 2));
  PumpUntil([Bar] { return Bar->MenuOpen(); });
  TKemMenu* Menu = ActivePopupMenu();
  ASSERT_EQ(Menu, Bar->BarMenu(obmMain));
  EXPECT_TRUE(IsWindowVisible(Menu->Handle()));
  PostMessageW(Menu->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpUntil([Bar] { return !Bar->MenuOpen(); });
  EXPECT_FALSE(Bar->MenuOpen());
  Bar->Free();
}

namespace {

// Rests the pointer on the client point At of Control: a move there arms the hint.
void RestOn(TWinControl* Control, TPoint At) {
  const TPoint S = Control->ClientToScreen(At);
  SetCursorPos(S.X, S.Y);
  SendMessageW(Control->Handle(), WM_MOUSEMOVE, 0, PointToLParam(At.X, At.Y));
}

TPoint ItemCentre(TKemPanelList* Icons, int Index) {
  const TRect R = Icons->ItemRect(Index);
  return {R.Left + R.Width() / 2, R.Top + R.Height() / 2};
}

TOvHintWindow* BarHint() { return dynamic_cast<TOvHintWindow*>(GlobalHintWindow()); }

}  // namespace

// The clock's hint flag is off by default (ovsShowHints): resting on it shows
// nothing until the flag is on.
TEST_F(BarScreenWin, AModuleShowsItsHintOnlyWhereItsFlagIsOn) {
  TfMain* Bar = NewForm<TfMain>(Application);
  Bar->Show();
  InstallBarHintWindow(5);
  TOvModuleControl* Clock = Bar->ModuleControl(omkAnalogClock);
  ASSERT_NE(Clock, nullptr);
  const int W = Clock->Module()->Width();
  const TPoint Face = Clock->ImagePosition() + TPoint{W / 2, W / 2};
  ASSERT_FALSE(ModuleHints[omkAnalogClock]);
  RestOn(Clock, Face);
  PumpUntil(IsHintWindowShown, 2000);  // a time in which no hint may show
  EXPECT_FALSE(IsHintWindowShown());
  ModuleHints[omkAnalogClock] = true;  // as the hints page ticks it
  RestOn(Clock, Face);
  PumpUntil(IsHintWindowShown);
  ASSERT_TRUE(IsHintWindowShown());
  EXPECT_EQ(BarHint()->Text().size(), 8u) << "hh:mm:ss";
  ModuleHints[omkAnalogClock] = false;
  Bar->Free();
}

// A hint gives way to a context menu, a move of the bar and a scroll of the
// icons; a new selection (by the wheel) takes the hint along.
TEST_F(BarScreenWin, AHintGivesWayToMenusMovesAndScrollsAndFollowsTheSelection) {
  String Icons;
  for (int I = 0; I < 40; ++I)
    Icons += "<icon id=\"" + std::to_string(I + 1) + "\" title=\"Icon" + std::to_string(I) + "\" type=\"program\"/>";
  WriteFileAtomic(Dir.file("ov3.xml"),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups><group title=\"Tools\"><icons>" +
                      Icons + "</icons></group></groups></ov3contents>\n");
  TfMain* Bar = NewForm<TfMain>(Application);
  Bar->Show();
  cfgSetValue(ovsWheelScroll, Variant("1"));  // the wheel steps through the icons
  cfgSetValueNotify(ovsWindowMove, Variant(true));
  cfgApplyChanges(*Bar);
  InstallBarHintWindow(5);  // the plain window: hides at once
  TKemPanelList* Panel = Bar->plIcons;
  int Next = 0;
  auto ShowOnNext = [&] {
    RestOn(Panel, ItemCentre(Panel, Next));
    PumpUntil(IsHintWindowShown);
    ASSERT_TRUE(IsHintWindowShown());
    EXPECT_EQ(BarHint()->Text(), u"Icon" + Utf8ToWide(std::to_string(Next)));
    ++Next;
  };

  // The wheel moves the selection from the icon under the pointer to the next.
  Panel->SetItemIndex(0);
  ShowOnNext();
  SendMessageW(Bar->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(Panel->ItemIndex(), 1);
  EXPECT_TRUE(IsHintWindowShown());
  EXPECT_EQ(BarHint()->Text(), u"Icon1");

  // A right click opens the icons menu: the hint goes.
  ShowOnNext();
  const TPoint On = ItemCentre(Panel, Next - 1);
  PostMessageW(Panel->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(On.X, On.Y));
  PostMessageW(Panel->Handle(), WM_RBUTTONUP, 0, PointToLParam(On.X, On.Y));
  PumpUntil([Bar] { return Bar->MenuOpen(); });
  ASSERT_TRUE(Bar->MenuOpen());
  EXPECT_FALSE(IsHintWindowShown());
  PostMessageW(ActivePopupMenu()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpUntil([Bar] { return !Bar->MenuOpen(); });

  // Pressing on the clock starts moving the bar: the hint goes at once.
  ShowOnNext();
  TOvModuleControl* Clock = Bar->ModuleControl(omkAnalogClock);
  ASSERT_NE(Clock, nullptr);
  SendMessageW(Clock->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(IsHintWindowShown());
  SendMessageW(Clock->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

  // A press on the scroller's track pages the icons: the hint's item has moved away.
  ShowOnNext();
  TKemPanelScroller* Scroller = Panel->Scroller();
  ASSERT_TRUE(Scroller->Visible());
  const TPoint End{Scroller->Width() - 2, Scroller->Height() / 2};
  SendMessageW(Scroller->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(End.X, End.Y));
  SendMessageW(Scroller->Handle(), WM_LBUTTONUP, 0, PointToLParam(End.X, End.Y));
  EXPECT_GT(Panel->ScrollPosition(), 0);
  EXPECT_FALSE(IsHintWindowShown());
  Bar->Free();
}
