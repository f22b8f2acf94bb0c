// TKemGroup: the library's group box, its caption from the language and its
// frame movable downwards.
#pragma once
#include "kem3/controls/kembase_win.h"

class TKemGroup : public TKemCustomGroupBox {
 public:
  explicit TKemGroup(TComponent* AOwner);

  // The language text "<form name>_<LanId>" that sets the caption.
  const String& LanId() const { return FLanText.LanId(); }
  void SetLanId(const String& Value);
  // Moves the frame down by this many pixels.
  int OffsetVert() const { return FOffsetVert; }
  void SetOffsetVert(int Value);

  void UpdateLanguage() override;

 protected:
  int FrameTop() override { return TKemCustomGroupBox::FrameTop() + FOffsetVert; }

 private:
  TControlLanText FLanText;
  int FOffsetVert = 0;
};
