// The layout pass of the text layout: breaks the pieces of a paragraph into
// lines, aligns them, places tab stops and pictures, and (when painting)
// draws them on a surface that the Windows control fills with its canvas and
// tests fake. Measuring and painting run the same pass, so the height that
// measuring returns is the height that is painted.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "kem3/controls/kemlout.h"
#include "kem3/controls/kemtextmeasure.h"
#include "platform/bitmap.h"

// Where the pass measures and draws. TextExtent measures in the font chosen last.
class IKemLayoutCanvas : public ITextMeasure {
 public:
  virtual void SelectFont(const TFont& Font) = 0;
  virtual void FillRect(const TRect& Rect, TColor Color) = 0;
  // Text in the chosen font with its top left at (X, Y); Back clNone draws
  // it over what is there.
  virtual void DrawText(int X, int Y, const WideString& Text, TColor Color, TColor Back) = 0;
  // A picture with its top left at (X, Y): a 32-bit one blended with its alpha.
  virtual void DrawPicture(TBitmap& Picture, int X, int Y) = 0;
};

// The layout's pictures: its own list ("local:<index>") and the resources and
// files the mark-up names, loaded once through Loader and kept until Clear.
// A picture that cannot be had (Loader missing, failing or giving nothing)
// counts as none, so it measures 0 x 0 and draws nothing.
class TKemLayoutPictures {
 public:
  using TLoader = std::function<std::unique_ptr<TBitmap>(const TKemTextPiece& Piece)>;
  explicit TKemLayoutPictures(TLoader Loader = {}) : FLoader(std::move(Loader)) {}

  int Add(std::unique_ptr<TBitmap> Picture);
  int Count() const { return static_cast<int>(FList.size()); }
  // Frees the loaded pictures and, with WithList, the layout's own list too.
  void Clear(bool WithList);
  // The picture of a picture piece, or nullptr.
  TBitmap* Find(const TKemTextPiece& Piece);

 private:
  TLoader FLoader;
  std::vector<std::unique_ptr<TBitmap>> FList;
  std::map<std::pair<bool, WideString>, std::unique_ptr<TBitmap>> FLoaded;
};

// A file picture without an alpha channel of its own is shown with its corner
// colour see-through: it becomes 32-bit, that colour's pixels transparent.
void KemMaskCornerColor(TBitmap& Picture);

struct TKemLayoutPass {
  int Width = 0;  // the layout's width; tab stops of 0 and below count back from it
  TColor Color = clWhite;
  bool Transparent = false;  // fill nothing: the text goes over a background picture
  bool Paint = false;        // false: measure only
};

// Lays the paragraph out from (Left, Top) and returns its height. Piece and
// link rectangles are set whether or not the pass paints.
int LayoutParagraph(TKemParagraph& Paragraph, IKemLayoutCanvas& Canvas, TKemLayoutPictures& Pictures,
                    const TKemLayoutPass& Pass, int Left, int Top);
// Lays the paragraphs out one below the other from Top; returns the top below the last.
int LayoutParagraphs(const std::vector<std::unique_ptr<TKemParagraph>>& Paragraphs, IKemLayoutCanvas& Canvas,
                     TKemLayoutPictures& Pictures, const TKemLayoutPass& Pass, int Top);

// The link under Point after a layout pass: the first of a paragraph whose
// rectangle holds it, later paragraphs before earlier ones; nullptr when none.
TKemTextLink* KemLinkAt(const std::vector<std::unique_ptr<TKemParagraph>>& Paragraphs, TPoint Point);
