// The bit button's face, glyph place and size.
#include "kem3/controls/kembbt_layout.h"

TRect BitButtonFace(int ImageWidth, int ImageHeight, bool Pressed) {
  const int half = ImageWidth / 2;
  return Pressed ? Rect(half, 0, 2 * half, ImageHeight) : Rect(0, 0, half, ImageHeight);
}

std::vector<TFacePart> FaceParts(const TRect& Face, const TRect& Client, int CornerWidth, int CornerHeight) {
  std::vector<TFacePart> parts;
  if (CornerWidth <= 0 && CornerHeight <= 0) {
    if (!IsRectEmpty(Face) && !IsRectEmpty(Client)) parts.push_back({Face, Client});
    return parts;
  }
  const int cw = CornerWidth > 0 ? CornerWidth : 0, ch = CornerHeight > 0 ? CornerHeight : 0;
  // Column and row edges of the source and the destination: corner, middle, corner.
  const int sx[4] = {Face.Left, Face.Left + cw, Face.Right - cw, Face.Right};
  const int sy[4] = {Face.Top, Face.Top + ch, Face.Bottom - ch, Face.Bottom};
  const int dx[4] = {Client.Left, Client.Left + cw, Client.Right - cw, Client.Right};
  const int dy[4] = {Client.Top, Client.Top + ch, Client.Bottom - ch, Client.Bottom};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const TRect source = Rect(sx[col], sy[row], sx[col + 1], sy[row + 1]);
      const TRect dest = Rect(dx[col], dy[row], dx[col + 1], dy[row + 1]);
      if (!IsRectEmpty(source) && !IsRectEmpty(dest)) parts.push_back({source, dest});
    }
  }
  return parts;
}

TPoint BitButtonGlyphOrigin(TKemGlyphPosition Position, int Width, int Height, int GlyphWidth, int GlyphHeight,
                            int BorderWidth, bool Pressed) {
  const int centreX = (Width - GlyphWidth) / 2, centreY = (Height - GlyphHeight) / 2;
  const int left = BorderWidth, right = Width - GlyphWidth - BorderWidth;
  const int top = BorderWidth, bottom = Height - GlyphHeight - BorderWidth;
  TPoint p;
  switch (Position) {
    case gpCenter:
      p = Point(centreX, centreY);
      break;
    case gpLeft:
      p = Point(left, centreY);
      break;
    case gpRight:
      p = Point(right, centreY);
      break;
    case gpTop:
      p = Point(centreX, top);
      break;
    case gpBottom:
      p = Point(centreX, bottom);
      break;
    case gpTopLeft:
      p = Point(left, top);
      break;
    case gpTopRight:
      p = Point(right, top);
      break;
    case gpBottomLeft:
      p = Point(left, bottom);
      break;
    case gpBottomRight:
      p = Point(right, bottom);
      break;
  }
  if (Pressed) p = p + Point(1, 1);
  return p;
}

TSize BitButtonAutoSize(int ImageWidth, int ImageHeight, int CornerWidth, int CornerHeight, TSize Current) {
  if (ImageWidth <= 0 || ImageHeight <= 0) return Current;
  TSize size = Current;
  if (CornerWidth <= 0) size.cx = ImageWidth / 2;
  if (CornerHeight <= 0) size.cy = ImageHeight;
  return size;
}
