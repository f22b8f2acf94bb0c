// TTimer and the fake timer service of the tests.
#include "platform/timer.h"

#include <algorithm>
#include <utility>

#include "platform/exception_handler.h"

// The platform's service: timer_win.cpp / timer_posix.cpp.
TTimerService* PlatformTimerService();

namespace {
TTimerService* gService = nullptr;
}  // namespace

TTimerService* TimerService() { return gService ? gService : PlatformTimerService(); }

TTimerService* SetTimerService(TTimerService* service) {
  TTimerService* previous = TimerService();
  gService = service;
  return previous;
}

void TTimerService::Forget(TTimer* Timer) { Timer->FService = nullptr; }

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() {
  if (FService) FService->Stop(this);
}

void TTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FService) {
    TTimerService* service = FService;
    FService = nullptr;
    service->Stop(this);
  }
  if (FEnabled && FInterval > 0 && OnTimer) {
    FService = TimerService();
    FService->Start(this, FInterval);
  }
}

TTimer::TTimerEvent& TTimer::TTimerEvent::operator=(TNotifyEvent Handler) {
  FHandler = std::move(Handler);
  FOwner.UpdateTimer();
  return *this;
}

void TTimer::Tick() {
  if (!OnTimer) return;
  // A copy: the handler may free this timer, and with it OnTimer.
  TNotifyEvent handler = OnTimer.Handler();
  try {
    handler(this);
  } catch (...) {
    HandleEventException(this, std::current_exception());
  }
}

TFakeTimerService::TFakeTimerService(std::uint64_t start)
    : FNow(start), FPreviousService(SetTimerService(this)), FPreviousClock(SetClock(this)) {}

TFakeTimerService::~TFakeTimerService() {
  for (const Entry& e : FEntries) Forget(e.timer);
  SetTimerService(FPreviousService);
  SetClock(FPreviousClock);
}

void TFakeTimerService::Start(TTimer* Timer, unsigned Interval) {
  Stop(Timer);
  FEntries.push_back(Entry{Timer, Interval, FNow + Interval, FStarts++});
}

void TFakeTimerService::Stop(TTimer* Timer) {
  std::erase_if(FEntries, [&](const Entry& e) { return e.timer == Timer; });
}

std::int64_t TFakeTimerService::NextDue() const {
  if (FEntries.empty()) return -1;
  auto next =
      std::min_element(FEntries.begin(), FEntries.end(), [](const Entry& a, const Entry& b) { return a.due < b.due; });
  return static_cast<std::int64_t>(next->due - FNow);
}

void TFakeTimerService::Advance(std::uint64_t ms) {
  const std::uint64_t target = FNow + ms;
  for (;;) {
    // Looked up anew each round: the last tick may have changed the entries.
    auto next = std::min_element(FEntries.begin(), FEntries.end(), [](const Entry& a, const Entry& b) {
      return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    if (next == FEntries.end() || next->due > target) break;
    FNow = next->due;
    next->due += next->interval;
    TTimer* timer = next->timer;
    timer->Tick();
  }
  FNow = target;
}
