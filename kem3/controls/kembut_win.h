// The library's push button: owner-drawn (raised, flat, or by the skin), with
// click repetition while held, a drop-down menu, and standard dialog roles
// (ActionType) that give it its modal result, Default/Cancel role, form action
// and language caption. Dialogs use it for OK/Cancel rows; the button set, the
// panel scroller and the edit with buttons build on it.
#pragma once
#include <memory>

#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembordercolors.h"
#include "kem3/controls/kembut_roles.h"
#include "kem3/controls/kempress_win.h"
#include "kem3/controls/kemskinref.h"
#include "platform/actions.h"
#include "platform/bitmap.h"
#include "platform/set.h"
#include "platform/timer.h"

class TKemMenu;

enum TTimerStateItem { tsAllowTimer };
using TTimerState = Set<TTimerStateItem>;

class TKemCustomButton : public TKemCustomControl, public TKemBorderColored {
 public:
  explicit TKemCustomButton(TComponent* AOwner);
  ~TKemCustomButton() override;

  // ---- Role. Setting ActionType (when it changes) applies its row of the
  // role table (form action, ModalResult, Default, Cancel, caption text name),
  // then updates the caption from the language.
  TActionType ActionType() const { return FActionType; }
  void SetActionType(TActionType Value);
  // The form action used with atCustom.
  int ActionId() const { return FActionId; }
  void SetActionId(int Value);
  // With atNone and atCustom the caption is the language text "Button_" + LanId.
  const String& LanId() const { return FLanId; }
  void SetLanId(const String& Value);
  // A click executes the action (Action, SetAction) unless OnClick is set;
  // the button takes the action's caption unless that is empty (and, with a
  // caption text index, keeps following it).

  // Escape clicks a Cancel button; Enter clicks the button with the default
  // look (a Default button while no other button has the focus).
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  // Copied to the parent form on a click.
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }

  // ---- Look.
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // A flat button that still shows raised and pressed edges (the scroller's arrows).
  bool FlatRaised() const { return FFlatRaised; }
  void SetFlatRaised(bool Value);
  // A picture shown instead of the caption, its transparent colour left out.
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap& Value);
  // No default or focus frame; such a button never takes the default look from others.
  bool NoFraming() const { return FNoFraming; }
  void SetNoFraming(bool Value);
  bool NoFocusing() const { return FNoFocusing; }
  void SetNoFocusing(bool Value);

  // ---- Repetition: with tsAllowTimer a held button clicks after InitPause,
  // then every RepeatPause milliseconds while the pointer stays on it.
  TTimerState TimerState() const { return FTimerState; }
  void SetTimerState(TTimerState Value) { FTimerState = Value; }
  int InitPause() const { return FInitPause; }
  void SetInitPause(int Value) { FInitPause = Value; }
  int RepeatPause() const { return FRepeatPause; }
  void SetRepeatPause(int Value) { FRepeatPause = Value; }

  // A left press focuses the button (default true).
  bool FocusOnPress() const { return FFocusOnPress; }
  void SetFocusOnPress(bool Value) { FFocusOnPress = Value; }

  // Shown below the button on a left press; the button stays pressed until
  // the menu closes (DropDownClosed). Nothing while nil.
  TKemMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TKemMenu* Value) { FDropDownMenu = Value; }
  // The menu's closing callback: releases the button.
  void DropDownClosed();

  // ---- Skin: nil paints the plain button. The button set and the scroller
  // set where the skin's textures lie under the button and which of them it uses.
  TVosSkin* Skin() const { return FSkin; }
  void SetSkin(TVosSkin* Value);
  TPoint TextureOffset() const { return FTextureOffset; }
  void SetTextureOffset(TPoint Value);
  int TextureIndex() const { return FTextureIndex; }
  void SetTextureIndex(int Value);
  int ButtonIndex() const { return FButtonIndex; }
  void SetButtonIndex(int Value);

  // ---- State.
  // The pointer went down on the button and is over it now.
  bool Pressed() const { return FPressed; }
  // A left press began on the button and has not been released yet.
  bool Tracking() const { return FTracking; }
  // Draws as the form's default button.
  bool DefaultLook() const { return FDefaultLook; }
  bool CanTabFocus() const { return CanFocus() && TabStop(); }
  // Only when CanTabFocus.
  void SetFocus() override;
  // Sets the parent form's ModalResult to the button's, then OnClick, or the
  // action when OnClick is not set.
  void Click() override;

  void UpdateLanguage() override;
  bool DialogKey(std::uint16_t Key, TShiftState Shift) override;
  bool DialogChar(WideChar Key, TShiftState Shift) override;

  // Every button on Form recomputes its default look for the focused control
  // (the form's active control).
  static void NotifyFocusChanged(TCustomForm* Form);

  TNotifyEvent OnClickRight;  // a right-button press
  TNotifyEvent OnPress;       // a left-button press

 protected:
  void BorderColorChanged(TColor TBorderColors::*Which) override;
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void DispatchDefault(TMessage& Message) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void EnabledChanged() override;
  void DoEnter() override;
  void DoExit() override;
  void Paint() override;

  // Paints the button with the skin (its window record selected): the skin's
  // button of ButtonIndex over texture TextureIndex, aligned by TextureOffset.
  virtual void PaintSkin(TVosSkin& Skin);
  // Paints the plain button: face and caption colours, and whether "&" marks
  // the accelerator (else it is drawn as it is).
  void PaintPlain(TColor Face, TColor Text, bool Prefix);
  // What the plain painting fills the face with and writes the caption in,
  // and whether "&" marks the accelerator; the button set's pages change them.
  virtual TColor FaceColor() { return Color(); }
  virtual TColor CaptionColor() { return Font()->Color(); }
  virtual bool CaptionPrefix() { return true; }
  // The click of a release over the pressed button.
  virtual void ReleaseClick() { Click(); }
  // Shows the drop-down menu at ScreenPos (the button's lower left corner);
  // its closing releases the button.
  virtual void PopupDropDown(TPoint ScreenPos);
  virtual void HideDropDown();

  // Ends a press: capture released, tracking and pressed look off, repaint.
  void ReleaseButton();
  // The mouse was taken away from a press (no release came): the press and
  // its repeat end without a click.
  virtual void PressLost();
  // The pressed look; repaints on a change.
  void SetPressed(bool Value);
  // The cursor position of the last left press (client coordinates).
  TPoint PressPoint() const { return FPressPoint; }

 private:
  void FocusChanged(TWinControl* Focused);
  void StartRepeat();
  void ApplyRoleAction();
  void LookUpCaption();
  void UpdateButtonStyle();

  TActionType FActionType = atNone;
  int FActionId = -1;
  String FLanId;
  bool FCancel = false;
  bool FDefault = false;
  TModalResult FModalResult = mrNone;
  bool FFlat = false;
  bool FFlatRaised = false;
  std::unique_ptr<TBitmap> FGlyph;
  bool FNoFraming = false;
  bool FNoFocusing = false;
  TTimerState FTimerState;
  int FInitPause = 400;
  int FRepeatPause = 100;
  bool FFocusOnPress = true;
  TKemMenu* FDropDownMenu = nullptr;
  bool FDropDownShown = false;
  TVosSkin* FSkin = nullptr;
  TPoint FTextureOffset;
  int FTextureIndex = 0;
  int FButtonIndex = 0;
  bool FPressed = false;
  bool FTracking = false;
  bool FDefaultLook = false;
  int FCaptionIndex = -2;  // language text index of the caption; -2: not looked up yet
  TPoint FPressPoint;
  TPressRepeat FRepeat{this};
  TCaptureWatch FCaptureWatch;
};

class TKemButton : public TKemCustomButton {
 public:
  using TKemCustomButton::TKemCustomButton;
};
