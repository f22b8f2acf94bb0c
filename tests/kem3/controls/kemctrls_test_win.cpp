// The unit combo box on a real window: owner-drawn with 15-pixel items from
// the start, wide items, and its item drawing read off the screen.
#include "kem3/controls/kemctrls_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"

namespace {

// The colours the combo box shows in the edit part's left half, read from
// the window as it stands on the screen.
int InkPixels(TWinControl* Combo) {
  RedrawWindow(Combo->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  const int w = Combo->Width() / 2, h = Combo->Height() - 6;
  TBitmap shot;
  shot.SetSize(w, h);
  HDC window = GetDC(Combo->Handle());
  BitBlt(shot.Canvas()->Handle(), 0, 0, w, h, window, 3, 3, SRCCOPY);
  ReleaseDC(Combo->Handle(), window);
  const TColor back = shot.PixelColor(0, 0);
  int ink = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ink += shot.PixelColor(x, y) != back;
  return ink;
}

}  // namespace

TEST(KemUnitComboBoxWin, OwnerDrawnWithFixedItemsAndWideTexts) {
  TAppScope app;
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(0, 0, 200, 100);
  auto* u = new TKemUnitComboBox(form);
  u->SetParent(form);
  u->SetBounds(10, 10, 120, 21);
  u->Items()->Add(u"мм");
  u->Items()->Add(u"χιλιοστά");
  form->Show();
  EXPECT_EQ(u->Style(), csOwnerDrawFixed);
  EXPECT_TRUE(GetWindowLongW(u->Handle(), GWL_STYLE) & CBS_OWNERDRAWFIXED);
  EXPECT_EQ(u->ItemHeight(), TKemUnitComboBox::kItemHeight);
  EXPECT_EQ(SendMessageW(u->Handle(), CB_GETITEMHEIGHT, 0, 0), TKemUnitComboBox::kItemHeight);
  EXPECT_EQ(u->Items()->Get(1), u"χιλιοστά");
  // Nothing selected: the edit part is only filled; an entry shows its text.
  EXPECT_EQ(InkPixels(u), 0);
  u->SetItemIndex(1);
  EXPECT_GT(InkPixels(u), 10);
}
