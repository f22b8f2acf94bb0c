// The text layout on a real window: what it paints stays inside the pieces'
// rectangles, pictures land where the pass put them, the height measured
// equals the height painted, and a click on a link fires OnLink.
#include "kem3/controls/kemlout_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/app_scope_win.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

// The bounding box of the pixels within Area that differ from Background.
TRect InkBox(TBitmap& Picture, const TRect& Area, TColor Background) {
  TRect box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = Area.Top; y < Area.Bottom; ++y)
    for (int x = Area.Left; x < Area.Right; ++x)
      if (Picture.PixelColor(x, y) != Background)
        box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
  return box;
}

}  // namespace

TEST(KemLayoutWin, PaintsTextInsideItsPiecesAndMeasuresWhatItPaints) {
  TAppScope app;
  auto* form = NewForm<TQuietForm>(Application);
  form->SetBounds(40, 40, 400, 400);
  form->Show();
  ClearTextStyles();
  AddTextStyle("wtext", "Arial", 10, clBlack, kaJustify, TRect{4, 6, 4, 12});
  auto* layout = new TKemLayout(form);
  layout->SetBounds(0, 0, 200, 300);
  layout->SetColor(clWhite);
  auto red = std::make_unique<TBitmap>();
  red->SetPixelFormat(pf24bit);
  red->SetSize(12, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 12; ++x) red->SetPixelColor(x, y, clRed);
  EXPECT_EQ(layout->AddPicture(std::move(red)), 0);
  layout->AddParagraph(u"{s:wtext}Some words that are many enough to wrap on two or three lines of this layout.");
  layout->AddParagraph(u"{s:wtext}{l1:target}A link{l0} and {pm local:0} a picture.");
  layout->AddParagraph(u"{c0000FF}" + KemLiteralText(u"{p \\\\host\\a.png} title"));
  // A file picture: blue within a red frame, the corner colour shown through.
  TempDir dir;
  TBitmap framed;
  framed.SetPixelFormat(pf24bit);
  framed.SetSize(10, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 10; ++x) framed.SetPixelColor(x, y, x < 2 || x > 7 || y < 2 || y > 17 ? clRed : clBlue);
  framed.SaveToFile(dir.file("framed.bmp"));
  layout->AddParagraph(u"{pt " + Utf8ToWide(dir.file("framed.bmp")) + u"}");
  EXPECT_EQ(layout->GetParagraphCount(), 4);
  const int measured = layout->CalcLayoutHeight();  // before it has a window
  EXPECT_GT(measured, 3 * 16);
  layout->SetParent(form);

  layout->Repaint();
  EXPECT_EQ(layout->LayoutHeight(), measured);
  TBitmap* shown = layout->PaintBuffer();
  if (const char* file = std::getenv("ORV_LAYOUT_SHOT")) shown->SaveToFile(file);
  int lines = 0, lastTop = -1;
  std::vector<TRect> cells;
  for (const auto& paragraph : layout->Paragraphs()) {
    for (const auto& piece : paragraph->Pieces()) {
      if (piece->Width == 0) continue;
      if (piece->Rect.Top != lastTop) ++lines, lastTop = piece->Rect.Top;
      EXPECT_LE(piece->Rect.Right, 200 - 4 + 1) << "piece beyond the right margin";
      if (piece->IsPicture) {
        const TPoint inside{piece->Rect.Left + 5, piece->Rect.Top + 10};
        EXPECT_EQ(shown->PixelColor(inside.X, inside.Y), piece->IsLocal ? clRed : clBlue);
        if (!piece->IsLocal) {
          EXPECT_EQ(shown->PixelColor(piece->Rect.Left, piece->Rect.Top), clWhite);
        }
        cells.push_back(piece->Rect);
        continue;
      }
      EXPECT_FALSE(IsRectEmpty(InkBox(*shown, piece->Rect, clWhite))) << "nothing drawn for a piece";
      cells.push_back(piece->Rect);
      cells.back().Right += piece->SpaceWidth;  // the space drawn after it
    }
  }
  // Whatever is drawn lies within the rectangle of a piece.
  int outside = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 200; ++x)
      if (shown->PixelColor(x, y) != clWhite &&
          std::none_of(cells.begin(), cells.end(), [&](const TRect& r) { return PtInRect(r, Point(x, y)); }))
        ++outside;
  EXPECT_EQ(outside, 0);
  EXPECT_GE(lines, 5);
  EXPECT_TRUE(IsRectEmpty(InkBox(*shown, TRect{0, measured, 200, 300}, clWhite)));  // nothing below the text

  // Literal text shows the braces as words.
  const auto& title = layout->Paragraphs()[2]->Pieces();
  EXPECT_EQ(title.front()->Text, u"{");
  EXPECT_EQ(title.front()->Format.Color, 0x0000FF);

  TKemTextLink* clicked = nullptr;
  layout->OnLink = [&](TObject*, TKemTextLink* Link) { clicked = Link; };
  const TKemTextLink* link = layout->Paragraphs()[1]->Links().front().get();
  const TPoint at = CenterPoint(link->Rect);
  SendMouse(layout->Handle(), WM_LBUTTONDOWN, at.X, at.Y, MK_LBUTTON);
  SendMouse(layout->Handle(), WM_LBUTTONUP, at.X, at.Y);
  ASSERT_NE(clicked, nullptr);
  EXPECT_EQ(clicked->Target, "target");
  clicked = nullptr;
  SendMouse(layout->Handle(), WM_LBUTTONDOWN, at.X, at.Y, MK_LBUTTON);  // released elsewhere: nothing
  SendMouse(layout->Handle(), WM_LBUTTONUP, 190, 290);
  EXPECT_EQ(clicked, nullptr);

  layout->Clear(true);
  EXPECT_EQ(layout->LayoutHeight(), 0);
  EXPECT_EQ(layout->CalcLayoutHeight(), 0);
  ClearTextStyles();
}
