// The auto-repeat of a held press.
#include "kem3/controls/kempress_win.h"

#include <algorithm>
#include <utility>

#include "platform/timer.h"

void TPressRepeat::Start(int FirstPause, int NextPause, std::function<void()> Step, std::function<void()> Lost) {
  if (!FTimer) {
    FTimer = new TTimer(FHolder);
    FTimer->SetEnabled(false);
    FTimer->OnTimer = [this](TObject*) { Tick(); };
  }
  FNextPause = NextPause;
  FStep = std::move(Step);
  FLost = std::move(Lost);
  FTimer->SetEnabled(false);
  FTimer->SetInterval(static_cast<unsigned>(std::max(FirstPause, 1)));
  FTimer->SetEnabled(true);
}

void TPressRepeat::Stop() {
  if (FTimer) FTimer->SetEnabled(false);
}

bool TPressRepeat::Running() const { return FTimer && FTimer->Enabled(); }

void TPressRepeat::Tick() {
  FTimer->SetInterval(static_cast<unsigned>(std::max(FNextPause, 1)));
  if (!FHolder->MouseCapture()) {
    Stop();
    if (FLost) FLost();
    return;
  }
  try {
    if (FStep) FStep();
  } catch (...) {
    Stop();
    throw;
  }
}
