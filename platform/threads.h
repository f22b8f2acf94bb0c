// Threads and their synchronisation objects: TThread, TCriticalSection, TEvent.
// Windows builds use the system's threads, critical sections and events; the
// native build uses the standard library's.
#pragma once
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <utility>

#include "platform/events.h"
#include "platform/exceptions.h"
#include "platform/object.h"
#include "platform/types.h"

// The same spelling as the Windows headers, so either may come first.
#ifndef INFINITE
#define INFINITE 0xffffffff
#endif

using TThreadID = std::uint32_t;
// The system's id of the calling thread.
TThreadID CurrentThreadID();

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// A re-entrant lock, like the system's critical section: the thread that holds
// it may enter it again and must leave it as often. lock()/unlock() make it
// usable with std::lock_guard and std::unique_lock.
class TCriticalSection {
 public:
  TCriticalSection();
  ~TCriticalSection();
  TCriticalSection(const TCriticalSection&) = delete;
  TCriticalSection& operator=(const TCriticalSection&) = delete;

  void Enter();
  void Leave();
  bool TryEnter();
  void Acquire() { Enter(); }
  void Release() { Leave(); }
  void lock() { Enter(); }
  void unlock() { Leave(); }

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// Holds a critical section for the lifetime of a scope.
class TCriticalSectionLock {
 public:
  explicit TCriticalSectionLock(TCriticalSection& section) : FSection(section) { FSection.Enter(); }
  ~TCriticalSectionLock() { FSection.Leave(); }
  TCriticalSectionLock(const TCriticalSectionLock&) = delete;
  TCriticalSectionLock& operator=(const TCriticalSectionLock&) = delete;

 private:
  TCriticalSection& FSection;
};

// An event a thread waits for. A manual-reset event stays signalled until
// ResetEvent and releases every waiter; an auto-reset event releases exactly
// one waiter per SetEvent and resets itself.
class TEvent {
 public:
  explicit TEvent(bool ManualReset = true, bool InitialState = false);
  ~TEvent();
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  void SetEvent();
  void ResetEvent();
  // Timeout in milliseconds; INFINITE waits for ever.
  TWaitResult WaitFor(std::uint32_t Timeout = INFINITE);
#ifdef _WIN32
  // The event's HANDLE, for waits on several objects at once.
  void* Handle() const;
#endif

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// A thread with the class library's life cycle. Derive, override Execute and
// check Terminated() there.
//
// C++ runs no override before the derived constructor has finished, so a
// thread never starts inside its constructor. A thread created suspended is
// started with Start() (or Resume()); one created with CreateSuspended false
// starts in AfterConstruction(), which NewThread<T>(...) calls once the object
// is complete.
//
// FreeOnTerminate: the thread frees its own object (Free) after Execute and
// OnTerminate. Such a thread must be created with new and never freed by
// anyone else; once it has been started, its pointer may dangle at any moment.
//
// Destroying a thread that runs terminates it and waits for its end. The wait
// happens in ~TThread, after the derived parts are gone, so a derived class
// whose Execute uses its own members stops the thread in its own destructor
// (Terminate(); WaitFor();).
class TThread : public TObject {
 public:
  explicit TThread(bool CreateSuspended);
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts a thread that was created with CreateSuspended false.
  void AfterConstruction();
  // Starts a suspended thread; EThread when it was started before.
  void Start();
  // Starts a thread that has not run yet; nothing for one that has.
  void Resume();
  // Asks Execute to end; the thread sees it through Terminated().
  void Terminate();
  // Waits for the end of the thread and returns ReturnValue. On the main
  // thread it keeps running synchronised calls (and, on Windows, messages
  // sent to the thread's windows) while it waits, so a worker that
  // synchronises cannot deadlock with it; a queued call that raises there
  // leaves WaitFor with its exception. EThread for a thread that never
  // started, for a call from the thread itself and for a thread that frees itself.
  int WaitFor();

  bool Terminated() const { return FTerminated.load(); }
  bool Finished() const { return FFinished.load(); }
  // True until the thread has been started.
  bool Suspended() const { return !FStarted.load(); }
  TThreadID ThreadID() const { return FThreadID.load(); }
  // The exception that ended Execute (or OnTerminate), if any; read it after the end.
  std::exception_ptr FatalException() const { return FFatalException; }
  // Its message: Exception::Message, what() of other standard exceptions.
  String FatalExceptionMessage() const;

  std::atomic<bool> FreeOnTerminate{false};
  // Runs on the main thread (synchronised) after Execute; set it before the start.
  TNotifyEvent OnTerminate;

  // Runs method on the main thread and waits for it; at once when called on
  // the main thread. An exception of the method is raised again in the caller.
  static void Synchronize(TThread* thread, std::function<void()> method);
  // Hands method to the main thread without waiting; at once on the main thread.
  static void Queue(TThread* thread, std::function<void()> method);
  // The TThread whose Execute runs on the calling thread; nullptr elsewhere.
  static TThread* CurrentThread();

 protected:
  virtual void Execute() = 0;
  // Fires OnTerminate on the main thread.
  virtual void DoTerminate();
  // Called by Terminate, on the thread that terminates, e.g. to wake an Execute that waits.
  virtual void TerminatedSet() {}
  void Synchronize(std::function<void()> method) { Synchronize(this, std::move(method)); }
  void Queue(std::function<void()> method) { Queue(this, std::move(method)); }

  // What WaitFor returns; set it in Execute.
  int ReturnValue = 0;

 private:
  struct Impl;
  struct ImplDeleter {
    void operator()(Impl* impl) const;
  };
  friend struct TThreadEntry;  // the system's thread entry (Windows)
  // Runs on the new thread: Execute, OnTerminate, and the end.
  void Run() noexcept;
  // The system's part (threads_win.cpp / threads_posix.cpp).
  void StartNative();
  void WaitNative(bool onMainThread);
  void ReleaseNative();   // called by the destructor
  void SignalFinished();  // called at the end of Run, before a self-delete

  const bool FCreateSuspended;
  std::atomic<bool> FStarted{false};
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<TThreadID> FThreadID{0};
  std::exception_ptr FFatalException;
  std::unique_ptr<Impl, ImplDeleter> FImpl;
};

// Creates a thread and, when it was not created suspended, starts it once the
// whole object is built: NewThread<TRecycleThread>(roots).
template <class T, class... Args>
T* NewThread(Args&&... args) {
  T* thread = new T(std::forward<Args>(args)...);
  thread->AfterConstruction();
  return thread;
}
