// Threads of the native build, on the standard library.
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/synchronize.h"
#include "platform/threads.h"

TThreadID CurrentThreadID() { return static_cast<TThreadID>(::gettid()); }

struct TCriticalSection::Impl {
  std::recursive_mutex mutex;
};

TCriticalSection::TCriticalSection() : FImpl(std::make_unique<Impl>()) {}
TCriticalSection::~TCriticalSection() = default;
void TCriticalSection::Enter() { FImpl->mutex.lock(); }
void TCriticalSection::Leave() { FImpl->mutex.unlock(); }
bool TCriticalSection::TryEnter() { return FImpl->mutex.try_lock(); }

struct TEvent::Impl {
  std::mutex mutex;
  std::condition_variable changed;
  bool manualReset;
  bool signaled;
};

TEvent::TEvent(bool ManualReset, bool InitialState) : FImpl(new Impl{{}, {}, ManualReset, InitialState}) {}
TEvent::~TEvent() = default;

void TEvent::SetEvent() {
  // Notified under the lock: a waiter may destroy the event as soon as its wait returns.
  std::lock_guard guard(FImpl->mutex);
  FImpl->signaled = true;
  if (FImpl->manualReset)
    FImpl->changed.notify_all();
  else
    FImpl->changed.notify_one();
}

void TEvent::ResetEvent() {
  std::lock_guard guard(FImpl->mutex);
  FImpl->signaled = false;
}

TWaitResult TEvent::WaitFor(std::uint32_t Timeout) {
  std::unique_lock guard(FImpl->mutex);
  auto signaled = [this] { return FImpl->signaled; };
  if (Timeout == INFINITE)
    FImpl->changed.wait(guard, signaled);
  else if (!FImpl->changed.wait_for(guard, std::chrono::milliseconds(Timeout), signaled))
    return wrTimeout;
  if (!FImpl->manualReset) FImpl->signaled = false;
  return wrSignaled;
}

struct TThread::Impl {
  std::thread thread;
  std::mutex mutex;
  std::condition_variable finished;
};

void TThread::ImplDeleter::operator()(Impl* impl) const { delete impl; }

namespace {
// Held while a new thread's handle is stored, so the thread cannot run (and
// free itself) before its creator is done with the object.
std::mutex gStartGate;
}  // namespace

void TThread::StartNative() {
  FImpl.reset(new Impl);
  std::lock_guard gate(gStartGate);
  try {
    FImpl->thread = std::thread([this] {
      { std::lock_guard wait(gStartGate); }
      Run();
    });
  } catch (const std::system_error& e) {
    throw EThread(String("Thread creation error: ") + e.what());
  }
}

void TThread::WaitNative(bool onMainThread) {
  if (onMainThread) {
    // A finished thread sets the sync event too, so this wakes for both.
    while (!FFinished) {
      synchronize_detail::SyncEvent().WaitFor(INFINITE);
      CheckSynchronize();
    }
    return;
  }
  std::unique_lock guard(FImpl->mutex);
  FImpl->finished.wait(guard, [this] { return FFinished.load(); });
}

void TThread::SignalFinished() {
  {
    std::lock_guard guard(FImpl->mutex);
    FImpl->finished.notify_all();
  }
  synchronize_detail::SyncEvent().SetEvent();
}

void TThread::ReleaseNative() {
  if (!FImpl || !FImpl->thread.joinable()) return;
  if (CurrentThread() == this)
    FImpl->thread.detach();
  else
    FImpl->thread.join();
}
