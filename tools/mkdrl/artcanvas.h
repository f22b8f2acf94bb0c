// A small drawing surface for the package art: colours in floating point with
// premultiplied alpha, shapes given as signed distance functions (negative
// inside, in pixels), filled with one pixel of anti-aliasing. The pictures
// come out as 32-bit PNG images with straight alpha, as the modules blend them.
#pragma once
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TPNGImage;

namespace art {

// Straight (not premultiplied) colour, channels 0 to 1.
struct TColour {
  double R = 0, G = 0, B = 0, A = 1;
};
TColour Rgb(int R, int G, int B, double A = 1.0);
// Linear mix: T = 0 gives A, 1 gives B.
TColour Mix(const TColour& A, const TColour& B, double T);
TColour WithAlpha(TColour C, double A);

// Signed distance of a point to a shape: below 0 inside.
using TShape = std::function<double(double X, double Y)>;
// Colour at a point, for gradients.
using TPaint = std::function<TColour(double X, double Y)>;

struct TPoint2 {
  double X = 0, Y = 0;
};

// ---- Shapes
double DistanceToSegment(TPoint2 P, TPoint2 A, TPoint2 B);
TShape Circle(double CX, double CY, double Radius);
TShape Ellipse(double CX, double CY, double RX, double RY);  // approximate distance, fine for filling
// Axis-aligned rectangle from (L, T) to (R, B) with rounded corners.
TShape RoundRect(double L, double T, double R, double B, double Radius);
// A stroke of half-width W from A to B with round ends.
TShape Segment(TPoint2 A, TPoint2 B, double W);
// A closed polygon (any winding).
TShape Polygon(std::vector<TPoint2> Points);
TShape Union(TShape A, TShape B);
TShape Intersect(TShape A, TShape B);
TShape Subtract(TShape A, TShape B);
// The band of half-width W around the shape's outline.
TShape Outline(TShape A, double W);
// The shape turned by Degrees clockwise about (CX, CY).
TShape Rotated(TShape A, double CX, double CY, double Degrees);
TShape Translated(TShape A, double DX, double DY);

class TArtCanvas {
 public:
  TArtCanvas(int Width, int Height);
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // Paints the shape over the picture (source over), Opacity scaling it.
  void Fill(const TShape& Shape, const TColour& Colour, double Opacity = 1.0);
  void Fill(const TShape& Shape, const TPaint& Paint, double Opacity = 1.0);
  // With an edge Softness pixels wide: for shadows and glows.
  void FillSoft(const TShape& Shape, const TColour& Colour, double Softness);
  // Multiplies the alpha of every pixel outside the shape by 0 (a cut to the shape's outline).
  void Clip(const TShape& Shape);
  // Paints another canvas of the same size over this one.
  void Draw(const TArtCanvas& Other, double Opacity = 1.0);

  // The picture as a pf32bit PNG image with straight alpha.
  std::unique_ptr<TPNGImage> ToPNG() const;

 private:
  struct TPixel {
    double R = 0, G = 0, B = 0, A = 0;  // premultiplied
  };
  void Blend(int X, int Y, const TColour& Colour, double Coverage);
  int FWidth, FHeight;
  std::vector<TPixel> FPixels;
};

}  // namespace art
