// The threads of the bar modules and the list of running modules. Each module
// has one thread that wakes at the module's interval and asks whether its
// picture changed; a changed picture goes to the GUI thread as a queued call
// that repaints only a module still in the list. A thread belongs to its list
// entry: created unstarted, started when the bar shows, stopped and joined
// when its module goes.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "launcher/ov3module.h"
#include "platform/threads.h"

class TModuleThread : public TThread {
 public:
  // OnChanged runs on this thread after a change, with no lock held.
  TModuleThread(TOvModule* Module, std::function<void()> OnChanged);
  ~TModuleThread() override;
  // Clears the module (waiting for an update in progress), ends the thread
  // and waits for its end. The module may be freed once this returns.
  void Stop();
  // Wakes the thread for an update now.
  void Wake() { FEvent.SetEvent(); }

 protected:
  void Execute() override;
  void TerminatedSet() override { FEvent.SetEvent(); }

 private:
  TOvModule* FModule;
  TCriticalSection FLock;
  TEvent FEvent{true, false};
  const std::function<void()> FOnChanged;
};

class TOvModuleList {
 public:
  ~TOvModuleList();
  // Adds the module with a new unstarted thread; Repaint runs on the GUI
  // thread after each change the thread finds. The thread starts at once
  // when the threads run already.
  void RegisterModule(TOvModule* Module, std::function<void()> Repaint);
  // Stops the module's thread and forgets it; nothing for an unknown module.
  void UnregisterModule(TOvModule* Module);
  int FindModuleIndex(const String& Name) const;
  TOvModule* FindModule(const String& Name) const;
  void WakeModule(const String& Name);
  bool IsModule(const TOvModule* Module) const;
  int Count() const { return static_cast<int>(FEntries.size()); }
  TOvModule* Module(int Index) const { return FEntries.at(static_cast<size_t>(Index)).Module; }
  // From the bar's show on, every module's thread runs.
  void StartThreads();
  // Every thread stopped and the list emptied (the modules stay their owners').
  void StopAll();
  bool ThreadsStarted() const { return FStarted; }

 private:
  struct TEntry {
    String Name;
    TOvModule* Module;
    std::unique_ptr<TModuleThread> Thread;
    std::uint64_t Serial;
    std::function<void()> Repaint;
  };
  void Changed(std::uint64_t Serial);
  std::vector<TEntry> FEntries;
  std::uint64_t FNextSerial = 1;
  bool FStarted = false;
  // Lets queued repaints see whether the list still exists.
  std::shared_ptr<TOvModuleList*> FSelf = std::make_shared<TOvModuleList*>(this);
};

// The process's module list (the bar's).
TOvModuleList& Modules();

// Empties the bins of Roots on a thread of its own (ovaEmptyRecycleBin).
void EmptyRecycleBinsInBackground(const std::vector<String>& Roots);
// Waits for every such thread (at shut-down).
void WaitForRecycleThreads();
