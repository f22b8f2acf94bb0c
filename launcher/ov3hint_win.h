// The bar's hint window: the library's, except that the pointer never ends
// a hint (the bar hides it itself when the pointer leaves); keys and
// commands do. Where the system composes layered windows (platform types 6
// and 7) it is the skin's hint, a layered window whose opacity the bar fades.
#pragma once
#include <memory>

#include "kem3/controls/kemhint_win.h"
#include "platform/bitmap.h"

class TOvHintWindow : public TKemHintWindow {
 public:
  using TKemHintWindow::TKemHintWindow;
  bool IsHintMsg(const MSG& Msg) const override;
  // Layered: the skin's hint font measures the text, the skin's hint
  // margins go around it.
  TRect CalcHintRect(int MaxWidth, const WideString& AHint, void* AData) override;
  // Layered: the skin draws the hint into the window's picture, which the
  // window shows at the current opacity.
  void ActivateHint(TRect Rect, const WideString& AHint) override;
  int Opacity() const { return FOpacity; }
  // Clamped to 0..255; a layered hint that is up shows it at once.
  void SetOpacity(int Value);
  const WideString& Text() const { return FText; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;

 private:
  void UpdateLayer();
  WideString FText;
  std::unique_ptr<TBitmap> FPicture;  // the skin's hint, premultiplied (layered only)
  int FOpacity = 255;
};

// Whether the bar's hint is the skin's layered one on a platform type.
constexpr bool LayeredHintsOn(int PlatformType) { return PlatformType == 6 || PlatformType == 7; }
bool LayeredHints();

// Makes TOvHintWindow the application's hint window class and the global
// hint window one of it; layered on the platform types that compose layered
// windows (the system's own type unless one is given).
void InstallBarHintWindow();
void InstallBarHintWindow(int PlatformType);
