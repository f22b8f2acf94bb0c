// The bit button on real windows: its size from the image, the face it shows
// (normal, pressed, Down) and nine-part scaling, read from its own picture.
#include "kem3/controls/kembbt_win.h"

#include <gtest/gtest.h>

#include "platform/app_scope_win.h"

namespace {

constexpr TColor kNormal = 0x00C000, kPressed = 0xC00000, kCorner = 0x0000C0;

// Two 40 x 20 faces: green on the left, blue on the right, each with red 3 x 3 corners.
void FacesImage(TBitmap& image) {
  image.SetPixelFormat(pf24bit);
  image.SetSize(80, 20);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 80; ++x) {
      const int fx = x % 40;
      const bool corner = (fx < 3 || fx >= 37) && (y < 3 || y >= 17);
      image.SetPixelColor(x, y, corner ? kCorner : x < 40 ? kNormal : kPressed);
    }
  }
}

TKemBitButton* NewBitButton(TWinControl* parent) {
  auto* b = new TKemBitButton(parent);
  b->SetParent(parent);
  b->SetLeft(10);
  b->SetTop(10);
  b->SetFocusOnPress(false);
  return b;
}

TColor PixelAt(TKemBitButton* b, int x, int y) {
  b->Repaint();
  return b->PaintBuffer()->PixelColor(x, y);
}

}  // namespace

TEST(KemBitButtonWin, TheImageGivesTheSizeAndTheFaces) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(40, 40, 300, 200);
  form->Show();
  TKemBitButton* b = NewBitButton(form);
  EXPECT_TRUE(b->AutoSize());
  EXPECT_EQ(b->Width(), 75);  // no image yet: the button's own size
  TBitmap faces;
  FacesImage(faces);
  b->SetImage(faces);
  EXPECT_EQ(b->Width(), 40);
  EXPECT_EQ(b->Height(), 20);
  EXPECT_EQ(PixelAt(b, 10, 10), kNormal);
  EXPECT_EQ(PixelAt(b, 1, 1), kCorner);

  // Down shows the pressed face for good, as a held press does.
  b->SetDown(true);
  EXPECT_EQ(PixelAt(b, 10, 10), kPressed);
  b->SetDown(false);
  SendMouse(b->Handle(), WM_LBUTTONDOWN, 10, 10, MK_LBUTTON);
  EXPECT_EQ(PixelAt(b, 10, 10), kPressed);
  SendMouse(b->Handle(), WM_LBUTTONUP, 10, 10);
  EXPECT_EQ(PixelAt(b, 10, 10), kNormal);
}

TEST(KemBitButtonWin, CornersKeepTheirSizeWhenTheFaceScales) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(40, 40, 300, 200);
  form->Show();
  TKemBitButton* b = NewBitButton(form);
  TBitmap faces;
  FacesImage(faces);
  b->SetImage(faces);
  b->SetCornerWidth(3);
  b->SetCornerHeight(3);
  EXPECT_EQ(b->Width(), 40);  // with both corners set the size is the button's own
  b->SetBounds(10, 10, 100, 40);
  EXPECT_EQ(PixelAt(b, 1, 1), kCorner);
  EXPECT_EQ(PixelAt(b, 98, 38), kCorner);
  EXPECT_EQ(PixelAt(b, 3, 3), kNormal);  // just inside: the corner did not grow
  EXPECT_EQ(PixelAt(b, 96, 36), kNormal);

  // Stretched whole, the corners grow with the face.
  b->SetCornerWidth(0);
  b->SetCornerHeight(0);
  EXPECT_EQ(b->Width(), 40);  // the image sizes the button again
  b->SetAutoSize(false);
  b->SetBounds(10, 10, 100, 40);
  EXPECT_EQ(PixelAt(b, 5, 4), kCorner);
}
