// The skinned bar's caption on the screen: a right click on it opens the
// main menu where the pointer is, Escape closes it again.
#include <gtest/gtest.h>

#include <cstdlib>

#include "kem3/controls/kemmenu_win.h"
#include "kem3/graphics/vosskinner_win.h"
#include "launcher/bar_folder_win.h"
#include "launcher/main_win.h"

namespace {

template <class T>
T* FindChild(TWinControl* Parent) {
  for (int I = 0; I < Parent->ControlCount(); ++I) {
    if (auto* Found = dynamic_cast<T*>(Parent->Controls(I))) return Found;
    if (auto* Inner = dynamic_cast<TWinControl*>(Parent->Controls(I)))
      if (T* Found = FindChild<T>(Inner)) return Found;
  }
  return nullptr;
}

void Pump() {
  MSG Msg;
  while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
  }
}

}  // namespace

using BarCaptionWin = BarFolderWin;

TEST_F(BarCaptionWin, ARightClickOnTheCaptionOpensTheMainMenuThere) {
  TfMain* Bar = NewForm<TfMain>(Application);
  Bar->Show();
  Pump();
  auto* Caption = FindChild<TVosFormCaption>(Bar);
  ASSERT_TRUE(Caption && Caption->Showing());
  const TPoint At = Caption->ClientToScreen({Caption->Width() / 2, Caption->Height() / 2});
  SetCursorPos(At.X, At.Y);
  PostMessageW(Caption->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, PointToLParam(Caption->Width() / 2, 2));
  PostMessageW(Caption->Handle(), WM_RBUTTONUP, 0, PointToLParam(Caption->Width() / 2, 2));
  Pump();
  TKemMenu* Menu = ActivePopupMenu();
  ASSERT_EQ(Menu, Bar->BarMenu(obmMain));
  EXPECT_TRUE(Bar->MenuOpen() && Menu->Visible() && IsWindowVisible(Menu->Handle()));
  RECT R{};
  GetWindowRect(Menu->Handle(), &R);
  EXPECT_TRUE(R.right > R.left && R.bottom > R.top);
  if (const char* Shot = std::getenv("ORV_CAPTION_SHOT")) {
    // To look at: the bar and its open menu as the screen shows them.
    HDC Screen = GetDC(nullptr);
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    BitBlt(B.Canvas()->Handle(), 0, 0, B.Width(), B.Height(), Screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, Screen);
    B.SaveToFile(Shot);
  }
  PostMessageW(Menu->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump();
  EXPECT_FALSE(Bar->MenuOpen());
  Bar->Free();
}
