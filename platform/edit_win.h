// TCustomEdit: the system's single-line wide edit field ("EDIT") as a
// control. It keeps its settings while it has no window and puts them on
// every window it makes, so they survive re-creation.
#pragma once
#include "platform/controls_win.h"

class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);

  // bsSingle: the sunken system border; bsNone: none.
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // 0: no limit of our own.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  // Shown instead of each character; 0: the text itself.
  WideChar PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(WideChar Value);
  // Selects the whole text when the field takes the focus without a click.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }

  void SelectAll();
  // The selection in characters.
  int SelStart();
  int SelLength();
  void SetSelection(int Start, int End);

  // Fired whenever the text changes, by the user or the program.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void ColorChanged() override;
  virtual void Change();

 private:
  TBorderStyle FBorderStyle = bsSingle;
  bool FReadOnly = false;
  int FMaxLength = 0;
  WideChar FPasswordChar = 0;
  bool FAutoSelect = true;
};

class TEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
};
