// Row filters, row conversions and pass geometry of the PNG codec.
#include "kem3/pictures/pngrows.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static_assert(std::endian::native == std::endian::little, "pixel words assume a little-endian machine");

const std::uint8_t kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

// zlib counts in uInt: larger blocks go in pieces.
std::uint32_t PngCrc(std::uint32_t Crc, const std::uint8_t* Data, std::uint64_t Size) {
  uLong value = Crc;
  for (std::uint64_t done = 0; done < Size;) {
    auto piece = static_cast<uInt>(std::min<std::uint64_t>(Size - done, 1u << 30));
    value = crc32(value, Data + done, piece);
    done += piece;
  }
  return static_cast<std::uint32_t>(value);
}

const TPngPass kPngAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                               {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

namespace {

// The neighbour (left a, above b, upper left c) nearest to a + b - c; ties
// prefer a, then b.
inline int Paeth(int a, int b, int c) {
  int pa = std::abs(b - c);
  int pb = std::abs(a - c);
  int pc = std::abs(a + b - 2 * c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

inline std::uint8_t U8(int v) { return static_cast<std::uint8_t>(v); }

// ---- Undoing filters: B is the bytes per pixel, so the inner loops unroll.

template <int B>
void UnSub(std::uint8_t* r, std::size_t n) {
  for (std::size_t i = B; i < n; ++i) r[i] = U8(r[i] + r[i - B]);
}

void UnUp(std::uint8_t* r, const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) r[i] = U8(r[i] + p[i]);
}

template <int B>
void UnAverage(std::uint8_t* r, const std::uint8_t* p, std::size_t n) {
  std::size_t i = 0;
  for (; i < B && i < n; ++i) r[i] = U8(r[i] + (p[i] >> 1));
  for (; i < n; ++i) r[i] = U8(r[i] + ((r[i - B] + p[i]) >> 1));
}

template <int B>
void UnPaeth(std::uint8_t* r, const std::uint8_t* p, std::size_t n) {
  std::size_t i = 0;
  for (; i < B && i < n; ++i) r[i] = U8(r[i] + p[i]);
  for (; i < n; ++i) r[i] = U8(r[i] + Paeth(r[i - B], p[i], p[i - B]));
}

#if defined(__SSE2__)
// Whole pixels at a time: each pixel's bytes sit in 16-bit lanes, so the
// predictors of Average and Paeth compute without overflow. The dependency
// from one pixel to the next stays, but every byte of a pixel goes at once.
// Pixels move between memory and a register without a round trip through the
// stack: a store followed by a wider load of the same bytes stalls the pipeline.
template <int B>
inline __m128i LoadPixel(const std::uint8_t* p) {
  __m128i v;
  if constexpr (B == 8) {
    v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
  } else if constexpr (B == 6) {
    std::uint32_t low;
    std::uint16_t high;
    std::memcpy(&low, p, 4);
    std::memcpy(&high, p + 4, 2);
    v = _mm_insert_epi16(_mm_cvtsi32_si128(static_cast<int>(low)), high, 2);
  } else {
    std::uint32_t w = 0;
    if constexpr (B >= 2) {
      std::uint16_t pair;
      std::memcpy(&pair, p, 2);
      w = pair;
    }
    if constexpr (B >= 3) w |= std::uint32_t{p[2]} << 16;
    if constexpr (B == 4) w |= std::uint32_t{p[3]} << 24;
    v = _mm_cvtsi32_si128(static_cast<int>(w));
  }
  return _mm_unpacklo_epi8(v, _mm_setzero_si128());
}

template <int B>
inline void StorePixel(std::uint8_t* p, __m128i v) {
  __m128i packed = _mm_packus_epi16(v, v);
  if constexpr (B == 8) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), packed);
  } else if constexpr (B == 6) {
    auto low = static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed));
    auto high = static_cast<std::uint16_t>(_mm_extract_epi16(packed, 2));
    std::memcpy(p, &low, 4);
    std::memcpy(p + 4, &high, 2);
  } else {
    auto w = static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed));
    if constexpr (B == 4) {
      std::memcpy(p, &w, 4);
    } else {
      auto pair = static_cast<std::uint16_t>(w);
      std::memcpy(p, &pair, 2);
      if constexpr (B == 3) p[2] = static_cast<std::uint8_t>(w >> 16);
    }
  }
}

inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

template <int B>
void UnAverageWide(std::uint8_t* r, const std::uint8_t* p, std::size_t n) {
  const __m128i low = _mm_set1_epi16(0xFF);
  __m128i a = _mm_setzero_si128();
  for (std::size_t i = 0; i + B <= n; i += B) {
    __m128i b = LoadPixel<B>(p + i);
    a = _mm_and_si128(_mm_add_epi16(LoadPixel<B>(r + i), _mm_srli_epi16(_mm_add_epi16(a, b), 1)), low);
    StorePixel<B>(r + i, a);
  }
}

template <int B>
void UnPaethWide(std::uint8_t* r, const std::uint8_t* p, std::size_t n) {
  const __m128i low = _mm_set1_epi16(0xFF);
  __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
  for (std::size_t i = 0; i + B <= n; i += B) {
    __m128i b = LoadPixel<B>(p + i);
    __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
    __m128i pa = Abs16(bc), pb = Abs16(ac), pc = Abs16(_mm_add_epi16(bc, ac));
    __m128i least = _mm_min_epi16(_mm_min_epi16(pa, pb), pc);
    __m128i useA = _mm_cmpeq_epi16(pa, least), useB = _mm_cmpeq_epi16(pb, least);
    __m128i bOrC = _mm_or_si128(_mm_and_si128(useB, b), _mm_andnot_si128(useB, c));
    __m128i predicted = _mm_or_si128(_mm_and_si128(useA, a), _mm_andnot_si128(useA, bOrC));
    a = _mm_and_si128(_mm_add_epi16(LoadPixel<B>(r + i), predicted), low);
    StorePixel<B>(r + i, a);
    c = b;
  }
}

constexpr bool kWide(int B) { return B >= 2; }
#else
constexpr bool kWide(int) { return false; }
#endif

template <int B>
void Unfilter(int filter, std::uint8_t* r, const std::uint8_t* p, std::size_t n) {
  switch (filter) {
    case pftSub:
      UnSub<B>(r, n);
      break;
    case pftUp:
      UnUp(r, p, n);
      break;
    case pftAverage:
#if defined(__SSE2__)
      if constexpr (kWide(B)) {
        UnAverageWide<B>(r, p, n);
        break;
      }
#endif
      UnAverage<B>(r, p, n);
      break;
    case pftPaeth:
#if defined(__SSE2__)
      if constexpr (kWide(B)) {
        UnPaethWide<B>(r, p, n);
        break;
      }
#endif
      UnPaeth<B>(r, p, n);
      break;
    default:
      break;
  }
}

// ---- Conversions into bitmap pixels.

using C = TPngRowConverter;

inline void Put32(std::uint8_t* d, std::uint32_t v) { std::memcpy(d, &v, 4); }

void ConvCopy(const C& c, const std::uint8_t* s, std::uint8_t* d, int n) {
  std::memcpy(d, s, (static_cast<std::size_t>(n) * static_cast<std::size_t>(c.Depth) + 7) / 8);
}

// Each source byte holds four 2-bit pixels and becomes two bytes of two 4-bit
// pixels, in memory order.
constexpr std::array<std::uint16_t, 256> kDepth2ToNibbles = [] {
  std::array<std::uint16_t, 256> t{};
  for (int b = 0; b < 256; ++b) {
    int first = (((b >> 6) & 3) << 4) | ((b >> 4) & 3), second = (((b >> 2) & 3) << 4) | (b & 3);
    t[static_cast<std::size_t>(b)] = static_cast<std::uint16_t>(first | (second << 8));
  }
  return t;
}();

void ConvDepth2ToNibble(const C&, const std::uint8_t* s, std::uint8_t* d, int n) {
  int bytes = (n + 1) / 2, k = 0;
  for (; k + 1 < bytes; k += 2) std::memcpy(d + k, &kDepth2ToNibbles[s[k / 2]], 2);
  if (k < bytes) d[k] = static_cast<std::uint8_t>(kDepth2ToNibbles[s[k / 2]]);
}

void ConvGrey16ToIndex(const C&, const std::uint8_t* s, std::uint8_t* d, int n) {
  for (int i = 0; i < n; ++i) d[i] = s[2 * i];
}

// S is the bytes per sample (1 or 2); the high byte comes first.
template <int S, bool G>
void ConvRGB(const C& c, const std::uint8_t* s, std::uint8_t* d, int n) {
  for (int i = 0; i < n; ++i, s += 3 * S, d += 3) {
    std::uint8_t r = s[0], g = s[S], b = s[2 * S];
    if constexpr (G) {
      r = c.Gamma[r];
      g = c.Gamma[g];
      b = c.Gamma[b];
    }
    d[0] = b;
    d[1] = g;
    d[2] = r;
  }
}

template <int S, bool G>
void ConvRGBA(const C& c, const std::uint8_t* s, std::uint8_t* d, int n) {
  if constexpr (S == 1 && !G) {
    // Swapping red and blue in whole words.
    for (int i = 0; i < n; ++i) {
      std::uint32_t v;
      std::memcpy(&v, s + 4 * i, 4);
      Put32(d + 4 * i, (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16));
    }
  } else {
    for (int i = 0; i < n; ++i, s += 4 * S, d += 4) {
      std::uint8_t r = s[0], g = s[S], b = s[2 * S];
      if constexpr (G) {
        r = c.Gamma[r];
        g = c.Gamma[g];
        b = c.Gamma[b];
      }
      d[0] = b;
      d[1] = g;
      d[2] = r;
      d[3] = s[3 * S];
    }
  }
}

template <int S, bool G>
void ConvGreyAlpha(const C& c, const std::uint8_t* s, std::uint8_t* d, int n) {
  for (int i = 0; i < n; ++i, s += 2 * S, d += 4) {
    std::uint8_t g = s[0];
    if constexpr (G) g = c.Gamma[g];
    Put32(d, PngPixel(g, g, g, s[S]));
  }
}

template <int D>
void ConvLookup(const C& c, const std::uint8_t* s, std::uint8_t* d, int n) {
  if constexpr (D == 8) {
    for (int i = 0; i < n; ++i) Put32(d + 4 * i, c.Lookup[s[i]]);
  } else {
    constexpr int perByte = 8 / D;
    constexpr int mask = (1 << D) - 1;
    for (int i = 0; i < n; ++i) {
      int shift = 8 - D * (1 + i % perByte);
      Put32(d + 4 * i, c.Lookup[(s[i / perByte] >> shift) & mask]);
    }
  }
}

template <bool G>
void ConvGrey16Key(const C& c, const std::uint8_t* s, std::uint8_t* d, int n) {
  for (int i = 0; i < n; ++i, s += 2, d += 4) {
    std::uint8_t g = s[0];
    if constexpr (G) g = c.Gamma[g];
    bool clear = ((s[0] << 8) | s[1]) == c.Key;
    Put32(d, PngPixel(g, g, g, clear ? 0 : 255));
  }
}

template <int S, bool G>
void ConvRGBKey(const C& c, const std::uint8_t* s, std::uint8_t* d, int n) {
  if constexpr (S == 1) {
    // The key as the three bytes of a pixel would read in one word.
    const std::uint32_t key = c.KeyRGB[0] | (std::uint32_t{c.KeyRGB[1]} << 8) | (std::uint32_t{c.KeyRGB[2]} << 16);
    for (int i = 0; i < n; ++i, s += 3, d += 4) {
      std::uint32_t rgb = s[0] | (std::uint32_t{s[1]} << 8) | (std::uint32_t{s[2]} << 16);
      std::uint8_t r = s[0], g = s[1], b = s[2];
      if constexpr (G) {
        r = c.Gamma[r];
        g = c.Gamma[g];
        b = c.Gamma[b];
      }
      Put32(d, PngPixel(r, g, b, rgb == key ? 0 : 255));
    }
  } else {
    for (int i = 0; i < n; ++i, s += 6, d += 4) {
      bool clear = ((s[0] << 8) | s[1]) == c.KeyRGB[0] && ((s[2] << 8) | s[3]) == c.KeyRGB[1] &&
                   ((s[4] << 8) | s[5]) == c.KeyRGB[2];
      std::uint8_t r = s[0], g = s[2], b = s[4];
      if constexpr (G) {
        r = c.Gamma[r];
        g = c.Gamma[g];
        b = c.Gamma[b];
      }
      Put32(d, PngPixel(r, g, b, clear ? 0 : 255));
    }
  }
}

template <int S>
C::TFunc PickRGB(bool g) {
  return g ? ConvRGB<S, true> : ConvRGB<S, false>;
}
template <int S>
C::TFunc PickRGBA(bool g) {
  return g ? ConvRGBA<S, true> : ConvRGBA<S, false>;
}
template <int S>
C::TFunc PickGreyAlpha(bool g) {
  return g ? ConvGreyAlpha<S, true> : ConvGreyAlpha<S, false>;
}

}  // namespace

void PngUnfilterRow(int Filter, std::uint8_t* Row, const std::uint8_t* Prior, std::size_t Count, int Bpp) {
  switch (Bpp) {
    case 1:
      Unfilter<1>(Filter, Row, Prior, Count);
      break;
    case 2:
      Unfilter<2>(Filter, Row, Prior, Count);
      break;
    case 3:
      Unfilter<3>(Filter, Row, Prior, Count);
      break;
    case 4:
      Unfilter<4>(Filter, Row, Prior, Count);
      break;
    case 6:
      Unfilter<6>(Filter, Row, Prior, Count);
      break;
    default:
      Unfilter<8>(Filter, Row, Prior, Count);
      break;
  }
}

namespace {

// ---- Filtering for saving: every input is a byte of the picture, so sixteen
// outputs are worked out at once; the scalar loops finish each row.

#if defined(__SSE2__)
inline __m128i Load16(const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store16(std::uint8_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The Paeth predictor of eight bytes in 16-bit lanes.
inline __m128i Paeth8(__m128i a, __m128i b, __m128i c) {
  __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
  __m128i pa = Abs16(bc), pb = Abs16(ac), pc = Abs16(_mm_add_epi16(bc, ac));
  __m128i useA = _mm_and_si128(_mm_cmpeq_epi16(_mm_min_epi16(pa, pb), pa), _mm_cmpeq_epi16(_mm_min_epi16(pa, pc), pa));
  __m128i useB = _mm_cmpeq_epi16(_mm_min_epi16(pb, pc), pb);
  __m128i bOrC = _mm_or_si128(_mm_and_si128(useB, b), _mm_andnot_si128(useB, c));
  return _mm_or_si128(_mm_and_si128(useA, a), _mm_andnot_si128(useA, bOrC));
}
#endif

// Bytes from Start on (Start >= Bpp); returns where the scalar loop goes on.
std::size_t FilterWide(int Filter, const std::uint8_t* Row, const std::uint8_t* Prior, std::uint8_t* Out,
                       std::size_t Start, std::size_t Count, std::size_t Bpp) {
  std::size_t i = Start;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  switch (Filter) {
    case pftSub:
      for (; i + 16 <= Count; i += 16) Store16(Out + i, _mm_sub_epi8(Load16(Row + i), Load16(Row + i - Bpp)));
      break;
    case pftUp:
      for (; i + 16 <= Count; i += 16) Store16(Out + i, _mm_sub_epi8(Load16(Row + i), Load16(Prior + i)));
      break;
    case pftAverage: {
      // The average rounded down: the shared bits plus half the differing ones.
      const __m128i low7 = _mm_set1_epi8(0x7F);
      for (; i + 16 <= Count; i += 16) {
        __m128i a = Load16(Row + i - Bpp), b = Load16(Prior + i);
        __m128i average =
            _mm_add_epi8(_mm_and_si128(a, b), _mm_and_si128(_mm_srli_epi16(_mm_xor_si128(a, b), 1), low7));
        Store16(Out + i, _mm_sub_epi8(Load16(Row + i), average));
      }
      break;
    }
    case pftPaeth:
      for (; i + 16 <= Count; i += 16) {
        __m128i a = Load16(Row + i - Bpp), b = Load16(Prior + i), c = Load16(Prior + i - Bpp);
        __m128i low = Paeth8(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(c, zero));
        __m128i high = Paeth8(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(c, zero));
        Store16(Out + i, _mm_sub_epi8(Load16(Row + i), _mm_packus_epi16(low, high)));
      }
      break;
    default:
      break;
  }
#else
  (void)Filter, (void)Row, (void)Prior, (void)Out, (void)Count, (void)Bpp;
#endif
  return i;
}

}  // namespace

void PngFilterRow(int Filter, const std::uint8_t* Row, const std::uint8_t* Prior, std::uint8_t* Out, std::size_t Count,
                  int Bpp) {
  auto b = static_cast<std::size_t>(Bpp);
  std::size_t head = b < Count ? b : Count;
  switch (Filter) {
    case pftSub:
      std::memcpy(Out, Row, head);
      for (std::size_t i = FilterWide(Filter, Row, Prior, Out, head, Count, b); i < Count; ++i)
        Out[i] = U8(Row[i] - Row[i - b]);
      break;
    case pftUp:
      for (std::size_t i = FilterWide(Filter, Row, Prior, Out, 0, Count, b); i < Count; ++i)
        Out[i] = U8(Row[i] - Prior[i]);
      break;
    case pftAverage:
      for (std::size_t i = 0; i < head; ++i) Out[i] = U8(Row[i] - (Prior[i] >> 1));
      for (std::size_t i = FilterWide(Filter, Row, Prior, Out, head, Count, b); i < Count; ++i)
        Out[i] = U8(Row[i] - ((Row[i - b] + Prior[i]) >> 1));
      break;
    case pftPaeth:
      for (std::size_t i = 0; i < head; ++i) Out[i] = U8(Row[i] - Prior[i]);
      for (std::size_t i = FilterWide(Filter, Row, Prior, Out, head, Count, b); i < Count; ++i)
        Out[i] = U8(Row[i] - Paeth(Row[i - b], Prior[i], Prior[i - b]));
      break;
    default:
      std::memcpy(Out, Row, Count);
      break;
  }
}

std::size_t PngRepeatScore(const std::uint8_t* Out, std::size_t Count) {
  std::size_t score = 0, i = 4;
#if defined(__SSE2__)
  for (; i + 16 <= Count; i += 16) {
    auto equal = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(Load16(Out + i), Load16(Out + i - 4))));
    score += static_cast<std::size_t>(std::popcount(equal));
  }
#endif
  for (; i < Count; ++i) score += Out[i] == Out[i - 4];
  return score;
}

void TPngRowConverter::Select(TPngConversion Kind, int SampleDepth) {
  Depth = SampleDepth;
  bool wide = SampleDepth == 16;
  switch (Kind) {
    case pcCopy:
      Convert = ConvCopy;
      break;
    case pcDepth2ToNibble:
      Convert = ConvDepth2ToNibble;
      break;
    case pcGrey16ToIndex:
      Convert = ConvGrey16ToIndex;
      break;
    case pcRGB:
      Convert = wide ? PickRGB<2>(UseGamma) : PickRGB<1>(UseGamma);
      break;
    case pcRGBA:
      Convert = wide ? PickRGBA<2>(UseGamma) : PickRGBA<1>(UseGamma);
      break;
    case pcGreyAlpha:
      Convert = wide ? PickGreyAlpha<2>(UseGamma) : PickGreyAlpha<1>(UseGamma);
      break;
    case pcLookup:
      Convert = SampleDepth == 1   ? ConvLookup<1>
                : SampleDepth == 2 ? ConvLookup<2>
                : SampleDepth == 4 ? ConvLookup<4>
                                   : ConvLookup<8>;
      break;
    case pcGrey16Key:
      Convert = UseGamma ? ConvGrey16Key<true> : ConvGrey16Key<false>;
      break;
    case pcRGBKey:
      Convert = wide ? (UseGamma ? ConvRGBKey<2, true> : ConvRGBKey<2, false>)
                     : (UseGamma ? ConvRGBKey<1, true> : ConvRGBKey<1, false>);
      break;
  }
}

void PngScatterRow(const std::uint8_t* Src, std::uint8_t* Dst, int Count, int X0, int DX, int Bits) {
  switch (Bits) {
    case 32:
      for (int i = 0, x = X0; i < Count; ++i, x += DX) std::memcpy(Dst + 4 * x, Src + 4 * i, 4);
      break;
    case 24:
      for (int i = 0, x = X0; i < Count; ++i, x += DX) std::memcpy(Dst + 3 * x, Src + 3 * i, 3);
      break;
    case 8:
      for (int i = 0, x = X0; i < Count; ++i, x += DX) Dst[x] = Src[i];
      break;
    case 4:
      for (int i = 0, x = X0; i < Count; ++i, x += DX) {
        int v = (Src[i / 2] >> ((i & 1) ? 0 : 4)) & 15;
        int shift = (x & 1) ? 0 : 4;
        Dst[x / 2] = U8((Dst[x / 2] & ~(15 << shift)) | (v << shift));
      }
      break;
    default:
      for (int i = 0, x = X0; i < Count; ++i, x += DX) {
        int v = (Src[i / 8] >> (7 - i % 8)) & 1;
        int shift = 7 - x % 8;
        Dst[x / 8] = U8((Dst[x / 8] & ~(1 << shift)) | (v << shift));
      }
      break;
  }
}

void PngEncodeBGRA(const std::uint8_t* Src, std::uint8_t* Dst, int Count, const std::uint8_t* Gamma) {
  if (!Gamma) {
    for (int i = 0; i < Count; ++i) {
      std::uint32_t v;
      std::memcpy(&v, Src + 4 * i, 4);
      Put32(Dst + 4 * i, (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16));
    }
    return;
  }
  for (int i = 0; i < Count; ++i, Src += 4, Dst += 4) {
    Dst[0] = Gamma[Src[2]];
    Dst[1] = Gamma[Src[1]];
    Dst[2] = Gamma[Src[0]];
    Dst[3] = Src[3];
  }
}

void PngEncodeBGR(const std::uint8_t* Src, std::uint8_t* Dst, int Count, const std::uint8_t* Gamma) {
  for (int i = 0; i < Count; ++i, Src += 3, Dst += 3) {
    std::uint8_t b = Src[0], g = Src[1], r = Src[2];
    if (Gamma) {
      r = Gamma[r];
      g = Gamma[g];
      b = Gamma[b];
    }
    Dst[0] = r;
    Dst[1] = g;
    Dst[2] = b;
  }
}
