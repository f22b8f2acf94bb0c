#include "kem3/browser/kemfldnt.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "platform/synchronize.h"

namespace {

// Changes the test makes by hand; the watches it opens wait on real threads.
struct FakeSource : TFolderChangeSource {
  std::atomic<int> pending{0}, opened{0}, closed{0}, nexts{0}, closedOnMain{0};
  std::atomic<bool> endless{false};
  std::atomic<std::uint32_t> breaksWith{0};  // the system's error the next wait ends with
  std::uint32_t failWith = 0, lastMask = 0;
  bool lastSubtree = false;
  TFolderChangeSource* previous = SetFolderChangeSource(this);
  ~FakeSource() override { SetFolderChangeSource(previous); }

  struct Watch : TFolderChangeWatch {
    FakeSource& s;
    explicit Watch(FakeSource& source) : s(source) {}
    ~Watch() override {
      s.closedOnMain += IsMainThread();
      ++s.closed;
    }
    TFolderWaitResult Wait(TEvent& wake, std::uint32_t& error) override {
      for (;;) {
        if (wake.WaitFor(1) == wrSignaled) return fwWake;
        if ((error = s.breaksWith)) return fwFailed;
        if (s.endless) return fwChange;
        for (int n = s.pending; n > 0;)
          if (s.pending.compare_exchange_weak(n, n - 1)) return fwChange;
      }
    }
    bool Next(std::uint32_t&) override { return ++s.nexts > 0; }
  };

  bool FolderExists(const WideString& folder) override { return folder == u"C:\\a" || folder == u"C:\\b"; }
  std::unique_ptr<TFolderChangeWatch> Open(const WideString&, bool subtree, std::uint32_t mask,
                                           std::uint32_t& error) override {
    lastMask = mask;
    lastSubtree = subtree;
    error = failWith;
    if (failWith) return nullptr;
    ++opened;
    return std::make_unique<Watch>(*this);
  }
  // Makes n changes and lets the GUI thread take each one.
  void Changes(int n) {
    const int target = nexts + n;
    pending += n;
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (nexts < target) {
      ASSERT_LT(std::chrono::steady_clock::now(), end) << "the changes were never taken";
      CheckSynchronize(20);
    }
  }
};

}  // namespace

TEST(FolderMonitor, BurstsAndDelays) {
  // Each row: a delay, changes made, ms waited, then a new delay (-1: none) and
  // ms waited again; OnChange's count after each wait.
  struct Row {
    int delay, changes, before, newDelay, after, atBefore, atEnd;
  } rows[] = {
      {500, 10, 499, -1, 1, 0, 1},    // ten changes within the delay: one notification, at 500 ms
      {0, 3, 0, -1, 0, 3, 3},         // without delay each change fires at once
      {500, 4, 200, 0, 1000, 0, 0},   // delay set to 0 while pending: dropped
      {500, 2, 200, 100, 100, 0, 1},  // a new delay counts anew from its setting
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.delay * 1000 + r.changes);
    TFakeTimerService timers;
    FakeSource fake;
    TKemFolderMonitor m(nullptr);
    int changes = 0;
    m.OnChange = [&](TObject* sender) { changes += sender == &m && IsMainThread(); };
    m.SetFolderName(u"C:\\a");
    m.SetDelayTime(r.delay);
    m.SetActive(true);
    fake.Changes(r.changes);
    timers.Advance(r.before);
    EXPECT_EQ(changes, r.atBefore);
    if (r.newDelay >= 0) m.SetDelayTime(r.newDelay);
    timers.Advance(r.after);
    EXPECT_EQ(changes, r.atEnd);
    timers.Advance(2000);
    EXPECT_EQ(changes, r.atEnd) << "nothing more without changes";
    // The timer is stopped, not gone: the next burst is heard again.
    fake.Changes(1);
    timers.Advance(2000);
    EXPECT_EQ(changes, r.atEnd + 1);
  }
}

TEST(FolderMonitor, StartsOnlyOnAFolderAndOwnsItsWatch) {
  FakeSource fake;
  {
    TKemFolderMonitor m(nullptr);
    m.SetActive(true);
    EXPECT_FALSE(m.Active()) << "no folder";
    m.SetFolderName(u"C:\\a");
    m.SetMonitorSubtree(false);
    m.SetFilter({fnFileName, fnSecurity});
    m.SetActive(true);
    fake.Changes(1);  // the thread runs its loop
    EXPECT_TRUE(m.Active());
    EXPECT_EQ(fake.lastMask, 0x101u);
    EXPECT_FALSE(fake.lastSubtree);
    m.SetFolderName(u"C:\\b");  // a restart on the other folder
    fake.Changes(1);
    EXPECT_EQ(fake.opened, 2);
    EXPECT_EQ(fake.closed, 1);
    m.SetFolderName(u"C:\\gone");
    EXPECT_FALSE(m.Active()) << "a missing folder ends the watch";
    EXPECT_EQ(fake.closed, 2);

    // A watch that cannot start keeps the monitor active and says why.
    fake.failWith = 5;
    m.SetFolderName(u"C:\\a");
    m.SetActive(true);
    EXPECT_TRUE(m.Active());
    EXPECT_EQ(m.LastError(), 5u);
    fake.failWith = 0;
    m.SetActive(false);

    // While loading, activation waits for Loaded.
    m.Loading();
    m.SetActive(true);
    EXPECT_FALSE(m.Active());
    m.Loaded();
    EXPECT_TRUE(m.Active());
    fake.Changes(1);
    // A watch that breaks down ends; the monitor stays active and says why.
    fake.breaksWith = 6;
    for (int i = 0; i < 500 && m.LastError() == 0; ++i) CheckSynchronize(2);
    EXPECT_EQ(m.LastError(), 6u);
  }
  EXPECT_EQ(fake.opened, 3);
  EXPECT_EQ(fake.closed, 3);
  EXPECT_EQ(fake.closedOnMain, 0) << "each thread closes its own watch";
}

TEST(FolderMonitor, ReleaseUnderLoad) {
  FakeSource fake;
  fake.endless = true;
  int changes = 0;
  for (int round = 0; round < 30; ++round) {
    auto m = std::make_unique<TKemFolderMonitor>(nullptr);
    m->OnChange = [&](TObject*) { ++changes; };
    m->SetFolderName(u"C:\\a");
    m->SetActive(true);
    for (int i = 0; i < round % 4; ++i) CheckSynchronize(5);
    // Mostly the thread sits in a synchronised call: released, it runs no more callbacks.
    const int before = changes;
    if (round % 2)
      m->SetActive(false);
    else
      m.reset();
    EXPECT_EQ(changes, before);
    CheckSynchronize(0);
    EXPECT_EQ(changes, before);
  }
  EXPECT_EQ(fake.opened, 30);
  EXPECT_EQ(fake.closed, 30);
}

TEST(FolderMonitor, ReleasedFromItsOwnNotification) {
  // OnChange runs inside the thread's synchronised call: turning the watch off, moving it
  // or freeing the monitor there must neither wait for that thread (it waits for us) nor
  // leave it behind. The source outlives the threads that free themselves.
  static FakeSource fake;
  SetFolderChangeSource(&fake);
  for (int how = 0; how < 3; ++how) {
    auto m = std::make_unique<TKemFolderMonitor>(nullptr);
    int changes = 0;
    m->OnChange = [&](TObject*) {
      ++changes;
      if (how == 0) m->SetActive(false);
      if (how == 1) m->SetFolderName(u"C:\\b");
      if (how == 2) m.reset();
    };
    m->SetFolderName(u"C:\\a");
    m->SetActive(true);
    fake.Changes(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(m && m->Active(), how == 1);
    m.reset();
  }
  // Each self-freeing thread closes its watch on its way out.
  for (int i = 0; i < 500 && fake.closed < fake.opened; ++i) CheckSynchronize(2);
  EXPECT_EQ(fake.closed, fake.opened);
  CheckSynchronize(50);  // the last one's end, after its watch
  SetFolderChangeSource(fake.previous);
}
