#include "kem3/pictures/kemresample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

// A one-row or one-column pf32bit bitmap whose blue channel holds Values
// (green, red and alpha hold fixed transforms of them).
std::unique_ptr<TBitmap> Strip(const std::vector<int>& Values, bool Vertical = false) {
  auto result = std::make_unique<TBitmap>();
  TBitmap& b = *result;
  b.SetPixelFormat(pf32bit);
  int n = static_cast<int>(Values.size());
  b.SetSize(Vertical ? 1 : n, Vertical ? n : 1);
  for (int i = 0; i < n; ++i) {
    auto* p = static_cast<std::uint8_t*>(b.ScanLine(Vertical ? i : 0)) + (Vertical ? 0 : 4 * i);
    p[0] = static_cast<std::uint8_t>(Values[static_cast<std::size_t>(i)]);
    p[1] = static_cast<std::uint8_t>(Values[static_cast<std::size_t>(i)] / 2);
    p[2] = static_cast<std::uint8_t>(255 - Values[static_cast<std::size_t>(i)]);
    p[3] = 255;
  }
  return result;
}

std::vector<int> Blue(const TBitmap& b) {
  std::vector<int> out;
  int bytes = BitsPerPixel(b.PixelFormat()) / 8;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(static_cast<const std::uint8_t*>(b.ScanLine(y))[bytes * x]);
  return out;
}

std::unique_ptr<TBitmap> Sized(int W, int H, TPixelFormat Format = pf32bit) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(Format);
  b->SetSize(W, H);
  return b;
}

void FillRandom(TBitmap& b, unsigned Seed) {
  std::mt19937 random(Seed);
  int bytes = BitsPerPixel(b.PixelFormat()) / 8;
  for (int y = 0; y < b.Height(); ++y) {
    auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
    for (int i = 0; i < b.Width() * bytes; ++i) row[i] = static_cast<std::uint8_t>(random());
  }
}

std::vector<std::uint8_t> Bytes(const TBitmap& b) {
  std::vector<std::uint8_t> out;
  int used = b.Width() * BitsPerPixel(b.PixelFormat()) / 8;
  for (int y = 0; y < b.Height(); ++y) {
    auto* row = static_cast<const std::uint8_t*>(b.ScanLine(y));
    out.insert(out.end(), row, row + used);
  }
  return out;
}

// The resampler written plainly, pixel by pixel and channel by channel, with
// the same single-precision sums in the same order: the optimised passes must
// give exactly these bytes.
std::vector<std::uint8_t> PlainResample(const TBitmap& Source, int DW, int DH, int Filter, double Support) {
  int sw = Source.Width(), sh = Source.Height();
  int channels = BitsPerPixel(Source.PixelFormat()) == 32 ? 4 : 3;
  int inBytes = BitsPerPixel(Source.PixelFormat()) / 8;
  Support = std::max(Support, ResampleFilterSupport(Filter));
  struct TTap {
    int Pixel;
    float Weight;
  };
  auto taps = [&](int n, int d, int i) {
    double scale = n == 1 || d == 1 ? double(d) / n : double(d - 1) / (n - 1);
    double width = scale < 1 ? Support / scale : Support, fs = scale < 1 ? scale : 1.0;
    double centre = i / scale;
    std::vector<TTap> out;
    for (auto j = static_cast<long long>(std::floor(centre - width)); j <= std::ceil(centre + width); ++j) {
      auto w = static_cast<float>(ResampleFilterWeight(Filter, (centre - double(j)) * fs) * fs);
      if (w == 0) continue;
      long long m = j < 0 ? -j : j;
      if (m >= n) m = 2LL * n - 1 - m;
      m = std::min<long long>(std::max<long long>(m, 0), n - 1);
      out.push_back({static_cast<int>(m), w});
    }
    return out;
  };
  auto toByte = [](float s) {
    float r = std::nearbyint(s);
    return static_cast<std::uint8_t>(r < 0 ? 0 : r > 255 ? 255 : r);
  };
  std::vector<std::uint8_t> work(static_cast<std::size_t>(DW) * sh * 4);
  for (int y = 0; y < sh; ++y)
    for (int i = 0; i < DW; ++i)
      for (int c = 0; c < channels; ++c) {
        float sum = 0;
        for (TTap t : taps(sw, DW, i))
          sum += t.Weight * static_cast<const std::uint8_t*>(Source.ScanLine(y))[inBytes * t.Pixel + c];
        work[(static_cast<std::size_t>(y) * DW + i) * 4 + c] = toByte(sum);
      }
  std::vector<std::uint8_t> out(static_cast<std::size_t>(DW) * DH * channels);
  for (int i = 0; i < DH; ++i) {
    std::vector<TTap> t = taps(sh, DH, i);
    for (int x = 0; x < DW; ++x)
      for (int c = 0; c < channels; ++c) {
        float sum = 0;
        for (std::size_t k = 0; k < t.size(); ++k)
          sum = k == 0 ? t[k].Weight * work[(static_cast<std::size_t>(t[k].Pixel) * DW + x) * 4 + c]
                       : sum + t[k].Weight * work[(static_cast<std::size_t>(t[k].Pixel) * DW + x) * 4 + c];
        out[(static_cast<std::size_t>(i) * DW + x) * channels + c] = toByte(sum);
      }
  }
  return out;
}

}  // namespace

TEST(ResampleFilters, WeightsAtKnownDistances) {
  EXPECT_EQ(ResampleFilterWeight(rfBox, 0.5), 1.0);
  EXPECT_EQ(ResampleFilterWeight(rfBox, -0.5), 0.0);  // the interval is open on the left
  EXPECT_EQ(ResampleFilterWeight(rfBox, 0.51), 0.0);
  EXPECT_DOUBLE_EQ(ResampleFilterWeight(rfTriangle, -0.25), 0.75);
  EXPECT_EQ(ResampleFilterWeight(rfTriangle, 1.0), 0.0);
  EXPECT_DOUBLE_EQ(ResampleFilterWeight(rfHermite, 0.5), 0.5);
  EXPECT_DOUBLE_EQ(ResampleFilterWeight(rfHermite, 0.25), 0.84375);
  EXPECT_DOUBLE_EQ(ResampleFilterWeight(rfBell, 0.0), 0.75);
  EXPECT_DOUBLE_EQ(ResampleFilterWeight(rfBell, 1.0), 0.125);
  EXPECT_DOUBLE_EQ(ResampleFilterWeight(rfBell, 0.5), 0.5);
  EXPECT_EQ(ResampleFilterWeight(rfBell, 1.5), 0.0);
  EXPECT_DOUBLE_EQ(ResampleFilterWeight(rfBSpline, 0.0), 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(ResampleFilterWeight(rfBSpline, -1.0), 1.0 / 6.0);
  EXPECT_EQ(ResampleFilterWeight(rfBSpline, 2.0), 0.0);
  EXPECT_EQ(ResampleFilterWeight(rfLanczos3, 0.0), 1.0);
  EXPECT_NEAR(ResampleFilterWeight(rfLanczos3, 0.5), 0.6079271, 1e-7);
  EXPECT_NEAR(ResampleFilterWeight(rfLanczos3, -1.5), -0.1350949, 1e-7);
  EXPECT_NEAR(ResampleFilterWeight(rfLanczos3, 1.0), 0.0, 1e-15);
  EXPECT_EQ(ResampleFilterWeight(rfLanczos3, 3.0), 0.0);
  EXPECT_DOUBLE_EQ(ResampleFilterWeight(rfMitchell, 0.0), 8.0 / 9.0);
  EXPECT_NEAR(ResampleFilterWeight(rfMitchell, 1.0), 1.0 / 18.0, 1e-12);
  EXPECT_NEAR(ResampleFilterWeight(rfMitchell, 1.5), -0.0347222, 1e-7);
  EXPECT_EQ(ResampleFilterWeight(rfMitchell, 2.0), 0.0);
  const double supports[] = {0.5, 1.0, 1.0, 1.5, 2.0, 3.0, 2.0};
  for (int f = 0; f < kResampleFilterCount; ++f) EXPECT_EQ(ResampleFilterSupport(f), supports[f]);
}

TEST(ResampleFilters, IndexIsMaskedAndOutOfRangeRejected) {
  EXPECT_EQ(CheckResampleFilter(0x80 | rfLanczos3), rfLanczos3);
  for (int bad : {7, 0x7F, -1, 0xFF}) EXPECT_THROW(CheckResampleFilter(bad), EInvalidGraphicOperation) << bad;
  auto source = Strip({1, 2, 3}), dest = Sized(2, 1);
  EXPECT_THROW(ResampleBitmap(*dest, *source, 9, 0), EInvalidGraphicOperation);
}

TEST(ResampleContributors, EnlargingSplitsBetweenNeighbours) {
  TResampleContributors c = ResampleContributors(2, 3, rfTriangle);
  ASSERT_EQ(c.First, (std::vector<int>{0, 1, 3, 4}));
  EXPECT_EQ(c.Pixel, (std::vector<int>{0, 0, 1, 1}));
  EXPECT_EQ(c.Weight, (std::vector<float>{1, 0.5f, 0.5f, 1}));
}

TEST(ResampleContributors, IndicesBeforeAndAfterTheRowAreMirrored) {
  // Centre 0.5 of a 4-pixel row with Lanczos3: j = -2..3 (the distances 3.5 weigh 0).
  TResampleContributors c = ResampleContributors(4, 7, rfLanczos3);
  std::vector<int> second(c.Pixel.begin() + c.First[1], c.Pixel.begin() + c.First[2]);
  EXPECT_EQ(second, (std::vector<int>{2, 1, 0, 1, 2, 3}));
  // The last pixel (centre 3): j = n mirrors to n - 1, j = n + 1 to n - 2.
  std::vector<int> last(c.Pixel.begin() + c.First[6], c.Pixel.begin() + c.First[7]);
  EXPECT_EQ(last, (std::vector<int>{1, 2, 3, 3, 2}));
}

TEST(ResampleContributors, SourcesNarrowerThanTheFilterStayInside) {
  for (int filter = 0; filter < kResampleFilterCount; ++filter)
    for (int n : {1, 2, 3})
      for (int d : {1, 2, 5, 9}) {
        TResampleContributors c = ResampleContributors(n, d, filter);
        ASSERT_EQ(c.First.size(), static_cast<std::size_t>(d) + 1);
        for (int p : c.Pixel) EXPECT_TRUE(p >= 0 && p < n) << filter << " " << n << "->" << d << ": " << p;
      }
}

TEST(ResampleContributors, OnePixelDestinationUsesTheSizeRatio) {
  // Scale 1/4: the triangle spreads over four source pixels each way.
  TResampleContributors c = ResampleContributors(4, 1, rfTriangle);
  std::vector<float> perPixel(4);
  for (int k = c.First[0]; k < c.First[1]; ++k)
    perPixel[static_cast<std::size_t>(c.Pixel[static_cast<std::size_t>(k)])] += c.Weight[static_cast<std::size_t>(k)];
  EXPECT_EQ(perPixel, (std::vector<float>{0.25f, 0.375f, 0.25f, 0.125f}));
  auto source = Strip({0, 40, 80, 120}), dest = Sized(1, 1);
  ResampleBitmap(*dest, *source, rfTriangle, 0);
  EXPECT_EQ(Blue(*dest), (std::vector<int>{50}));
}

TEST(ResampleBitmap, TwoPixelsToThreeWithEachFilter) {
  // Hand-worked: unnormalised weights, -j and 2n-1-j mirroring (so the ends differ for wide filters).
  const std::vector<int> expected[] = {
      {0, 0, 200},     // box: the centre 0.5 belongs to the left pixel
      {0, 100, 200},   // triangle
      {0, 100, 200},   // Hermite
      {50, 100, 175},  // bell
      {67, 104, 167},  // B-spline
      {0, 72, 200},    // Lanczos3: a source narrower than its support
      {22, 93, 189},   // Mitchell
  };
  for (int filter = 0; filter < kResampleFilterCount; ++filter) {
    SCOPED_TRACE(filter);
    auto source = Strip({0, 200}), dest = Sized(3, 1);
    ResampleBitmap(*dest, *source, filter, 0);
    EXPECT_EQ(Blue(*dest), expected[filter]);
    auto column = Strip({0, 200}, true), tall = Sized(1, 3);
    ResampleBitmap(*tall, *column, filter, 0);
    EXPECT_EQ(Blue(*tall), expected[filter]);
  }
}

TEST(ResampleBitmap, LanczosAtTheSmallestSizes) {
  // 2 -> 1: scale 1/2, so the taps reach six pixels each way and pile up on
  // the two pixels by mirroring and clamping: 200 x 2 x sinc(0.5) sinc(1/6) / 2.
  auto pair = Strip({0, 200}), one = Sized(1, 1);
  ResampleBitmap(*one, *pair, rfLanczos3, 0);
  EXPECT_EQ(Blue(*one), std::vector<int>{122});
  // 2 -> 2: the weights at whole distances vanish, so the pixels come back.
  auto two = Sized(2, 1);
  ResampleBitmap(*two, *pair, rfLanczos3, 0);
  EXPECT_EQ(Blue(*two), (std::vector<int>{0, 200}));
  // 1 -> 4: every tap reads the one pixel; between whole distances the weights sum to a little under 1.
  for (bool vertical : {false, true}) {
    auto dot = Strip({90}, vertical), four = vertical ? Sized(1, 4) : Sized(4, 1);
    ResampleBitmap(*four, *dot, rfLanczos3, 0);
    EXPECT_EQ(Blue(*four), (std::vector<int>{90, 90, 89, 90})) << vertical;
  }
}

TEST(ResampleBitmap, TallAndLongSourcesMatchThePlainSums) {
  // Many source rows per destination row and the reverse: the work rows of
  // the first pass are made on demand and reused, never out of turn.
  struct {
    int SW, SH, DW, DH;
  } shapes[] = {{5, 301, 3, 7}, {4, 40, 6, 97}, {3, 200, 2, 1}, {300, 2, 9, 5}, {7, 64, 7, 63}};
  for (auto shape : shapes)
    for (int filter : {rfBox, rfLanczos3, rfMitchell}) {
      SCOPED_TRACE(testing::Message() << filter << ": " << shape.SW << "x" << shape.SH << " -> " << shape.DW << "x"
                                      << shape.DH);
      auto source = Sized(shape.SW, shape.SH), dest = Sized(shape.DW, shape.DH);
      FillRandom(*source, static_cast<unsigned>(shape.SH + filter));
      ResampleBitmap(*dest, *source, filter, 0);
      EXPECT_EQ(Bytes(*dest), PlainResample(*source, shape.DW, shape.DH, filter, 0));
    }
}

TEST(ResampleBitmap, SumsAreRoundedAndClamped) {
  // Lanczos3 overshoots at a hard edge: beyond 255 and below 0.
  auto source = Strip({0, 0, 0, 255, 255, 255}), dest = Sized(11, 1);
  ResampleBitmap(*dest, *source, rfLanczos3, 0);
  std::vector<int> blue = Blue(*dest);
  EXPECT_EQ(blue.front(), 0);
  EXPECT_EQ(blue.back(), 255);
  EXPECT_EQ(Bytes(*dest), PlainResample(*source, 11, 1, rfLanczos3, 0));
}

TEST(ResampleBitmap, SameSizeWithTheBoxReproducesTheSource) {
  for (TPixelFormat format : {pf32bit, pf24bit}) {
    auto source = Sized(13, 7, format), dest = Sized(13, 7);
    FillRandom(*source, 3);
    ResampleBitmap(*dest, *source, rfBox, 0);
    EXPECT_EQ(dest->PixelFormat(), format);
    EXPECT_EQ(Bytes(*dest), Bytes(*source));
  }
}

TEST(ResampleBitmap, SmallSupportsUseTheFiltersOwn) {
  auto source = Sized(9, 5);
  FillRandom(*source, 4);
  auto a = Sized(14, 8), b = Sized(14, 8), c = Sized(14, 8);
  ResampleBitmap(*a, *source, rfLanczos3, 0.1);
  ResampleBitmap(*b, *source, rfLanczos3, 3.0);
  ResampleBitmap(*c, *source, rfLanczos3, 4.0);
  EXPECT_EQ(Bytes(*a), Bytes(*b));
  // A wider support only reaches pixels the filter gives no weight.
  EXPECT_EQ(Bytes(*c), Bytes(*b));
  EXPECT_EQ(Bytes(*b), PlainResample(*source, 14, 8, rfLanczos3, 3.0));
}

TEST(ResampleBitmap, MatchesThePlainSumsForEveryFilterAndShape) {
  std::mt19937 random(11);
  for (int filter = 0; filter < kResampleFilterCount; ++filter)
    for (int round = 0; round < 6; ++round) {
      int sw = 1 + static_cast<int>(random() % 23), sh = 1 + static_cast<int>(random() % 9);
      int dw = 1 + static_cast<int>(random() % 29), dh = 1 + static_cast<int>(random() % 11);
      TPixelFormat format = round % 2 ? pf24bit : pf32bit;
      SCOPED_TRACE(testing::Message() << filter << ": " << sw << "x" << sh << " -> " << dw << "x" << dh << " bits "
                                      << BitsPerPixel(format));
      auto source = Sized(sw, sh, format), dest = Sized(dw, dh);
      FillRandom(*source, static_cast<unsigned>(round + 10 * filter));
      ResampleBitmap(*dest, *source, filter, 0);
      ASSERT_EQ(dest->Width(), dw);
      ASSERT_EQ(dest->Height(), dh);
      EXPECT_EQ(Bytes(*dest), PlainResample(*source, dw, dh, filter, 0));
      // The code path of processors without vector instructions gives the same bytes.
      auto portable = Sized(dw, dh);
      ResampleBitmapPortable(*portable, *source, filter, 0);
      EXPECT_EQ(Bytes(*portable), Bytes(*dest));
    }
}

TEST(ResampleBitmap, OnePixelSourceFillsTheDestination) {
  auto source = Strip({90}), dest = Sized(5, 3);
  ResampleBitmap(*dest, *source, rfBox, 0);
  EXPECT_EQ(Blue(*dest), std::vector<int>(15, 90));
  auto lanczos = Sized(4, 4);
  ResampleBitmap(*lanczos, *source, rfLanczos3, 0);
  EXPECT_EQ(Bytes(*lanczos), PlainResample(*source, 4, 4, rfLanczos3, 0));
}

TEST(ResampleBitmap, OtherFormatsGoThroughBlueGreenRed) {
  auto source = Sized(4, 2, pf8bit);
  source->SetPixelColor(1, 0, RGBColor(255, 0, 0));
  auto dest = Sized(4, 2);
  ResampleBitmap(*dest, *source, rfBox, 0);
  EXPECT_EQ(dest->PixelFormat(), pf24bit);
  EXPECT_EQ(dest->PixelColor(1, 0), RGBColor(255, 0, 0));
  EXPECT_EQ(dest->PixelColor(0, 0), source->PixelColor(0, 0));
}

TEST(ResampleBitmap, EmptySourceFailsAndEmptyDestinationIsLeftAlone) {
  TBitmap empty;
  auto dest = Sized(3, 3);
  try {
    ResampleBitmap(*dest, empty, rfBox, 0);
    FAIL() << "no exception";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(e.Message, "Source bitmap too small");
  }
  auto source = Strip({1, 2, 3});
  TBitmap none;
  none.SetPixelFormat(pf8bit);
  none.SetSize(0, 4);
  ResampleBitmap(none, *source, rfLanczos3, 0);
  EXPECT_TRUE(none.Empty());
  EXPECT_EQ(none.PixelFormat(), pf8bit);
}

TEST(ResampleBitmap, DestinationMayBeTheSource) {
  auto b = Sized(6, 6);
  FillRandom(*b, 9);
  TBitmap copy;
  copy.Assign(*b);
  ResampleBitmap(*b, *b, rfMitchell, 0);
  auto expected = Sized(6, 6);
  ResampleBitmap(*expected, copy, rfMitchell, 0);
  EXPECT_EQ(Bytes(*b), Bytes(*expected));
}

TEST(ResampleBitmap, LargeRatiosBothWays) {
  auto source = Sized(301, 3);
  FillRandom(*source, 5);
  auto small = Sized(2, 1), big = Sized(7, 40);
  ResampleBitmap(*small, *source, rfLanczos3, 0);
  EXPECT_EQ(Bytes(*small), PlainResample(*source, 2, 1, rfLanczos3, 0));
  ResampleBitmap(*big, *source, rfBSpline, 0);
  EXPECT_EQ(Bytes(*big), PlainResample(*source, 7, 40, rfBSpline, 0));
}
