// The file browser's listing workers: threads that list a folder, fill the
// detail columns, list the drives, the network's servers and a server's
// shares, and search a folder tree. They enumerate on their own thread and
// hand what they find to the browser through synchronised calls into its
// TBrowserListSink.
//
// Ownership: the browser holds one TBrowserWorkers. It owns every worker it
// starts and keeps one reference slot per kind of worker. Cancelling clears
// the slot at once; the worker runs to its end without touching the browser
// again. Workers never free themselves: the owner frees finished ones when it
// starts the next, and at its own end hands those still running (blocked in a
// dead network, say) to a process-wide list that frees them once they end
// (ReapRetiredBrowserWorkers, WaitForRetiredBrowserWorkers at the program's
// end). A worker's inputs, texts included, are set on the GUI thread before
// its start, so a cancelled worker touches only itself and the system.
#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kem3/browser/kembrowsesink.h"
#include "kem3/browser/kemdrives.h"
#include "platform/threads.h"
#include "platform/types.h"

// ---- The system, as the workers see it

// File attributes as the system has them.
enum : std::uint32_t {
  kFaReadOnly = 0x1,
  kFaHidden = 0x2,
  kFaSystem = 0x4,
  kFaVolume = 0x8,
  kFaDirectory = 0x10,
  kFaArchive = 0x20,
  kFaReparsePoint = 0x400,
  kFaCompressed = 0x800,
};

struct TBrowseFindData {
  WideString Name;
  std::uint32_t Attributes = 0;
  std::int64_t Size = 0;
  double WriteTime = 0.0;  // local time, days since 1899-12-30
};

// A network resource: a domain or workgroup, a server, a share or a container.
enum TNetKind { nkGeneric, nkDomain, nkServer, nkShare, nkNetwork, nkContainer };
struct TNetNode {
  WideString Name;  // the remote name ("\\SERVER", "WORKGROUP")
  WideString Provider;
  WideString Comment;
  TNetKind Kind = nkGeneric;
  bool Container = false;
  bool Disk = false;  // a disk share
};

// An open enumeration. Next may block (a dead network); false at its end or on
// any failure.
class TNetEnum {
 public:
  virtual ~TNetEnum() = default;
  virtual bool Next(std::vector<TNetNode>& Block) = 0;
};

enum : std::uint32_t { kNetConnectCancelled = 1223 };

enum TBrowseSpecialFolder { bsfDesktop, bsfPersonal };

// Every system call of the workers. Callable from any thread; the error mode
// (TDriveSystem) is per thread.
class TBrowserSystem : public TDriveSystem {
 public:
  // Calls Each for every entry of Folder + "*.*" until it returns false;
  // false when the folder cannot be listed.
  virtual bool ListFolder(const WideString& Folder, const std::function<bool(const TBrowseFindData&)>& Each) = 0;
  // Attributes, local last-write time and size of Path; false when it does not exist.
  virtual bool FileInfo(const WideString& Path, TBrowseFindData& Info) = 0;
  virtual std::uint32_t LogicalDrives() = 0;
  // The system's drive type of Root ("C:\"): 2 removable, 3 fixed, 4 remote, 5 CD, 6 RAM.
  virtual int DriveType(const WideString& Root) = 0;
  virtual bool VolumeInfo(const WideString& Root, WideString& FileSystem, bool& Compressed) = 0;
  virtual bool DiskSizes(const WideString& Path, std::int64_t& Total, std::int64_t& Free) = 0;
  virtual bool SpecialFolder(TBrowseSpecialFolder Which, WideString& Path) = 0;
  // The children of Parent (null: the network's top).
  virtual std::unique_ptr<TNetEnum> OpenNetwork(const TNetNode* Parent) = 0;
  // Connects to Remote ("\\SERVER") interactively: 0 or the system's error.
  virtual std::uint32_t Connect(const WideString& Remote) = 0;
  // The global disk resources of Remote; null when they cannot be listed.
  virtual std::unique_ptr<TNetEnum> OpenShares(const WideString& Remote) = 0;
  // The order of the locale's short dates ("d/m/y"), read on the GUI thread.
  virtual String ShortDateOrder() = 0;
};

// A system without drives, folders or network: the native build's, and the
// base of fakes.
class TNullBrowserSystem : public TBrowserSystem {
 public:
  unsigned FailCriticalErrors() override { return 0; }
  void RestoreErrorMode(unsigned) override {}
  bool VolumeLabel(const WideString&, WideString&) override { return false; }
  bool RemoteName(const WideString&, WideString&) override { return false; }
  bool ListFolder(const WideString&, const std::function<bool(const TBrowseFindData&)>&) override { return false; }
  bool FileInfo(const WideString&, TBrowseFindData&) override { return false; }
  std::uint32_t LogicalDrives() override { return 0; }
  int DriveType(const WideString&) override { return 0; }
  bool VolumeInfo(const WideString&, WideString&, bool&) override { return false; }
  bool DiskSizes(const WideString&, std::int64_t&, std::int64_t&) override { return false; }
  bool SpecialFolder(TBrowseSpecialFolder, WideString&) override { return false; }
  std::unique_ptr<TNetEnum> OpenNetwork(const TNetNode*) override { return nullptr; }
  std::uint32_t Connect(const WideString&) override { return 53; }  // network path not found
  std::unique_ptr<TNetEnum> OpenShares(const WideString&) override { return nullptr; }
  String ShortDateOrder() override { return "dd.mm.yyyy"; }
};

// The system's (Windows), or a TNullBrowserSystem (native build).
TBrowserSystem& SystemBrowserSystem();

// Shows a share outcome; the real message box unless a test put another in
// place. SetBrowserMessage returns the previous one (empty: the real one).
using TBrowserMessage = std::function<void(const WideString& Caption, const WideString& Body)>;
TBrowserMessage SetBrowserMessage(TBrowserMessage Message);
void ShowBrowserMessage(const WideString& Caption, const WideString& Body);
// The library's message box (nothing in the native build).
void ShowSystemBrowserMessage(const WideString& Caption, const WideString& Body);

// ---- Texts, images, patterns

// The language texts the workers need, read on the GUI thread.
struct TBrowserTexts {
  WideString TypeFolder, Desktop, MyDocuments, Compressed, On, NetworkOn;
  WideString DriveTypes[6];  // floppy, local disk, network, compact disc, RAM, removable disk
  WideString NoSharesCaption, NoSharesBody, ConFailCaption, ConFailBody;
};
TBrowserTexts BrowserTexts();

// The icon names of the list images in image-index order, and the file
// patterns ("*.EXE") whose files take image 10 + their position.
const std::vector<String>& BrowserImageNames();
const std::vector<WideString>& BrowserFilePatterns();
// How many patterns the list starts with.
int BuiltinFilePatternCount();
void RegisterFileType(const WideString& Pattern, const String& ImageName);
// 10 + the position of the name's "*.EXT" in the patterns; 9 when absent.
int FileImageIndex(std::u16string_view Name);

// "ARHS" with blanks for absent attributes.
WideString AttributeText(std::uint32_t Attributes);
// The date and time in the order ("d/m/y") with its separator; empty when
// Date is not positive.
WideString BrowseDateText(double Date, const String& Order);
// Reads a date of the order ("d.m.y"), a time ("hh:mm[:ss]") or a number, as
// criteria and fields are compared.
double BrowseCriterionValue(std::string_view Text, const String& Order);

// ---- The workers

class TtBackProcess : public TThread {
 public:
  using TReference = TtBackProcess*;
  // Raises "Thread created while old still is referenced" when Reference is
  // set; it is checked before the thread exists.
  TtBackProcess(TReference& Reference, TBrowserListSink& Sink, TBrowserSystem& System);
  ~TtBackProcess() override;

  // GUI thread: the worker stops touching the browser and clears its
  // reference at once.
  void Cancel();
  bool Cancelled() const { return FCancelled.load(); }

 protected:
  void Execute() override;
  virtual void BeginWork() {}
  virtual void DoWork() {}
  // Clears the reference; overrides call it last.
  virtual void EndWork();
  // On the GUI thread right after EndWork, outside Lock (it may show a box).
  virtual void Ended() {}
  // Runs Method on the GUI thread under Lock unless cancelled.
  void SyncIfActive(const std::function<void()>& Method);
  // As SyncIfActive, gathered: each synchronised call costs two thread
  // switches, so found entries go over in batches. The first goes at once,
  // the others after 256 calls or 20 ms; the rest when DoWork ends.
  void SyncBatched(std::function<void()> Method);
  void FlushBatch();
  // Queues an entry that can be opened (a folder, drive, server or share) at
  // the list's end, batched.
  void QueueOpenable(const WideString& Name, const WideString& SortText, int Image, std::vector<WideString> Columns,
                     std::int64_t Total, std::int64_t Free, bool Selected);

  TCriticalSection Lock;
  TBrowserListSink& Sink;
  TBrowserSystem& System;

 private:
  std::atomic<bool> FCancelled{false};
  TReference* FReference;
  std::vector<std::function<void()>> FBatch;
  std::chrono::steady_clock::time_point FLastFlush{};
};

class TtFileFinder : public TtBackProcess {
 public:
  using TtBackProcess::TtBackProcess;
  WideString Folder;  // ends in a backslash
  WideString Filter;  // the type's patterns
  WideString SelectName;

 protected:
  void BeginWork() override;
  void DoWork() override;
  void EndWork() override;

 private:
  void Add(const TBrowseFindData& Found);  // GUI thread
  int FFolders = 0, FFiles = 0;
};

// One listed entry whose columns the filler reads. Data belongs to the
// browser's list and is touched only on the GUI thread while not cancelled.
struct TColumnEntry {
  WideString Path;
  TListItemData* Data = nullptr;
  int ListIndex = 0;
};

class TtColumnFiller : public TtBackProcess {
 public:
  using TtBackProcess::TtBackProcess;
  std::vector<TColumnEntry> Folders, Files;
  // The handler's extra columns of a file (its GetFieldValues); run on this
  // thread, its exceptions ignored.
  std::function<void(const WideString& Path, TUcStringList& Values)> FieldValues;
  WideString TypeFolder;
  String DateOrder;

 protected:
  void BeginWork() override;
  void DoWork() override;
  void EndWork() override;

 private:
  void Fill(const TColumnEntry& Entry, bool Folder);
};

class TtDriveFinder : public TtBackProcess {
 public:
  using TtBackProcess::TtBackProcess;
  TBrowserTexts Texts;
  WideString SelectPath;

 protected:
  void BeginWork() override;
  void DoWork() override;
  void EndWork() override;
};

class TtServerFinder : public TtBackProcess {
 public:
  using TtBackProcess::TtBackProcess;
  WideString Workgroup;          // the current one
  WideString CheckedWorkgroups;  // comma list
  WideString SelectName;
  // How deep the walk descends below the network's top.
  static constexpr int kMaxDepth = 6;

 protected:
  void BeginWork() override;
  void DoWork() override;
  void EndWork() override;

 private:
  void Walk(const TNetNode* Parent, const WideString& Group, int Depth);
  WideString FChecked;
};

class TtShareFinder : public TtBackProcess {
 public:
  using TtBackProcess::TtBackProcess;
  WideString Server;  // without backslashes
  WideString SelectName;
  TBrowserTexts Texts;

 protected:
  void DoWork() override;
  void EndWork() override;
  void Ended() override;

 private:
  bool FConnected = false, FFailed = false;
  const WideString* FCaption = nullptr;
  const WideString* FBody = nullptr;
  int FShares = 0;
};

// Reads named fields of a file for the search's criteria (the handler's).
class TBrowseFieldReader {
 public:
  virtual ~TBrowseFieldReader() = default;
  virtual bool Open(const WideString& Path) = 0;
  virtual WideString Field(const String& Key) = 0;
  virtual void Close() = 0;
};

// The search page's side the searcher calls (GUI thread).
class TBrowserSearchSink {
 public:
  virtual ~TBrowserSearchSink() = default;
  virtual void SearchPosition(const WideString& Folder) = 0;
  virtual void SearchFound(int Count) = 0;
  virtual void SearchEnded(const std::vector<WideString>& Found) = 0;
};

class TtFileSearcher : public TtBackProcess {
 public:
  TtFileSearcher(TReference& Reference, TBrowserListSink& Sink, TBrowserSystem& System, TBrowserSearchSink& SearchSink);
  WideString Folder;
  WideString Mask;      // the mask field's text
  WideString Criteria;  // ";"-separated "KEY op value"
  bool Recurse = true, Hidden = false, ReadOnly = true, MatchAll = true, UseCriteria = false;
  String DateOrder;
  std::shared_ptr<TBrowseFieldReader> Reader;

 protected:
  void DoWork() override;
  void EndWork() override;

 private:
  struct TCriterion {
    String Key;
    int Op = 0;
    String Value;
    double Number = 0;
  };
  void Search(const WideString& Folder);
  bool Passes(const WideString& Path);
  TBrowserSearchSink& FSearchSink;
  std::vector<String> FPatterns;
  std::vector<TCriterion> FCriteria;
  std::vector<WideString> FFound;
};

// The browser's workers. GUI thread only.
enum TBrowserWorkerKind { bwFiles, bwColumns, bwDrives, bwServers, bwShares, bwSearch, bwKinds };
class TBrowserWorkers {
 public:
  TBrowserWorkers() = default;
  TBrowserWorkers(const TBrowserWorkers&) = delete;
  TBrowserWorkers& operator=(const TBrowserWorkers&) = delete;
  // Cancels all and retires those still running.
  ~TBrowserWorkers();
  // The reference slot of a kind: pass it to the worker's constructor.
  TtBackProcess*& Reference(TBrowserWorkerKind Kind) { return FReferences[Kind]; }
  // Takes the worker, frees the finished ones and starts it.
  void Start(std::unique_ptr<TtBackProcess> Worker);
  void Cancel(TBrowserWorkerKind Kind);
  void CancelAll();
  // Whether no worker still runs.
  bool Idle() const;

 private:
  void Reap();
  TtBackProcess* FReferences[bwKinds] = {};
  std::vector<std::unique_ptr<TtBackProcess>> FWorkers;
};

// Frees retired workers that have ended; returns how many still run.
int ReapRetiredBrowserWorkers();
// Waits for every retired worker and frees it (the program's end, tests).
void WaitForRetiredBrowserWorkers();
