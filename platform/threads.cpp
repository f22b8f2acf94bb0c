// The life cycle of TThread that every build shares.
#include "platform/threads.h"

#include "platform/synchronize.h"

namespace {
thread_local TThread* tCurrentThread = nullptr;
}  // namespace

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {}

TThread::~TThread() {
  if (FStarted && tCurrentThread != this) {
    Terminate();
    // A queued call that raises while we wait must not end the program here.
    while (!FFinished) {
      try {
        WaitNative(IsMainThread());
      } catch (...) {
      }
    }
  }
  ReleaseNative();
}

void TThread::AfterConstruction() {
  if (!FCreateSuspended) Start();
}

void TThread::Start() {
  if (FStarted.exchange(true)) throw EThread("Cannot call Start on a running or finished thread");
  try {
    StartNative();
  } catch (...) {
    FStarted = false;
    throw;
  }
}

void TThread::Resume() {
  if (!FStarted) Start();
}

void TThread::Terminate() {
  FTerminated = true;
  TerminatedSet();
}

int TThread::WaitFor() {
  if (!FStarted) throw EThread("Cannot wait for a thread that was never started");
  if (tCurrentThread == this) throw EThread("A thread cannot wait for itself");
  if (FreeOnTerminate) throw EThread("Cannot wait for a thread that frees itself");
  WaitNative(IsMainThread());
  return ReturnValue;
}

String TThread::FatalExceptionMessage() const {
  if (!FFatalException) return {};
  try {
    std::rethrow_exception(FFatalException);
  } catch (const Exception& e) {
    return e.Message;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown exception";
  }
}

void TThread::Synchronize(TThread*, std::function<void()> method) { RunInMainThread(std::move(method)); }

void TThread::Queue(TThread*, std::function<void()> method) { QueueInMainThread(std::move(method)); }

TThread* TThread::CurrentThread() { return tCurrentThread; }

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::Run() noexcept {
  tCurrentThread = this;
  FThreadID = CurrentThreadID();
  // No exception leaves a thread: it is kept for whoever looks after the thread.
  if (!Terminated()) {
    try {
      Execute();
    } catch (...) {
      FFatalException = std::current_exception();
    }
  }
  try {
    DoTerminate();
  } catch (...) {
    if (!FFatalException) FFatalException = std::current_exception();
  }
  // Read before Finished: from then on an owner may delete the object.
  const bool freeSelf = FreeOnTerminate;
  FFinished = true;
  SignalFinished();
  if (freeSelf) Free();
  tCurrentThread = nullptr;
}
