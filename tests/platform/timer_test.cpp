// TTimer on the fake timer service: no test here waits for real time.
#include "platform/timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/exception_handler.h"
#include "platform/exceptions.h"

namespace {

using Log = std::vector<std::string>;

// A timer that writes "name@time" for every tick.
std::unique_ptr<TTimer> LoggingTimer(TFakeTimerService& clock, Log& log, const std::string& name, unsigned interval) {
  auto timer = std::make_unique<TTimer>(nullptr);
  timer->SetInterval(interval);
  timer->OnTimer = [&clock, &log, name](TObject*) { log.push_back(name + "@" + std::to_string(clock.Milliseconds())); };
  return timer;
}

}  // namespace

TEST(Timer, TicksEveryIntervalOnTheVirtualClock) {
  TFakeTimerService fake(1000);
  Log log;
  auto t = LoggingTimer(fake, log, "a", 100);
  EXPECT_TRUE(t->Enabled());
  fake.Advance(99);
  EXPECT_TRUE(log.empty());
  fake.Advance(1);
  fake.Advance(250);
  EXPECT_EQ(log, (Log{"a@1100", "a@1200", "a@1300"}));
  EXPECT_EQ(fake.Milliseconds(), 1350u);
  EXPECT_EQ(TickCount(), 1350u);  // the fake is the process clock while it lives
  EXPECT_EQ(fake.NextDue(), 50);
}

TEST(Timer, DefaultsAndConditionsForRunning) {
  TFakeTimerService fake;
  TTimer t(nullptr);
  EXPECT_TRUE(t.Enabled());
  EXPECT_EQ(t.Interval(), 1000u);
  EXPECT_FALSE(t.Running());  // no OnTimer: no countdown
  fake.Advance(300);
  int ticks = 0;
  t.OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, &t);
    ++ticks;
  };
  EXPECT_TRUE(t.Running());  // counts from the assignment: due at 1300
  fake.Advance(999);
  EXPECT_EQ(ticks, 0);
  fake.Advance(1);
  EXPECT_EQ(ticks, 1);
  t.SetInterval(0);  // interval 0: no countdown either
  EXPECT_FALSE(t.Running());
  fake.Advance(5000);
  EXPECT_EQ(ticks, 1);
  t.SetInterval(10);
  EXPECT_TRUE(t.Running());
  t.OnTimer = nullptr;
  EXPECT_FALSE(t.Running());
  fake.Advance(100);
  EXPECT_EQ(ticks, 1);
}

TEST(Timer, ReEnablingAndNewIntervalRestartTheCountdown) {
  TFakeTimerService fake;
  Log log;
  auto t = LoggingTimer(fake, log, "t", 100);
  fake.Advance(80);
  t->SetEnabled(false);
  fake.Advance(100);
  EXPECT_TRUE(log.empty());
  t->SetEnabled(true);  // full interval from here: due at 280, not 200
  fake.Advance(99);
  EXPECT_TRUE(log.empty());
  fake.Advance(1);
  EXPECT_EQ(log, (Log{"t@280"}));
  fake.Advance(60);
  t->SetInterval(50);   // due at 390
  t->SetEnabled(true);  // already enabled: no restart
  fake.Advance(50);
  EXPECT_EQ(log, (Log{"t@280", "t@390"}));
  t->SetInterval(50);  // same value: no restart
  fake.Advance(50);
  EXPECT_EQ(log.back(), "t@440");
}

TEST(Timer, SimultaneousTicksFollowTheOrderOfStarting) {
  TFakeTimerService fake;
  Log log;
  auto slow = LoggingTimer(fake, log, "slow", 300);
  auto b = LoggingTimer(fake, log, "b", 100);
  auto a = LoggingTimer(fake, log, "a", 100);
  fake.Advance(300);
  EXPECT_EQ(log, (Log{"b@100", "a@100", "b@200", "a@200", "slow@300", "b@300", "a@300"}));
  log.clear();
  b->SetEnabled(false);
  b->SetEnabled(true);  // restarted: now after a
  fake.Advance(100);
  EXPECT_EQ(log, (Log{"a@400", "b@400"}));
}

TEST(Timer, HandlersMayStopStartAndFreeTimers) {
  TFakeTimerService fake;
  Log log;
  auto once = LoggingTimer(fake, log, "once", 100);
  once->OnTimer = [&](TObject* sender) {
    log.push_back("once@" + std::to_string(fake.Milliseconds()));
    static_cast<TTimer*>(sender)->SetEnabled(false);
  };
  auto later = LoggingTimer(fake, log, "later", 30);
  later->SetEnabled(false);
  auto starter = LoggingTimer(fake, log, "starter", 150);
  starter->OnTimer = [&](TObject*) {
    log.push_back("starter@" + std::to_string(fake.Milliseconds()));
    later->SetEnabled(true);  // its first tick at 180 lies within the same Advance
  };
  auto doomed = std::make_unique<TTimer>(nullptr);
  doomed->SetInterval(120);
  doomed->OnTimer = [&](TObject*) {
    log.push_back("doomed");
    doomed.reset();  // freed inside its own tick
  };
  fake.Advance(200);
  EXPECT_EQ(log, (Log{"once@100", "doomed", "starter@150", "later@180"}));
  EXPECT_FALSE(once->Running());
  EXPECT_EQ(doomed, nullptr);
  EXPECT_EQ(fake.RunningCount(), 2);  // starter and later
}

TEST(Timer, ExceptionsGoToTheHandlerAndTheTimerGoesOn) {
  TFakeTimerService fake;
  std::vector<std::string> caught;
  TExceptionHandler previous = SetExceptionHandler([&](TObject* sender, std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const Exception& e) {
      caught.push_back(e.Message + (sender ? " from timer" : ""));
    }
  });
  TTimer t(nullptr);
  t.SetInterval(10);
  int ticks = 0;
  t.OnTimer = [&](TObject*) {
    ++ticks;
    throw Exception("tick " + std::to_string(ticks));
  };
  fake.Advance(30);
  SetExceptionHandler(previous);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(caught, (std::vector<std::string>{"tick 1 from timer", "tick 2 from timer", "tick 3 from timer"}));
  // Without a handler the error reaches the caller of Advance.
  if (!HasExceptionHandler()) {
    EXPECT_THROW(fake.Advance(10), Exception);
  }
}

TEST(Timer, OwnerFreesItsTimersAndTheFakeLetsGoOfTheRest) {
  auto owner = std::make_unique<TComponent>(nullptr);
  TTimer* owned = nullptr;
  {
    TFakeTimerService fake;
    owned = new TTimer(owner.get());
    owned->SetInterval(5);
    owned->OnTimer = [](TObject*) {};
    EXPECT_EQ(fake.RunningCount(), 1);
    owner.reset();
    EXPECT_EQ(fake.RunningCount(), 0);
    TFakeTimerService* inner = nullptr;
    TTimer survivor(nullptr);
    survivor.OnTimer = [](TObject*) {};
    {
      TFakeTimerService nested;
      inner = &nested;
      survivor.SetInterval(7);
      EXPECT_EQ(nested.RunningCount(), 1);
      EXPECT_EQ(TimerService(), inner);
    }
    // The nested service is gone: the survivor forgot it and restarts on the outer one.
    EXPECT_FALSE(survivor.Running());
    EXPECT_EQ(TimerService(), &fake);
    survivor.SetInterval(8);
    EXPECT_EQ(fake.RunningCount(), 1);
  }
}
