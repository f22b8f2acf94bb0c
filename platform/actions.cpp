// TBasicAction.
#include "platform/actions.h"

bool TBasicAction::Execute() {
  if (!FEnabled) return false;
  ++FRepeatCount;
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}
