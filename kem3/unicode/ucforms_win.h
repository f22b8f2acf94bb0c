// The layer's form and hint window. Our class layer is wide throughout, so a
// form's caption and hint, the application's title and hint and the hint
// window's text already are the wide texts; what stays here are the rules the
// layer adds on top.
#pragma once
#include "platform/forms_win.h"
#include "platform/hints.h"
#include "platform/hintwindow_win.h"

// The parts of a hint "short|long"; the whole hint when it has no "|".
inline WideString GetWideShortHint(const WideString& Hint) { return GetShortHint(Hint); }
inline WideString GetWideLongHint(const WideString& Hint) { return GetLongHint(Hint); }
// The first non-empty hint of the control and its parents.
inline WideString GetEffectiveWideHint(const TControl* Control) { return GetEffectiveHint(Control); }

// The text the hint window shows for a control's short hint: with the
// application's HintShortCuts, a control whose action has a shortcut shows it
// after the hint, "Open (Ctrl+O)", the key named as the keyboard layout names it.
WideString WideHintText(const TControl* Control, const WideString& ShortHint);

// The hint window of the layer's forms: the short part of the wide hint,
// drawn and measured by the wide calls (THintWindow's own), with the shortcut
// of the hint control's action (WideHintText).
class TUcCustomHintWindow : public THintWindow {
 public:
  using THintWindow::THintWindow;
  TRect CalcHintRect(int MaxWidth, const WideString& AHint, void* AData) override;
  void ActivateHintData(const TRect& Rect, const WideString& AHint, void* AData) override;
};

// The base of the program's forms. A layered window style is never asked for
// at creation (a form that fades sets it on its window afterwards); the
// application's hint window becomes the layer's when none was chosen.
class TUcForm : public TForm {
 public:
  explicit TUcForm(TComponent* AOwner);
  // Then the application's hint anew: an action may have changed the hint of
  // the control under the mouse.
  void UpdateActions() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  // WM_MENUSELECT: the long part of the chosen item's hint becomes the
  // application's hint (a status line shows what the item does); an empty
  // hint when the menu closes or the entry is none of the menu bar's.
  void DispatchDefault(TMessage& Message) override;

 private:
  void MenuSelect(const TMessage& Message);
};
