// The layer's wide actions. Caption and hint of every action of ours are wide
// already; what makes an action "wide" for the layer is the IWideAction mark,
// which controls ask for before they take an action's texts as their own.
#pragma once
#include "platform/actions.h"

// Marks an action whose caption and hint are the layer's wide texts.
class IWideAction {
 public:
  virtual ~IWideAction() = default;
};

inline bool IsWideAction(const TObject* Action) { return dynamic_cast<const IWideAction*>(Action) != nullptr; }

class TUcCustomAction : public TCustomAction, public IWideAction {
 public:
  using TCustomAction::TCustomAction;
  // From an action as the base does; from a control its caption and hint.
  void Assign(const TObject* Source) override;
};

class TUcAction : public TUcCustomAction {
 public:
  using TUcCustomAction::TUcCustomAction;
};

// Carries the application's wide hint to whoever shows it.
class TUcHintAction : public THintAction, public IWideAction {
 public:
  using THintAction::THintAction;
  void Assign(const TObject* Source) override;
};
