// Wide actions: assignment from controls and the texts a control takes.
#include "kem3/unicode/ucactions_win.h"

#include "platform/controls_win.h"

namespace {

// Caption and hint of a control, as an action takes them from it.
bool AssignFromControl(TCustomAction& Action, const TObject* Source) {
  auto* control = dynamic_cast<const TControl*>(Source);
  if (!control) return false;
  Action.SetCaption(control->Caption());
  Action.SetHint(control->Hint());
  return true;
}

}  // namespace

void TUcCustomAction::Assign(const TObject* Source) {
  if (!AssignFromControl(*this, Source)) TCustomAction::Assign(Source);
}

void TUcHintAction::Assign(const TObject* Source) {
  if (!AssignFromControl(*this, Source)) THintAction::Assign(Source);
}
