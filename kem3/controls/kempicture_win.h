// The library's pictures: TKemFrame, a panel framed by a nine-part alpha
// image; TKemLogo, the fixed-size logo; TKemImage, a picture with a mask or
// per-pixel alpha, centred or at the top left.
#pragma once
#include <memory>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kempanel_model.h"

inline constexpr TColor clFrameFillNone = 0x1FFFFFFF;

class TKemFrame : public TKemCustomControl {
 public:
  explicit TKemFrame(TComponent* AOwner);
  ~TKemFrame() override;

  // The pieces: corners at (0, 0), (Cw + Ew, 0), (0, Ch + Eh), (Cw + Ew, Ch + Eh);
  // edges at (Cw, 0), (Cw, 2 Ch), (0, Ch), (2 Cw, Ch); the centre pixel is the inside colour.
  TBitmap* Image() const { return FImage.get(); }
  void SetImage(const TBitmap& Value);
  // Replaces the inside colour, and the colour of every image pixel (alpha kept);
  // clFrameFillNone: none.
  TColor FillColor() const { return FFillColor; }
  void SetFillColor(TColor Value);
  const TFrameSizes& Sizes() const { return FSizes; }
  void SetSizes(const TFrameSizes& Value);
  // Children lie inside this band.
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);

 protected:
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;

 private:
  std::unique_ptr<TBitmap> FImage;
  TColor FFillColor = clFrameFillNone;
  TFrameSizes FSizes;
  int FBorderWidth = 4;
};

enum TLogoType { ltKEM };

class TKemLogo : public TCustomControl {
 public:
  explicit TKemLogo(TComponent* AOwner);
  TLogoType Logo() const { return FLogo; }
  void SetLogo(TLogoType Value);

 protected:
  // No logo picture ships with the program: the logo shows its Color.
  void Paint() override;

 private:
  TLogoType FLogo = ltKEM;
};

class TKemImage : public TKemCustomControl {
 public:
  explicit TKemImage(TComponent* AOwner);
  ~TKemImage() override;

  TBitmap* Image() const { return FImage.get(); }
  // A failing assignment keeps the old picture.
  void SetImage(const TBitmap& Value);
  TBitmap* Mask() const { return FMask.get(); }
  void SetMask(const TBitmap& Value);
  // A 32-bit image is blended with its own alpha.
  bool AlphaMask() const { return FAlphaMask; }
  void SetAlphaMask(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  // The image's corner colour shows what lies beneath.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TBitmap> FImage;
  std::unique_ptr<TBitmap> FMask;
  bool FAlphaMask = false;
  bool FCenter = false;
  bool FTransparent = false;
};
