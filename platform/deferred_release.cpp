// The queue of components to free later.
#include "platform/deferred_release.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Hears of every queued component that is freed before its turn.
class TReleaseQueue : public TComponent {
 public:
  TReleaseQueue() : TComponent(nullptr) {}
  ~TReleaseQueue() override {
    for (TComponent* c : FItems) RemoveFreeNotification(c);
  }

  void Add(TComponent* c) {
    if (std::find(FItems.begin(), FItems.end(), c) != FItems.end()) return;
    FItems.push_back(c);
    FreeNotification(c);
  }

  std::vector<TComponent*> Take() {
    std::vector<TComponent*> items;
    items.swap(FItems);
    for (TComponent* c : items) RemoveFreeNotification(c);
    return items;
  }

  bool Empty() const { return FItems.empty(); }
  std::function<void()> Wake;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) std::erase(FItems, AComponent);
  }

 private:
  std::vector<TComponent*> FItems;
};

TReleaseQueue& Queue() {
  static TReleaseQueue queue;
  return queue;
}

// Keeps the batch being freed up to date when freeing one frees others of it
// (an owner its components), so none is freed twice.
class TBatchGuard : public TComponent {
 public:
  explicit TBatchGuard(std::vector<TComponent*>& batch) : TComponent(nullptr), FBatch(batch) {
    for (TComponent* c : FBatch) FreeNotification(c);
  }
  ~TBatchGuard() override {
    for (TComponent* c : FBatch) RemoveFreeNotification(c);
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) std::erase(FBatch, AComponent);
  }

 private:
  std::vector<TComponent*>& FBatch;
};

}  // namespace

void ReleaseComponent(TComponent* Component) {
  if (!Component) return;
  TReleaseQueue& q = Queue();
  q.Add(Component);
  if (q.Wake) q.Wake();
}

int ProcessDeferredReleases() {
  std::vector<TComponent*> batch = Queue().Take();
  if (batch.empty()) return 0;
  int freed = 0;
  TBatchGuard guard(batch);
  while (!batch.empty()) {
    TComponent* c = batch.front();
    guard.RemoveFreeNotification(c);
    batch.erase(batch.begin());
    c->Free();
    ++freed;
  }
  return freed;
}

bool HasDeferredReleases() { return !Queue().Empty(); }

void SetDeferredReleaseWake(std::function<void()> Wake) { Queue().Wake = std::move(Wake); }
