// A folder of 20,000 entries (one in ten a folder) through the file browser's
// list model: queued as the listing worker finds them, moved into the list
// every 250 ms, then sorted by name at the end of the listing; and the same
// list sorted again by size and by date, as a click on a column header does.
#include <benchmark/benchmark.h>

#include <memory>

#include "kem3/browser/kembrowser_model.h"
#include "platform/clock.h"

namespace {

constexpr int kEntries = 20000;

struct TNullView : TBrowserListView {
  void ItemsChanged(int) override {}
  void ItemRefreshed(int) override {}
};

// Entries in the order a worker finds them, names in no sorted order.
void ListFolder(TBrowserListModel& Model, TFakeClock& Clock) {
  Model.BeginListing();
  int folders = 0;
  for (int i = 0; i < kEntries; ++i) {
    const unsigned scrambled = static_cast<unsigned>(i) * 2654435761u;
    const bool folder = i % 10 == 0;
    auto data = std::make_unique<TListItemData>();
    data->Kind = folder ? bikOpenable : bikFile;
    data->Size = scrambled % 1000000;
    data->Date = 40000.0 + scrambled % 5000;
    data->Columns.Add(u"");
    data->Columns.Add(folder ? u"Folder" : u"txt");
    WideString name = folder ? u"Folder " : u"File ";
    for (unsigned v = scrambled; v; v /= 26) name += static_cast<char16_t>(u'a' + v % 26);
    Model.QueueEntry(folder ? folders++ : -1, name, false, std::move(data), folder ? 0 : 9);
    if (i % 20 == 0) Clock.Advance(1);  // a worker finds about 20 entries a millisecond
  }
  Model.EndListing();
}

void BM_BrowserListAndSort(benchmark::State& State) {
  TFakeClock clock;
  TClock* old = SetClock(&clock);
  TNullView view;
  TBrowserListModel model(view);
  model.SetColumns({bckSize, bckText, bckDate});
  for (auto _ : State) ListFolder(model, clock);
  SetClock(old);
}
BENCHMARK(BM_BrowserListAndSort)->Unit(benchmark::kMillisecond);

void BM_BrowserSortBy(benchmark::State& State, int Column) {
  TFakeClock clock;
  TClock* old = SetClock(&clock);
  TNullView view;
  TBrowserListModel model(view);
  model.SetColumns({bckSize, bckText, bckDate});
  ListFolder(model, clock);
  for (auto _ : State) model.SortBy(Column);
  SetClock(old);
}
BENCHMARK_CAPTURE(BM_BrowserSortBy, Size, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BrowserSortBy, Type, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BrowserSortBy, Date, 3)->Unit(benchmark::kMillisecond);

}  // namespace
