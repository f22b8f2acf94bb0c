// Filtered resampling: resizes a bitmap into another of a given size with a
// separable reconstruction filter, in two passes (rows, then columns). Icons,
// previews and module pictures are scaled with it. OS-free and reentrant: bar
// modules resample from their worker threads.
#pragma once
#include <vector>

#include "platform/bitmap.h"

// The filters, by the index callers pass.
inline constexpr int rfBox = 0;
inline constexpr int rfTriangle = 1;
inline constexpr int rfHermite = 2;
inline constexpr int rfBell = 3;
inline constexpr int rfBSpline = 4;
inline constexpr int rfLanczos3 = 5;
inline constexpr int rfMitchell = 6;
inline constexpr int kResampleFilterCount = 7;

// A filter index is masked with 0x7F; what is left must name one of the seven
// filters, else EInvalidGraphicOperation.
int CheckResampleFilter(int Filter);
// The filter's weight at distance X (unnormalised) and its own support radius.
// Every filter weighs 0 beyond its own support.
double ResampleFilterWeight(int Filter, double X);
double ResampleFilterSupport(int Filter);

// Who contributes to each destination pixel of one axis: for destination
// pixel i, the entries First[i] to First[i + 1] - 1 of Pixel and Weight, in the
// order they are summed. Pixel indices are already mirrored into the source
// (and clamped to it where the source is narrower than the filter). Weights of
// 0 are left out.
struct TResampleContributors {
  std::vector<int> First;
  std::vector<int> Pixel;
  std::vector<float> Weight;
  int Count(int Index) const {
    return First[static_cast<std::size_t>(Index) + 1] - First[static_cast<std::size_t>(Index)];
  }
};
// SourceSize and DestSize at least 1 (else no entries). A support wider than
// the filter's own would only reach weights of 0, so none is asked for.
TResampleContributors ResampleContributors(int SourceSize, int DestSize, int Filter);

// Dest keeps its width and height and receives Source resampled with the
// filter; the support used is the larger of the filter's own and Support
// (which, the filters being 0 beyond their own, gives the filter's own
// weights). A 32-bit source is resampled with its four channels and Dest
// becomes pf32bit; any other source as blue, green, red, and Dest becomes
// pf24bit. Weights are not normalised: each channel is the rounded
// single-precision weighted sum (halves to even), clamped to 0-255.
// EInvalidGraphicOperation "Source bitmap too small" for an empty source; a
// destination without pixels is left alone. Dest may be Source.
void ResampleBitmap(TBitmap& Dest, const TBitmap& Source, int Filter, double Support);
// ResampleBitmap without vector instructions, as builds for processors without
// SSE2 run it; on the same processor both give the same bytes.
void ResampleBitmapPortable(TBitmap& Dest, const TBitmap& Source, int Filter, double Support);
