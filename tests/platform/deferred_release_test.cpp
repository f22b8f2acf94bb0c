// Freeing components after the handler that asked for it.
#include "platform/deferred_release.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class TNoisy : public TComponent {
 public:
  TNoisy(TComponent* AOwner, Log& log, std::string name) : TComponent(AOwner), FLog(log), FName(std::move(name)) {}
  ~TNoisy() override {
    FLog.push_back("free " + FName);
    if (OnFree) OnFree();
  }
  std::function<void()> OnFree;

 private:
  Log& FLog;
  std::string FName;
};

}  // namespace

TEST(DeferredRelease, FreesLaterInOrderAndOnlyOnce) {
  Log log;
  int wakes = 0;
  SetDeferredReleaseWake([&] { ++wakes; });
  auto* a = new TNoisy(nullptr, log, "a");
  auto* b = new TNoisy(nullptr, log, "b");
  ReleaseComponent(b);
  ReleaseComponent(a);
  ReleaseComponent(b);  // queued once
  ReleaseComponent(nullptr);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(HasDeferredReleases());
  EXPECT_EQ(ProcessDeferredReleases(), 2);
  EXPECT_EQ(log, (Log{"free b", "free a"}));
  EXPECT_FALSE(HasDeferredReleases());
  EXPECT_EQ(ProcessDeferredReleases(), 0);
  EXPECT_EQ(wakes, 3);
  SetDeferredReleaseWake(nullptr);
}

TEST(DeferredRelease, ComponentsFreedMeanwhileLeaveTheQueue) {
  Log log;
  auto* owner = new TNoisy(nullptr, log, "owner");
  auto* child = new TNoisy(owner, log, "child");
  auto* other = new TNoisy(nullptr, log, "other");
  ReleaseComponent(child);
  ReleaseComponent(other);
  other->Free();  // freed directly before its turn
  ReleaseComponent(owner);
  EXPECT_EQ(ProcessDeferredReleases(), 2);  // child and owner, in queue order
  EXPECT_EQ(log, (Log{"free other", "free child", "free owner"}));
}

TEST(DeferredRelease, OwnerQueuedBeforeItsChildFreesItOnce) {
  Log log;
  auto* owner = new TNoisy(nullptr, log, "owner");
  auto* child = new TNoisy(owner, log, "child");
  ReleaseComponent(owner);
  ReleaseComponent(child);
  EXPECT_EQ(ProcessDeferredReleases(), 1);
  EXPECT_EQ(log, (Log{"free owner", "free child"}));
}

TEST(DeferredRelease, WhatTheFreeingQueuesWaitsForTheNextRound) {
  Log log;
  auto* first = new TNoisy(nullptr, log, "first");
  auto* second = new TNoisy(nullptr, log, "second");
  first->OnFree = [&] { ReleaseComponent(second); };
  ReleaseComponent(first);
  EXPECT_EQ(ProcessDeferredReleases(), 1);
  EXPECT_EQ(log, (Log{"free first"}));
  EXPECT_EQ(ProcessDeferredReleases(), 1);
  EXPECT_EQ(log, (Log{"free first", "free second"}));
}
