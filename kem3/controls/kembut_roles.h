// The standard dialog roles of a button (ActionType): which form action,
// modal result, Default and Cancel role and caption text each one gives.
#pragma once
#include "platform/controls_types.h"
#include "platform/types.h"

enum TActionType {
  atNone,
  atOk,
  atCancel,
  atApply,
  atYes,
  atNo,
  atYesAll,
  atNoAll,
  atClose,
  atSetup,
  atOptions,
  atPrint,
  atNext,
  atAccept,
  atReject,
  atBrowse,
  atFinish,
  atAdd,
  atRemove,
  atCustom
};

struct TActionTypeRole {
  // The form action's id; -1 for none (atNone); atCustom takes the button's ActionId.
  int ActionId;
  // atCustom keeps the button's modal result, Default and Cancel as they are.
  bool KeepsState;
  TModalResult ModalResult;
  bool Default;
  bool Cancel;
  // The caption's language text name; empty: "Button_" + the button's LanId.
  const char* TextName;
};

const TActionTypeRole& ActionTypeRole(TActionType Type);

// The language text name of a button's caption for its role and LanId.
String ButtonTextName(TActionType Type, const String& LanId);
