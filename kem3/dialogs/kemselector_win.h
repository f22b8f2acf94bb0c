// What the language and skin selectors share: an owner-drawn drop-down list
// of tall items, each drawn into a work bitmap of its own and then copied to
// the list, so a test (and the list) sees exactly the picture of the item.
#pragma once
#include <memory>

#include "kem3/controls/kemctrls_win.h"
#include "platform/bitmap.h"

class TKemPictureSelector : public TKemComboBox {
 public:
  static constexpr int kItemHeight = 54;
  // The text starts this far right of the picture (or of the left edge).
  static constexpr int kTextGap = 6;

  explicit TKemPictureSelector(TComponent* AOwner);
  ~TKemPictureSelector() override;

  // The items anew from the list they show.
  virtual void FillItems() = 0;
  // The item drawn last, as it went to the list.
  TBitmap* Picture() const { return FBitmap.get(); }

 protected:
  void MeasureItem(int Index, int& Height) override;
  // The closed box shows an item as tall as the list's: the window measures
  // its box before the control hears it, so the height is set afterwards.
  void CreateWnd() override;
  void FontChanged() override;
  // The work bitmap at the size of Rect, with the list's brush, pen and font.
  TBitmap& BeginItem(const TRect& Rect);
  // Text on one line, vertically centred, from TextLeft; then the work
  // bitmap to the list at the item's corner.
  void EndItem(const WideString& Text, int TextLeft, const TRect& Rect);

 private:
  std::unique_ptr<TBitmap> FBitmap;
};
