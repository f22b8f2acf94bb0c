// The file browser's folder listing: a folder of 20,000 files through a fake
// system, with a GUI thread that runs the synchronised calls as the browser's
// message loop would. Reports the time to the first queued entry, to the end of
// the listing and to the end of the detail columns.
#include <benchmark/benchmark.h>

#include <chrono>

#include "kem3/browser/kembrwork.h"
#include "platform/synchronize.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

class TBigFolder : public TNullBrowserSystem {
 public:
  explicit TBigFolder(int count) {
    for (int i = 0; i < count; ++i)
      FEntries.push_back({u"file" + Utf8ToWide(IntToStr(i)) + (i % 3 ? u".exe" : u".txt"), 0, 1000 + i, 40000.0 + i});
  }
  bool FileInfo(const WideString&, TBrowseFindData& Info) override {
    Info = FEntries[0];
    return true;
  }
  bool ListFolder(const WideString&, const std::function<bool(const TBrowseFindData&)>& Each) override {
    for (const TBrowseFindData& d : FEntries)
      if (!Each(d)) break;
    return true;
  }

 private:
  std::vector<TBrowseFindData> FEntries;
};

class TTimingSink : public TBrowserListSink {
 public:
  using TClock = std::chrono::steady_clock;
  TClock::time_point Start, First, End;
  int Queued = 0, Refreshed = 0;
  bool Ended = false, Filled = false;
  std::vector<TColumnEntry> Entries;
  void BeginListing() override {}
  void QueueEntry(int, const WideString& Name, bool, std::unique_ptr<TListItemData> Data, int) override {
    if (Queued++ == 0) First = TClock::now();
    Entries.push_back({u"C:\\Big\\" + Name, Data.get(), static_cast<int>(Entries.size())});
    FData.push_back(std::move(Data));
  }
  void EndListing() override {
    End = TClock::now();
    Ended = true;
  }
  void StartColumnFilling(const WideString&) override {}
  void ColumnFillingBegun() override {}
  void ColumnFillingEnded() override { Filled = true; }
  void RefreshColumns(int) override { ++Refreshed; }
  TBrowserPreview* CurrentPreview() override { return nullptr; }

 private:
  std::vector<std::unique_ptr<TListItemData>> FData;
};

void BM_BrowserListsFolder(benchmark::State& state) {
  TBigFolder system(static_cast<int>(state.range(0)));
  double firstMs = 0, endMs = 0, columnsMs = 0;
  for (auto _ : state) {
    TTimingSink sink;
    TBrowserWorkers workers;
    auto finder = std::make_unique<TtFileFinder>(workers.Reference(bwFiles), sink, system);
    finder->Folder = u"C:\\Big\\";
    finder->Filter = u"*.*";
    sink.Start = TTimingSink::TClock::now();
    workers.Start(std::move(finder));
    while (!sink.Ended || !workers.Idle()) CheckSynchronize(1);
    firstMs += std::chrono::duration<double, std::milli>(sink.First - sink.Start).count();
    endMs += std::chrono::duration<double, std::milli>(sink.End - sink.Start).count();
    // Then the detail columns of all of them.
    auto filler = std::make_unique<TtColumnFiller>(workers.Reference(bwColumns), sink, system);
    filler->Files = std::move(sink.Entries);
    filler->DateOrder = "dd.mm.yyyy";
    const auto start = TTimingSink::TClock::now();
    workers.Start(std::move(filler));
    while (!sink.Filled || !workers.Idle()) CheckSynchronize(1);
    columnsMs += std::chrono::duration<double, std::milli>(TTimingSink::TClock::now() - start).count();
    if (sink.Refreshed != state.range(0)) state.SkipWithError("entries missing");
  }
  state.counters["first_ms"] = firstMs / static_cast<double>(state.iterations());
  state.counters["end_ms"] = endMs / static_cast<double>(state.iterations());
  state.counters["columns_ms"] = columnsMs / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BrowserListsFolder)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
