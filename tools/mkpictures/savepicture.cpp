// PNG files of the pictures: 32-bit as drawn, or reduced to 256 colours for
// displays of few colours.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "kem3/pictures/pngimage.h"
#include "pictures.h"

namespace pictures {

namespace {

// The picture's own palette: colours in bins of 4 bits a channel, the 256
// bins with the most pixels, each entry the mean of its bin.
std::vector<TRGBQuad> OwnPalette(const TBitmap& Picture) {
  struct TBin {
    std::uint64_t R = 0, G = 0, B = 0, Count = 0;
    int Key = 0;
  };
  std::vector<TBin> bins(4096);
  for (int y = 0; y < Picture.Height(); ++y) {
    const auto* row = static_cast<const TRGBQuad*>(Picture.ScanLine(y));
    for (int x = 0; x < Picture.Width(); ++x) {
      const TRGBQuad& p = row[x];
      TBin& b = bins[static_cast<std::size_t>((p.rgbRed >> 4) << 8 | (p.rgbGreen >> 4) << 4 | p.rgbBlue >> 4)];
      b.R += p.rgbRed, b.G += p.rgbGreen, b.B += p.rgbBlue, ++b.Count;
    }
  }
  std::sort(bins.begin(), bins.end(), [](const TBin& A, const TBin& B) { return A.Count > B.Count; });
  std::vector<TRGBQuad> palette;
  for (const TBin& b : bins) {
    if (b.Count == 0 || palette.size() == 256) break;
    palette.push_back({static_cast<std::uint8_t>(b.B / b.Count), static_cast<std::uint8_t>(b.G / b.Count),
                       static_cast<std::uint8_t>(b.R / b.Count), 0});
  }
  return palette;
}

std::uint8_t Nearest(const std::vector<TRGBQuad>& Palette, const TRGBQuad& P) {
  int best = 0, bestDistance = 1 << 30;
  for (std::size_t i = 0; i < Palette.size(); ++i) {
    const int dr = Palette[i].rgbRed - P.rgbRed, dg = Palette[i].rgbGreen - P.rgbGreen,
              db = Palette[i].rgbBlue - P.rgbBlue;
    const int d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
    if (d < bestDistance) bestDistance = d, best = static_cast<int>(i);
  }
  return static_cast<std::uint8_t>(best);
}

}  // namespace

void SavePicture(const art::TArtCanvas& Picture, const std::string& FileName, bool Colours256) {
  std::unique_ptr<TPNGImage> png = Picture.ToPNG();
  if (Colours256) {
    TBitmap truecolour;
    truecolour.Assign(*png);
    const std::vector<TRGBQuad> palette = OwnPalette(truecolour);
    TBitmap reduced;
    reduced.SetPixelFormat(pf8bit);
    reduced.SetSize(truecolour.Width(), truecolour.Height());
    reduced.SetColorTable(palette);
    for (int y = 0; y < truecolour.Height(); ++y) {
      const auto* from = static_cast<const TRGBQuad*>(truecolour.ScanLine(y));
      auto* to = static_cast<std::uint8_t*>(reduced.ScanLine(y));
      for (int x = 0; x < truecolour.Width(); ++x) to[x] = Nearest(palette, from[x]);
    }
    png = std::make_unique<TPNGImage>();
    png->Assign(reduced);
  }
  png->SaveToFile(FileName);
}

}  // namespace pictures
