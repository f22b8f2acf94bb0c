// The panel, group, frame, logo and image on real windows, read from their
// own pictures: bevels, 3-D frames, gradient bands, texture dots, the
// children's area, the group's frame and language name, the frame's pieces
// and the image's clipping.
#include "kem3/controls/kempanel_win.h"

#include <gtest/gtest.h>

#include "kem3/controls/kemgroup_win.h"
#include "kem3/controls/kempicture_win.h"
#include "kem3/framework/kemlantext.h"
#include "kem3/pictures/kemimage.h"
#include "platform/app_scope_win.h"

namespace {

constexpr TColor kHighlight = 0x0000F0, kShadow = 0x00F000, kFrame = 0xF00000, kSpark = 0x00F0F0;
constexpr TColor kFace = 0xF000F0;

TColor PixelAt(TWinControl* c, int x, int y) {
  c->Repaint();
  return c->PaintBuffer()->PixelColor(x, y);
}

template <class T>
T* Place(TForm* form, int w, int h) {
  auto* c = new T(form);
  c->SetParent(form);
  c->SetBounds(5, 5, w, h);
  return c;
}

TForm* ShownForm() {
  TForm* form = NewForm<TQuietForm>(Application);
  form->SetBounds(20, 20, 300, 200);
  form->Show();
  return form;
}

}  // namespace

TEST(KemPanelWin, BevelsFramesAndChildArea) {
  TAppScope app;
  TForm* form = ShownForm();
  auto* p = Place<TKemPanel>(form, 100, 40);
  p->SetColorHighlight(kHighlight);
  p->SetColorShadow(kShadow);
  p->SetColorFrame(kFrame);
  p->SetColorSpark(kSpark);
  p->SetColor(kFace);
  EXPECT_EQ(PixelAt(p, 0, 20), kHighlight);  // raised outer bevel
  EXPECT_EQ(PixelAt(p, 99, 20), kShadow);
  EXPECT_EQ(PixelAt(p, 50, 20), kFace);
  p->SetStyle3D(s3dLowered);
  p->SetSpaceLeft(3);
  EXPECT_EQ(PixelAt(p, 1, 20), kFace);  // the space
  EXPECT_EQ(PixelAt(p, 3, 20), kHighlight);
  EXPECT_EQ(PixelAt(p, 4, 20), kShadow);
  EXPECT_EQ(PixelAt(p, 5, 20), kFrame);
  EXPECT_EQ(PixelAt(p, 97, 20), kSpark);
  p->SetBorderWidth(2);
  auto* child = new TKemPanel(form);
  child->SetParent(p);
  child->SetAlign(alClient);
  EXPECT_EQ(child->BoundsRect(), Rect(8, 5, 95, 35));
}

TEST(KemPanelWin, GradientsAndTextures) {
  TAppScope app;
  TForm* form = ShownForm();
  auto* p = Place<TKemPanel>(form, 100, 40);
  p->SetBevelOuter(bvNone);
  p->SetColorFront(0x000000);
  p->SetColorBack(0xFC00FC);
  p->SetFillStyle(fsGradHorz);
  EXPECT_EQ(PixelAt(p, 0, 10), 0x000000u);
  EXPECT_EQ(PixelAt(p, 99, 10), 0xFC00FCu);
  p->SetFillStyle(fsGradHorzInv);
  EXPECT_EQ(PixelAt(p, 0, 10), 0xFC00FCu);
  p->SetGradientColors(0);  // paints as 64 bands
  p->SetFillStyle(fsGradVert);
  EXPECT_EQ(PixelAt(p, 50, 0), 0x000000u);
  EXPECT_EQ(PixelAt(p, 50, 39), 0xFC00FCu);
  p->SetFillStyle(fsSolid);
  p->SetColor(kFace);
  p->SetColorShadow(kShadow);
  p->SetColorHighlight(kHighlight);
  p->SetTexture(ptDots);
  EXPECT_EQ(PixelAt(p, 0, 0), kShadow);
  EXPECT_EQ(PixelAt(p, 1, 1), kHighlight);
  EXPECT_EQ(PixelAt(p, 4, 4), kShadow);  // odd rows start DotSpace further
  EXPECT_EQ(PixelAt(p, 0, 4), kFace);
}

TEST(KemGroupWin, FrameAndLanguageName) {
  TAppScope app;
  TForm* form = ShownForm();
  form->SetName("dPrefs");
  std::vector<String> asked;
  SetLanguageTextHooks({[](int, const WideString&) { return WideString(u"Προτιμήσεις"); },
                        [&](const String& name) {
                          asked.push_back(name);
                          return 7;
                        }});
  auto* g = Place<TKemGroup>(form, 120, 80);
  g->SetLanId("Options");
  EXPECT_EQ(asked, std::vector<String>{"dPrefs_Options"});
  g->UpdateLanguage();
  EXPECT_EQ(g->Caption(), u"Προτιμήσεις");
  SetLanguageTextHooks({});
  g->SetCaption(u"");
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas()->Font()->Assign(*g->Font());
  const int top = measure.Canvas()->TextHeight(u"0") / 2 - 1;
  EXPECT_EQ(PixelAt(g, 50, top), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelAt(g, 50, top + 1), ColorToRGB(clBtnHighlight));
  g->SetOffsetVert(5);
  EXPECT_EQ(PixelAt(g, 50, top + 5), ColorToRGB(clBtnShadow));
}

TEST(KemPictureWin, FramePiecesAndImageClipping) {
  TAppScope app;
  TForm* form = ShownForm();
  // A 16 x 16 frame image: opaque, red top-left corner, green elsewhere, blue centre.
  TBitmap image;
  image.SetPixelFormat(pf32bit);
  image.SetSize(16, 16);
  for (int y = 0; y < 16; ++y) {
    auto* row = static_cast<std::uint8_t*>(image.ScanLine(y));
    for (int x = 0; x < 16; ++x) {
      const TColor c = x < 6 && y < 6 ? 0x0000FF : (x == 8 && y == 8 ? 0xFF0000 : 0x00FF00);
      row[4 * x] = static_cast<std::uint8_t>(GetBlue(c));
      row[4 * x + 1] = static_cast<std::uint8_t>(GetGreen(c));
      row[4 * x + 2] = static_cast<std::uint8_t>(GetRed(c));
      row[4 * x + 3] = 255;
    }
  }
  auto* f = Place<TKemFrame>(form, 40, 30);
  f->SetImage(image);
  EXPECT_EQ(PixelAt(f, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelAt(f, 20, 0), 0x00FF00u);   // top edge
  EXPECT_EQ(PixelAt(f, 20, 15), 0xFF0000u);  // the inside takes the centre pixel
  f->SetFillColor(0xFF0000);                 // equal to the centre: the image stays
  EXPECT_EQ(PixelAt(f, 0, 0), 0x0000FFu);
  f->SetFillColor(0x808080);
  EXPECT_EQ(PixelAt(f, 0, 0), 0x808080u);
  EXPECT_EQ(PixelAt(f, 20, 15), 0x808080u);

  // A centred image larger than the control is clipped on all sides.
  TBitmap big;
  big.SetPixelFormat(pf32bit);
  big.SetSize(100, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) big.SetPixelColor(x, y, RGBColor(x, y, 7));
  auto* im = Place<TKemImage>(form, 75, 75);
  im->SetCenter(true);
  im->SetImage(big);
  EXPECT_EQ(PixelAt(im, 0, 0), RGBColor(12, 12, 7));
  EXPECT_EQ(PixelAt(im, 74, 74), RGBColor(86, 86, 7));
  im->SetCenter(false);
  for (TPoint corner : {Point(99, 0), Point(0, 99), Point(99, 99)})
    big.SetPixelColor(corner.X, corner.Y, RGBColor(0, 0, 7));
  im->SetImage(big);
  im->SetTransparent(true);  // the corner colour (0, 0, 7) lets Color through
  im->SetColor(kFace);
  EXPECT_EQ(PixelAt(im, 0, 0), kFace);
  EXPECT_EQ(PixelAt(im, 3, 2), RGBColor(3, 2, 7));

  auto* logo = new TKemLogo(form);
  logo->SetParent(form);
  logo->SetColor(kFace);
  EXPECT_EQ(logo->BoundsRect(), Rect(0, 0, 130, 75));
  EXPECT_EQ(PixelAt(logo, 60, 30), kFace);
}

TEST(KemGroupWin, AcceleratorFocusesTheFirstControlInside) {
  TAppScope app;
  TForm* form = ShownForm();
  auto* outside = Place<TCustomControl>(form, 20, 20);
  outside->SetTabStop(true);
  auto* g = Place<TKemGroup>(form, 120, 80);
  g->SetCaption(u"&Ομάδα");
  auto* plain = new TCustomControl(form);  // not a tab stop: walked into
  plain->SetParent(g);
  plain->SetBounds(5, 20, 100, 40);
  auto* first = new TCustomControl(form);
  first->SetParent(plain);
  first->SetTabStop(true);
  auto* second = new TCustomControl(form);
  second->SetParent(g);
  second->SetTabStop(true);
  const struct {
    bool Enabled;
    WideChar Key;
    bool Taken;
  } kCases[] = {{true, u'x', false}, {false, u'ο', false}, {true, u'Ο', true}};
  for (const auto& c : kCases) {
    outside->SetFocus();
    g->SetEnabled(c.Enabled);
    EXPECT_EQ(BroadcastDialogChar(form, c.Key, {ssAlt}), c.Taken);
    EXPECT_EQ(first->Focused(), c.Taken);
  }
}
