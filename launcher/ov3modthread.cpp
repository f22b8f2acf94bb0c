// Module threads, the module list and the recycle-bin thread.
#include "launcher/ov3modthread.h"

#include <mutex>

#include "launcher/ov3modsys.h"

TModuleThread::TModuleThread(TOvModule* Module, std::function<void()> OnChanged)
    : TThread(true), FModule(Module), FOnChanged(std::move(OnChanged)) {}

TModuleThread::~TModuleThread() { Stop(); }

void TModuleThread::Stop() {
  {
    TCriticalSectionLock lock(FLock);
    FModule = nullptr;
  }
  Terminate();
  if (!Suspended() && !Finished()) WaitFor();
}

void TModuleThread::Execute() {
  while (!Terminated()) {
    int interval = 1000;
    {
      TCriticalSectionLock lock(FLock);
      try {
        if (FModule) interval = FModule->GetInterval();
      } catch (...) {
        interval = 1000;
      }
    }
    if (interval < 1) interval = 1;
    if (FEvent.WaitFor(static_cast<std::uint32_t>(interval)) == wrSignaled) FEvent.ResetEvent();
    if (Terminated()) break;
    bool changed = false;
    {
      TCriticalSectionLock lock(FLock);
      changed = FModule && FModule->UpdateImage(false);
    }
    if (changed && FOnChanged) FOnChanged();
  }
}

// ---- The module list

TOvModuleList::~TOvModuleList() { StopAll(); }

void TOvModuleList::RegisterModule(TOvModule* Module, std::function<void()> Repaint) {
  const std::uint64_t serial = FNextSerial++;
  std::weak_ptr<TOvModuleList*> self = FSelf;
  auto onChanged = [self, serial] {
    TThread::Queue(nullptr, [self, serial] {
      if (auto list = self.lock()) (*list)->Changed(serial);
    });
  };
  FEntries.push_back({Module->GetModuleName(), Module, std::make_unique<TModuleThread>(Module, onChanged), serial,
                      std::move(Repaint)});
  if (FStarted) FEntries.back().Thread->Start();
}

void TOvModuleList::UnregisterModule(TOvModule* Module) {
  for (size_t i = FEntries.size(); i-- > 0;) {
    if (FEntries[i].Module != Module) continue;
    // Out of the list first: a repaint queued meanwhile finds nothing.
    std::unique_ptr<TModuleThread> thread = std::move(FEntries[i].Thread);
    FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(i));
    thread->Stop();
    return;
  }
}

int TOvModuleList::FindModuleIndex(const String& Name) const {
  for (size_t i = 0; i < FEntries.size(); ++i)
    if (FEntries[i].Name == Name) return static_cast<int>(i);
  return -1;
}

TOvModule* TOvModuleList::FindModule(const String& Name) const {
  const int i = FindModuleIndex(Name);
  return i < 0 ? nullptr : Module(i);
}

void TOvModuleList::WakeModule(const String& Name) {
  const int i = FindModuleIndex(Name);
  if (i >= 0) FEntries[static_cast<size_t>(i)].Thread->Wake();
}

bool TOvModuleList::IsModule(const TOvModule* Module) const {
  for (const TEntry& e : FEntries)
    if (e.Module == Module) return true;
  return false;
}

void TOvModuleList::StartThreads() {
  FStarted = true;
  for (TEntry& e : FEntries) e.Thread->Resume();
}

void TOvModuleList::StopAll() {
  while (!FEntries.empty()) UnregisterModule(FEntries.back().Module);
  FStarted = false;
}

void TOvModuleList::Changed(std::uint64_t Serial) {
  for (TEntry& e : FEntries) {
    if (e.Serial != Serial) continue;
    if (e.Repaint) e.Repaint();
    return;
  }
}

TOvModuleList& Modules() {
  static TOvModuleList list;
  return list;
}

// ---- Emptying the bins

namespace {

class TRecycleThread : public TThread {
 public:
  explicit TRecycleThread(std::vector<String> Roots) : TThread(true), FRoots(std::move(Roots)) {}
  ~TRecycleThread() override {
    if (!Suspended() && !Finished()) WaitFor();
  }

 protected:
  void Execute() override { ModuleSystem().EmptyRecycleBins(FRoots); }

 private:
  const std::vector<String> FRoots;
};

std::mutex gRecycleLock;
std::vector<std::unique_ptr<TRecycleThread>> gRecycleThreads;

}  // namespace

void EmptyRecycleBinsInBackground(const std::vector<String>& Roots) {
  auto thread = std::make_unique<TRecycleThread>(Roots);
  thread->Start();
  std::lock_guard<std::mutex> lock(gRecycleLock);
  // Finished ones go now, so the list does not grow with every use.
  std::erase_if(gRecycleThreads, [](const auto& t) { return t->Finished(); });
  gRecycleThreads.push_back(std::move(thread));
}

void WaitForRecycleThreads() {
  std::vector<std::unique_ptr<TRecycleThread>> threads;
  {
    std::lock_guard<std::mutex> lock(gRecycleLock);
    threads.swap(gRecycleThreads);
  }
  threads.clear();  // each destructor waits for its thread
}
