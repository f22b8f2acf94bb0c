// Feeds arbitrary text to the brace mark-up parser and lays the paragraph out
// on fixed metrics, measuring and painting, with styles that carry margins and
// tab stops and pictures that load, fail or are missing. Nothing may crash,
// read outside its data, grow without bound or loop; measuring and painting
// must agree on the height.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kem3/controls/kemlout_pass.h"

namespace {

struct TFuzzCanvas : IKemLayoutCanvas {
  int Size = 8;
  TSize TextExtent(const WideString& Text) override {
    return TSize{std::max(0, Size - 2) * static_cast<int>(Text.size()), 2 * Size};
  }
  void SelectFont(const TFont& Font) override { Size = Font.Size(); }
  void FillRect(const TRect&, TColor) override {}
  void DrawText(int, int, const WideString&, TColor, TColor) override {}
  void DrawPicture(TBitmap&, int, int) override {}
};

void RegisterStyles() {
  static bool done = false;
  if (done) return;
  done = true;
  AddTextStyle("a", "Arial", 10, clBlack, kaJustify, TRect{3, 4, 5, 6})->AddTabs({20, -4, 0});
  AddTextStyle("b", "kemlanfont:1", 12, clBlack, kaCenter, TRect{-5, -5, 200, -3})->AddTab(-400);
  AddTextStyle("c", "Tahoma", 1, clBlack, kaRight, TRect{})->AddTabs({1, 1000});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  if (Size < 1) return 0;
  RegisterStyles();
  const int width = Data[0] * 2 - 40;  // negative widths too
  WideString text;
  for (std::size_t i = 1; i + 1 < Size; i += 2) text += static_cast<char16_t>(Data[i] | (Data[i + 1] << 8));

  std::vector<std::unique_ptr<TKemParagraph>> paragraphs;
  paragraphs.push_back(std::make_unique<TKemParagraph>(text));
  paragraphs.push_back(std::make_unique<TKemParagraph>(KemLiteralText(text)));
  TKemLayoutPictures pictures([](const TKemTextPiece& Piece) -> std::unique_ptr<TBitmap> {
    if (!Piece.IsResource) throw EInvalidGraphic("no such file");
    auto picture = std::make_unique<TBitmap>();
    picture->SetSize(static_cast<int>(Piece.ResourceName.size()) * 7 % 97, 40);
    return picture;
  });
  for (int side : {16, 0, 64}) {
    auto picture = std::make_unique<TBitmap>();
    picture->SetSize(side, side / 2);
    pictures.Add(std::move(picture));
  }
  TFuzzCanvas canvas;
  TKemLayoutPass pass;
  pass.Width = width;
  const int measured = LayoutParagraphs(paragraphs, canvas, pictures, pass, 0);
  pass.Paint = true;
  if (LayoutParagraphs(paragraphs, canvas, pictures, pass, 0) != measured) std::abort();
  for (const auto& picture : paragraphs[1]->Pieces())
    if (picture->IsPicture) std::abort();  // literal text names no picture
  KemLinkAt(paragraphs, Point(width / 2, 10));
  return 0;
}
