// Actions and their links.
#include "platform/actions.h"

#include <algorithm>

#include "platform/exceptions.h"

TBasicAction::~TBasicAction() {
  for (TBasicActionLink* link : FClients) link->FAction = nullptr;
  FClients.clear();
}

bool TBasicAction::IsClient(const TBasicActionLink* Link) const {
  return std::find(FClients.begin(), FClients.end(), Link) != FClients.end();
}

bool TBasicAction::Execute() {
  if (!FEnabled) return false;
  ++FRepeatCount;
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

// Each client hears the new value while the action still holds the old one,
// so a client that showed the old value knows it is linked.
void TBasicAction::SetCaption(const WideString& Value) {
  if (FCaption == Value) return;
  ForEachClient([&](TBasicActionLink* link) { link->SetCaption(Value); });
  FCaption = Value;
}

void TBasicAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  ForEachClient([&](TBasicActionLink* link) { link->SetEnabled(Value); });
  FEnabled = Value;
}

TBasicActionLink::~TBasicActionLink() { SetAction(nullptr); }

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (FAction) {
    auto& clients = FAction->FClients;
    clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
  }
  FAction = Value;
  if (FAction) FAction->FClients.push_back(this);
}

bool TBasicActionLink::IsCaptionLinked() const { return FAction != nullptr; }
bool TBasicActionLink::IsEnabledLinked() const { return FAction != nullptr; }
bool TBasicActionLink::IsCheckedLinked() const { return dynamic_cast<const TCustomAction*>(FAction) != nullptr; }
bool TBasicActionLink::IsHintLinked() const { return IsCheckedLinked(); }
bool TBasicActionLink::IsShortCutLinked() const { return IsCheckedLinked(); }
bool TBasicActionLink::IsVisibleLinked() const { return IsCheckedLinked(); }

void TCustomAction::SetChecked(bool Value) {
  if (FChecked == Value) return;
  ForEachClient([&](TBasicActionLink* link) { link->SetChecked(Value); });
  FChecked = Value;
  if (!Value || FGroupIndex <= 0 || !Owner()) return;
  for (int i = 0; i < Owner()->ComponentCount(); ++i) {
    auto* other = dynamic_cast<TCustomAction*>(Owner()->Components(i));
    if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
  }
}

void TCustomAction::SetHint(const WideString& Value) {
  if (FHint == Value) return;
  ForEachClient([&](TBasicActionLink* link) { link->SetHint(Value); });
  FHint = Value;
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  ForEachClient([&](TBasicActionLink* link) { link->SetShortCut(Value); });
  FShortCut = Value;
}

void TCustomAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  ForEachClient([&](TBasicActionLink* link) { link->SetVisible(Value); });
  FVisible = Value;
}

bool TCustomAction::Execute() {
  if (!Enabled()) return false;
  if (FAutoCheck) SetChecked(!FChecked);
  return TBasicAction::Execute();
}

void TCustomAction::Assign(const TObject* Source) {
  auto* action = dynamic_cast<const TCustomAction*>(Source);
  if (!action) throw EConvertError("Cannot assign to an action");
  SetCaption(action->Caption());
  SetHint(action->FHint);
  SetEnabled(action->Enabled());
  SetChecked(action->FChecked);
  SetShortCut(action->FShortCut);
  SetVisible(action->FVisible);
  FImageIndex = action->FImageIndex;
  FGroupIndex = action->FGroupIndex;
  FAutoCheck = action->FAutoCheck;
  OnExecute = action->OnExecute;
  OnUpdate = action->OnUpdate;
}
