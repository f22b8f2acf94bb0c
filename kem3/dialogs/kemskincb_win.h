// TKemSkinSelector: the installed skins in a drop-down list, each with its
// preview picture and its title; the item index is the skin's index.
#pragma once
#include "kem3/dialogs/kemselector_win.h"

class TKemSkinSelector : public TKemPictureSelector {
 public:
  using TKemPictureSelector::TKemPictureSelector;
  void FillItems() override;

 protected:
  // The preview at the left (blended by its alpha when it has 32 bits), the
  // title beside it; without a preview the title starts at the left edge.
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
};
