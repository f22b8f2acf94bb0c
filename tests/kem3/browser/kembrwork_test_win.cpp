#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "kem3/browser/kembrwork.h"
#include "kembrwork_fakes.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

TEST(BrowserWorkersWin, ListsAFolderAndItsColumnsThroughTheSystem) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "Sub");
  std::ofstream(dir.path() / "a.exe") << "12345";
  std::ofstream(dir.path() / "b.txt") << "x";
  std::ofstream(dir.path() / "README") << "x";
  WideString folder = Utf8ToWide(dir.file(""));
  while (folder.back() == u'\\' || folder.back() == u'/') folder.pop_back();
  folder += u"\\";
  TFakeBrowser browser;
  TBrowserWorkers workers;
  auto finder = std::make_unique<TtFileFinder>(workers.Reference(bwFiles), browser, SystemBrowserSystem());
  finder->Folder = folder;
  finder->Filter = u"*.EXE;*.";
  workers.Start(std::move(finder));
  ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
  std::vector<WideString> names;
  TListItemData* data = nullptr;
  for (const auto& e : browser.entries) {
    names.push_back(e.name);
    if (e.name == u"a.exe") data = e.data.get();
    EXPECT_EQ(e.at, e.name == u"Sub" ? 0 : -1) << "folders first";
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<WideString>{u"README", u"Sub", u"a.exe"}));
  ASSERT_TRUE(data);

  auto filler = std::make_unique<TtColumnFiller>(workers.Reference(bwColumns), browser, SystemBrowserSystem());
  filler->Files = {{folder + u"a.exe", data, 1}};
  filler->DateOrder = "dd.mm.yyyy";
  workers.Start(std::move(filler));
  ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
  const TListItemData& a = *data;
  EXPECT_EQ(a.Size, 5);
  ASSERT_GE(a.Columns.Count(), 4);
  EXPECT_EQ(a.Columns.Strings(0), u"5 B");
  EXPECT_EQ(a.Columns.Strings(1), u"exe");
  EXPECT_EQ(a.Columns.Strings(2).size(), 16u) << "dd.mm.yyyy hh:nn";
  EXPECT_GT(a.Date, 40000.0);
}

// Wine's network may be empty or missing: the listings only have to end.
TEST(BrowserWorkersWin, DrivesAndTheNetworkEnd) {
  TFakeBrowser browser;
  TBrowserWorkers workers;
  auto drives = std::make_unique<TtDriveFinder>(workers.Reference(bwDrives), browser, SystemBrowserSystem());
  drives->Texts = BrowserTexts();
  workers.Start(std::move(drives));
  ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
  EXPECT_GE(browser.entries.size(), 3u) << "two special folders and C:";

  auto servers = std::make_unique<TtServerFinder>(workers.Reference(bwServers), browser, SystemBrowserSystem());
  servers->CheckedWorkgroups = u"WORKGROUP";
  workers.Start(std::move(servers));
  ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
  std::cout << "network: " << browser.entries.size() << " servers, " << browser.menu.size() << " workgroups\n";

  const TBrowserMessage previous = SetBrowserMessage([&](const WideString& caption, const WideString&) {
    std::cout << "share outcome: " << WideToUtf8(caption) << "\n";
  });
  auto shares = std::make_unique<TtShareFinder>(workers.Reference(bwShares), browser, SystemBrowserSystem());
  shares->Server = u"NOSUCHSERVER";
  shares->Texts.NoSharesCaption = u"no shares";
  shares->Texts.ConFailCaption = u"no connection";
  workers.Start(std::move(shares));
  ASSERT_TRUE(PumpUntil([&] { return workers.Idle(); }));
  SetBrowserMessage(previous);
}
