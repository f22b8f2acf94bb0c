// The folder monitor and its watch thread.
#include "kem3/browser/kemfldnt.h"

#include <exception>
#include <utility>

#include "platform/exception_handler.h"

// The system's source: kemfldnt_win.cpp / kemfldnt_posix.cpp.
TFolderChangeSource& SystemFolderChangeSource();

namespace {
TFolderChangeSource* gSource = nullptr;

constexpr std::uint32_t kChangeFlags[] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x40, 0x100};

// A failure the system gave no code for still counts as one.
std::uint32_t FailureCode(std::uint32_t Error) { return Error ? Error : 1; }
}  // namespace

std::uint32_t FileChangeMask(TFileChangeFilters Filter) {
  std::uint32_t mask = 0;
  for (TFileChangeFilter f : Filter) mask |= kChangeFlags[f];
  return mask;
}

TFolderChangeSource& FolderChangeSource() { return gSource ? *gSource : SystemFolderChangeSource(); }

TFolderChangeSource* SetFolderChangeSource(TFolderChangeSource* Source) {
  TFolderChangeSource* previous = &FolderChangeSource();
  gSource = Source;
  return previous;
}

// ---- The watch thread

TNotifyThread::TNotifyThread(const WideString& Folder, bool Subtree, TFileChangeFilters Filter) : TThread(true) {
  std::uint32_t error = 0;
  FWatch = FolderChangeSource().Open(Folder, Subtree, FileChangeMask(Filter), error);
  if (!FWatch) FLastError = FailureCode(error);
}

TNotifyThread::~TNotifyThread() {
  Terminate();
  // A call another thread queued may raise while we wait; it must not end the
  // wait, or the thread would outlive its object.
  while (!Suspended() && !Finished()) {
    try {
      WaitFor();
    } catch (...) {
    }
  }
}

void TNotifyThread::Execute() {
  std::uint32_t error = 0;
  while (!Terminated() && FWatch) {
    const TFolderWaitResult woken = FWatch->Wait(FWake, error);
    if (woken == fwFailed) FLastError = FailureCode(error);
    if (woken != fwChange) break;
    if (!Terminated()) {
      // Read on the GUI thread: a release clears it there first, so no call
      // reaches a monitor that has let this thread go.
      Synchronize([this] {
        if (!Callback || Terminated()) return;
        std::function<void()> callback = Callback;
        FInCallback = true;
        try {
          callback();
        } catch (...) {
          FInCallback = false;
          throw;
        }
        FInCallback = false;
      });
    }
    if (!FWatch->Next(error)) {
      // A watch that no longer re-arms hears nothing more: say so.
      FLastError = FailureCode(error);
      break;
    }
  }
  // The notification is this thread's: closed here, after the loop.
  FWatch.reset();
}

// ---- The monitor

TKemFolderMonitor::TKemFolderMonitor(TComponent* AOwner) : TComponent(AOwner) {
  FTimer.SetEnabled(false);
  FTimer.OnTimer = [this](TObject*) { DelayElapsed(); };
}

TKemFolderMonitor::~TKemFolderMonitor() {
  FTimer.SetEnabled(false);
  FTimer.OnTimer = nullptr;
  ReleaseThread();
}

void TKemFolderMonitor::SetActive(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    FPendingActive = Value;
    return;
  }
  if (Value != Active()) Restart(Value);
}

void TKemFolderMonitor::Loaded() {
  TComponent::Loaded();
  if (!FPendingActive) return;
  FPendingActive = false;
  Restart(true);
}

void TKemFolderMonitor::SetDelayTime(unsigned Value) {
  FDelay = Value;
  if (!FTimer.Enabled()) return;
  if (Value == 0)
    FTimer.SetEnabled(false);
  else
    FTimer.SetInterval(Value);
}

void TKemFolderMonitor::SetFilter(TFileChangeFilters Value) {
  const TFileChangeFilters old = FFilter;
  const bool wasActive = Active();
  FFilter = Value;
  try {
    Restart(wasActive);
  } catch (...) {
    FFilter = old;
    if (wasActive) {
      try {
        Restart(true);
      } catch (...) {
      }
    }
    throw;
  }
}

void TKemFolderMonitor::SetFolderName(const WideString& Value) {
  FFolderName = Value;
  Restart(Active());
}

void TKemFolderMonitor::SetMonitorSubtree(bool Value) {
  FMonitorSubtree = Value;
  Restart(Active());
}

void TKemFolderMonitor::Restart(bool Active) {
  ReleaseThread();
  if (!Active || !FolderChangeSource().FolderExists(FFolderName)) return;
  auto thread = std::make_unique<TNotifyThread>(FFolderName, FMonitorSubtree, FFilter);
  thread->Callback = [this] { FolderChanged(); };
  thread->Start();
  FThread = std::move(thread);
}

void TKemFolderMonitor::ReleaseThread() {
  if (!FThread) return;
  // Forgotten first: whatever runs during the wait sees the monitor inactive.
  std::unique_ptr<TNotifyThread> thread = std::move(FThread);
  thread->Callback = nullptr;
  if (thread->InCallback()) {
    // Released from inside its own notification (OnChange turned the watch
    // off or moved it): the thread waits for us, so it cannot be waited for.
    // It ends once the notification returns and frees itself; nobody else
    // holds it, and its callback is gone.
    thread->FreeOnTerminate = true;
    thread->Stop();
    (void)thread.release();
    return;
  }
  thread.reset();
}

void TKemFolderMonitor::FolderChanged() {
  if (FDelay == 0) {
    Change();
    return;
  }
  // Changes while a notification is pending belong to the same burst.
  if (FTimer.Enabled()) return;
  FTimer.SetInterval(FDelay);
  FTimer.SetEnabled(true);
}

void TKemFolderMonitor::DelayElapsed() {
  // Stopped, not freed: this runs inside the timer's own handler.
  FTimer.SetEnabled(false);
  Change();
}

void TKemFolderMonitor::Change() {
  if (!OnChange) return;
  // A copy: the handler may free the monitor.
  const TNotifyEvent handler = OnChange;
  try {
    handler(this);
  } catch (...) {
    HandleEventException(this, std::current_exception());
  }
}
