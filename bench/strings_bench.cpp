// Throughput of the text conversions every file load and every wide system call goes through.
#include <benchmark/benchmark.h>

#include "platform/format.h"
#include "platform/unicode_convert.h"

namespace {

String MixedText(size_t bytes) {
  const String piece = "Games & Tools <Ünïcødé 日本> ";
  String s;
  while (s.size() < bytes) s += piece;
  return s;
}

void BM_Utf8ToWide(benchmark::State& state) {
  String text = MixedText(static_cast<size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToWide(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToWide)->Arg(64)->Arg(1 << 20);

void BM_WideToUtf8(benchmark::State& state) {
  WideString text = Utf8ToWide(MixedText(static_cast<size_t>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(WideToUtf8(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size() * 2));
}
BENCHMARK(BM_WideToUtf8)->Arg(64)->Arg(1 << 20);

void BM_Format(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Format("%s (%d of %d, %.2f%%)", {"Main", 3, 12, 25.0}));
}
BENCHMARK(BM_Format);

}  // namespace
