// UTF-8 and UTF-16 conversions against glibc's iconv on 10 MB of mixed text:
// English, accented Latin, Japanese and Chinese, and emoji, in runs the way
// file names, titles and language texts mix them. iconv converts into a buffer
// kept between rounds (its best case) and into a new string each round, as
// ours does (the same work for both: a string the caller can keep).
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <stdexcept>
#include <string>

#include "platform/unicode_convert.h"

namespace {

const String& MixedText() {
  static const String text = [] {
    const char* const phrases[] = {
        "The quick brown fox jumps over the lazy dog. ",
        "C:\\Program Files\\Orvanel\\ov3.exe ",
        "Gr\xc3\xbc\xc3\x9f"
        "e aus M\xc3\xbcnchen, caf\xc3\xa9 cr\xc3\xa8me br\xc3\xbbl\xc3\xa9"
        "e. ",
        "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\xe3\x81\xae\xe3\x83\x86\xe3\x82\xad\xe3\x82\xb9\xe3\x83\x88\xe3\x80\x82",
        "\xe4\xb8\xad\xe6\x96\x87\xe6\x96\x87\xe6\x9c\xac ",
        "Settings \xf0\x9f\x98\x80\xf0\x9f\x9a\x80 done ",
        "\xce\x95\xce\xbb\xce\xbb\xce\xb7\xce\xbd\xce\xb9\xce\xba\xce\xac "
        "\xd0\xa0\xd1\x83\xd1\x81\xd1\x81\xd0\xba\xd0\xb8\xd0\xb9 ",
    };
    String s;
    for (size_t i = 0; s.size() < 10 * 1000 * 1000; ++i) s += phrases[i % std::size(phrases)];
    return s;
  }();
  return text;
}

const WideString& MixedWide() {
  static const WideString wide = Utf8ToWide(MixedText());
  return wide;
}

class TIconv {
 public:
  TIconv(const char* to, const char* from) : FHandle(iconv_open(to, from)) {
    if (FHandle == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
  }
  ~TIconv() { iconv_close(FHandle); }
  // Converts all of in into out, which must have room; the bytes written.
  size_t Convert(const void* in, size_t inSize, void* out, size_t outSize) {
    char* src = const_cast<char*>(static_cast<const char*>(in));
    char* dst = static_cast<char*>(out);
    size_t left = outSize;
    iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
    if (iconv(FHandle, &src, &inSize, &dst, &left) == static_cast<size_t>(-1)) throw std::runtime_error("iconv");
    return outSize - left;
  }

 private:
  iconv_t FHandle;
};

void BM_Utf8ToUtf16_Orvanel(benchmark::State& state) {
  const String& text = MixedText();
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToWide(text));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToUtf16_Orvanel)->Unit(benchmark::kMillisecond);

void BM_Utf8ToUtf16_Iconv(benchmark::State& state) {
  const String& text = MixedText();
  TIconv conv("UTF-16LE", "UTF-8");
  WideString out(text.size(), u'\0');
  for (auto _ : state) benchmark::DoNotOptimize(conv.Convert(text.data(), text.size(), out.data(), out.size() * 2));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToUtf16_Iconv)->Unit(benchmark::kMillisecond);

void BM_Utf8ToUtf16_IconvNewString(benchmark::State& state) {
  const String& text = MixedText();
  TIconv conv("UTF-16LE", "UTF-8");
  for (auto _ : state) {
    WideString out(text.size(), u'\0');
    out.resize(conv.Convert(text.data(), text.size(), out.data(), out.size() * 2) / 2);
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_Utf8ToUtf16_IconvNewString)->Unit(benchmark::kMillisecond);

void BM_Utf16ToUtf8_Orvanel(benchmark::State& state) {
  const WideString& wide = MixedWide();
  for (auto _ : state) benchmark::DoNotOptimize(WideToUtf8(wide));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(wide.size() * 2));
}
BENCHMARK(BM_Utf16ToUtf8_Orvanel)->Unit(benchmark::kMillisecond);

void BM_Utf16ToUtf8_Iconv(benchmark::State& state) {
  const WideString& wide = MixedWide();
  TIconv conv("UTF-8", "UTF-16LE");
  String out(wide.size() * 3, '\0');
  for (auto _ : state) benchmark::DoNotOptimize(conv.Convert(wide.data(), wide.size() * 2, out.data(), out.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(wide.size() * 2));
}
BENCHMARK(BM_Utf16ToUtf8_Iconv)->Unit(benchmark::kMillisecond);

void BM_Utf16ToUtf8_IconvNewString(benchmark::State& state) {
  const WideString& wide = MixedWide();
  TIconv conv("UTF-8", "UTF-16LE");
  for (auto _ : state) {
    String out(wide.size() * 3, '\0');
    out.resize(conv.Convert(wide.data(), wide.size() * 2, out.data(), out.size()));
    benchmark::DoNotOptimize(out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(wide.size() * 2));
}
BENCHMARK(BM_Utf16ToUtf8_IconvNewString)->Unit(benchmark::kMillisecond);

}  // namespace
