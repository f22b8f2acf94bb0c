// The layout pass on fixed metrics: wrapping, alignment, margins, tabs,
// picture lift, zero widths, links, and the height measuring and painting share.
#include "kem3/controls/kemlout_pass.h"

#include <gtest/gtest.h>

#include "platform/unicode_convert.h"

namespace {

// Characters are (font size - 2) pixels wide, lines twice the font size high:
// 6 x 16 at the default 8 points; bold adds one pixel per character.
struct TFixedCanvas : IKemLayoutCanvas {
  int Size = 8;
  bool Bold = false;
  std::vector<std::string> Drawn;
  int Fills = 0;
  TSize TextExtent(const WideString& Text) override {
    return TSize{(Size - 2 + (Bold ? 1 : 0)) * static_cast<int>(Text.size()), 2 * Size};
  }
  void SelectFont(const TFont& Font) override {
    Size = Font.Size();
    Bold = Font.Style().Contains(fsBold);
  }
  void FillRect(const TRect&, TColor) override { ++Fills; }
  void DrawText(int X, int Y, const WideString& Text, TColor, TColor) override {
    Drawn.push_back(WideToUtf8(Text) + "@" + std::to_string(X) + "," + std::to_string(Y));
  }
  void DrawPicture(TBitmap& Picture, int X, int Y) override {
    Drawn.push_back("pic" + std::to_string(Picture.Width()) + "@" + std::to_string(X) + "," + std::to_string(Y));
  }
};

std::unique_ptr<TBitmap> Picture(int Size) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(Size, Size);
  return b;
}

// Each piece's text and rectangle's top left, laid out Width wide.
std::string Layout(TKemParagraph& P, int Width, int* Height = nullptr, TKemLayoutPictures* Pictures = nullptr) {
  TFixedCanvas canvas;
  TKemLayoutPictures none;
  TKemLayoutPass pass;
  pass.Width = Width;
  const int h = LayoutParagraph(P, canvas, Pictures ? *Pictures : none, pass, 0, 0);
  if (Height) *Height = h;
  std::string out;
  for (const auto& piece : P.Pieces()) {
    if (piece->Width == 0) continue;  // spaces, and pictures that could not be had
    out += (out.empty() ? "" : " ") + WideToUtf8(piece->Text) + "@" + std::to_string(piece->Rect.Left) + "," +
           std::to_string(piece->Rect.Top);
  }
  return out;
}

}  // namespace

TEST(KemLayoutPass, LinesBreakAlignAndKeepTheirMargins) {
  ClearTextStyles();
  AddTextStyle("centre", "Arial", 8, clBlack, kaCenter, TRect{});
  AddTextStyle("right", "Arial", 8, clBlack, kaRight, TRect{});
  AddTextStyle("justify", "Arial", 8, clBlack, kaJustify, TRect{});
  AddTextStyle("margins", "Arial", 8, clBlack, kaLeft, TRect{10, 5, 10, 7});
  // Words 24 wide, spaces 6, in a width of 100: three words fit on a line.
  const struct {
    const char16_t* Style;
    const char* Pieces;
    int Height;
  } cases[] = {
      {u"", "aaaa@0,0 bbbb@30,0 cccc@60,0 dddd@0,16", 32},
      {u"{s:centre}", "aaaa@8,0 bbbb@38,0 cccc@68,0 dddd@38,16", 32},
      {u"{s:right}", "aaaa@16,0 bbbb@46,0 cccc@76,0 dddd@76,16", 32},
      {u"{s:justify}", "aaaa@0,0 bbbb@38,0 cccc@76,0 dddd@0,16", 32},  // the last line stays left
      {u"{s:margins}", "aaaa@10,5 bbbb@40,5 cccc@10,21 dddd@40,21", 5 + 32 + 7},
  };
  for (const auto& c : cases) {
    TKemParagraph p(WideString(c.Style) + u"aaaa bbbb cccc dddd");
    int height = 0;
    EXPECT_EQ(Layout(p, 100, &height), c.Pieces) << WideToUtf8(c.Style);
    EXPECT_EQ(height, c.Height) << WideToUtf8(c.Style);
  }
  ClearTextStyles();
}

TEST(KemLayoutPass, WordsThatDoNotFitMoveAndAreMeasuredAgain) {
  const struct {
    const char16_t* Text;
    int Width;
    const char* Pieces;
  } cases[] = {
      // A word wider than the line stands alone and overflows.
      {u"aa bbbbbbbbbbbbbbbbbbbb cc", 60, "aa@0,0 bbbbbbbbbbbbbbbbbbbb@0,16 cc@0,32"},
      // The moved word counts on its new line, so the next one moves on too.
      {u"aaaa bbbb cccc dddddddddddd eeee", 100, "aaaa@0,0 bbbb@30,0 cccc@60,0 dddddddddddd@0,16 eeee@0,32"},
      // A piece that fits without its space ends the line itself.
      {u"aaaa bbbbbbbbbb c", 100, "aaaa@0,0 bbbbbbbbbb@30,0 c@0,16"},
      // A bold word is measured in its own font.
      {u"aaaaaaaa {b1}bbbbbbbb", 100, "aaaaaaaa@0,0 bbbbbbbb@0,16"},
      {u"", 100, ""},
      {u"a b", 0, "a@0,0 b@0,16"},  // no room at all: one piece per line
  };
  for (const auto& c : cases) {
    TKemParagraph p(c.Text);
    EXPECT_EQ(Layout(p, c.Width), c.Pieces) << WideToUtf8(c.Text);
  }
}

TEST(KemLayoutPass, TabStopsPlacePieces) {
  ClearTextStyles();
  AddTextStyle("tabs", "Arial", 8, clBlack, kaLeft, TRect{10, 0, 10, 0})->AddTabs({50, -4});
  const struct {
    const char16_t* Text;
    const char* Pieces;
  } cases[] = {
      {u"{tl}ab{tr}cd", "ab@60,0 cd@73,0"},  // right stop: 100 - 10 - 4 - 1 = 85, less the width
      // Decimal: the separator at the stop; a piece moved on takes the first stop of its line.
      {u"{tc}12.5{tc}1,25", "12.5@48,0 1,25@54,16"},
      {u"{tc}125", "125@60,0"},  // no separator: as a left tab
      // A hanging tab starts the following lines where it placed its piece.
      {u"1. {th}aaaa bbbb cccc", "1.@10,0 aaaa@60,0 bbbb@60,16 cccc@60,32"},
  };
  for (const auto& c : cases) {
    TKemParagraph p(WideString(u"{s:tabs}") + c.Text);
    EXPECT_EQ(Layout(p, 100), c.Pieces) << WideToUtf8(c.Text);
  }
  ClearTextStyles();
}

TEST(KemLayoutPass, PicturesLiftTheirLineAndMissingOnesTakeNoRoom) {
  int loads = 0;
  TKemLayoutPictures pictures([&](const TKemTextPiece& Piece) -> std::unique_ptr<TBitmap> {
    ++loads;
    if (Piece.Text == u"bad.png") throw EInvalidGraphic("damaged");
    return Piece.IsResource ? Picture(20) : nullptr;
  });
  pictures.Add(Picture(32));
  const struct {
    const char16_t* Text;
    const char* Pieces;
    int Height;
  } cases[] = {
      // Middle: (32 - 16) div 2 lifts the text by 8; the next line starts without lift.
      {u"a {pm local:0} b cccccccccccc", "a@0,8 local:0@12,0 b@50,8 cccccccccccc@0,32", 48},
      {u"a {pb local:0}", "a@0,16 local:0@12,0", 32},
      {u"a {pt local:0}", "a@0,0 local:0@12,0", 32},
      {u"{pt local:7}{pt bad.png}{pt nothing.png}a", "a@0,0", 16},  // none of these: 0 x 0, skipped
      {u"{pt res:pic}{pt bad.png}", "res:pic@0,0", 20},
  };
  for (const auto& c : cases) {
    TKemParagraph p(c.Text);
    int height = 0;
    EXPECT_EQ(Layout(p, 100, &height, &pictures), c.Pieces) << WideToUtf8(c.Text);
    EXPECT_EQ(height, c.Height) << WideToUtf8(c.Text);
  }
  EXPECT_EQ(loads, 3);  // each name loaded once, failures included

  // A title put in literally names no picture.
  TKemParagraph title(KemLiteralText(u"{p \\\\host\\a.png}"));
  Layout(title, 100, nullptr, &pictures);
  EXPECT_EQ(loads, 3);
}

TEST(KemLayoutPass, MeasuringGivesThePaintedHeightAndTheLinks) {
  ClearTextStyles();
  AddTextStyle("spaced", "Arial", 10, clBlack, kaJustify, TRect{0, 3, 0, 12});
  std::vector<std::unique_ptr<TKemParagraph>> paragraphs;
  paragraphs.push_back(std::make_unique<TKemParagraph>(u"{s:spaced}{l1:target}a b{l0} c dd"));
  paragraphs.push_back(std::make_unique<TKemParagraph>(u"{s:spaced}{f00FF00,m1}g {x fontsize=20;big}"));
  paragraphs.push_back(std::make_unique<TKemParagraph>(u"plain"));
  TKemLayoutPictures pictures;
  TKemLayoutPass pass;
  pass.Width = 60;
  TFixedCanvas measure, paint;
  const int measured = LayoutParagraphs(paragraphs, measure, pictures, pass, 0);
  pass.Paint = true;
  EXPECT_EQ(LayoutParagraphs(paragraphs, paint, pictures, pass, 0), measured);
  // 3 + two lines of 20 + 12; 3 + a line of 20 and one high as the 20-point
  // font that broke it + 12; one line of 16.
  EXPECT_EQ(measured, 55 + 75 + 16);
  EXPECT_TRUE(measure.Drawn.empty());
  EXPECT_EQ(measure.Fills, 0);
  ASSERT_FALSE(paint.Drawn.empty());
  EXPECT_EQ(paint.Drawn.front(), "a @0,3");

  const TKemTextLink* link = paragraphs[0]->Links().front().get();
  EXPECT_TRUE(link->Valid);
  EXPECT_EQ(link->Rect, (TRect{0, 3, paragraphs[0]->Pieces()[1]->Rect.Right, 23}));
  EXPECT_EQ(KemLinkAt(paragraphs, Point(10, 10)), link);
  EXPECT_EQ(KemLinkAt(paragraphs, paragraphs[0]->Pieces()[3]->Rect.TopLeft()), nullptr);  // c

  pass.Transparent = true;  // over a background: text only, nothing filled
  TFixedCanvas over;
  EXPECT_EQ(LayoutParagraphs(paragraphs, over, pictures, pass, 0), measured);
  EXPECT_EQ(over.Fills, 0);
  EXPECT_EQ(over.Drawn.size(), paint.Drawn.size());
  ClearTextStyles();
}

TEST(KemLayoutPass, FilePicturesShowTheirCornerColourThrough) {
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(3, 2);
  for (int x = 0; x < 3; ++x) picture.SetPixelColor(x, 0, clRed), picture.SetPixelColor(x, 1, clLime);
  picture.SetPixelColor(2, 1, clRed);  // three corners red
  KemMaskCornerColor(picture);
  EXPECT_EQ(picture.PixelFormat(), pf32bit);
  EXPECT_EQ(picture.AlphaFormat(), afDefined);
  const auto alpha = [&](int x, int y) { return static_cast<const TRGBQuad*>(picture.ScanLine(y))[x].rgbReserved; };
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(2, 1), 0);
  EXPECT_EQ(alpha(0, 1), 255);
  EXPECT_EQ(picture.PixelColor(0, 1), clLime);
}
