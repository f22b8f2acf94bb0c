// TKemLabel: the library's static text, drawn into a picture of its own and
// turned for the four reading directions, with margins, vertical placement,
// an embossed look when disabled, automatic size, an accelerator that focuses
// another control and a caption from the language.
#pragma once
#include <memory>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kemlabel_model.h"
#include "platform/setprop.h"

class TKemLabel : public TKemGraphicControl {
 public:
  explicit TKemLabel(TComponent* AOwner);
  ~TKemLabel() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { SetPainted(*this, FAlignment, Value); }
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value) { SetPainted(*this, FShowAccelChar, Value); }
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value) { SetPainted(*this, FLayout, Value); }
  bool Transparent() const { return FTransparent; }
  // Takes csOpaque off the control style.
  void SetTransparent(bool Value);
  TKemDirection Direction() const { return FDirection; }
  void SetDirection(TKemDirection Value) { SetSized(FDirection, Value); }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { SetSized(FWordWrap, Value); }
  int SpaceLeft() const { return FSpaces.Left; }
  void SetSpaceLeft(int Value) { SetSized(FSpaces.Left, Value); }
  int SpaceTop() const { return FSpaces.Top; }
  void SetSpaceTop(int Value) { SetSized(FSpaces.Top, Value); }
  int SpaceRight() const { return FSpaces.Right; }
  void SetSpaceRight(int Value) { SetSized(FSpaces.Right, Value); }
  int SpaceBottom() const { return FSpaces.Bottom; }
  void SetSpaceBottom(int Value) { SetSized(FSpaces.Bottom, Value); }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  // Focused by the caption's accelerator; reset when it goes.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

  // The language text "<form name>_<LanId>" that sets the caption.
  const String& LanId() const { return FLanText.LanId(); }
  void SetLanId(const String& Value);
  void UpdateLanguage() override;
  bool DialogChar(WideChar Key, TShiftState Shift) override;

  // The picture last painted (the text box turned to the reading direction).
  TBitmap* Picture() const { return FBitmap.get(); }
  // Fits the size to the text (with AutoSize).
  void AdjustSize();

 protected:
  void Paint() override;
  void TextChanged() override;
  void FontChanged() override;
  void EnabledChanged() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  template <class T>
  void SetSized(T& Field, T Value) {
    if (!StoreChanged(Field, Value)) return;
    AdjustSize();
    Invalidate();
  }
  UINT TextFlags() const;
  // Lays the text out in Box (before turning); with DT_CALCRECT returns the
  // measured size, else draws into the picture and turns it.
  TSize DrawInto(TSize Box, UINT Flags);

  TAlignment FAlignment = taLeftJustify;
  bool FShowAccelChar = true;
  TTextLayout FLayout = tlTop;
  bool FTransparent = false;
  TKemDirection FDirection = tdLeftRight;
  bool FWordWrap = false;
  TLabelSpaces FSpaces;
  bool FAutoSize = true;
  TWinControl* FFocusControl = nullptr;
  TControlLanText FLanText;
  std::unique_ptr<TBitmap> FBitmap;
};
