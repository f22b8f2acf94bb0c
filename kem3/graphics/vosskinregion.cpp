// Regions as bands of spans: building from pictures and the set operations.
#include "kem3/graphics/vosskinregion.h"

#include <algorithm>
#include <cstring>

namespace {

// The spans of one picture row whose pixels match.
std::vector<TVosSpan> RowSpans(const TBitmap& Picture, int Y, const std::function<bool(TColor)>& Match) {
  std::vector<TVosSpan> spans;
  const int w = Picture.Width();
  const TPixelFormat format = Picture.PixelFormat();
  const int bytes = format == pf24bit ? 3 : (format == pf32bit || format == pfDevice) ? 4 : 0;
  const auto* row = static_cast<const std::uint8_t*>(Picture.ScanLine(Y));
  int start = -1;
  for (int x = 0; x <= w; ++x) {
    bool in = false;
    if (x < w) {
      TColor c;
      if (bytes) {
        const std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * bytes;
        c = RGBColor(p[2], p[1], p[0]);
      } else {
        c = Picture.PixelColor(x, Y);
      }
      in = Match(c);
    }
    if (in && start < 0) start = x;
    if (!in && start >= 0) {
      spans.push_back({start, x});
      start = -1;
    }
  }
  return spans;
}

// The spans of the band holding row Y, or none.
const std::vector<TVosSpan>* SpansAt(const std::vector<TVosBand>& Bands, int Y) {
  static const std::vector<TVosSpan> kNone;
  auto it = std::upper_bound(Bands.begin(), Bands.end(), Y, [](int y, const TVosBand& b) { return y < b.Bottom; });
  if (it == Bands.end() || Y < it->Top) return &kNone;
  return &it->Spans;
}

bool InSpans(const std::vector<TVosSpan>& Spans, int X) {
  auto it = std::upper_bound(Spans.begin(), Spans.end(), X, [](int x, const TVosSpan& s) { return x < s.Right; });
  return it != Spans.end() && X >= it->Left;
}

// The spans of one row of the combination of two rows.
std::vector<TVosSpan> CombineSpans(const std::vector<TVosSpan>& A, const std::vector<TVosSpan>& B,
                                   bool (*Keep)(bool, bool)) {
  std::vector<int> edges;
  edges.reserve(2 * (A.size() + B.size()));
  for (const TVosSpan& s : A) edges.insert(edges.end(), {s.Left, s.Right});
  for (const TVosSpan& s : B) edges.insert(edges.end(), {s.Left, s.Right});
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::vector<TVosSpan> out;
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    const int x = edges[i];
    if (!Keep(InSpans(A, x), InSpans(B, x))) continue;
    if (!out.empty() && out.back().Right == x) {
      out.back().Right = edges[i + 1];
    } else {
      out.push_back({x, edges[i + 1]});
    }
  }
  return out;
}

}  // namespace

TVosRegion TVosRegion::FromRect(const TRect& Rect) {
  TVosRegion r;
  if (!IsRectEmpty(Rect)) r.FBands.push_back({Rect.Top, Rect.Bottom, {{Rect.Left, Rect.Right}}});
  return r;
}

TVosRegion TVosRegion::FromPixels(const TBitmap& Picture, const std::function<bool(TColor)>& Match) {
  TVosRegion r;
  for (int y = 0; y < Picture.Height(); ++y) r.AppendBand(y, y + 1, RowSpans(Picture, y, Match));
  return r;
}

TVosRegion TVosRegion::FromColor(const TBitmap& Picture, TColor Color) {
  const TColor wanted = Color & 0xFFFFFF;
  return FromPixels(Picture, [wanted](TColor c) { return c == wanted; });
}

void TVosRegion::AppendBand(int Top, int Bottom, std::vector<TVosSpan> Spans) {
  if (Spans.empty() || Bottom <= Top) return;
  if (!FBands.empty() && FBands.back().Bottom == Top && FBands.back().Spans == Spans) {
    FBands.back().Bottom = Bottom;
    return;
  }
  FBands.push_back({Top, Bottom, std::move(Spans)});
}

bool TVosRegion::Contains(int X, int Y) const { return InSpans(*SpansAt(FBands, Y), X); }

TRect TVosRegion::BoundingBox() const {
  if (FBands.empty()) return TRect{};
  TRect r{FBands.front().Spans.front().Left, FBands.front().Top, FBands.front().Spans.back().Right,
          FBands.back().Bottom};
  for (const TVosBand& b : FBands) {
    r.Left = std::min(r.Left, b.Spans.front().Left);
    r.Right = std::max(r.Right, b.Spans.back().Right);
  }
  return r;
}

std::vector<TRect> TVosRegion::Rects() const {
  std::vector<TRect> rects;
  for (const TVosBand& b : FBands)
    for (const TVosSpan& s : b.Spans) rects.push_back({s.Left, b.Top, s.Right, b.Bottom});
  return rects;
}

void TVosRegion::Offset(int DX, int DY) {
  for (TVosBand& b : FBands) {
    b.Top += DY;
    b.Bottom += DY;
    for (TVosSpan& s : b.Spans) {
      s.Left += DX;
      s.Right += DX;
    }
  }
}

TVosRegion TVosRegion::Offsetted(int DX, int DY) const {
  TVosRegion r = *this;
  r.Offset(DX, DY);
  return r;
}

TVosRegion TVosRegion::Combine(const TVosRegion& A, const TVosRegion& B, bool (*Keep)(bool, bool)) {
  std::vector<int> rows;
  rows.reserve(2 * (A.FBands.size() + B.FBands.size()));
  for (const TVosBand& b : A.FBands) rows.insert(rows.end(), {b.Top, b.Bottom});
  for (const TVosBand& b : B.FBands) rows.insert(rows.end(), {b.Top, b.Bottom});
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  TVosRegion out;
  for (size_t i = 0; i + 1 < rows.size(); ++i) {
    const int y = rows[i];
    out.AppendBand(y, rows[i + 1], CombineSpans(*SpansAt(A.FBands, y), *SpansAt(B.FBands, y), Keep));
  }
  return out;
}

TVosRegion TVosRegion::Union(const TVosRegion& Other) const {
  return Combine(*this, Other, [](bool a, bool b) { return a || b; });
}

TVosRegion TVosRegion::Subtract(const TVosRegion& Other) const {
  return Combine(*this, Other, [](bool a, bool b) { return a && !b; });
}

TVosRegion TVosRegion::Intersect(const TVosRegion& Other) const {
  return Combine(*this, Other, [](bool a, bool b) { return a && b; });
}
