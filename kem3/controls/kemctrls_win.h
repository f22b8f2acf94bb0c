// The library's list box and combo box on the Unicode layer's, and the unit
// combo box: owner-drawn with 15-pixel items in a small fixed font, for the
// unit beside a measurement.
#pragma once
#include "kem3/controls/kembase_win.h"
#include "kem3/unicode/ucstdctrls_win.h"

class TKemListBox : public TUcListBox, public IKemControl {
 public:
  using TUcListBox::TUcListBox;
  void UpdateLanguage() override {}
  bool DialogKey(std::uint16_t /*Key*/, TShiftState /*Shift*/) override { return false; }
  bool DialogChar(WideChar /*Key*/, TShiftState /*Shift*/) override { return false; }
};

class TKemComboBox : public TUcComboBox, public IKemControl {
 public:
  using TUcComboBox::TUcComboBox;
  void UpdateLanguage() override {}
  bool DialogKey(std::uint16_t /*Key*/, TShiftState /*Shift*/) override { return false; }
  bool DialogChar(WideChar /*Key*/, TShiftState /*Shift*/) override { return false; }
};

class TKemUnitComboBox : public TKemComboBox {
 public:
  static constexpr int kItemHeight = 15;

  // Owner-drawn (csOwnerDrawFixed) with 15-pixel items, for good: the
  // window is made so from the start.
  explicit TKemUnitComboBox(TComponent* AOwner);

 protected:
  // Tahoma 8 on the colours the state gave; the text two pixels in.
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
};
