// Resampling speed against Debian's stb_image_resize, the reference for a fast
// separable resizer: a 1024 x 1024 32-bit picture to 64 x 64 and to 2048 x 2048.
// stb_image_resize has no Lanczos filter; its widest is a cubic (Mitchell, 4
// taps), so "Lanczos3 vs Mitchell" gives ours the wider filter (6 taps), and
// "Mitchell vs Mitchell" compares the same filter. The Ratio benchmarks time
// both in turn within one run and report stb's time over ours (above 1: ours
// is faster); being interleaved, they see the same load of the machine.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

#include "kem3/graphics/kemresample.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

namespace {

// A picture with structure (gradients and noise), so no path is trivially cheap.
TBitmap& SourcePicture() {
  static TBitmap picture;
  if (picture.Empty()) {
    picture.SetPixelFormat(pf32bit);
    picture.SetSize(1024, 1024);
    std::mt19937 random(7);
    for (int y = 0; y < 1024; ++y) {
      auto* row = static_cast<std::uint8_t*>(picture.ScanLine(y));
      for (int x = 0; x < 1024; ++x) {
        row[4 * x] = static_cast<std::uint8_t>(x / 4 + (random() & 15));
        row[4 * x + 1] = static_cast<std::uint8_t>(y / 4 + (random() & 15));
        row[4 * x + 2] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
        row[4 * x + 3] = static_cast<std::uint8_t>(255 - (random() & 63));
      }
    }
  }
  return picture;
}

// Source rows top-down and contiguous, as stb wants them.
const std::vector<std::uint8_t>& SourcePixels() {
  static const std::vector<std::uint8_t> pixels = [] {
    TBitmap& b = SourcePicture();
    std::vector<std::uint8_t> p(static_cast<std::size_t>(b.Width()) * b.Height() * 4);
    for (int y = 0; y < b.Height(); ++y)
      std::copy_n(static_cast<const std::uint8_t*>(b.ScanLine(y)), b.Width() * 4, p.data() + y * b.Width() * 4);
    return p;
  }();
  return pixels;
}

struct TOurs {
  explicit TOurs(int Size) {
    Dest.SetPixelFormat(pf32bit);
    Dest.SetSize(Size, Size);
  }
  void Run(int Filter) { ResampleBitmap(Dest, SourcePicture(), Filter, 0); }
  TBitmap Dest;
};

struct TStb {
  explicit TStb(int Size) : Out(static_cast<std::size_t>(Size) * Size * 4), Size(Size) {}
  void Run() {
    stbir_resize_uint8_generic(SourcePixels().data(), 1024, 1024, 1024 * 4, Out.data(), Size, Size, Size * 4, 4,
                               STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_REFLECT, STBIR_FILTER_MITCHELL,
                               STBIR_COLORSPACE_LINEAR, nullptr);
    benchmark::DoNotOptimize(Out.data());
  }
  std::vector<std::uint8_t> Out;
  int Size;
};

void BM_OursLanczos3(benchmark::State& state) {
  TOurs ours(static_cast<int>(state.range(0)));
  for (auto _ : state) ours.Run(rfLanczos3);
}
BENCHMARK(BM_OursLanczos3)->Arg(64)->Arg(2048)->Unit(benchmark::kMillisecond);

void BM_OursMitchell(benchmark::State& state) {
  TOurs ours(static_cast<int>(state.range(0)));
  for (auto _ : state) ours.Run(rfMitchell);
}
BENCHMARK(BM_OursMitchell)->Arg(64)->Arg(2048)->Unit(benchmark::kMillisecond);

void BM_StbMitchell(benchmark::State& state) {
  TStb stb(static_cast<int>(state.range(0)));
  for (auto _ : state) stb.Run();
}
BENCHMARK(BM_StbMitchell)->Arg(64)->Arg(2048)->Unit(benchmark::kMillisecond);

// Ours (filter range(1)) and stb alternately in each iteration; the counters
// hold the mean time of each and stb's time over ours.
void BM_Ratio(benchmark::State& state) {
  int size = static_cast<int>(state.range(0));
  int filter = static_cast<int>(state.range(1));
  TOurs ours(size);
  TStb stb(size);
  using TClock = std::chrono::steady_clock;
  double oursSeconds = 0, stbSeconds = 0;
  for (auto _ : state) {
    auto t0 = TClock::now();
    ours.Run(filter);
    auto t1 = TClock::now();
    stb.Run();
    auto t2 = TClock::now();
    oursSeconds += std::chrono::duration<double>(t1 - t0).count();
    stbSeconds += std::chrono::duration<double>(t2 - t1).count();
  }
  auto n = static_cast<double>(state.iterations());
  state.counters["ours_ms"] = oursSeconds / n * 1000;
  state.counters["stb_ms"] = stbSeconds / n * 1000;
  state.counters["stb_over_ours"] = stbSeconds / oursSeconds;
}
BENCHMARK(BM_Ratio)
    ->ArgNames({"size", "filter"})
    ->Args({64, rfLanczos3})
    ->Args({2048, rfLanczos3})
    ->Args({64, rfMitchell})
    ->Args({2048, rfMitchell})
    ->Unit(benchmark::kMillisecond);

}  // namespace
