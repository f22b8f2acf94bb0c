// The queue of calls for the main thread.
#include "platform/synchronize.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

namespace {

struct SyncRequest {
  std::function<void()> method;
  bool waited;  // Synchronize (the caller waits) or Queue
  bool done = false;
  std::exception_ptr error;
};
using RequestList = std::deque<std::shared_ptr<SyncRequest>>;

struct SyncState {
  std::mutex lock;
  std::condition_variable doneChanged;
  RequestList queue;
  std::function<void()> wake;
  TEvent event{true, false};
};

SyncState& State() {
  static SyncState state;
  return state;
}

std::atomic<TThreadID> gMainThreadID{0};

// The fallback: static initialisers run on the thread that started the program.
const bool gMainThreadRecorded = (InitMainThread(), true);

void Hand(std::shared_ptr<SyncRequest> request) {
  SyncState& s = State();
  std::function<void()> wake;
  {
    std::lock_guard guard(s.lock);
    s.queue.push_back(std::move(request));
    wake = s.wake;
  }
  s.event.SetEvent();
  if (wake) wake();
}

}  // namespace

void InitMainThread() { gMainThreadID = CurrentThreadID(); }

TThreadID MainThreadID() { return gMainThreadID.load(); }

bool IsMainThread() { return CurrentThreadID() == gMainThreadID.load(); }

void RunInMainThread(std::function<void()> method) {
  if (IsMainThread()) {
    method();
    return;
  }
  auto request = std::make_shared<SyncRequest>(SyncRequest{std::move(method), true, false, nullptr});
  Hand(request);
  SyncState& s = State();
  std::unique_lock guard(s.lock);
  s.doneChanged.wait(guard, [&] { return request->done; });
  guard.unlock();
  if (request->error) std::rethrow_exception(request->error);
}

void QueueInMainThread(std::function<void()> method) {
  if (IsMainThread()) {
    method();
    return;
  }
  Hand(std::make_shared<SyncRequest>(SyncRequest{std::move(method), false, false, nullptr}));
}

bool CheckSynchronize(int timeoutMs) {
  (void)gMainThreadRecorded;
  if (!IsMainThread()) throw EThread("CheckSynchronize called from a thread that is not the main thread");
  SyncState& s = State();
  if (timeoutMs != 0) s.event.WaitFor(timeoutMs < 0 ? INFINITE : static_cast<std::uint32_t>(timeoutMs));
  s.event.ResetEvent();
  // A snapshot: calls handed over while these run wait for the next round, so
  // a busy worker cannot keep the main thread in here.
  RequestList batch;
  {
    std::lock_guard guard(s.lock);
    batch.swap(s.queue);
  }
  if (batch.empty()) return false;
  while (!batch.empty()) {
    std::shared_ptr<SyncRequest> request = std::move(batch.front());
    batch.pop_front();
    if (request->waited) {
      try {
        request->method();
      } catch (...) {
        request->error = std::current_exception();
      }
      {
        std::lock_guard guard(s.lock);
        request->done = true;
      }
      s.doneChanged.notify_all();
      continue;
    }
    try {
      request->method();
    } catch (...) {
      // The calls behind it stay queued, in order, for the next round.
      if (!batch.empty()) {
        {
          std::lock_guard guard(s.lock);
          s.queue.insert(s.queue.begin(), batch.begin(), batch.end());
        }
        s.event.SetEvent();
      }
      throw;
    }
  }
  return true;
}

void SetWakeMainThread(std::function<void()> hook) {
  SyncState& s = State();
  std::lock_guard guard(s.lock);
  s.wake = std::move(hook);
}

TEvent& synchronize_detail::SyncEvent() { return State().event; }
