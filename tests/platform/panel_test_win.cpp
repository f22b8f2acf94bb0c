// TPanel's painting: bevels, border and colour, read from its own picture.
#include "platform/extctrls_win.h"

#include <gtest/gtest.h>

#include "app_scope_win.h"
#include "platform/forms_win.h"

namespace {

TPanel* ShownPanel(TForm*& form) {
  form = NewForm<TQuietForm>(Application);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 200, 100);
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 40, 30);
  panel->SetColor(clRed);
  form->Show();
  return panel;
}

}  // namespace

TEST(PanelWin, RaisedOuterBevelAroundItsColour) {
  TAppScope app;
  TForm* form = nullptr;
  TPanel* panel = ShownPanel(form);
  panel->Repaint();
  TBitmap* picture = panel->PaintBuffer();
  ASSERT_NE(picture, nullptr);
  const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  EXPECT_EQ(picture->PixelColor(0, 0), light);
  EXPECT_EQ(picture->PixelColor(38, 0), light);
  EXPECT_EQ(picture->PixelColor(39, 0), dark);  // top-right corner
  EXPECT_EQ(picture->PixelColor(0, 28), light);
  EXPECT_EQ(picture->PixelColor(0, 29), dark);  // bottom-left corner
  EXPECT_EQ(picture->PixelColor(39, 29), dark);
  EXPECT_EQ(picture->PixelColor(1, 1), clRed);
  EXPECT_EQ(picture->PixelColor(20, 15), clRed);
}

TEST(PanelWin, LoweredInnerBevelInsideTheBorder) {
  TAppScope app;
  TForm* form = nullptr;
  TPanel* panel = ShownPanel(form);
  panel->SetBevelOuter(bvNone);
  panel->SetBorderWidth(2);
  panel->SetBevelInner(bvLowered);
  panel->Repaint();
  TBitmap* picture = panel->PaintBuffer();
  const TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  EXPECT_EQ(picture->PixelColor(0, 0), clRed);  // the border in the panel's colour
  EXPECT_EQ(picture->PixelColor(1, 1), clRed);
  EXPECT_EQ(picture->PixelColor(2, 2), dark);
  EXPECT_EQ(picture->PixelColor(37, 27), light);
  EXPECT_EQ(picture->PixelColor(3, 3), clRed);
}
