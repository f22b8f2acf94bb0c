// A control's action and its link.
#include "platform/controls_win.h"

#include "platform/unicode_convert.h"

void TControl::SetAction(TBasicAction* Value) {
  SetLinkedAction(
      FActionLink, Value, [this] { return CreateActionLink(); },
      [this](TBasicAction* Action, bool CheckDefaults) { ActionChange(Action, CheckDefaults); });
}

void TControl::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

std::unique_ptr<TBasicActionLink> TControl::CreateActionLink() { return std::make_unique<TControlActionLink>(this); }

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TBasicAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || Caption().empty() || Caption() == Utf8ToWide(Name())) {
    SetCaption(action->Caption());
  }
  if (!CheckDefaults || Enabled()) SetEnabled(action->Enabled());
  auto* custom = dynamic_cast<TCustomAction*>(action);
  if (!custom) return;
  if (!CheckDefaults || Hint().empty()) SetHint(custom->Hint());
  if (!CheckDefaults || Visible()) SetVisible(custom->Visible());
}

bool TControlActionLink::IsCaptionLinked() const {
  return TBasicActionLink::IsCaptionLinked() && FClient->Caption() == Action()->Caption();
}

bool TControlActionLink::IsEnabledLinked() const {
  return TBasicActionLink::IsEnabledLinked() && FClient->Enabled() == Action()->Enabled();
}

bool TControlActionLink::IsHintLinked() const {
  return TBasicActionLink::IsHintLinked() && FClient->Hint() == static_cast<TCustomAction*>(Action())->Hint();
}

bool TControlActionLink::IsVisibleLinked() const {
  return TBasicActionLink::IsVisibleLinked() && FClient->Visible() == static_cast<TCustomAction*>(Action())->Visible();
}

void TControlActionLink::SetCaption(const WideString& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const WideString& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}
