// Filtered resampling in two passes. The contributors of each axis are worked
// out once. The horizontal pass fills work rows (four bytes per pixel) on
// demand, into a ring just deep enough for the rows one destination row
// needs, so the work stays in the cache instead of filling a picture of its
// own. Every channel is the single-precision sum of its contributors in the
// order of the contributor list, whichever code path computes it, so the
// vector and the portable paths give the same bytes.
#include "kem3/pictures/kemresample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <numbers>

#include "kem3/pictures/kemimage_rows.h"
#include "platform/bitmap_pixels.h"
#include "platform/graphics.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr double kSupports[kResampleFilterCount] = {0.5, 1.0, 1.0, 1.5, 2.0, 3.0, 2.0};

// sinc(x) sinc(x / 3) with one sine: sin(pi x) = sin(3t) = s (3 - 4 s^2) for t = pi x / 3, s = sin t.
double Lanczos3(double X) {
  if (X == 0) return 1;
  double t = X * (std::numbers::pi / 3);
  double s = std::sin(t);
  return s * (3 - 4 * s * s) * s / (3 * t * t);
}

// An index of the row mirrored back into 0..Size-1: -1 reads pixel 1 and Size
// reads Size-1. A source narrower than the filter mirrors some indices past
// the other end, so they are clamped too.
int MirrorIndex(std::int64_t J, int Size) {
  if (J < 0) J = -J;
  if (J >= Size) J = 2 * static_cast<std::int64_t>(Size) - 1 - J;
  return static_cast<int>(std::clamp<std::int64_t>(J, 0, Size - 1));
}

// The contributors of one axis, and for the vector kernels the same list with
// an equal number of taps per destination pixel: the shorter lists are padded
// at their end with weight 0 on pixel 0, and adding 0 x p to a sum leaves
// every rounded result as it was.
struct TAxis {
  TResampleContributors List;
  int Taps = 0;
  std::vector<int> Offset;  // Taps per destination pixel: 4 x the source pixel
  std::vector<float> Weight;
};

TAxis MakeAxis(int SourceSize, int DestSize, int Filter, bool Padded) {
  TAxis axis;
  axis.List = ResampleContributors(SourceSize, DestSize, Filter);
  if (!Padded) return axis;
  for (int i = 0; i < DestSize; ++i) axis.Taps = std::max(axis.Taps, axis.List.Count(i));
  auto size = static_cast<std::size_t>(DestSize) * static_cast<std::size_t>(axis.Taps);
  axis.Offset.assign(size, 0);
  axis.Weight.assign(size, 0.0f);
  for (int i = 0; i < DestSize; ++i) {
    auto first = static_cast<std::size_t>(axis.List.First[static_cast<std::size_t>(i)]);
    auto count = static_cast<std::size_t>(axis.List.Count(i));
    std::size_t at = static_cast<std::size_t>(i) * static_cast<std::size_t>(axis.Taps);
    for (std::size_t k = 0; k < count; ++k) {
      axis.Offset[at + k] = 4 * axis.List.Pixel[first + k];
      axis.Weight[at + k] = axis.List.Weight[first + k];
    }
  }
  return axis;
}

// Source row Y as four floats per pixel (blue, green, red, alpha; alpha 0 for
// the three-channel path, where it is never stored).
void RowToFloats(const TBitmap& Source, const TConstPixelRows& Rows, int Y, std::vector<TRGBQuad>& Decoded,
                 float* Out) {
  const std::uint8_t* row = Rows.Row(Y);
  int w = Source.Width();
  switch (Source.PixelFormat()) {
    case pf32bit:
    case pfDevice: {
      int x = 0;
#if defined(__SSE2__)
      const __m128i zero = _mm_setzero_si128();
      for (; x + 4 <= w; x += 4) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * x));
        __m128i lo = _mm_unpacklo_epi8(bytes, zero), hi = _mm_unpackhi_epi8(bytes, zero);
        float* o = Out + 4 * x;
        _mm_storeu_ps(o, _mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero)));
        _mm_storeu_ps(o + 4, _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero)));
        _mm_storeu_ps(o + 8, _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero)));
        _mm_storeu_ps(o + 12, _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero)));
      }
#endif
      for (int i = 4 * x; i < 4 * w; ++i) Out[i] = row[i];
      break;
    }
    case pf24bit:
      for (int x = 0; x < w; ++x) {
        Out[4 * x] = row[3 * x];
        Out[4 * x + 1] = row[3 * x + 1];
        Out[4 * x + 2] = row[3 * x + 2];
        Out[4 * x + 3] = 0;
      }
      break;
    default:
      DecodeRow(row, Source.PixelFormat(), Source.ColorTable(), Decoded);
      for (int x = 0; x < w; ++x) {
        Out[4 * x] = Decoded[static_cast<std::size_t>(x)].rgbBlue;
        Out[4 * x + 1] = Decoded[static_cast<std::size_t>(x)].rgbGreen;
        Out[4 * x + 2] = Decoded[static_cast<std::size_t>(x)].rgbRed;
        Out[4 * x + 3] = 0;
      }
      break;
  }
}

std::uint8_t RoundToByte(float Sum) {
  float r = std::nearbyint(Sum);  // ties to even, as the vector code rounds
  return r <= 0 ? 0 : r >= 255 ? 255 : static_cast<std::uint8_t>(r);
}

// One row of the horizontal pass: DestWidth pixels of four bytes.
void HorizontalRowPlain(const float* In, const TAxis& Axis, int DestWidth, std::uint8_t* Out) {
  const TResampleContributors& c = Axis.List;
  for (int i = 0; i < DestWidth; ++i) {
    float sum[4] = {0, 0, 0, 0};
    for (int k = c.First[static_cast<std::size_t>(i)], end = c.First[static_cast<std::size_t>(i) + 1]; k < end; ++k) {
      const float* p = In + 4 * c.Pixel[static_cast<std::size_t>(k)];
      for (int ch = 0; ch < 4; ++ch) sum[ch] += c.Weight[static_cast<std::size_t>(k)] * p[ch];
    }
    for (int ch = 0; ch < 4; ++ch) Out[4 * i + ch] = RoundToByte(sum[ch]);
  }
}

// One destination row of the vertical pass: each pixel's channels summed over the contributor rows.
void VerticalRowPlain(const std::uint8_t* const* Rows, const float* Weights, int Count, int Pixels, int BytesPerPixel,
                      std::uint8_t* Out) {
  for (int x = 0; x < Pixels; ++x)
    for (int c = 0; c < BytesPerPixel; ++c) {
      float sum = 0;
      for (int k = 0; k < Count; ++k) sum += Weights[k] * Rows[k][4 * x + c];
      Out[BytesPerPixel * x + c] = RoundToByte(sum);
    }
}

#if defined(__SSE2__)
// Rounded (ties to even) and clamped to 0-255 by the saturating packs: the
// sums stay far inside the 32-bit range, as no filter's weights add up to more than a few.
inline __m128i PackSums(__m128 S0, __m128 S1, __m128 S2, __m128 S3) {
  return _mm_packus_epi16(_mm_packs_epi32(_mm_cvtps_epi32(S0), _mm_cvtps_epi32(S1)),
                          _mm_packs_epi32(_mm_cvtps_epi32(S2), _mm_cvtps_epi32(S3)));
}

// The four channels of a pixel in one register; four destination pixels at a
// time, so four independent sums are under way.
void HorizontalRowSse2(const float* In, const TAxis& Axis, int DestWidth, std::uint8_t* Out) {
  const std::size_t n = static_cast<std::size_t>(Axis.Taps);
  const int* offset = Axis.Offset.data();
  const float* weight = Axis.Weight.data();
  int i = 0;
  for (; i + 4 <= DestWidth; i += 4) {
    const int* o = offset + static_cast<std::size_t>(i) * n;
    const float* w = weight + static_cast<std::size_t>(i) * n;
    __m128 s0 = _mm_setzero_ps(), s1 = s0, s2 = s0, s3 = s0;
    for (std::size_t k = 0; k < n; ++k) {
      s0 = _mm_add_ps(s0, _mm_mul_ps(_mm_set1_ps(w[k]), _mm_loadu_ps(In + o[k])));
      s1 = _mm_add_ps(s1, _mm_mul_ps(_mm_set1_ps(w[n + k]), _mm_loadu_ps(In + o[n + k])));
      s2 = _mm_add_ps(s2, _mm_mul_ps(_mm_set1_ps(w[2 * n + k]), _mm_loadu_ps(In + o[2 * n + k])));
      s3 = _mm_add_ps(s3, _mm_mul_ps(_mm_set1_ps(w[3 * n + k]), _mm_loadu_ps(In + o[3 * n + k])));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4 * i), PackSums(s0, s1, s2, s3));
  }
  for (; i < DestWidth; ++i) {
    const int* o = offset + static_cast<std::size_t>(i) * n;
    const float* w = weight + static_cast<std::size_t>(i) * n;
    __m128 sum = _mm_setzero_ps();
    for (std::size_t k = 0; k < n; ++k) sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(w[k]), _mm_loadu_ps(In + o[k])));
    std::int32_t packed = _mm_cvtsi128_si32(PackSums(sum, sum, sum, sum));
    std::memcpy(Out + 4 * i, &packed, 4);
  }
}

// Eight pixels at a time, their sums kept in registers until stored.
void VerticalRowSse2(const std::uint8_t* const* Rows, const float* Weights, int Count, int Pixels, int BytesPerPixel,
                     std::uint8_t* Out) {
  const __m128i zero = _mm_setzero_si128();
  auto store = [&](int X, __m128i Packed) {
    if (BytesPerPixel == 4) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4 * X), Packed);
    } else {
      alignas(16) std::uint8_t quads[16];
      _mm_store_si128(reinterpret_cast<__m128i*>(quads), Packed);
      for (int i = 0; i < 4; ++i) std::memcpy(Out + 3 * (X + i), quads + 4 * i, 3);
    }
  };
  int x = 0;
  for (; x + 8 <= Pixels; x += 8) {
    __m128 s0 = _mm_setzero_ps(), s1 = s0, s2 = s0, s3 = s0, s4 = s0, s5 = s0, s6 = s0, s7 = s0;
    for (int k = 0; k < Count; ++k) {
      const __m128 w = _mm_set1_ps(Weights[k]);
      __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[k] + 4 * x));
      __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[k] + 4 * x + 16));
      __m128i alo = _mm_unpacklo_epi8(a, zero), ahi = _mm_unpackhi_epi8(a, zero);
      __m128i blo = _mm_unpacklo_epi8(b, zero), bhi = _mm_unpackhi_epi8(b, zero);
      s0 = _mm_add_ps(s0, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpacklo_epi16(alo, zero))));
      s1 = _mm_add_ps(s1, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpackhi_epi16(alo, zero))));
      s2 = _mm_add_ps(s2, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpacklo_epi16(ahi, zero))));
      s3 = _mm_add_ps(s3, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpackhi_epi16(ahi, zero))));
      s4 = _mm_add_ps(s4, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpacklo_epi16(blo, zero))));
      s5 = _mm_add_ps(s5, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpackhi_epi16(blo, zero))));
      s6 = _mm_add_ps(s6, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpacklo_epi16(bhi, zero))));
      s7 = _mm_add_ps(s7, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpackhi_epi16(bhi, zero))));
    }
    store(x, PackSums(s0, s1, s2, s3));
    store(x + 4, PackSums(s4, s5, s6, s7));
  }
  for (; x + 4 <= Pixels; x += 4) {
    __m128 s0 = _mm_setzero_ps(), s1 = s0, s2 = s0, s3 = s0;
    for (int k = 0; k < Count; ++k) {
      const __m128 w = _mm_set1_ps(Weights[k]);
      __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Rows[k] + 4 * x));
      __m128i lo = _mm_unpacklo_epi8(bytes, zero), hi = _mm_unpackhi_epi8(bytes, zero);
      s0 = _mm_add_ps(s0, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpacklo_epi16(lo, zero))));
      s1 = _mm_add_ps(s1, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpackhi_epi16(lo, zero))));
      s2 = _mm_add_ps(s2, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpacklo_epi16(hi, zero))));
      s3 = _mm_add_ps(s3, _mm_mul_ps(w, _mm_cvtepi32_ps(_mm_unpackhi_epi16(hi, zero))));
    }
    store(x, PackSums(s0, s1, s2, s3));
  }
  for (; x < Pixels; ++x) {
    __m128 sum = _mm_setzero_ps();
    for (int k = 0; k < Count; ++k) {
      std::int32_t quad;
      std::memcpy(&quad, Rows[k] + 4 * x, 4);
      __m128i v = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(quad), zero), zero);
      sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(Weights[k]), _mm_cvtepi32_ps(v)));
    }
    std::int32_t packed = _mm_cvtsi128_si32(PackSums(sum, sum, sum, sum));
    std::memcpy(Out + BytesPerPixel * x, &packed, static_cast<std::size_t>(BytesPerPixel));
  }
}
#endif

struct TRowKernels {
  bool Padded;  // the horizontal kernel reads the padded taps
  void (*Horizontal)(const float* In, const TAxis& Axis, int DestWidth, std::uint8_t* Out);
  void (*Vertical)(const std::uint8_t* const* Rows, const float* Weights, int Count, int Pixels, int BytesPerPixel,
                   std::uint8_t* Out);
};

constexpr TRowKernels kPlainKernels{false, HorizontalRowPlain, VerticalRowPlain};
#if defined(__SSE2__)
constexpr TRowKernels kFastKernels{true, HorizontalRowSse2, VerticalRowSse2};
#else
constexpr TRowKernels kFastKernels = kPlainKernels;
#endif

// The work rows of the horizontal pass (destination width x source height,
// four bytes per pixel), made when first asked for. Slot y mod Depth holds
// row y; Depth covers the widest span of rows that one destination row
// reads, so the rows of one destination row never push each other out.
class TWorkRows {
 public:
  TWorkRows(const TBitmap& Source, const TAxis& Across, const TResampleContributors& Down, int DestWidth,
            const TRowKernels& Kernels)
      : FSource(Source),
        FRows(Source),
        FAcross(Across),
        FKernels(Kernels),
        FDestWidth(DestWidth),
        FFloats(static_cast<std::size_t>(Source.Width()) * 4),
        FDecoded(static_cast<std::size_t>(Source.Width())) {
    for (std::size_t i = 0; i + 1 < Down.First.size(); ++i) {
      auto first = Down.Pixel.begin() + Down.First[i], last = Down.Pixel.begin() + Down.First[i + 1];
      if (first == last) continue;
      auto [lo, hi] = std::minmax_element(first, last);
      FDepth = std::max(FDepth, *hi - *lo + 1);
    }
    FStride = static_cast<std::size_t>(DestWidth) * 4;
    FSlots.assign(static_cast<std::size_t>(FDepth), -1);
    // Left uninitialised: a slot is written whole before it is read.
    FMemory.reset(new std::uint8_t[FStride * static_cast<std::size_t>(FDepth)]);
  }

  const std::uint8_t* Row(int Y) {
    auto slot = static_cast<std::size_t>(Y % FDepth);
    std::uint8_t* row = FMemory.get() + FStride * slot;
    if (FSlots[slot] != Y) {
      RowToFloats(FSource, FRows, Y, FDecoded, FFloats.data());
      FKernels.Horizontal(FFloats.data(), FAcross, FDestWidth, row);
      FSlots[slot] = Y;
    }
    return row;
  }

 private:
  const TBitmap& FSource;
  TConstPixelRows FRows;
  const TAxis& FAcross;
  const TRowKernels& FKernels;
  int FDestWidth;
  int FDepth = 1;
  std::size_t FStride = 0;
  std::vector<int> FSlots;  // the source row each slot holds, -1 for none
  std::unique_ptr<std::uint8_t[]> FMemory;
  std::vector<float> FFloats;
  std::vector<TRGBQuad> FDecoded;
};

void Resample(TBitmap& Dest, const TBitmap& Source, int Filter, const TRowKernels& Kernels) {
  if (Source.Width() <= 0 || Source.Height() <= 0) throw EInvalidGraphicOperation("Source bitmap too small");
  int filter = CheckResampleFilter(Filter);
  int dw = Dest.Width(), dh = Dest.Height();
  if (dw <= 0 || dh <= 0) return;
  if (&Dest == &Source) {
    TBitmap copy;
    copy.Assign(Source);
    Resample(Dest, copy, Filter, Kernels);
    return;
  }
  int sw = Source.Width(), sh = Source.Height();
  bool four = BitsPerPixel(Source.PixelFormat()) == 32;
  TAxis across = MakeAxis(sw, dw, filter, Kernels.Padded);
  TResampleContributors down = ResampleContributors(sh, dh, filter);
  TWorkRows work(Source, across, down, dw, Kernels);

  // Every destination pixel is written below: a new format needs no conversion of the old pixels.
  TPixelFormat format = four ? pf32bit : pf24bit;
  if (Dest.PixelFormat() != format) {
    Dest.SetSize(0, 0);
    Dest.SetPixelFormat(format);
    Dest.SetSize(dw, dh);
  }
  auto* top = static_cast<std::uint8_t*>(Dest.ScanLine(0));
  std::ptrdiff_t stride = Dest.ScanLineSize();
  std::vector<const std::uint8_t*> rows;
  for (int i = 0; i < dh; ++i) {
    auto first = static_cast<std::size_t>(down.First[static_cast<std::size_t>(i)]);
    auto count = static_cast<std::size_t>(down.Count(i));
    rows.resize(count);
    for (std::size_t k = 0; k < count; ++k) rows[k] = work.Row(down.Pixel[first + k]);
    Kernels.Vertical(rows.data(), down.Weight.data() + first, static_cast<int>(count), dw, four ? 4 : 3,
                     top - stride * i);
  }
}

}  // namespace

int CheckResampleFilter(int Filter) {
  int filter = Filter & 0x7F;
  if (filter >= kResampleFilterCount) throw EInvalidGraphicOperation("Invalid resampling filter");
  return filter;
}

double ResampleFilterSupport(int Filter) { return kSupports[CheckResampleFilter(Filter)]; }

double ResampleFilterWeight(int Filter, double X) {
  double a = std::fabs(X);
  switch (CheckResampleFilter(Filter)) {
    case rfBox:
      return X > -0.5 && X <= 0.5 ? 1.0 : 0.0;
    case rfTriangle:
      return a < 1 ? 1 - a : 0.0;
    case rfHermite:
      return a < 1 ? (2 * a - 3) * a * a + 1 : 0.0;
    case rfBell:
      if (a < 0.5) return 0.75 - a * a;
      if (a < 1.5) return 0.5 * (a - 1.5) * (a - 1.5);
      return 0.0;
    case rfBSpline:
      if (a < 1) return a * a * a / 2 - a * a + 2.0 / 3.0;
      if (a < 2) return (2 - a) * (2 - a) * (2 - a) / 6;
      return 0.0;
    case rfLanczos3:
      return a < 3 ? Lanczos3(X) : 0.0;
    case rfMitchell:
      if (a < 1) return (7 * a * a * a - 12 * a * a + 16.0 / 3.0) / 6;
      if (a < 2) return (-7.0 / 3.0 * a * a * a + 12 * a * a - 20 * a + 32.0 / 3.0) / 6;
      return 0.0;
  }
  return 0.0;
}

TResampleContributors ResampleContributors(int SourceSize, int DestSize, int Filter) {
  int filter = CheckResampleFilter(Filter);
  TResampleContributors result;
  if (SourceSize < 1 || DestSize < 1) return result;
  // A one-pixel source or destination has no "last pixel to last pixel" span, so its scale is the size ratio.
  double scale = SourceSize == 1 || DestSize == 1 ? static_cast<double>(DestSize) / SourceSize
                                                  : static_cast<double>(DestSize - 1) / (SourceSize - 1);
  // Shrinking widens the filter over the source and flattens it to match.
  double width = kSupports[filter], filterScale = 1.0;
  if (scale < 1) {
    width /= scale;
    filterScale = scale;
  }
  // Room for the usual lists; a source narrower than the filter grows them further.
  double perPixel = std::min(2 * width + 2, 2.0 * SourceSize + 8);
  auto expected = static_cast<std::size_t>(std::min(DestSize * perPixel, 16.0 * 1024 * 1024));
  result.First.reserve(static_cast<std::size_t>(DestSize) + 1);
  result.Pixel.reserve(expected);
  result.Weight.reserve(expected);
  for (int i = 0; i < DestSize; ++i) {
    if (result.Pixel.size() > static_cast<std::size_t>(std::numeric_limits<int>::max() / 2))
      throw EOutOfResources("Picture too large to resample");
    result.First.push_back(static_cast<int>(result.Pixel.size()));
    double centre = i / scale;
    auto left = static_cast<std::int64_t>(std::floor(centre - width));
    auto right = static_cast<std::int64_t>(std::ceil(centre + width));
    for (std::int64_t j = left; j <= right; ++j) {
      auto weight = static_cast<float>(ResampleFilterWeight(filter, (centre - static_cast<double>(j)) * filterScale) *
                                       filterScale);
      if (weight == 0) continue;
      result.Pixel.push_back(MirrorIndex(j, SourceSize));
      result.Weight.push_back(weight);
    }
  }
  result.First.push_back(static_cast<int>(result.Pixel.size()));
  return result;
}

// The support asked for only widens the scan over weights of 0 (see ResampleContributors).
void ResampleBitmap(TBitmap& Dest, const TBitmap& Source, int Filter, double /*Support*/) {
  try {
    Resample(Dest, Source, Filter, kFastKernels);
  } catch (const std::bad_alloc&) {
    throw EOutOfResources("Out of memory while resampling");
  }
}

void ResampleBitmapPortable(TBitmap& Dest, const TBitmap& Source, int Filter, double /*Support*/) {
  try {
    Resample(Dest, Source, Filter, kPlainKernels);
  } catch (const std::bad_alloc&) {
    throw EOutOfResources("Out of memory while resampling");
  }
}
