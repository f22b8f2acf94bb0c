// The skinned bar on the screen: resting on an icon where layered windows
// are composed fades the skin's hint in with the icon's title and comment, a
// key ends it; a right click on the caption opens the main menu.
#include <gtest/gtest.h>

#include "kem3/controls/kemmenu_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/graphics/vosskinner_win.h"
#include "launcher/bar_folder_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3hint_win.h"
#include "platform/files.h"

namespace {

void PumpUntil(const std::function<bool()>& Done) {
  for (int I = 0; I < 200 && !Done(); ++I) {
    Application->ProcessMessages();
    Sleep(10);
  }
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
