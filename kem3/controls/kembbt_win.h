// The bit button: a button drawn entirely from a bitmap of two faces side by
// side (normal, pressed), scaled with fixed corners when asked, with a glyph
// placed on the face and the caption over both.
#pragma once
#include <memory>

#include "kem3/controls/kembbt_layout.h"
#include "kem3/controls/kembut_win.h"

class TKemCustomBitButton : public TKemCustomButton {
 public:
  explicit TKemCustomBitButton(TComponent* AOwner);
  ~TKemCustomBitButton() override;

  // Two faces side by side. A non-empty image sizes the button: half its
  // width wide, its height high.
  TBitmap* Image() const { return FImage.get(); }
  void SetImage(const TBitmap& Value);
  // The glyph (Glyph/SetGlyph of the button) goes on the face at GlyphPosition,
  // BorderWidth from the edges it is placed at.
  TKemGlyphPosition GlyphPosition() const { return FGlyphPosition; }
  void SetGlyphPosition(TKemGlyphPosition Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  // The caption's colour when enabled and when disabled.
  TColor ColorText() const { return FColorText; }
  void SetColorText(TColor Value);
  TColor ColorTextDis() const { return FColorTextDis; }
  void SetColorTextDis(TColor Value);
  // The fixed corners of the face when it is scaled; 0 and 0 stretch the whole face.
  // A change sizes the button again (AutoSize ends up on).
  int CornerWidth() const { return FCornerWidth; }
  void SetCornerWidth(int Value);
  int CornerHeight() const { return FCornerHeight; }
  void SetCornerHeight(int Value);
  // Shows the pressed face for good.
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  // The button takes the size of its face (see BitButtonAutoSize); on at first.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);

 protected:
  void Paint() override;

 private:
  void AdjustSize();

  std::unique_ptr<TBitmap> FImage;
  TKemGlyphPosition FGlyphPosition = gpCenter;
  int FBorderWidth = 4;
  TColor FColorText = clBlack;
  TColor FColorTextDis = 0x808080;
  int FCornerWidth = 0;
  int FCornerHeight = 0;
  bool FDown = false;
  bool FAutoSize = false;
};

class TKemBitButton : public TKemCustomBitButton {
 public:
  using TKemCustomBitButton::TKemCustomBitButton;
};
