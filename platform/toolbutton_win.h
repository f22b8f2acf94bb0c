// TToolButton: a button of a toolbar, without a window of its own. It shows
// a pressed look while held, executes its action (or OnClick) when released
// over it, and keeps its Down state as a check button.
#pragma once
#include "platform/actions.h"
#include "platform/pressbutton_win.h"

class TPopupMenu;

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
  // The menu a drop-down button opens below itself from its arrow (not
  // owned; forgotten when it goes).
  TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(TPopupMenu* Value);
  // The arrow part of a drop-down button, at its right edge.
  static constexpr int kDropdownArrowWidth = 14;

 protected:
  bool Pressable() const override { return FStyle != tbsSeparator && FStyle != tbsDivider; }
  // A press on a drop-down button's arrow opens its menu instead.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The action's checked state is the button's Down, its picture the button's.
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  std::unique_ptr<TBasicActionLink> CreateActionLink() override;
  // The picture of the toolbar's image list when it has one, else the caption.
  void Paint() override;

 private:
  TToolButtonStyle FStyle = tbsButton;
  bool FDown = false;
  bool FGrouped = false;
  int FImageIndex = -1;
  TPopupMenu* FDropdownMenu = nullptr;
};
