// TToolButton: a button of a toolbar, without a window of its own. It shows
// a pressed look while held, executes its action (or OnClick) when released
// over it, and keeps its Down state as a check button.
#pragma once
#include "platform/actions.h"
#include "platform/pressbutton_win.h"

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TPressButton {
 public:
  explicit TToolButton(TComponent* AOwner);

  // Separators and dividers are gaps (8 pixels wide) that never click.
  TToolButtonStyle Style() const { return FStyle; }
  void SetStyle(TToolButtonStyle Value);
  // A check button stays down between clicks; one of a group (Grouped) lets
  // the other grouped check buttons of its toolbar up when it goes down.
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool Grouped() const { return FGrouped; }
  void SetGrouped(bool Value) { FGrouped = Value; }
  // The picture in the toolbar's image list; -1 for none.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // A check button toggles Down first; then OnClick, or the action.
  void Click() override;

 protected:
  bool Pressable() const override { return FStyle != tbsSeparator && FStyle != tbsDivider; }
  void Paint() override;

 private:
  TToolButtonStyle FStyle = tbsButton;
  bool FDown = false;
  bool FGrouped = false;
  int FImageIndex = -1;
};
