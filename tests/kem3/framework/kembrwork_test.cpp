#include "kem3/framework/kembrwork.h"

#include <gtest/gtest.h>

#include "kem3/framework/kembrowsefilter.h"
#include "kembrwork_fakes.h"
#include "platform/unicode_convert.h"

namespace {
TBrowseFindData Found(const char16_t* name, std::uint32_t attributes = 0, double date = 0) {
  return {name, attributes, 1500, date};
}

std::string Calls(const TFakeBrowser& b) {
  std::string s;
  for (const std::string& c : b.calls) s += (s.empty() ? "" : ",") + c;
  return s;
}

// Starts a worker of Kind after Setup has set its inputs.
template <class W, class F, class... A>
W& StartWorker(TBrowserWorkers& workers, TBrowserWorkerKind kind, TFakeBrowser& browser, TFakeBrowserSystem& system,
               F setup, A&... more) {
  auto worker = std::make_unique<W>(workers.Reference(kind), browser, system, more...);
  W& w = *worker;
  setup(w);
  workers.Start(std::move(worker));
  return w;
}

void FillFolders(TFakeBrowserSystem& s) {
  s.folders[u"C:\\F\\"] = {Found(u"."),
                           Found(u"..", kFaDirectory),
                           Found(u"Label", kFaVolume),
                           Found(u"a.EXE"),
                           Found(u"Sub", kFaDirectory),
                           Found(u"readme"),
                           Found(u"b.exe"),
                           Found(u"c.txt"),
                           Found(u"Two", kFaDirectory)};
}
}  // namespace

TEST(BrowseFilter, WholePatternsAndExtensionlessFiles) {
  struct {
    const char16_t *name, *filter;
    bool matches;
  } rows[] = {
      {u"a.exe", u"*.EXE;*.COM", true},
      {u"A.Com", u"*.exe; *.com", true},
      {u"a.ex", u"*.EXE;", false},
      {u"a.exe", u"*.EX", false},
      {u"README", u"*.EXE;", false},
      {u"README", u"*.", true},
      {u"a.txt", u"*.", false},
      {u"x", u"*.*", true},
      {u"x.y", u"", false},
      {u"a.icns", u"*.;*.ICNS", true},
  };
  for (const auto& r : rows)
    EXPECT_EQ(BrowseFilterMatches(r.name, r.filter), r.matches) << WideToUtf8(r.name) << " " << WideToUtf8(r.filter);
}

TEST(BrowserWorkers, FileFinderListsFoldersFirstThenMatchingFiles) {
  struct {
    const char16_t* filter;
    std::vector<WideString> names;  // in queue order
    std::vector<int> at, images;
  } rows[] = {
      {u"*.*",
       {u"a.EXE", u"Sub", u"readme", u"b.exe", u"c.txt", u"Two"},
       {-1, 0, -1, -1, -1, 1},
       {11, 0, 9, 11, 14, 0}},
      {u"*.EXE", {u"a.EXE", u"Sub", u"b.exe", u"Two"}, {-1, 0, -1, 1}, {11, 0, 11, 0}},
      {u"*.", {u"Sub", u"readme", u"Two"}, {0, -1, 1}, {0, 9, 0}},
  };
  for (const auto& r : rows) {
    TFakeBrowserSystem system;
    FillFolders(system);
    TFakeBrowser browser;
    TBrowserWorkers workers;
    StartWorker<TtFileFinder>(workers, bwFiles, browser, system, [&](TtFileFinder& f) {
      f.Folder = u"C:\\F\\";
      f.Filter = r.filter;
      f.SelectName = u"B.EXE";
    });
    ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
    ASSERT_EQ(browser.entries.size(), r.names.size());
    for (size_t i = 0; i < r.names.size(); ++i) {
      const auto& e = browser.entries[i];
      EXPECT_EQ(e.name, r.names[i]);
      EXPECT_EQ(e.at, r.at[i]);
      EXPECT_EQ(e.image, r.images[i]);
      EXPECT_EQ(e.selected, e.name == u"b.exe");
      EXPECT_EQ(e.data->Kind, e.at >= 0 ? bikOpenable : bikFile);
    }
    EXPECT_EQ(Calls(browser).substr(0, 6), "begin,");
    EXPECT_TRUE(Calls(browser).ends_with("end,columns"));
    EXPECT_FALSE(workers.Reference(bwFiles)) << "the reference is cleared at the end";
    EXPECT_FALSE(browser.offThread);
    EXPECT_EQ(system.errorModes, 0) << "the error mode is restored";
  }
}

TEST(BrowserWorkers, ASecondWorkerOfAKindIsRefusedWhileTheFirstIsReferenced) {
  TFakeBrowserSystem system;
  TFakeBrowser browser;
  TtBackProcess* reference = nullptr;
  TtFileFinder first(reference, browser, system);
  EXPECT_EQ(reference, &first);
  try {
    TtFileFinder second(reference, browser, system);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Thread created while old still is referenced");
  }
  first.Cancel();
  EXPECT_EQ(reference, nullptr) << "cancelling clears the reference at once";
  TtFileFinder third(reference, browser, system);
  EXPECT_EQ(reference, &third);
}

// Each row holds a worker at one system call, cancels it there, then lets it
// go: nothing reaches the browser after the cancel, and the worker ends.
TEST(BrowserWorkers, CancelAtEveryStage) {
  struct {
    TBrowserWorkerKind kind;
    const char* at;
  } rows[] = {{bwFiles, "list"},  {bwFiles, "entry"},  {bwColumns, "info"},   {bwDrives, "drives"},
              {bwServers, "net"}, {bwServers, "next"}, {bwShares, "connect"}, {bwShares, "next"},
              {bwSearch, "list"}, {bwSearch, "entry"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.at) + " " + std::to_string(r.kind));
    TFakeBrowserSystem system;
    FillFolders(system);
    system.network[u""] = {{u"WG", {}, {}, nkDomain, true, false}};
    system.shares[u"\\\\S"] = {{{u"\\\\S\\D", {}, {}, nkShare, false, true}}};
    system.gate.at = r.at;
    TFakeBrowser browser;
    TBrowserWorkers workers;
    TListItemData data;
    switch (r.kind) {
      case bwFiles:
        StartWorker<TtFileFinder>(workers, r.kind, browser, system, [](TtFileFinder& f) { f.Folder = u"C:\\F\\"; });
        break;
      case bwColumns:
        StartWorker<TtColumnFiller>(workers, r.kind, browser, system, [&](TtColumnFiller& f) {
          f.Files = {{u"C:\\F\\a.EXE", &data, 3}};
        });
        break;
      case bwDrives:
        StartWorker<TtDriveFinder>(workers, r.kind, browser, system, [](TtDriveFinder&) {});
        break;
      case bwServers:
        StartWorker<TtServerFinder>(workers, r.kind, browser, system,
                                    [](TtServerFinder& f) { f.CheckedWorkgroups = u"wg"; });
        break;
      case bwShares:
        StartWorker<TtShareFinder>(workers, r.kind, browser, system, [](TtShareFinder& f) { f.Server = u"S"; });
        break;
      default:
        StartWorker<TtFileSearcher>(
            workers, r.kind, browser, system,
            [](TtFileSearcher& f) {
              f.Folder = u"C:\\F";
              f.Mask = u"*.*";
            },
            static_cast<TBrowserSearchSink&>(browser));
    }
    ASSERT_TRUE(PumpUntil([&] { return system.gate.Reached(); }));
    const size_t before = browser.calls.size();
    workers.Cancel(r.kind);
    EXPECT_FALSE(workers.Reference(r.kind));
    system.gate.Open();
    ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
    EXPECT_EQ(browser.calls.size(), before) << Calls(browser);
    EXPECT_EQ(data.Columns.Count(), 0);
  }
}

// Closing while the network hangs answers at once; the worker outlives the
// browser and never touches it again (ASan sees any use of the freed one).
TEST(BrowserWorkers, BrowserFreedWhileTheNetworkBlocks) {
  TFakeBrowserSystem system;
  system.network[u""] = {{u"WG", {}, {}, nkDomain, true, false}};
  system.gate.at = "next";
  auto browser = std::make_unique<TFakeBrowser>();
  auto workers = std::make_unique<TBrowserWorkers>();
  StartWorker<TtServerFinder>(*workers, bwServers, *browser, system, [](TtServerFinder&) {});
  StartWorker<TtShareFinder>(*workers, bwShares, *browser, system, [](TtShareFinder& f) { f.Server = u"S"; });
  ASSERT_TRUE(PumpUntil([&] { return system.gate.Reached(); }));
  const auto start = std::chrono::steady_clock::now();
  workers.reset();
  browser.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_GE(ReapRetiredBrowserWorkers(), 1);
  system.gate.Open();
  WaitForRetiredBrowserWorkers();
  EXPECT_EQ(ReapRetiredBrowserWorkers(), 0);
}
