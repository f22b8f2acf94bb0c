// TBasicAction: a command that controls (buttons, tool buttons) execute on a
// click, so one command serves a button, a key and a menu alike.
#pragma once
#include "platform/component.h"
#include "platform/events.h"
#include "platform/types.h"

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

  // While enabled: counts the execution in RepeatCount, then fires OnExecute.
  // Returns whether OnExecute ran.
  virtual bool Execute();

  const WideString& Caption() const { return FCaption; }
  void SetCaption(const WideString& Value) { FCaption = Value; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  // Executions since the key or button that repeats the action went down; the
  // control resets it when released.
  int RepeatCount() const { return FRepeatCount; }
  void SetRepeatCount(int Value) { FRepeatCount = Value; }
  // The language text index of the caption, or -1 when the action has none:
  // a control then keeps its own caption.
  virtual int CaptionIndex() const { return -1; }

  TNotifyEvent OnExecute;

 private:
  WideString FCaption;
  bool FEnabled = true;
  int FRepeatCount = 0;
};
