#include "platform/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/synchronize.h"

namespace {

// A thread whose Execute is a lambda; the body gets the thread to reach its protected side.
class TTestThread : public TThread {
 public:
  using Body = std::function<void(TTestThread&)>;
  TTestThread(bool suspended, Body body) : TThread(suspended), FBody(std::move(body)) {}
  ~TTestThread() override {
    if (!Suspended() && !FreeOnTerminate) {
      Terminate();
      WaitFor();
    }
  }
  using TThread::Queue;
  using TThread::Synchronize;
  bool IsTerminated() const { return Terminated(); }
  void SetReturnValue(int value) { ReturnValue = value; }

  TEvent Wake{false, false};

 protected:
  void Execute() override { FBody(*this); }
  void TerminatedSet() override { Wake.SetEvent(); }

 private:
  Body FBody;
};

// Pumps the main thread's queue until done holds; a test whose condition
// never comes fails here after a minute instead of hanging.
template <class F>
void PumpUntil(F done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!done()) {
    ASSERT_LT(std::chrono::steady_clock::now(), end) << "never came";
    CheckSynchronize(1000);
  }
}

}  // namespace

TEST(Thread, RunsAndReturnsItsValue) {
  ASSERT_TRUE(IsMainThread());
  std::atomic<bool> onWorker{false};
  TThread* seen = nullptr;
  TTestThread t(true, [&](TTestThread& self) {
    onWorker = !IsMainThread() && self.ThreadID() == CurrentThreadID();
    seen = TThread::CurrentThread();
    self.SetReturnValue(42);
  });
  EXPECT_TRUE(t.Suspended());
  EXPECT_THROW(t.WaitFor(), EThread);  // never started: would wait for ever
  t.Start();
  EXPECT_EQ(t.WaitFor(), 42);
  EXPECT_EQ(t.WaitFor(), 42);  // again, once finished
  EXPECT_TRUE(t.Finished());
  EXPECT_FALSE(t.Suspended());
  EXPECT_TRUE(onWorker);
  EXPECT_EQ(seen, &t);
  EXPECT_EQ(TThread::CurrentThread(), nullptr);
  EXPECT_FALSE(t.FatalException());
  EXPECT_THROW(t.Start(), EThread);
  t.Resume();  // nothing for a thread that has run
}

TEST(Thread, NotSuspendedStartsOnceBuilt) {
  std::atomic<int> runs{0};
  std::unique_ptr<TTestThread> t(NewThread<TTestThread>(false, [&](TTestThread&) { ++runs; }));
  t->WaitFor();
  EXPECT_EQ(runs, 1);
  EXPECT_THROW(t->Start(), EThread);
}

TEST(Thread, TerminateIsObserved) {
  TEvent running(true, false);
  TTestThread t(true, [&](TTestThread& self) {
    running.SetEvent();
    while (!self.IsTerminated()) self.Wake.WaitFor(INFINITE);
    self.SetReturnValue(7);
  });
  t.Start();
  running.WaitFor(INFINITE);
  t.Terminate();  // wakes the wait through TerminatedSet
  EXPECT_EQ(t.WaitFor(), 7);
  EXPECT_TRUE(t.Terminated());
}

TEST(Thread, TerminatedBeforeStartSkipsExecuteButEnds) {
  bool ran = false;
  int terminations = 0;
  TTestThread t(true, [&](TTestThread&) { ran = true; });
  t.OnTerminate = [&](TObject* sender) {
    EXPECT_EQ(sender, &t);
    EXPECT_TRUE(IsMainThread());
    ++terminations;
  };
  t.Terminate();
  t.Start();
  t.WaitFor();  // OnTerminate runs on this thread, within the wait
  EXPECT_FALSE(ran);
  EXPECT_EQ(terminations, 1);
}

TEST(Thread, ExceptionsStayInTheThread) {
  TTestThread a(true, [](TTestThread&) { throw EConvertError("'x' is not a valid integer value"); });
  a.Start();
  a.WaitFor();
  EXPECT_EQ(a.FatalExceptionMessage(), "'x' is not a valid integer value");
  EXPECT_THROW(std::rethrow_exception(a.FatalException()), EConvertError);

  TTestThread b(true, [](TTestThread&) { throw std::runtime_error("standard"); });
  TTestThread c(true, [](TTestThread&) { throw 5; });
  // A thread may not wait for itself; the refusal is an exception like any other.
  TTestThread d(true, [](TTestThread& self) { self.WaitFor(); });
  b.Start();
  c.Start();
  d.Start();
  b.WaitFor();
  c.WaitFor();
  d.WaitFor();
  EXPECT_EQ(b.FatalExceptionMessage(), "standard");
  EXPECT_EQ(c.FatalExceptionMessage(), "Unknown exception");
  EXPECT_THROW(std::rethrow_exception(d.FatalException()), EThread);

  // One from OnTerminate is kept too.
  TTestThread e(true, [](TTestThread&) {});
  e.OnTerminate = [](TObject*) { throw EListError("late"); };
  e.Start();
  e.WaitFor();
  EXPECT_EQ(e.FatalExceptionMessage(), "late");
}

namespace {
TEvent gFreed(true, false);

// Reports when its memory has really been given back.
class TSelfFreeingThread : public TTestThread {
 public:
  using TTestThread::TTestThread;
  static void operator delete(void* p) {
    ::operator delete(p);
    gFreed.SetEvent();
  }
};
}  // namespace

TEST(Thread, FreeOnTerminateFreesItself) {
  gFreed.ResetEvent();
  std::atomic<bool> terminated{false};
  auto* t = new TSelfFreeingThread(true, [](TTestThread& self) { self.SetReturnValue(1); });
  t->FreeOnTerminate = true;
  t->OnTerminate = [&](TObject*) { terminated = true; };
  EXPECT_THROW(t->WaitFor(), EThread);  // it would be gone under the wait
  t->Start();
  // From here on t may dangle.
  PumpUntil([&] { return terminated.load(); });
  EXPECT_EQ(gFreed.WaitFor(INFINITE), wrSignaled);
}

TEST(Thread, DestroyingARunningThreadStopsIt) {
  std::atomic<bool> started{false};
  auto t = std::make_unique<TTestThread>(true, [&](TTestThread& self) {
    started = true;
    while (!self.IsTerminated()) self.Wake.WaitFor(INFINITE);
  });
  t->Start();
  while (!started) std::this_thread::yield();
  t.reset();  // terminates and waits; a hang here fails the run

  // Also while the worker waits for this thread in Synchronize.
  std::atomic<int> syncs{0};
  auto u = std::make_unique<TTestThread>(true, [&](TTestThread& self) {
    while (!self.IsTerminated()) self.Synchronize([&] { ++syncs; });
  });
  u->Start();
  PumpUntil([&] { return syncs > 0; });
  u.reset();
  EXPECT_GT(syncs, 0);
}

TEST(Synchronize, RunsOnTheMainThreadWhileItPumps) {
  std::vector<int> order;  // touched on the main thread only
  std::atomic<bool> done{false};
  std::atomic<int> afterEach{0};
  TTestThread t(true, [&](TTestThread& self) {
    for (int i = 0; i < 100; ++i) {
      self.Synchronize([&, i] {
        EXPECT_TRUE(IsMainThread());
        order.push_back(i);
      });
      // Synchronize returns only after the call has run.
      if (static_cast<int>(order.size()) == i + 1) ++afterEach;
    }
    self.Synchronize([&] { done = true; });
  });
  t.Start();
  PumpUntil([&] { return done.load(); });
  t.WaitFor();
  ASSERT_EQ(order.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
  EXPECT_EQ(afterEach, 100);
}

TEST(Synchronize, WaitForOnTheMainThreadKeepsServingCalls) {
  int calls = 0;
  TTestThread t(true, [&](TTestThread& self) {
    for (int i = 0; i < 20; ++i) self.Synchronize([&] { ++calls; });
    self.SetReturnValue(calls);
  });
  t.Start();
  EXPECT_EQ(t.WaitFor(), 20);  // would deadlock if the wait served no calls
}

TEST(Synchronize, ExceptionGoesBackToTheCaller) {
  String caught;
  TTestThread t(true, [&](TTestThread& self) {
    try {
      self.Synchronize([] { throw EListError("List index out of bounds (3)"); });
    } catch (const EListError& e) {
      caught = e.Message;
    }
  });
  t.Start();
  t.WaitFor();
  EXPECT_EQ(caught, "List index out of bounds (3)");
  EXPECT_FALSE(t.FatalException());
}

TEST(Synchronize, OnTheMainThreadRunsAtOnce) {
  int ran = 0;
  TThread::Synchronize(nullptr, [&] { ++ran; });
  TThread::Queue(nullptr, [&] { ++ran; });
  EXPECT_EQ(ran, 2);
  EXPECT_FALSE(CheckSynchronize());
}

TEST(Synchronize, QueuedCallsRunLaterInOrder) {
  std::vector<int> order;
  std::atomic<int> wakes{0};
  TEvent queued(true, false);
  SetWakeMainThread([&] { ++wakes; });
  TTestThread t(true, [&](TTestThread& self) {
    self.Queue([&] { order.push_back(1); });
    self.Queue([&] { throw EConvertError("queued"); });
    self.Queue([&] { order.push_back(3); });
    queued.SetEvent();  // Queue did not wait for the main thread
  });
  t.Start();
  queued.WaitFor(INFINITE);
  SetWakeMainThread(nullptr);
  EXPECT_EQ(wakes, 3);
  EXPECT_TRUE(order.empty());
  // A queued call that raises does so here, on the main thread; the rest stay queued.
  EXPECT_THROW(CheckSynchronize(), EConvertError);
  EXPECT_EQ(order, (std::vector<int>{1}));
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(order, (std::vector<int>{1, 3}));
  t.WaitFor();
}

TEST(Synchronize, OnlyTheMainThreadServesCalls) {
  bool refused = false;
  TTestThread t(true, [&](TTestThread&) {
    try {
      CheckSynchronize();
    } catch (const EThread&) {
      refused = true;
    }
  });
  t.Start();
  t.WaitFor();
  EXPECT_TRUE(refused);
  EXPECT_FALSE(CheckSynchronize(1));  // nothing pending: returns after the timeout
}

TEST(Event, TimeoutAndSignal) {
  TEvent manual(true, false);
  EXPECT_EQ(manual.WaitFor(0), wrTimeout);
  EXPECT_EQ(manual.WaitFor(1), wrTimeout);
  manual.SetEvent();
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);
  EXPECT_EQ(manual.WaitFor(INFINITE), wrSignaled);  // stays signalled
  manual.ResetEvent();
  EXPECT_EQ(manual.WaitFor(0), wrTimeout);

  TEvent initially(true, true);
  EXPECT_EQ(initially.WaitFor(0), wrSignaled);

  TEvent automatic(false, false);
  automatic.SetEvent();  // kept until one wait takes it
  EXPECT_EQ(automatic.WaitFor(0), wrSignaled);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout);
}

TEST(Event, SignalFromAnotherThreadWakesTheWaiter) {
  TEvent ev(true, false);
  TTestThread t(true, [&](TTestThread&) { ev.SetEvent(); });
  t.Start();
  EXPECT_EQ(ev.WaitFor(INFINITE), wrSignaled);
  t.WaitFor();
}

TEST(Event, AutoResetReleasesOneWaiterPerSignal) {
  TEvent gate(false, false);
  TEvent woke(false, false);
  std::atomic<int> released{0};
  auto waiter = [&](TTestThread&) {
    gate.WaitFor(INFINITE);
    ++released;
    woke.SetEvent();
  };
  TTestThread a(true, waiter), b(true, waiter);
  a.Start();
  b.Start();
  gate.SetEvent();
  woke.WaitFor(INFINITE);
  // The signal was used up by the one waiter it released.
  EXPECT_EQ(gate.WaitFor(0), wrTimeout);
  EXPECT_EQ(released, 1);
  gate.SetEvent();
  a.WaitFor();
  b.WaitFor();
  EXPECT_EQ(released, 2);
}

TEST(CriticalSection, ReentrantAndExclusive) {
  TCriticalSection cs;
  cs.Enter();
  cs.Acquire();  // the holder may enter again
  std::atomic<int> tried{-1};
  TTestThread other(true, [&](TTestThread&) {
    tried = cs.TryEnter();
    if (tried) cs.Leave();
  });
  other.Start();
  other.WaitFor();
  EXPECT_EQ(tried, 0);
  cs.Release();
  cs.Leave();

  long counter = 0;
  auto work = [&](TTestThread&) {
    for (int i = 0; i < 20000; ++i) {
      TCriticalSectionLock lock(cs);
      ++counter;
    }
  };
  std::vector<std::unique_ptr<TTestThread>> threads;
  for (int i = 0; i < 4; ++i) threads.push_back(std::make_unique<TTestThread>(true, work));
  for (auto& t : threads) t->Start();
  for (auto& t : threads) t->WaitFor();
  EXPECT_EQ(counter, 80000);
  EXPECT_TRUE(cs.TryEnter());
  cs.Leave();
}
