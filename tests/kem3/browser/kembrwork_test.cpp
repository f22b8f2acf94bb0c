#include "kem3/browser/kembrwork.h"

#include <gtest/gtest.h>

#include "kem3/browser/kembrowsefilter.h"
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
    int failAfter = -1;
  } rows[] = {
      {u"*.*",
       {u"a.EXE", u"Sub", u"readme", u"b.exe", u"c.txt", u"Two"},
       {-1, 0, -1, -1, -1, 1},
       {11, 0, 9, 11, 14, 0}},
      {u"*.EXE", {u"a.EXE", u"Sub", u"b.exe", u"Two"}, {-1, 0, -1, 1}, {11, 0, 11, 0}},
      {u"*.", {u"Sub", u"readme", u"Two"}, {0, -1, 1}, {0, 9, 0}},
      // The system fails after readme: what was found still comes, though batched.
      {u"*.*", {u"a.EXE", u"Sub", u"readme"}, {-1, 0, -1}, {11, 0, 9}, 6},
  };
  for (const auto& r : rows) {
    TFakeBrowserSystem system;
    FillFolders(system);
    system.failAfter = r.failAfter;
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
  {
    TtFileFinder never(reference, browser, system);
    EXPECT_EQ(reference, &never);
  }
  EXPECT_EQ(reference, nullptr) << "a worker freed before its start lets go of it";
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

TEST(BrowserWorkers, ServersOfCheckedWorkgroupsAndTheMenuInSynchronisedCalls) {
  TFakeBrowserSystem system;
  system.network[u""] = {{u"Net", {}, {}, nkNetwork, true, false}};
  system.network[u"Net"] = {{u"HOME", {}, {}, nkDomain, true, false}, {u"WORK", {}, {}, nkDomain, true, false}};
  system.network[u"HOME"] = {{u"\\\\PC1", {}, u"Den", nkServer, false, false}};
  system.network[u"WORK"] = {{u"\\\\PC2", {}, {}, nkServer, false, false}};
  TFakeBrowser browser;
  TBrowserWorkers workers;
  StartWorker<TtServerFinder>(workers, bwServers, browser, system, [](TtServerFinder& f) {
    f.Workgroup = u"work";
    f.CheckedWorkgroups = u"Home,WORKS";  // whole names: WORK is not checked
    f.SelectName = u"pc1";
  });
  ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
  EXPECT_EQ(Calls(browser), "begin,unseen,seen,queue,seen current,end,drop");
  EXPECT_FALSE(browser.offThread) << "the menu changes only on the GUI thread";
  ASSERT_EQ(browser.entries.size(), 1u);
  EXPECT_EQ(browser.entries[0].name, u"PC1");
  EXPECT_TRUE(browser.entries[0].selected);
  EXPECT_EQ(browser.entries[0].image, 7);
  EXPECT_EQ(browser.entries[0].data->Columns.Strings(0), u"HOME");
  EXPECT_EQ(browser.entries[0].data->Columns.Strings(1), u"Den");

  // A container inside itself: the walk stops six levels down.
  system.network[u""] = system.network[u"X"] = {{u"X", {}, {}, nkContainer, true, false}};
  system.netOpens = 0;
  StartWorker<TtServerFinder>(workers, bwServers, browser, system, [](TtServerFinder&) {});
  ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
  EXPECT_EQ(system.netOpens, TtServerFinder::kMaxDepth);
}

TEST(BrowserWorkers, ShareOutcomesAndTheirMessages) {
  const TNetNode disk{u"\\\\S\\Data", {}, {}, nkShare, false, true};
  const TNetNode printer{u"\\\\S\\Print", {}, {}, nkShare, false, false};
  struct {
    std::uint32_t connectError;
    std::vector<std::vector<TNetNode>> blocks;
    bool shown;
    const char* message;  // caption of the box shown, "" for none
    const char* calls;
  } rows[] = {
      {0, {{printer, disk}, {disk}}, true, "", "shares,begin,queue,queue,end"},
      {0, {{printer}}, true, "No shares", "end"},
      {0, {}, false, "No shares", "end"},
      {53, {}, true, "No connection", "end"},
      {53, {}, false, "", "end"},                   // the browser moved on: no box
      {kNetConnectCancelled, {}, true, "", "end"},  // the user said no
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.calls);
    TFakeBrowserSystem system;
    system.shares[u"\\\\S"] = r.blocks;
    if (r.connectError) system.connectErrors[u"\\\\S"] = r.connectError;
    TFakeBrowser browser;
    browser.showsServer = r.shown;
    std::string shown;
    const TBrowserMessage previous = SetBrowserMessage([&](const WideString& caption, const WideString& body) {
      EXPECT_FALSE(body.empty());
      shown += WideToUtf8(caption);
    });
    TBrowserWorkers workers;
    StartWorker<TtShareFinder>(workers, bwShares, browser, system, [](TtShareFinder& f) {
      f.Server = u"S";
      f.Texts.NetworkOn = u"Shares of %s";
      f.Texts.NoSharesCaption = u"No shares", f.Texts.NoSharesBody = u"none";
      f.Texts.ConFailCaption = u"No connection", f.Texts.ConFailBody = u"failed";
    });
    ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
    SetBrowserMessage(previous);
    EXPECT_EQ(shown, r.message);
    EXPECT_EQ(Calls(browser), r.calls);
    EXPECT_EQ(system.nexts, static_cast<int>(r.blocks.size()) + (r.connectError ? 0 : 1))
        << "the listing ends at the first failure";
  }
}

namespace {
struct FakeFields : TBrowseFieldReader {
  std::map<String, WideString> fields;
  int open = 0;
  bool Open(const WideString& path) override {
    ++open;
    fields = {{"SIZE", path.ends_with(u"a.EXE") ? u"10" : u"300"},
              {"DATE", path.ends_with(u"a.EXE") ? u"24.12.2020" : u"2.1.2021"},
              {"NAME", path.ends_with(u"a.EXE") ? u"Alpha" : u"Beta"}};
    return true;
  }
  WideString Field(const String& key) override { return fields[key]; }
  void Close() override { --open; }
};
}  // namespace

TEST(BrowserWorkers, SearchByPatternsSwitchesAndCriteria) {
  struct {
    const char16_t *mask, *criteria;
    bool recurse, hidden, readOnly, matchAll;
    std::vector<WideString> found;
  } rows[] = {
      {u"*.exe", u"", true, false, true, true, {u"C:\\F\\a.EXE", u"C:\\F\\b.exe", u"C:\\F\\Sub\\d.exe"}},
      {u"*.exe;*.txt", u"", false, false, true, true, {u"C:\\F\\a.EXE", u"C:\\F\\b.exe", u"C:\\F\\c.txt"}},
      {u"*.exe", u"", true, true, false, true, {u"C:\\F\\a.EXE", u"C:\\F\\Sub\\d.exe", u"C:\\F\\Sub\\h.exe"}},
      {u"*.exe", u"size<100;name=B*", true, false, true, true, {}},
      {u"*.exe",
       u"size<100;name=B*",
       true,
       false,
       true,
       false,
       {u"C:\\F\\a.EXE", u"C:\\F\\b.exe", u"C:\\F\\Sub\\d.exe"}},
      {u"*.exe", u"date>=1.1.2021;oops", true, false, true, true, {u"C:\\F\\b.exe", u"C:\\F\\Sub\\d.exe"}},
      {u"*.exe", u"date<31.12.2020", true, false, true, true, {u"C:\\F\\a.EXE"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(WideToUtf8(r.mask) + " " + WideToUtf8(r.criteria));
    TFakeBrowserSystem system;
    FillFolders(system);
    system.folders[u"C:\\F\\"][6].Attributes = kFaReadOnly;  // b.exe
    system.folders[u"C:\\F\\"].push_back(Found(u"Loop", kFaDirectory | kFaReparsePoint));
    system.folders[u"C:\\F\\Sub\\"] = {Found(u"d.exe"), Found(u"h.exe", kFaHidden)};
    system.folders[u"C:\\F\\Loop\\"] = {Found(u"e.exe")};
    TFakeBrowser browser;
    auto fields = std::make_shared<FakeFields>();
    TBrowserWorkers workers;
    StartWorker<TtFileSearcher>(
        workers, bwSearch, browser, system,
        [&](TtFileSearcher& f) {
          f.Folder = u" C:\\F ";
          f.Mask = r.mask;
          f.Criteria = r.criteria;
          f.Recurse = r.recurse, f.Hidden = r.hidden, f.ReadOnly = r.readOnly, f.MatchAll = r.matchAll;
          f.UseCriteria = true;
          f.DateOrder = "dd.mm.yyyy";
          f.Reader = fields;
        },
        static_cast<TBrowserSearchSink&>(browser));
    ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
    std::vector<WideString> expected = r.found;
    std::sort(browser.found.begin(), browser.found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(browser.found, expected);
    EXPECT_TRUE(Calls(browser).ends_with("searched"));
    EXPECT_EQ(fields->open, 0);
  }
}

TEST(BrowserWorkers, ColumnsAndDrives) {
  TFakeBrowserSystem system;
  FillFolders(system);
  system.folders[u"C:\\F\\"][3].WriteTime = 44189.5;  // a.EXE, 2020-12-24 12:00
  system.driveTypes = {{u"A:\\", 2}, {u"C:\\", 3}, {u"D:\\", 3}, {u"E:\\", 2}, {u"N:\\", 4}, {u"Q:\\", 9}};
  TFakeBrowser browser;
  TBrowserWorkers workers;
  TListItemData file, missing, folder;
  StartWorker<TtColumnFiller>(workers, bwColumns, browser, system, [&](TtColumnFiller& f) {
    f.Folders = {{u"C:\\F\\Sub", &folder, 0}};
    f.Files = {{u"C:\\F\\a.EXE", &file, 1}, {u"C:\\F\\gone.txt", &missing, 2}};
    f.TypeFolder = u"Folder";
    f.DateOrder = "mm/dd/yyyy";
    f.FieldValues = [](const WideString&, TUcStringList& values) { values.Add(u"extra"); };
  });
  ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
  EXPECT_EQ(Calls(browser), "filling,refresh,refresh,refresh,filled");
  EXPECT_EQ(file.Columns.Text(), u"1500 B\r\nexe\r\n12/24/2020 12:00\r\n    \r\nextra\r\n");
  EXPECT_EQ(file.Size, 1500);
  EXPECT_EQ(folder.Columns.Text(), u"\r\nFolder\r\n\r\n    \r\n");
  EXPECT_EQ(missing.Columns.Count(), 0);
  EXPECT_EQ(BrowseDateText(44189 + 1439.75 / 1440, "dd.mm.yyyy"), u"25.12.2020 00:00") << "not the day's own midnight";

  browser.calls.clear();
  StartWorker<TtDriveFinder>(workers, bwDrives, browser, system, [](TtDriveFinder& f) {
    f.Texts.Desktop = u"Desktop";
    f.Texts.MyDocuments = u"Documents";
    f.Texts.Compressed = u"packed";
    f.Texts.On = u"%s on %s";
    for (int i = 0; i < 6; ++i) f.Texts.DriveTypes[i] = Utf8ToWide(std::to_string(i + 2));
    f.SelectPath = u"d:\\";
  });
  ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
  struct {
    const char16_t* name;
    int image;
    const char16_t* columns;
  } expected[] = {
      {u"Desktop", 8, u"4 KB\r\n2 KB\r\n\r\n\r\n"},
      {u"Documents", 0, u"4 KB\r\n2 KB\r\n\r\n\r\n"},
      {u"A: [VOLA]", 1, u"\r\n\r\n2\r\n\r\n"},
      {u"C: [VOLC]", 2, u"4 KB\r\n2 KB\r\n3\r\nNTFS\r\n"},
      {u"D: [VOLD]", 2, u"4 KB\r\n2 KB\r\n3\r\nNTFS (packed)\r\n"},
      {u"E: [VOLE]", 6, u"4 KB\r\n2 KB\r\n7\r\nNTFS\r\n"},
      {u"N: N on SRV", 3, u"4 KB\r\n2 KB\r\n4\r\nNTFS\r\n"},
      {u"Q: [VOLQ]", -1, u"4 KB\r\n2 KB\r\n\r\nNTFS\r\n"},
  };
  ASSERT_EQ(browser.entries.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const auto& e = browser.entries[i];
    EXPECT_EQ(e.name, expected[i].name);
    EXPECT_EQ(e.image, expected[i].image);
    EXPECT_EQ(e.data->Columns.Text(), expected[i].columns) << WideToUtf8(e.name);
    EXPECT_EQ(e.selected, i == 4);
  }
}
