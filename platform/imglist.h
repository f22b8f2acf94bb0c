// TImageList: pictures of one size kept in a row, each with its own
// transparency, for the buttons of a toolbar. Pictures come in with a mask
// colour (every pixel of it lets the background show) and are kept as 32-bit
// pictures with straight alpha.
#pragma once
#include <memory>
#include <vector>

#include "platform/bitmap.h"
#include "platform/component.h"
#include "platform/graphics.h"

class TCanvas;

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* AOwner) : TComponent(AOwner) {}

  // A new size empties the list.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  // The colour the pictures' transparent parts are drawn in where they are
  // not blended (clNone: blended over what lies there).
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value) { FBkColor = Value; }

  int Count() const { return static_cast<int>(FImages.size()); }
  void Clear() { FImages.clear(); }
  // Image cut into pictures of the list's width from the left (one at least,
  // cut or padded to the list's size), the pixels of MaskColor transparent.
  // Returns the index of the first.
  int AddMasked(const TBitmap& Image, TColor MaskColor);
  // The picture at Index (pf32bit, straight alpha); EListError outside the list.
  const TBitmap& Images(int Index) const;
  // Draws the picture with its top left at X, Y; a disabled one greyed and
  // faint. Nothing for an index outside the list.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);

 private:
  int FWidth = 16, FHeight = 16;
  TColor FBkColor = clNone;
  std::vector<std::unique_ptr<TBitmap>> FImages;
};

// A picture as a disabled button shows it: grey, half as opaque.
void GreyImage(TBitmap& Image);
