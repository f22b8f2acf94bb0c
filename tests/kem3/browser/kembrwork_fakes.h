// A fake system and a fake browser for the listing workers' tests: folders,
// drives and a network held in maps, and a gate that can hold any call.
#pragma once
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>

#include "kem3/browser/kembrwork.h"
#include "platform/synchronize.h"

// Holds the worker thread at the named call until released.
struct TGate {
  std::mutex m;
  std::condition_variable cv;
  std::string at;  // the call that blocks; empty: none
  bool reached = false, open = false;
  void Pass(const std::string& call) {
    std::unique_lock<std::mutex> lock(m);
    if (call != at || open) return;
    reached = true;
    cv.notify_all();
    cv.wait(lock, [&] { return open; });
  }
  bool Reached() {
    std::lock_guard<std::mutex> lock(m);
    return reached;
  }
  void Open() {
    std::lock_guard<std::mutex> lock(m);
    open = true;
    cv.notify_all();
  }
};

struct TFakeBrowserSystem : TNullBrowserSystem {
  std::map<WideString, std::vector<TBrowseFindData>> folders;
  std::map<WideString, std::vector<TNetNode>> network;  // parent's name ("" the top) -> children
  std::map<WideString, std::vector<std::vector<TNetNode>>> shares;
  std::map<WideString, std::uint32_t> connectErrors;
  std::map<WideString, int> driveTypes;  // "C:\" -> type
  std::atomic<int> netOpens{0}, nexts{0}, errorModes{0};
  int failAfter = -1;  // a listing raises after this many entries; -1 never
  TGate gate;

  unsigned FailCriticalErrors() override { return ++errorModes; }
  void RestoreErrorMode(unsigned) override { --errorModes; }
  bool VolumeLabel(const WideString& root, WideString& label) override {
    label = u"VOL" + root.substr(0, 1);
    return true;
  }
  bool RemoteName(const WideString& local, WideString& remote) override {
    remote = u"\\\\SRV\\" + local.substr(0, 1);
    return true;
  }
  bool ListFolder(const WideString& folder, const std::function<bool(const TBrowseFindData&)>& each) override {
    gate.Pass("list");
    auto it = folders.find(folder);
    if (it == folders.end()) return false;
    int n = 0;
    for (const TBrowseFindData& d : it->second) {
      if (n++ == failAfter) throw Exception("the listing failed");
      gate.Pass("entry");
      if (!each(d)) break;
    }
    return true;
  }
  bool FileInfo(const WideString& path, TBrowseFindData& info) override {
    gate.Pass("info");
    const size_t cut = path.rfind(u'\\');
    auto it = folders.find(path.substr(0, cut + 1));
    if (it != folders.end())
      for (const TBrowseFindData& d : it->second)
        if (d.Name == path.substr(cut + 1)) return info = d, true;
    return false;
  }
  std::uint32_t LogicalDrives() override {
    gate.Pass("drives");
    std::uint32_t mask = 0;
    for (auto& [root, type] : driveTypes) mask |= 1u << (root[0] - u'A');
    return mask;
  }
  int DriveType(const WideString& root) override { return driveTypes[root]; }
  bool VolumeInfo(const WideString& root, WideString& fs, bool& compressed) override {
    fs = u"NTFS";
    compressed = root == u"D:\\";
    return true;
  }
  bool DiskSizes(const WideString&, std::int64_t& total, std::int64_t& free) override {
    total = 4096, free = 2048;
    return true;
  }
  bool SpecialFolder(TBrowseSpecialFolder which, WideString& path) override {
    path = which == bsfDesktop ? u"C:\\Desk\\" : u"C:\\Docs\\";
    return true;
  }
  struct Enum : TNetEnum {
    TFakeBrowserSystem& s;
    std::vector<std::vector<TNetNode>> blocks;
    size_t at = 0;
    Enum(TFakeBrowserSystem& system, std::vector<std::vector<TNetNode>> b) : s(system), blocks(std::move(b)) {}
    bool Next(std::vector<TNetNode>& block) override {
      ++s.nexts;
      s.gate.Pass("next");
      if (at >= blocks.size()) return false;
      block = blocks[at++];
      return true;
    }
  };
  std::unique_ptr<TNetEnum> OpenNetwork(const TNetNode* parent) override {
    ++netOpens;
    gate.Pass("net");
    auto it = network.find(parent ? parent->Name : WideString());
    if (it == network.end()) return nullptr;
    return std::make_unique<Enum>(*this, std::vector<std::vector<TNetNode>>{it->second});
  }
  std::uint32_t Connect(const WideString& remote) override {
    gate.Pass("connect");
    return connectErrors.count(remote) ? connectErrors[remote] : 0;
  }
  std::unique_ptr<TNetEnum> OpenShares(const WideString& remote) override {
    return std::make_unique<Enum>(*this, shares[remote]);
  }
  String ShortDateOrder() override { return "dd.mm.yyyy"; }
};

// Records every call of the workers, and checks each comes on the GUI thread.
struct TFakeBrowser : TBrowserListSink, TBrowserSearchSink {
  std::vector<std::string> calls;
  struct Entry {
    int at;
    WideString name;
    bool selected;
    std::unique_ptr<TListItemData> data;
    int image;
  };
  std::vector<Entry> entries;
  std::vector<WideString> found, menu;
  bool showsServer = true, offThread = false;
  void Call(const std::string& c) {
    offThread = offThread || !IsMainThread();
    calls.push_back(c);
  }
  void BeginListing() override { Call("begin"), entries.clear(); }
  void QueueEntry(int at, const WideString& name, bool selected, std::unique_ptr<TListItemData> data,
                  int image) override {
    Call("queue");
    entries.push_back({at, name, selected, std::move(data), image});
  }
  void EndListing() override { Call("end"); }
  void StartColumnFilling(const WideString&) override { Call("columns"); }
  void ColumnFillingBegun() override { Call("filling"); }
  void ColumnFillingEnded() override { Call("filled"); }
  void RefreshColumns(int) override { Call("refresh"); }
  TBrowserPreview* CurrentPreview() override { return nullptr; }
  void MarkWorkgroupsUnseen() override { Call("unseen"); }
  void SeeWorkgroup(const WideString& name, bool current) override {
    Call(current ? "seen current" : "seen");
    menu.push_back(name);
  }
  void DropUnseenWorkgroups() override { Call("drop"); }
  void ShowShares(const WideString&) override { Call("shares"); }
  bool ShowsServer(const WideString&) override { return showsServer; }
  void SearchPosition(const WideString&) override { Call("position"); }
  void SearchFound(int) override {}
  void SearchEnded(const std::vector<WideString>& f) override {
    Call("searched");
    found = f;
  }
};

// Runs the GUI thread's synchronised calls until Done holds (10 s at most).
template <class F>
bool PumpUntil(F done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    CheckSynchronize(5);
  }
  return true;
}
