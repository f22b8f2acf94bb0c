#include "kem3/framework/kemfldnt.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>

#include "platform/synchronize.h"

namespace {

// Changes the test makes by hand; the watches it opens wait on real threads.
struct FakeSource : TFolderChangeSource {
  std::mutex lock;
  int pending = 0;
  bool endless = false;
  int opened = 0, closed = 0, nexts = 0, closedOnMain = 0;
  std::uint32_t failWith = 0;
  std::uint32_t lastMask = 0;
  bool lastSubtree = false;
  std::set<WideString> folders{u"C:\\a", u"C:\\b"};
  TFolderChangeSource* previous = SetFolderChangeSource(this);
  ~FakeSource() override { SetFolderChangeSource(previous); }

  struct Watch : TFolderChangeWatch {
    FakeSource& s;
    explicit Watch(FakeSource& source) : s(source) {}
    ~Watch() override {
      std::lock_guard g(s.lock);
      ++s.closed;
      s.closedOnMain += IsMainThread();
    }
    TFolderWaitResult Wait(TEvent& wake) override {
      for (;;) {
        if (wake.WaitFor(1) == wrSignaled) return fwWake;
        std::lock_guard g(s.lock);
        if (s.endless) return fwChange;
        if (s.pending > 0) {
          --s.pending;
          return fwChange;
        }
      }
    }
    bool Next() override {
      std::lock_guard g(s.lock);
      ++s.nexts;
      return true;
    }
  };

  bool FolderExists(const WideString& folder) override { return folders.count(folder) != 0; }
  std::unique_ptr<TFolderChangeWatch> Open(const WideString&, bool subtree, std::uint32_t mask,
                                           std::uint32_t& error) override {
    std::lock_guard g(lock);
    lastMask = mask;
    lastSubtree = subtree;
    if (failWith) {
      error = failWith;
      return nullptr;
    }
    ++opened;
    return std::make_unique<Watch>(*this);
  }
  // Makes n changes and lets the GUI thread take each one.
  void Changes(int n) {
    int target;
    {
      std::lock_guard g(lock);
      pending += n;
      target = nexts + n;
    }
    for (;;) {
      {
        std::lock_guard g(lock);
        if (nexts >= target) return;
      }
      CheckSynchronize(20);
    }
  }
  int Closed() {
    std::lock_guard g(lock);
    return closed;
  }
};

}  // namespace

TEST(FolderMonitor, BurstsAndDelays) {
  // Each row: a delay, changes made, ms waited, then the delay set anew; OnChange counts after.
  struct Row {
    unsigned delay;
    int changes;
    unsigned before;  // advanced before the change of delay
    int newDelay;     // -1: left alone
    unsigned after;
    int atBefore, atEnd;
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
    m.OnChange = [&](TObject* sender) {
      EXPECT_EQ(sender, &m);
      EXPECT_TRUE(IsMainThread());
      ++changes;
    };
    m.SetFolderName(u"C:\\a");
    m.SetDelayTime(r.delay);
    m.SetActive(true);
    fake.Changes(r.changes);
    timers.Advance(r.before);
    EXPECT_EQ(changes, r.atBefore);
    if (r.newDelay >= 0) m.SetDelayTime(static_cast<unsigned>(r.newDelay));
    timers.Advance(r.after);
    EXPECT_EQ(changes, r.atEnd);
    timers.Advance(2000);
    EXPECT_EQ(changes, r.atEnd) << "nothing more without changes";
    EXPECT_FALSE(m.Pending());
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
    EXPECT_EQ(m.LastError(), 0u);
    EXPECT_EQ(fake.lastMask, 0x101u);
    EXPECT_FALSE(fake.lastSubtree);
    m.SetFolderName(u"C:\\b");  // a restart on the other folder
    fake.Changes(1);
    EXPECT_TRUE(m.Active());
    EXPECT_EQ(fake.opened, 2);
    EXPECT_EQ(fake.Closed(), 1);
    m.SetFolderName(u"C:\\gone");
    EXPECT_FALSE(m.Active()) << "a missing folder ends the watch";
    EXPECT_EQ(fake.Closed(), 2);

    // A watch that cannot start keeps the monitor active and says why.
    fake.failWith = 5;
    m.SetFolderName(u"C:\\a");
    m.SetActive(true);
    EXPECT_TRUE(m.Active());
    EXPECT_EQ(m.LastError(), 5u);
    fake.failWith = 0;
    m.SetActive(false);
    EXPECT_FALSE(m.Active());

    // While loading, activation waits for Loaded.
    m.Loading();
    m.SetActive(true);
    EXPECT_FALSE(m.Active());
    m.Loaded();
    EXPECT_TRUE(m.Active());
    fake.Changes(1);
  }
  EXPECT_EQ(fake.opened, 3);
  EXPECT_EQ(fake.Closed(), 3);
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
    // The thread sits in a synchronised call more often than not: releasing
    // must wait for it without running the callback of a monitor on its way out.
    const int before = changes;
    if (round % 2)
      m->SetActive(false);
    else
      m.reset();
    EXPECT_EQ(changes, before);
    while (CheckSynchronize(0)) {
    }
    EXPECT_EQ(changes, before);
  }
  EXPECT_EQ(fake.opened, 30);
  EXPECT_EQ(fake.Closed(), 30);
}

TEST(FolderMonitor, ReleasedFromItsOwnNotification) {
  // OnChange runs inside the thread's synchronised call: turning the watch off,
  // moving it or freeing the monitor there must neither wait for that thread
  // (it waits for us) nor leave it behind. The source outlives the threads
  // that free themselves.
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
    if (m) {
      EXPECT_EQ(m->Active(), how == 1);
    }
    m.reset();
  }
  // Each self-freeing thread closes its watch on its way out.
  for (int i = 0; i < 500 && fake.Closed() < fake.opened; ++i) CheckSynchronize(2);
  EXPECT_EQ(fake.Closed(), fake.opened);
  CheckSynchronize(50);  // the last one's end, after its watch
  SetFolderChangeSource(fake.previous);
}
