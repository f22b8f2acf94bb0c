// The start-up splash: a borderless picture centred on the screen with a
// title line and a status line, shown while the program builds its main
// window and closed when that window first shows. One splash at a time; the
// settings below apply to the splash made next.
#pragma once
#include "platform/forms_win.h"

class TKemImage;
class TUcLabel;

class TAboutForm : public TForm {
 public:
  explicit TAboutForm(TComponent* AOwner);
  ~TAboutForm() override;

  TKemImage* iPicture = nullptr;
  TUcLabel* lTitle = nullptr;
  TUcLabel* lStatus = nullptr;

 protected:
  // A window class of its own ("TOrvSplash"): whoever looks for the program's
  // windows can tell the splash from the bar.
  void CreateParams(TCreateParams& Params) override;
  // Shown centred and in front, but never activated: the splash takes no
  // focus from what the user is doing, and (under Wine) an unmanaged window
  // goes at once when hidden.
  void VisibleChanged() override;
};

// About false shows the splash (non-modal; there is no about window of its
// own). The program's picture "HCABOUT" (more than 14 bits of colour) or
// "LCABOUT", with "HCABOUTOVERLAY"/"LCABOUTOVERLAY" over it when present.
void ShowAboutOrSplash(bool About, bool Modal);
// Fades the splash out when Fade and Step > 0 (alpha from 254 down by Step,
// 1 ms a step), then hides and frees it; nothing when there is none.
void CloseSplash(bool Fade, int Step);
// The splash now, nullptr when none (a click only hides it: it lives on
// until CloseSplash).
TAboutForm* SplashForm();

void SetSplashTitle(const WideString& Text);
// The status line: stored, and shown at once on a splash that exists.
void AddSplashStatus(const WideString& Text);
// The text of that index in the current language.
void AddSplashStatusById(int TextIndex);
// Where the title and the status lines go, their font size and colour. A
// status box of width and height 0 sizes itself to its text.
void SetSplashTitleBox(int Left, int Top, int Width, int Height, int FontSize, TColor Color);
void SetSplashStatusBox(int Left, int Top, int Width, int Height, int FontSize, TColor Color);
