// Resampling speed against Debian's stb_image_resize, the reference for a fast
// separable resizer: a 1024 x 1024 32-bit picture to 64 x 64 and to 2048 x 2048.
// stb_image_resize has no Lanczos filter; its widest is a cubic (Mitchell, 4
// taps), so "Lanczos3 vs Mitchell" gives ours the wider filter (6 taps), and
// "Mitchell vs Mitchell" compares the same filter. The Ratio benchmarks time
// both in turn within one run and report stb's time over ours (above 1: ours
// is faster); being interleaved and timed by process CPU time, they see the
// same machine.
// libvips (Debian's libvips-dev) is the other yardstick, on one thread, with
// its cache off: shrinking to 64 x 64 with vips_reduce and Lanczos3, the same
// filter and support as ours; enlarging with vips_resize and Lanczos3, which
// libvips 8.14 carries out with its bicubic interpolator (4 taps, where ours
// takes 6 to 7): libvips has no Lanczos enlargement.
#include <benchmark/benchmark.h>
#include <vips/vips.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "bench/bench_clock.h"
#include "kem3/pictures/kemresample.h"

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

struct TVips {
  explicit TVips(int Size) : Size(Size) {
    static const bool started = [] {
      if (VIPS_INIT("orv_bench")) return false;
      vips_concurrency_set(1);
      vips_cache_set_max(0);
      return true;
    }();
    Ok = started;
  }
  void Run() {
    VipsImage* in =
        vips_image_new_from_memory(SourcePixels().data(), SourcePixels().size(), 1024, 1024, 4, VIPS_FORMAT_UCHAR);
    VipsImage* out = nullptr;
    int failed = Size < 1024
                     ? vips_reduce(in, &out, 1024.0 / Size, 1024.0 / Size, "kernel", VIPS_KERNEL_LANCZOS3, nullptr)
                     : vips_resize(in, &out, Size / 1024.0, "kernel", VIPS_KERNEL_LANCZOS3, nullptr);
    std::size_t bytes = 0;
    void* pixels = failed ? nullptr : vips_image_write_to_memory(out, &bytes);
    Ok = Ok && pixels && bytes == static_cast<std::size_t>(Size) * Size * 4;
    benchmark::DoNotOptimize(pixels);
    g_free(pixels);
    if (out) g_object_unref(out);
    g_object_unref(in);
  }
  int Size;
  bool Ok = false;
};

void BM_VipsLanczos3(benchmark::State& state) {
  TVips vips(static_cast<int>(state.range(0)));
  for (auto _ : state) vips.Run();
  if (!vips.Ok) state.SkipWithError("libvips failed");
}
BENCHMARK(BM_VipsLanczos3)->Arg(64)->Arg(2048)->Unit(benchmark::kMillisecond);

// Ours and libvips alternately, Lanczos3 on both sides (see above for enlarging).
void BM_RatioVips(benchmark::State& state) {
  int size = static_cast<int>(state.range(0));
  TOurs ours(size);
  TVips vips(size);
  double oursSeconds = 0, vipsSeconds = 0;
  for (auto _ : state) {
    auto t0 = ProcessSeconds();
    ours.Run(rfLanczos3);
    auto t1 = ProcessSeconds();
    vips.Run();
    auto t2 = ProcessSeconds();
    oursSeconds += t1 - t0;
    vipsSeconds += t2 - t1;
  }
  if (!vips.Ok) state.SkipWithError("libvips failed");
  auto n = static_cast<double>(state.iterations());
  state.counters["ours_ms"] = oursSeconds / n * 1000;
  state.counters["vips_ms"] = vipsSeconds / n * 1000;
  state.counters["vips_over_ours"] = vipsSeconds / oursSeconds;
}
BENCHMARK(BM_RatioVips)->ArgName("size")->Arg(64)->Arg(2048)->Unit(benchmark::kMillisecond);

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
  double oursSeconds = 0, stbSeconds = 0;
  for (auto _ : state) {
    auto t0 = ProcessSeconds();
    ours.Run(filter);
    auto t1 = ProcessSeconds();
    stb.Run();
    auto t2 = ProcessSeconds();
    oursSeconds += t1 - t0;
    stbSeconds += t2 - t1;
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
