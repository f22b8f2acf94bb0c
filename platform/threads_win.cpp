// Threads of the Windows build, on the system's threads, critical sections and events.
#include <process.h>

#include "platform/synchronize.h"
#include "platform/threads.h"
#include "platform/win_util_win.h"

TThreadID CurrentThreadID() { return GetCurrentThreadId(); }

struct TCriticalSection::Impl {
  CRITICAL_SECTION section;
};

TCriticalSection::TCriticalSection() : FImpl(std::make_unique<Impl>()) { InitializeCriticalSection(&FImpl->section); }
TCriticalSection::~TCriticalSection() { DeleteCriticalSection(&FImpl->section); }
void TCriticalSection::Enter() { EnterCriticalSection(&FImpl->section); }
void TCriticalSection::Leave() { LeaveCriticalSection(&FImpl->section); }
bool TCriticalSection::TryEnter() { return TryEnterCriticalSection(&FImpl->section) != 0; }

struct TEvent::Impl {
  HANDLE handle;
};

TEvent::TEvent(bool ManualReset, bool InitialState) : FImpl(std::make_unique<Impl>()) {
  FImpl->handle = CreateEventW(nullptr, ManualReset, InitialState, nullptr);
  if (!FImpl->handle) throw EOSError("Cannot create an event. " + LastErrorText());
}
TEvent::~TEvent() { CloseHandle(FImpl->handle); }
void TEvent::SetEvent() { ::SetEvent(FImpl->handle); }
void TEvent::ResetEvent() { ::ResetEvent(FImpl->handle); }
void* TEvent::Handle() const { return FImpl->handle; }

TWaitResult TEvent::WaitFor(std::uint32_t Timeout) {
  switch (WaitForSingleObject(FImpl->handle, Timeout)) {
    case WAIT_OBJECT_0:
      return wrSignaled;
    case WAIT_TIMEOUT:
      return wrTimeout;
    case WAIT_ABANDONED:
      return wrAbandoned;
    default:
      return wrError;
  }
}

struct TThread::Impl {
  HANDLE handle = nullptr;
};

void TThread::ImplDeleter::operator()(Impl* impl) const { delete impl; }

struct TThreadEntry {
  static unsigned __stdcall Entry(void* thread) {
    static_cast<TThread*>(thread)->Run();
    return 0;
  }
};

void TThread::StartNative() {
  FImpl.reset(new Impl);
  unsigned id = 0;
  // Created suspended, so handle and id are stored before the thread can run
  // (and perhaps free itself).
  auto handle = _beginthreadex(nullptr, 0, TThreadEntry::Entry, this, CREATE_SUSPENDED, &id);
  if (!handle) throw EThread("Thread creation error: " + LastErrorText());
  FImpl->handle = reinterpret_cast<HANDLE>(handle);
  FThreadID = id;
  ResumeThread(FImpl->handle);
}

void TThread::WaitNative(bool onMainThread) {
  if (!onMainThread) {
    WaitForSingleObject(FImpl->handle, INFINITE);
    return;
  }
  // Keep running synchronised calls and messages sent to this thread's
  // windows: a worker may wait for either before it can end.
  HANDLE handles[2] = {FImpl->handle, synchronize_detail::SyncEvent().Handle()};
  for (;;) {
    DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) return;
    if (r == WAIT_OBJECT_0 + 1) {
      CheckSynchronize();
    } else if (r == WAIT_OBJECT_0 + 2) {
      MSG msg;
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    } else {
      throw EThread("Cannot wait for a thread. " + LastErrorText());
    }
  }
}

void TThread::SignalFinished() {}

void TThread::ReleaseNative() {
  if (!FImpl || !FImpl->handle) return;
  // The finished flag is set a moment before the thread really ends.
  if (CurrentThread() != this) WaitForSingleObject(FImpl->handle, INFINITE);
  CloseHandle(FImpl->handle);
  FImpl->handle = nullptr;
}
