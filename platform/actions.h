// Actions: a command that controls and menu items execute on a click, so one
// command serves a button, a key and a menu alike. A client holds an action
// through an action link; a change of the action's caption, hint, checked,
// enabled or visible state goes through each link to its client, which takes
// it while it still shows the action's value (the client is "linked" in that
// property) and keeps its own value once it was changed by hand.
#pragma once
#include <memory>
#include <vector>

#include "platform/component.h"
#include "platform/events.h"
#include "platform/keys.h"
#include "platform/types.h"

class TBasicActionLink;

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  // The links forget the action (their clients keep what they show).
  ~TBasicAction() override;

  // While enabled: counts the execution in RepeatCount, then fires OnExecute.
  // Returns whether OnExecute ran.
  virtual bool Execute();
  // OnUpdate, which sets the action's state before a menu or bar shows it;
  // returns whether a handler ran.
  virtual bool Update();

  const WideString& Caption() const { return FCaption; }
  void SetCaption(const WideString& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Executions since the key or button that repeats the action went down; the
  // control resets it when released.
  int RepeatCount() const { return FRepeatCount; }
  void SetRepeatCount(int Value) { FRepeatCount = Value; }
  // The language text index of the caption, or -1 when the action has none:
  // a control then keeps its own caption.
  virtual int CaptionIndex() const { return -1; }

  int ClientCount() const { return static_cast<int>(FClients.size()); }
  TBasicActionLink* Clients(int Index) const { return FClients.at(static_cast<size_t>(Index)); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  // Calls F(link) for every client link; links that leave meanwhile are skipped.
  template <class F>
  void ForEachClient(F&& f) {
    const std::vector<TBasicActionLink*> clients = FClients;
    for (TBasicActionLink* link : clients) {
      if (IsClient(link)) f(link);
    }
  }

 private:
  friend class TBasicActionLink;
  bool IsClient(const TBasicActionLink* Link) const;

  WideString FCaption;
  bool FEnabled = true;
  int FRepeatCount = 0;
  std::vector<TBasicActionLink*> FClients;
};

// The client's end of its action: registered with the action while it holds one.
class TBasicActionLink : public TObject {
 public:
  TBasicActionLink() = default;
  ~TBasicActionLink() override;
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;

  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value);
  bool Execute() { return FAction && FAction->Execute(); }
  bool Update() { return FAction && FAction->Update(); }

  // Whether the client shows the action's value of a property. The base
  // answers for every property the action has; links of a client kind add
  // that the client's value still equals the action's.
  virtual bool IsCaptionLinked() const;
  virtual bool IsCheckedLinked() const;
  virtual bool IsEnabledLinked() const;
  virtual bool IsHintLinked() const;
  virtual bool IsShortCutLinked() const;
  virtual bool IsVisibleLinked() const;
  // The action's property is about to change to Value: a linked client takes it.
  virtual void SetCaption(const WideString& /*Value*/) {}
  virtual void SetChecked(bool /*Value*/) {}
  virtual void SetEnabled(bool /*Value*/) {}
  virtual void SetHint(const WideString& /*Value*/) {}
  virtual void SetShortCut(TShortCut /*Value*/) {}
  virtual void SetVisible(bool /*Value*/) {}

 private:
  friend class TBasicAction;
  TBasicAction* FAction = nullptr;
};

// An action with the state a button or menu item shows: checked, hint,
// shortcut, visibility, its picture and a radio group.
class TCustomAction : public TBasicAction {
 public:
  explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

  bool Checked() const { return FChecked; }
  // Checking one action of a group (GroupIndex > 0) unchecks the group's other
  // actions of the same owner.
  void SetChecked(bool Value);
  const WideString& Hint() const { return FHint; }
  void SetHint(const WideString& Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  // Execution toggles Checked first.
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }

  bool Execute() override;
  // Takes caption, hint, state, shortcut and handlers of another action.
  virtual void Assign(const TObject* Source);

 private:
  bool FChecked = false;
  WideString FHint;
  TShortCut FShortCut = scNone;
  bool FVisible = true;
  int FImageIndex = -1;
  int FGroupIndex = 0;
  bool FAutoCheck = false;
};

// An action that carries a hint text to whoever shows hints.
class THintAction : public TCustomAction {
 public:
  using TCustomAction::TCustomAction;
};

// Sets a client's action (a control's, a menu item's): the link is made on
// first use and takes the action, then the client takes the action's state
// (only where it has its defaults while the action is being loaded). Nil
// drops the link.
template <class MakeLink, class TakeState>
void SetLinkedAction(std::unique_ptr<TBasicActionLink>& Link, TBasicAction* Value, MakeLink&& make, TakeState&& take) {
  if (!Value) {
    Link.reset();
    return;
  }
  if (!Link) Link = make();
  Link->SetAction(Value);
  take(Value, Value->ComponentState().Contains(csLoading));
}
