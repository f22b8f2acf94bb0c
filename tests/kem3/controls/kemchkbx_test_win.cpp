// The checkbox on a real window: box edges and check mark from its picture,
// clicks, a press that leaves, the accelerator and a press the capture ends.
#include "kem3/controls/kemchkbx_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"

namespace {

constexpr TColor kHighlight = 0x0000F0, kShadow = 0x00F000, kFrame = 0xF00000, kSpark = 0x00F0F0;
constexpr TColor kFill = 0x303030, kFillSel = 0x606060, kGray = 0x909090, kFace = 0xF000F0, kMark = 0x0000A0;

struct TScene {
  TForm* Form = nullptr;
  TKemCheckbox* Box = nullptr;
  int Clicks = 0;
};

void Make(TScene& s) {
  s.Form = NewForm<TQuietForm>(Application);
  s.Form->SetBounds(20, 20, 200, 100);
  auto* b = new TKemCheckbox(s.Form);
  s.Box = b;
  b->SetParent(s.Form);
  b->SetBounds(10, 10, 97, 17);
  b->SetColorHighlight(kHighlight);
  b->SetColorShadow(kShadow);
  b->SetColorFrame(kFrame);
  b->SetColorSpark(kSpark);
  b->SetColorFill(kFill);
  b->SetColorFillSel(kFillSel);
  b->SetColorGray(kGray);
  b->SetColor(kFace);
  b->Font()->SetColor(kMark);
  b->SetCaption(u"&Κουτί");
  b->OnClick = [&s](TObject*) { ++s.Clicks; };
  s.Form->Show();
}

TColor PixelAt(TKemCheckbox* b, int x, int y) {
  b->Repaint();
  return b->PaintBuffer()->PixelColor(x, y);
}

}  // namespace

TEST(KemCheckboxWin, PaintsEdgesGlyphAndStates) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemCheckbox* b = s.Box;
  // Height 17: the box at (0, 2); raised edges.
  EXPECT_EQ(PixelAt(b, 0, 5), kShadow);
  EXPECT_EQ(PixelAt(b, 1, 5), kFrame);
  EXPECT_EQ(PixelAt(b, 12, 5), kHighlight);
  EXPECT_EQ(PixelAt(b, 11, 5), kSpark);
  EXPECT_EQ(PixelAt(b, 6, 8), kFill);
  b->SetChecked(true);
  // The glyph at (2, 4): every pixel as the mark says.
  for (int row = 0; row < 9; ++row)
    for (int col = 0; col < 9; ++col)
      EXPECT_EQ(PixelAt(b, 2 + col, 4 + row), kCheckMarkGlyph[row][col] == '#' ? kMark : kFill) << row << "," << col;
  b->SetState(cbGrayed);
  EXPECT_EQ(PixelAt(b, 6, 8), kGray);
  b->SetFlat(true);
  EXPECT_EQ(PixelAt(b, 0, 5), kFrame);
  EXPECT_EQ(PixelAt(b, 12, 5), kFrame);
  EXPECT_EQ(PixelAt(b, 1, 5), kGray);
}

TEST(KemCheckboxWin, PressClickAndLeaving) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemCheckbox* b = s.Box;
  HWND h = b->Handle();
  b->SetState(cbGrayed);
  SendMouse(h, WM_LBUTTONDOWN, 5, 8, MK_LBUTTON);
  EXPECT_TRUE(b->Pressed());
  EXPECT_EQ(PixelAt(b, 6, 8), kFillSel);
  SendMouse(h, WM_LBUTTONUP, 5, 8);
  EXPECT_EQ(b->State(), cbChecked);  // grey becomes checked
  EXPECT_EQ(s.Clicks, 1);
  // Leaving while held: no change.
  SendMouse(h, WM_LBUTTONDOWN, 5, 8, MK_LBUTTON);
  SendMouse(h, WM_MOUSEMOVE, 150, 8, MK_LBUTTON);
  EXPECT_FALSE(b->Pressed());
  SendMouse(h, WM_LBUTTONUP, 150, 8);
  EXPECT_EQ(b->State(), cbChecked);
  EXPECT_EQ(s.Clicks, 1);
  // A press the system ends: nothing stays pressed.
  SendMouse(h, WM_LBUTTONDOWN, 5, 8, MK_LBUTTON);
  SendMessageW(h, WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(b->Pressed());
  SendMouse(h, WM_LBUTTONDOWN, 5, 8, MK_LBUTTON);
  b->SetEnabled(false);
  EXPECT_FALSE(b->Pressed());
  b->SetEnabled(true);
  // Space clicks.
  SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(b->State(), cbUnchecked);
}

TEST(KemCheckboxWin, AcceleratorFocusesAndTogglesThroughGrey) {
  TAppScope app;
  TScene s;
  Make(s);
  TKemCheckbox* b = s.Box;
  b->SetAllowGrayed(true);
  const struct {
    WideChar Key;
    TCheckBoxState After;
  } kCases[] = {{u'κ', cbGrayed}, {u'Κ', cbChecked}, {u'x', cbChecked}, {u'κ', cbUnchecked}};
  for (const auto& c : kCases) {
    BroadcastDialogChar(s.Form, c.Key, {ssAlt});
    EXPECT_EQ(b->State(), c.After) << static_cast<int>(c.Key);
  }
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(s.Clicks, 3);
}
