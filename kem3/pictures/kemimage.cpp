// Pixel operations with per-pixel alpha, alpha blending, corner colours and
// tile placement. Rows are reached through one pointer and the stride (the
// picture lies bottom-up and contiguous), so no routine flushes per row.
#include "kem3/pictures/kemimage.h"

#include <algorithm>
#include <cstring>

#include "kem3/pictures/kemimage_rows.h"
#include "platform/mathutils.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

void MakeBitmap32(TBitmap& Bitmap) {
  TPixelFormat old = Bitmap.PixelFormat();
  if (old == pf32bit) return;
  Bitmap.SetPixelFormat(pf32bit);
  if (old == pfDevice || Bitmap.Empty()) return;
  // A picture without alpha is transparent until someone gives it alpha.
  TPixelRows rows(Bitmap);
  for (int y = 0; y < rows.Height; ++y) {
    std::uint8_t* row = rows.Row(y);
    for (int x = 0; x < rows.Width; ++x) row[4 * x + 3] = 0;
  }
}

TColor MidColor(TColor Base, TColor Other) {
  const TColor a = ColorToRGB(Base), b = ColorToRGB(Other);
  auto mid = [](int f, int h) { return f + (h - f) / 2; };
  return RGBColor(mid(GetRed(a), GetRed(b)), mid(GetGreen(a), GetGreen(b)), mid(GetBlue(a), GetBlue(b)));
}

std::unique_ptr<TBitmap> CreateBitmapLike(const TBitmap& Bitmap) {
  auto result = std::make_unique<TBitmap>();
  result->SetPixelFormat(Bitmap.PixelFormat());
  if (!Bitmap.ColorTable().empty()) result->SetColorTable(Bitmap.ColorTable());
  result->SetSize(Bitmap.Width(), Bitmap.Height());
  return result;
}

TColor GetCornerColor(const TBitmap& Bitmap) {
  if (Bitmap.Empty()) return 0;
  int r = Bitmap.Width() - 1, b = Bitmap.Height() - 1;
  TColor topLeft = Bitmap.PixelColor(0, 0);
  if (topLeft == Bitmap.PixelColor(r, 0) && topLeft == Bitmap.PixelColor(0, b)) return topLeft;
  return Bitmap.PixelColor(r, b);
}

void SetCornerTransparentColor(TBitmap& Bitmap) {
  if (Bitmap.TransparentColor() == clDefault) Bitmap.SetTransparentColor(GetCornerColor(Bitmap));
}

int GetImageSize(const TBitmap& Bitmap) {
  // The bitmap layer pads rows the same way and counts 15/16-bit pixels as two bytes.
  return static_cast<int>(BytesPerScanLine(Bitmap.Width(), BitsPerPixel(Bitmap.PixelFormat())) * Bitmap.Height());
}

void InvertBitmap(TBitmap& Bitmap) {
  MakeBitmap32(Bitmap);
  if (Bitmap.Empty()) return;
  TPixelRows rows(Bitmap);
  for (int y = 0; y < rows.Height; ++y) {
    std::uint8_t* row = rows.Row(y);
    for (int i = 0; i < 4 * rows.Width; ++i) row[i] = static_cast<std::uint8_t>(~row[i]);
  }
}

void CopyChannelToAlpha(TBitmap& Dest, TBitmap& Source, int Channel) {
  if (Channel < 0 || Channel > 3) throw EInvalidGraphicOperation("Invalid colour channel");
  MakeBitmap32(Dest);
  MakeBitmap32(Source);
  int w = std::min(Dest.Width(), Source.Width()), h = std::min(Dest.Height(), Source.Height());
  if (w <= 0 || h <= 0) return;
  TPixelRows d(Dest), s(Source);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* out = d.Row(y);
    const std::uint8_t* in = s.Row(y);
    for (int x = 0; x < w; ++x) out[4 * x + 3] = in[4 * x + Channel];
  }
}

void AlphaToGrey(TBitmap& Dest, TBitmap& Source) {
  MakeBitmap32(Dest);
  MakeBitmap32(Source);
  int w = std::min(Dest.Width(), Source.Width()), h = std::min(Dest.Height(), Source.Height());
  if (w <= 0 || h <= 0) return;
  TPixelRows d(Dest), s(Source);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* out = d.Row(y);
    const std::uint8_t* in = s.Row(y);
    for (int x = 0; x < w; ++x) std::memset(out + 4 * x, in[4 * x + 3], 4);
  }
}

std::uint8_t GetPixelAlpha(const TBitmap& Bitmap, int X, int Y) {
  if (X < 0 || Y < 0 || X >= Bitmap.Width() || Y >= Bitmap.Height()) return 0;
  // Made pf32bit, any other format would have alpha 0.
  if (Bitmap.PixelFormat() != pf32bit && Bitmap.PixelFormat() != pfDevice) return 0;
  return static_cast<const std::uint8_t*>(Bitmap.ScanLine(Y))[4 * X + 3];
}

void ScaleAlpha(TBitmap& Bitmap, double Factor) {
  MakeBitmap32(Bitmap);
  if (Bitmap.Empty()) return;
  std::uint8_t table[256];
  for (int a = 0; a < 256; ++a)
    table[a] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(Round(a * Factor), 0, 255));
  TPixelRows rows(Bitmap);
  for (int y = 0; y < rows.Height; ++y) {
    std::uint8_t* row = rows.Row(y);
    for (int x = 0; x < rows.Width; ++x) row[4 * x + 3] = table[row[4 * x + 3]];
  }
}

namespace {

// Value I of a ramp of Count steps from First to Last (both ends exact).
std::uint8_t Ramp(int First, int Last, int I, int Count) {
  First = std::clamp(First, 0, 255);
  Last = std::clamp(Last, 0, 255);
  if (Count <= 1) return static_cast<std::uint8_t>(First);
  return static_cast<std::uint8_t>(First + static_cast<std::int64_t>(Last - First) * I / (Count - 1));
}

}  // namespace

void SetHorizontalAlphaGradient(TBitmap& Bitmap, int LeftAlpha, int RightAlpha) {
  MakeBitmap32(Bitmap);
  if (Bitmap.Empty()) return;
  TPixelRows rows(Bitmap);
  for (int y = 0; y < rows.Height; ++y) {
    std::uint8_t* row = rows.Row(y);
    for (int x = 0; x < rows.Width; ++x) row[4 * x + 3] = Ramp(LeftAlpha, RightAlpha, x, rows.Width);
  }
}

void SetVerticalAlphaGradient(TBitmap& Bitmap, int TopAlpha, int BottomAlpha) {
  MakeBitmap32(Bitmap);
  if (Bitmap.Empty()) return;
  TPixelRows rows(Bitmap);
  for (int y = 0; y < rows.Height; ++y) {
    std::uint8_t* row = rows.Row(y);
    std::uint8_t alpha = Ramp(TopAlpha, BottomAlpha, y, rows.Height);
    for (int x = 0; x < rows.Width; ++x) row[4 * x + 3] = alpha;
  }
}

// ---- Blending --------------------------------------------------------------

namespace {

// (a s + (255 - a) d + 128) >> 8 on every channel at once: red and blue, then
// alpha and green, each pair in one 32-bit word. No lane can carry into the
// next: the largest lane value is 255 x 255 + 128.
std::uint32_t Mix(std::uint32_t D, std::uint32_t S, std::uint32_t A) {
  std::uint32_t na = 255 - A;
  std::uint32_t rb = (((S & 0x00FF00FFu) * A + (D & 0x00FF00FFu) * na + 0x00800080u) >> 8) & 0x00FF00FFu;
  std::uint32_t ag = (((S >> 8) & 0x00FF00FFu) * A + ((D >> 8) & 0x00FF00FFu) * na + 0x00800080u) & 0xFF00FF00u;
  return rb | ag;
}

void BlendRowPlain(std::uint8_t* Dest, const std::uint8_t* Source, int Count, int Opacity) {
  for (int i = 0; i < Count; ++i) {
    std::uint32_t d, s;
    std::memcpy(&d, Dest + 4 * i, 4);
    std::memcpy(&s, Source + 4 * i, 4);
    d = Opacity < 0 ? BlendPixel(d, s) : BlendPixelOpacity(d, s, Opacity);
    std::memcpy(Dest + 4 * i, &d, 4);
  }
}

#if defined(__SSE2__)
// Four pixels at a time with the same arithmetic in 16-bit lanes (the largest
// intermediate, 65153, fits); alpha 255 and alpha 0 are then selected as copy and keep.
void BlendRowSse2(std::uint8_t* Dest, const std::uint8_t* Source, int Count, int Opacity) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i full = _mm_set1_epi16(255);
  const __m128i half = _mm_set1_epi16(128);
  const __m128i opacity = _mm_set1_epi16(static_cast<short>(Opacity < 0 ? 0 : Opacity));
  int i = 0;
  for (; i + 4 <= Count; i += 4) {
    __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Source + 4 * i));
    __m128i salpha = _mm_and_si128(s, alphaMask);
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Dest + 4 * i));
    // Alpha of each pixel in all four 16-bit lanes of its half.
    __m128i a32 = _mm_srli_epi32(s, 24);
    __m128i keep, copy;
    if (Opacity < 0) {
      keep = _mm_cmpeq_epi32(salpha, zero);
      copy = _mm_cmpeq_epi32(salpha, alphaMask);
    } else {
      // (a o) >> 8 fits 16 bits; a o < 256 exactly when that is 0. It never reaches 255.
      __m128i ao = _mm_srli_epi16(_mm_mullo_epi16(a32, opacity), 8);
      a32 = ao;
      keep = _mm_cmpeq_epi32(ao, zero);
      copy = zero;
    }
    if (_mm_movemask_epi8(keep) == 0xFFFF) continue;
    __m128i a16 = _mm_packs_epi32(a32, a32);     // a0 a1 a2 a3 a0 a1 a2 a3
    __m128i alo = _mm_unpacklo_epi16(a16, a16);  // a0 a0 a1 a1 a2 a2 a3 a3
    __m128i a01 = _mm_unpacklo_epi32(alo, alo);  // a0 x4, a1 x4
    __m128i a23 = _mm_unpackhi_epi32(alo, alo);  // a2 x4, a3 x4
    auto mix = [&](__m128i sw, __m128i dw, __m128i aw) {
      __m128i v = _mm_add_epi16(_mm_mullo_epi16(sw, aw), _mm_mullo_epi16(dw, _mm_sub_epi16(full, aw)));
      return _mm_srli_epi16(_mm_add_epi16(v, half), 8);
    };
    __m128i lo = mix(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), a01);
    __m128i hi = mix(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), a23);
    __m128i mixed = _mm_packus_epi16(lo, hi);
    __m128i result = _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, mixed));
    result = _mm_or_si128(_mm_and_si128(copy, s), _mm_andnot_si128(copy, result));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dest + 4 * i), result);
  }
  BlendRowPlain(Dest + 4 * i, Source + 4 * i, Count - i, Opacity);
}
#endif

using TBlendRow = void (*)(std::uint8_t* Dest, const std::uint8_t* Source, int Count, int Opacity);

// Chosen once: the vector blender where the processor has it.
TBlendRow RowBlender() {
#if defined(__SSE2__)
  static const TBlendRow blender = BlendRowSse2;
#else
  static const TBlendRow blender = BlendRowPlain;
#endif
  return blender;
}

// Opacity -1: the source alpha as it is.
void BlendRect(TBitmap& Dest, int X, int Y, int Opacity, const TRect& SourceRect, TBitmap& Source) {
  if (&Dest == &Source) {
    TBitmap copy;
    copy.Assign(Source);
    BlendRect(Dest, X, Y, Opacity, SourceRect, copy);
    return;
  }
  MakeBitmap32(Dest);
  MakeBitmap32(Source);
  // The source rectangle within the source, then its place within the dest (64-bit: no overflow).
  std::int64_t sl = std::max<std::int64_t>(SourceRect.Left, 0), st = std::max<std::int64_t>(SourceRect.Top, 0);
  std::int64_t sr = std::min<std::int64_t>(SourceRect.Right, Source.Width());
  std::int64_t sb = std::min<std::int64_t>(SourceRect.Bottom, Source.Height());
  if (sr <= sl || sb <= st) return;
  std::int64_t x = std::int64_t{X} + (sl - SourceRect.Left), y = std::int64_t{Y} + (st - SourceRect.Top);
  std::int64_t left = std::max<std::int64_t>(x, 0), top = std::max<std::int64_t>(y, 0);
  std::int64_t right = std::min<std::int64_t>(x + (sr - sl), Dest.Width());
  std::int64_t bottom = std::min<std::int64_t>(y + (sb - st), Dest.Height());
  if (right <= left || bottom <= top) return;
  auto sx = static_cast<int>(sl + (left - x)), sy = static_cast<int>(st + (top - y));
  TPixelRows d(Dest), s(Source);
  TBlendRow blend = RowBlender();
  auto count = static_cast<int>(right - left);
  for (auto row = static_cast<int>(top); row < bottom; ++row, ++sy)
    blend(d.Row(row) + 4 * left, s.Row(sy) + 4 * std::int64_t{sx}, count, Opacity);
}

}  // namespace

std::uint32_t BlendPixel(std::uint32_t Dest, std::uint32_t Source) {
  std::uint32_t a = Source >> 24;
  if (a == 255) return Source;
  if (a == 0) return Dest;
  return Mix(Dest, Source, a);
}

std::uint32_t BlendPixelOpacity(std::uint32_t Dest, std::uint32_t Source, int Opacity) {
  std::uint32_t ao = (Source >> 24) * static_cast<std::uint32_t>(std::clamp(Opacity, 0, 255));
  if (ao < 256) return Dest;
  return Mix(Dest, Source, ao >> 8);
}

void AlphaBlendBitmap(TBitmap& Dest, int X, int Y, TBitmap& Source) {
  BlendRect(Dest, X, Y, -1, Rect(0, 0, Source.Width(), Source.Height()), Source);
}

void AlphaBlendBitmapOpacity(TBitmap& Dest, int X, int Y, int Opacity, TBitmap& Source) {
  BlendRect(Dest, X, Y, std::clamp(Opacity, 0, 255), Rect(0, 0, Source.Width(), Source.Height()), Source);
}

void AlphaBlendBitmapRect(TBitmap& Dest, int X, int Y, const TRect& SourceRect, TBitmap& Source) {
  BlendRect(Dest, X, Y, -1, SourceRect, Source);
}

void AlphaBlendBitmapRectOpacity(TBitmap& Dest, int X, int Y, int Opacity, const TRect& SourceRect, TBitmap& Source) {
  BlendRect(Dest, X, Y, std::clamp(Opacity, 0, 255), SourceRect, Source);
}

TPoint TileGridOrigin(const TRect& Rect, int TileWidth, int TileHeight, int OffsetX, int OffsetY) {
  auto wrap = [](int Offset, int Size) {
    return Size <= 0 ? 0 : static_cast<int>((std::int64_t{Offset} % Size + Size) % Size);
  };
  return {Rect.Left - wrap(OffsetX, TileWidth), Rect.Top - wrap(OffsetY, TileHeight)};
}
