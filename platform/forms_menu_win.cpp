// A form's menu bar: put on the window when it is made, taken off before it
// goes (a window destroys its menu with it); the actions of the menu and the
// controls updated while the program idles.
#include "platform/forms_win.h"
#include "platform/menus_win.h"

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu) {
    if (HandleAllocated() && FMenu->Items()->HandleAllocated() && GetMenu(Handle()) == FMenu->Handle()) {
      ::SetMenu(Handle(), nullptr);
    }
    FMenu->SetWindowHandle(nullptr);
    RemoveFreeNotification(FMenu);
  }
  FMenu = Value;
  if (!FMenu) return;
  FreeNotification(FMenu);
  if (HandleAllocated()) {
    FMenu->SetWindowHandle(Handle());
    ::SetMenu(Handle(), FMenu->Handle());
  }
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (!FMenu) return;
  FMenu->SetWindowHandle(Handle());
  ::SetMenu(Handle(), FMenu->Handle());
}

void TCustomForm::DestroyWnd() {
  if (FMenu) {
    ::SetMenu(Handle(), nullptr);
    FMenu->SetWindowHandle(nullptr);
  }
  TWinControl::DestroyWnd();
}

namespace {

void InitiateClientActions(const TWinControl& Container) {
  for (int i = 0; i < Container.ControlCount(); ++i) {
    TControl* control = Container.Controls(i);
    if (!control->Visible()) continue;
    control->InitiateAction();
    if (auto* w = dynamic_cast<const TWinControl*>(control)) InitiateClientActions(*w);
  }
}

}  // namespace

void TCustomForm::UpdateActions() {
  if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
  InitiateAction();
  if (FMenu) {
    const TMenuItem* root = FMenu->Items();
    for (int i = 0; i < root->Count(); ++i) {
      if (root->Items(i)->Visible()) root->Items(i)->InitiateAction();
    }
  }
  InitiateClientActions(*this);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FMenu) FMenu = nullptr;
}
