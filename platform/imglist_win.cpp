// Drawing the pictures of an image list on a canvas.
#include "platform/canvas_win.h"
#include "platform/imglist.h"

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (!Canvas || Index < 0 || Index >= Count()) return;
  TBitmap& Picture = *FImages[size_t(Index)];
  if (Enabled) {
    Canvas->Draw(X, Y, Picture);
    return;
  }
  TBitmap Grey;
  Grey.Assign(Picture);
  Grey.SetAlphaFormat(afDefined);
  GreyImage(Grey);
  Canvas->Draw(X, Y, Grey);
}
