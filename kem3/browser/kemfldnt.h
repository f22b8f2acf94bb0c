// TKemFolderMonitor: watches a folder for changes and fires OnChange on the GUI
// thread, optionally once per burst. The waiting runs on a TNotifyThread; the
// system's change notifications come in through TFolderChangeSource, which the
// Windows build fills with the wide calls and the tests fake.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/component.h"
#include "platform/events.h"
#include "platform/set.h"
#include "platform/threads.h"
#include "platform/timer.h"
#include "platform/types.h"

enum TFileChangeFilter {
  fnFileName,
  fnDirName,
  fnAttributes,
  fnSize,
  fnLastWrite,
  fnLastAccess,
  fnCreation,
  fnSecurity
};
using TFileChangeFilters = Set<TFileChangeFilter>;

// The system's notification flags (FILE_NOTIFY_CHANGE_…) the filter selects.
std::uint32_t FileChangeMask(TFileChangeFilters Filter);

enum TFolderWaitResult { fwChange, fwWake, fwFailed };

// One open change notification on a folder. It belongs to the thread that
// waits on it; destroying it closes the system's handle.
class TFolderChangeWatch {
 public:
  virtual ~TFolderChangeWatch() = default;
  // Waits without time-out for a change or for Wake to be signalled; on
  // fwFailed Error holds the system's error code.
  virtual TFolderWaitResult Wait(TEvent& Wake, std::uint32_t& Error) = 0;
  // Re-arms the notification after a change; false (Error set) when that fails.
  virtual bool Next(std::uint32_t& Error) = 0;
};

class TFolderChangeSource {
 public:
  virtual ~TFolderChangeSource() = default;
  virtual bool FolderExists(const WideString& Folder) = 0;
  // A watch, or nullptr with Error set to the system's error code.
  virtual std::unique_ptr<TFolderChangeWatch> Open(const WideString& Folder, bool Subtree, std::uint32_t Mask,
                                                   std::uint32_t& Error) = 0;
};

// The source new watches use: the system's unless a test put another in place.
TFolderChangeSource& FolderChangeSource();
// Puts source in place (nullptr: the system's) and returns the previous one.
TFolderChangeSource* SetFolderChangeSource(TFolderChangeSource* Source);

// Waits for changes of one folder. The notification is opened at creation (a
// failure is kept in LastError and the thread ends at once); the thread closes
// it after its loop. A wait or re-arm that fails ends the loop with its error
// in LastError too. Callback is read and run only on the GUI thread, inside the
// synchronised call, so clearing it there before a release is final.
class TNotifyThread : public TThread {
 public:
  TNotifyThread(const WideString& Folder, bool Subtree, TFileChangeFilters Filter);
  // Stops the thread and waits for its end, running the synchronised calls it
  // has pending meanwhile.
  ~TNotifyThread() override;
  // Terminates and signals the wake-up event.
  void Stop() { Terminate(); }
  std::uint32_t LastError() const { return FLastError.load(); }
  // On the GUI thread: whether Callback runs now, below the caller. Such a
  // thread waits for the caller and so cannot be waited for.
  bool InCallback() const { return FInCallback; }

  std::function<void()> Callback;

 protected:
  void Execute() override;
  void TerminatedSet() override { FWake.SetEvent(); }

 private:
  std::unique_ptr<TFolderChangeWatch> FWatch;
  TEvent FWake{true, false};
  std::atomic<std::uint32_t> FLastError{0};
  bool FInCallback = false;  // GUI thread only
};

class TKemFolderMonitor : public TComponent {
 public:
  explicit TKemFolderMonitor(TComponent* AOwner);
  ~TKemFolderMonitor() override;

  // True while a watch thread is held, also one whose watch could not start
  // (then LastError says why).
  bool Active() const { return FThread != nullptr; }
  void SetActive(bool Value);
  unsigned DelayTime() const { return FDelay; }
  // Changes a pending notification's delay; 0 drops a pending notification.
  void SetDelayTime(unsigned Value);
  TFileChangeFilters Filter() const { return FFilter; }
  void SetFilter(TFileChangeFilters Value);
  const WideString& FolderName() const { return FFolderName; }
  void SetFolderName(const WideString& Value);
  bool MonitorSubtree() const { return FMonitorSubtree; }
  void SetMonitorSubtree(bool Value);
  // The system's error code of the current watch's start or end; 0 while it runs.
  std::uint32_t LastError() const { return FThread ? FThread->LastError() : 0; }
  // Whether a delayed notification is pending.
  bool Pending() const { return FTimer.Enabled(); }

  TNotifyEvent OnChange;

  void Loaded() override;

 protected:
  // Releases the current thread; then, when Active and FolderName names an
  // existing folder, starts a new one.
  virtual void Restart(bool Active);
  virtual void Change();

 private:
  void ReleaseThread();
  void FolderChanged();  // GUI thread
  void DelayElapsed();

  std::unique_ptr<TNotifyThread> FThread;
  TTimer FTimer{nullptr};
  unsigned FDelay = 0;
  TFileChangeFilters FFilter{fnFileName, fnDirName, fnSize, fnLastWrite};
  WideString FFolderName;
  bool FMonitorSubtree = true;
  bool FPendingActive = false;
};
