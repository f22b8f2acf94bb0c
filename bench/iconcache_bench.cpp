// The icon cache at start-up with a bar of 500 icons: reading the cache file
// alone, a start from a warm cache (read and sync), and a start without one
// (every picture made from its icon file).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>

#include "launcher/ov3contents.h"
#include "launcher/ov3iconcache.h"
#include "platform/files.h"
#include "tools/common/iconwriter.h"

namespace {

constexpr int kIcons = 500;

// A folder with 20 icon files (16, 32 and 48 pixels, 32 bits) and a contents
// document of 500 icons that use them, plus the cache made from them.
struct TBar {
  std::filesystem::path Dir;
  std::unique_ptr<TKemXml> Doc;

  TBar() {
    Dir = std::filesystem::temp_directory_path() / ("orv_bench_icons_" + std::to_string(::getpid()));
    std::filesystem::create_directories(Dir);
    for (int f = 0; f < 20; ++f) {
      std::vector<iconwriter::TIcoEntry> entries;
      for (int size : {16, 32, 48})
        entries.push_back(
            {size, size, 0, 1, 32,
             iconwriter::DibImage(
                 size, size, 32, [=](int x, int y) { return 0xFF000000u | (x * 5 + y * 3 + f * 11) * 0x10101u; },
                 [](int, int) { return false; })});
      WriteFileAtomic(File("icon" + std::to_string(f) + ".ico"), iconwriter::IcoFile(entries));
    }
    Doc = std::make_unique<TKemXml>();
    CreateDefaultContents(*Doc);
    TKemXmlTag* icons = GroupIcons(ListGroups(ContentsGroups(*Doc))[0], true);
    for (int i = 0; i < kIcons; ++i)
      icons->AddTag("icon")->AddTag("image", "filename=icon" + std::to_string(i % 20) + ".ico;index=0");
    auto cache = NewCache();
    cache->Rebuild(ContentsGroups(*Doc));
    cache->Save();
  }
  ~TBar() { std::filesystem::remove_all(Dir); }
  std::string File(const std::string& Name) const { return (Dir / Name).string(); }
  std::unique_ptr<TIconCache> NewCache() const {
    return std::make_unique<TIconCache>(File("ov3.icc"), Dir.string() + "/", nullptr);
  }
};

TBar& Bar() {
  static TBar bar;
  return bar;
}

void BM_IconCacheReadFile(benchmark::State& state) {
  const std::string bytes = ReadFileBytes(Bar().File("ov3.icc"));
  for (auto _ : state) benchmark::DoNotOptimize(ReadIconCacheItems(bytes));
  state.SetItemsProcessed(state.iterations() * kIcons);
}
BENCHMARK(BM_IconCacheReadFile)->Unit(benchmark::kMillisecond);

void BM_IconCacheStartWarm(benchmark::State& state) {
  for (auto _ : state) {
    auto cache = Bar().NewCache();
    cache->Sync(ContentsGroups(*Bar().Doc));
    benchmark::DoNotOptimize(cache->GetBitmap(kIcons - 1));
  }
  state.SetItemsProcessed(state.iterations() * kIcons);
}
BENCHMARK(BM_IconCacheStartWarm)->Unit(benchmark::kMillisecond);

void BM_IconCacheStartCold(benchmark::State& state) {
  for (auto _ : state) {
    auto cache = Bar().NewCache();
    cache->Rebuild(ContentsGroups(*Bar().Doc));
    benchmark::DoNotOptimize(cache->GetBitmap(kIcons - 1));
  }
  state.SetItemsProcessed(state.iterations() * kIcons);
}
BENCHMARK(BM_IconCacheStartCold)->Unit(benchmark::kMillisecond);

}  // namespace
