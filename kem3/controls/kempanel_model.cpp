// The panel's gradients, textures, child area and width; the frame's pieces.
#include "kem3/controls/kempanel_model.h"

#include <algorithm>

#include "platform/graphics.h"
#include "platform/mathutils.h"

int GradientBandCount(int GradientColors) {
  if (GradientColors == 0) return 64;
  return std::clamp(GradientColors, 2, 256);
}

std::vector<TColor> GradientTable(TColor Front, TColor Back, int N) {
  N = GradientBandCount(N);
  const TColor f = ColorToRGB(Front), b = ColorToRGB(Back);
  auto channel = [N](int from, int to, int i) { return from + (to - from) * i / (N - 1); };
  std::vector<TColor> table;
  for (int i = 0; i < N; ++i)
    table.push_back(RGBColor(channel(GetRed(f), GetRed(b), i), channel(GetGreen(f), GetGreen(b), i),
                             channel(GetBlue(f), GetBlue(b), i)));
  return table;
}

std::vector<TRect> GradientBands(const TRect& R, int N, bool Vertical) {
  N = GradientBandCount(N);
  const int size = Vertical ? R.Height() : R.Width();
  auto edge = [&](int i) { return static_cast<int>(Round(static_cast<double>(i) * size / N)); };
  std::vector<TRect> bands;
  for (int i = 0; i < N; ++i) {
    const int a = edge(i), b = edge(i + 1);
    bands.push_back(Vertical ? Rect(R.Left, R.Top + a, R.Right, R.Top + b)
                             : Rect(R.Left + a, R.Top, R.Left + b, R.Bottom));
  }
  return bands;
}

std::vector<TPoint> TexturePoints(TTexture Texture, const TRect& R, int DotSpace) {
  std::vector<TPoint> points;
  if (Texture == ptNone || DotSpace <= 0) return points;
  const int across = Texture == ptDots ? 2 * DotSpace : DotSpace;
  for (int y = R.Top; y < R.Bottom; y += DotSpace) {
    const bool odd = Texture == ptDots && ((y - R.Top) / DotSpace) % 2 == 1;
    for (int x = R.Left + (odd ? DotSpace : 0); x < R.Right; x += across) points.push_back({x, y});
  }
  return points;
}

namespace {

int BevelsWidth(const TPanelFrame& F) {
  return (F.BevelOuter != bvNone ? F.BevelWidth : 0) + (F.BevelInner != bvNone ? F.BevelWidth : 0);
}

}  // namespace

TRect PanelChildArea(const TRect& Client, const TPanelFrame& Frame) {
  const int inset = Frame.BorderWidth + BevelsWidth(Frame) + (Frame.Style3D != s3dNone ? 2 : 0);
  return Rect(Client.Left + inset + Frame.SpaceLeft, Client.Top + inset + Frame.SpaceTop,
              Client.Right - inset - Frame.SpaceRight, Client.Bottom - inset - Frame.SpaceBottom);
}

int PanelAutoWidth(int TextWidth, const TPanelFrame& Frame) {
  int w = TextWidth + Frame.SpaceLeft + Frame.SpaceRight + 2 * Frame.BorderWidth + 2;
  if (Frame.BevelOuter == bvNone) w -= 2;
  if (Frame.BevelInner != bvNone) w += 2;
  if (Frame.Style3D != s3dNone) w += 4;
  return w;
}

namespace {

// Copies of Piece tiled from From to To along one axis; the last copy is cut
// at To. FromFar starts at To and goes back towards From.
void Tile(std::vector<TFramePiece>& Out, const TRect& Source, bool Across, int From, int To, int Fixed, bool FromFar) {
  const int step = Across ? Source.Width() : Source.Height();
  if (step <= 0) return;
  for (int done = 0; From + done < To; done += step) {
    const int len = std::min(step, To - From - done);
    const int at = FromFar ? To - done - len : From + done;
    // Cut from the side that faces the far corner, so the tiles keep their
    // start against the corner they begin at.
    TRect src = Source;
    if (Across) {
      if (FromFar)
        src.Left = src.Right - len;
      else
        src.Right = src.Left + len;
      Out.push_back({src, Rect(at, Fixed, at + len, Fixed + Source.Height())});
    } else {
      if (FromFar)
        src.Top = src.Bottom - len;
      else
        src.Bottom = src.Top + len;
      Out.push_back({src, Rect(Fixed, at, Fixed + Source.Width(), at + len)});
    }
  }
}

}  // namespace

std::vector<TFramePiece> FramePieces(const TFrameSizes& S, TSize Image, TSize Control) {
  const int Cw = S.CornerWidth, Ch = S.CornerHeight, Ew = S.EdgeWidth, Eh = S.EdgeHeight;
  const int W = Control.cx, H = Control.cy;
  std::vector<TFramePiece> pieces{
      {Bounds(0, 0, Cw, Ch), Bounds(0, 0, Cw, Ch)},
      {Bounds(Cw + Ew, 0, Cw, Ch), Bounds(W - Cw, 0, Cw, Ch)},
      {Bounds(0, Ch + Eh, Cw, Ch), Bounds(0, H - Ch, Cw, Ch)},
      {Bounds(Cw + Ew, Ch + Eh, Cw, Ch), Bounds(W - Cw, H - Ch, Cw, Ch)},
  };
  Tile(pieces, Bounds(Cw, 0, Ew, Eh), true, Cw, W - Cw, 0, false);
  Tile(pieces, Bounds(Cw, 2 * Ch, Ew, Eh), true, Cw, W - Cw, H - Eh, true);
  Tile(pieces, Bounds(0, Ch, Ew, Eh), false, Ch, H - Ch, 0, false);
  Tile(pieces, Bounds(2 * Cw, Ch, Ew, Eh), false, Ch, H - Ch, W - Ew, true);
  const TRect image = Rect(0, 0, Image.cx, Image.cy);
  std::erase_if(pieces, [&](const TFramePiece& p) {
    TRect inside;
    return IsRectEmpty(p.Source) || !IntersectRect(inside, p.Source, image) || inside != p.Source;
  });
  return pieces;
}

TPoint FrameCentrePixel(const TFrameSizes& S) {
  return {S.CornerWidth + S.EdgeWidth / 2, S.CornerHeight + S.EdgeHeight / 2};
}

std::vector<TRect> FrameInside(const TFrameSizes& S, TSize Control) {
  return {Rect(S.CornerWidth, S.EdgeHeight, Control.cx - S.CornerWidth, Control.cy - S.EdgeHeight),
          Rect(S.EdgeWidth, S.CornerHeight, Control.cx - S.EdgeWidth, Control.cy - S.CornerHeight)};
}
