// TKemLanSelector: the installed languages in a drop-down list, each with its
// flag and its name in the language's own font; the item index is the
// language's index.
#pragma once
#include "kem3/dialogs/kemselector_win.h"

class TKemLanSelector : public TKemPictureSelector {
 public:
  using TKemPictureSelector::TKemPictureSelector;
  void FillItems() override;

 protected:
  // The flag (on the highlight colour while selected) at the left, the name
  // beside it; a language without a flag has its name at the left edge.
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
};
