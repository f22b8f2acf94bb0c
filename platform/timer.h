// TTimer: fires OnTimer every Interval milliseconds while Enabled. The timer's
// logic needs no operating system: the countdowns run in a TTimerService, which
// the Windows build fills with system timers and tests with TFakeTimerService,
// whose virtual clock moves only when the test calls Advance.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/clock.h"
#include "platform/component.h"
#include "platform/events.h"

class TTimer;

// Runs countdowns for timers. Start (re)starts timer's countdown from now and
// calls timer->Tick() every interval ms until Stop; both happen on the main thread.
class TTimerService {
 public:
  virtual ~TTimerService() = default;
  virtual void Start(TTimer* Timer, unsigned Interval) = 0;
  virtual void Stop(TTimer* Timer) = 0;

 protected:
  // For a service that goes away while timers still run on it: the timer
  // forgets it and starts anew on the current service when next restarted.
  static void Forget(TTimer* Timer);
};

// The service new countdowns go to: the system's (Windows), one that never fires
// (native build, which has no message loop), or whatever a test put in place.
TTimerService* TimerService();
// Puts service in place (nullptr: the platform's) and returns the previous one.
TTimerService* SetTimerService(TTimerService* service);

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  // OnTimer reads and calls like a TNotifyEvent member; assigning it starts the
  // countdown anew, as setting Enabled or Interval to a new value does.
  class TTimerEvent {
   public:
    explicit TTimerEvent(TTimer& Owner) : FOwner(Owner) {}
    TTimerEvent(const TTimerEvent&) = delete;
    TTimerEvent& operator=(const TTimerEvent&) = delete;
    TTimerEvent& operator=(TNotifyEvent Handler);
    explicit operator bool() const { return static_cast<bool>(FHandler); }
    void operator()(TObject* Sender) const { FHandler(Sender); }
    const TNotifyEvent& Handler() const { return FHandler; }

   private:
    TTimer& FOwner;
    TNotifyEvent FHandler;
  };

  // Enabled (default true) and Interval (ms, default 1000). The countdown runs
  // while Enabled, Interval > 0 and OnTimer is set; it starts from the full
  // interval whenever one of them changes.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);

  // Exceptions of the handler go to the application's exception handling
  // (exception_handler.h) and the timer goes on.
  TTimerEvent OnTimer{*this};

  // One tick: the service calls it when the countdown ends.
  void Tick();
  // Whether a countdown is running on a service.
  bool Running() const { return FService != nullptr; }

 private:
  friend class TTimerService;
  void UpdateTimer();

  bool FEnabled = true;
  unsigned FInterval = 1000;
  TTimerService* FService = nullptr;  // where the countdown runs, nullptr when stopped
};

// The test seam: installs itself as the timer service and as the clock for its
// lifetime and restores both at its end. Time stands still until Advance.
class TFakeTimerService : public TTimerService, public TClock {
 public:
  explicit TFakeTimerService(std::uint64_t start = 0);
  ~TFakeTimerService() override;
  TFakeTimerService(const TFakeTimerService&) = delete;
  TFakeTimerService& operator=(const TFakeTimerService&) = delete;

  void Start(TTimer* Timer, unsigned Interval) override;
  void Stop(TTimer* Timer) override;
  std::uint64_t Milliseconds() override { return FNow; }

  // Moves the clock forward by ms, stopping at every moment a countdown ends and
  // ticking that timer there: earliest first, timers due at the same moment in
  // the order their countdowns were started. Handlers may start, stop and free
  // timers; a countdown they start that ends within ms ticks in this call too.
  void Advance(std::uint64_t ms);
  // Milliseconds until the next tick, or -1 when no countdown runs.
  std::int64_t NextDue() const;
  int RunningCount() const { return static_cast<int>(FEntries.size()); }

 private:
  struct Entry {
    TTimer* timer;
    unsigned interval;
    std::uint64_t due;
    std::uint64_t order;
  };
  std::vector<Entry> FEntries;
  std::uint64_t FNow;
  std::uint64_t FStarts = 0;
  TTimerService* FPreviousService;
  TClock* FPreviousClock;
};
