// The skinned bar's hint where layered windows are composed: resting on an
// icon shows its title and comment in the skin's hint, faded in to full
// opacity, and a key ends it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "kem3/controls/kemplist_win.h"
#include "kem3/framework/kemcfg.h"
#include "launcher/bar_folder_win.h"
#include "launcher/main_win.h"
#include "launcher/ov3cfg.h"
#include "launcher/ov3hint_win.h"
#include "platform/files.h"

namespace {

class BarHintsWin : public BarFolderWin {
 protected:
  BarHintsWin() {
    WriteFileAtomic(Dir.file("ov3.xml"),
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ov3contents><groups>"
                    "<group title=\"Tools\"><icons><icon id=\"1\" title=\"Editor\" comment=\"notes\\nmore\" "
                    "type=\"program\"><application filename=\"ed.exe\"/></icon></icons></group>"
                    "</groups></ov3contents>\n");
  }
  static void Pump(int Ms) {
    const DWORD End = GetTickCount() + DWORD(Ms);
    while (GetTickCount() < End) {
      Application->ProcessMessages();
      Sleep(2);
    }
  }
};

}  // namespace

TEST_F(BarHintsWin, RestingOnAnIconFadesTheSkinsHintInOnPlatformTypeSeven) {
  TfMain* Bar = NewForm<TfMain>(Application);
  cfgSetValue(ovsIconsComment, Variant(1));
  Bar->Show();
  InstallBarHintWindow(7);
  TKemPanelList* Icons = Bar->plIcons;
  ASSERT_GE(Icons->Count(), 1);
  const TRect R = Icons->ItemRect(0);
  const TPoint On = Icons->ClientToScreen({R.Left + R.Width() / 2, R.Top + R.Height() / 2});
  SetCursorPos(On.X, On.Y);
  const TPoint C = Icons->ScreenToClient(On);
  SendMessageW(Icons->Handle(), WM_MOUSEMOVE, 0, PointToLParam(C.X, C.Y));
  auto* Hint = dynamic_cast<TOvHintWindow*>(GlobalHintWindow());
  ASSERT_NE(Hint, nullptr);
  Pump(300);
  EXPECT_FALSE(IsHintWindowShown()) << "not before the pointer rested";
  for (int I = 0; I < 100 && !IsHintWindowShown(); ++I) Pump(20);
  ASSERT_TRUE(IsHintWindowShown());
  EXPECT_LT(Hint->Opacity(), 255) << "fading in";
  for (int I = 0; I < 100 && Hint->Opacity() < 255; ++I) Pump(20);
  EXPECT_EQ(Hint->Opacity(), 255);
  // The title as written, without the accelerator mark the panel gave it.
  EXPECT_EQ(Bar->plIcons->Items(0)->Caption(), u"&Editor");
  EXPECT_EQ(Hint->Text(), u"Editor\r\nnotes\r\nmore");
  EXPECT_NE(GetWindowLongPtrW(Hint->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  // Below the icon, kept on its monitor.
  EXPECT_GT(Hint->Top(), Icons->ClientToScreen({0, R.Top}).Y);
  if (const char* Shot = std::getenv("ORV_BAR_HINT_SHOT")) {
    HDC Screen = GetDC(nullptr);
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(GetSystemMetrics(SM_CXSCREEN), 300);
    BitBlt(B.Canvas()->Handle(), 0, 0, B.Width(), B.Height(), Screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, Screen);
    B.SaveToFile(Shot);
  }
  PostMessageW(Icons->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
  Pump(50);
  EXPECT_FALSE(IsHintWindowShown());
  Bar->Free();
}
