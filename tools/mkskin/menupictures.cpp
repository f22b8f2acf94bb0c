// The menu pictures of our default skin: "Icons\<action id>.ico" beside its
// definition, each a 16×16 and a 32×32 image with alpha, drawn from shapes.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "launcher/ov3actions.h"
#include "skins.h"
#include "tools/common/iconwriter.h"

namespace skin {

namespace {

// Coverage of a shape at a point of the unit square, 0..1.
using TShape = std::function<double(double X, double Y)>;

std::uint32_t Argb(double Coverage, std::uint32_t Rgb) {
  const auto a = static_cast<std::uint32_t>(std::lround(std::clamp(Coverage, 0.0, 1.0) * 255));
  return a == 0 ? 0 : (a << 24) | Rgb;
}

// Four samples a pixel, so the edges are soft.
std::string Image(int Size, const TShape& Shape, std::uint32_t Rgb) {
  return iconwriter::DibImage(
      Size, Size, 32,
      [&](int X, int Y) {
        double c = 0;
        for (double dy : {0.25, 0.75})
          for (double dx : {0.25, 0.75}) c += Shape((X + dx) / Size, (Y + dy) / Size);
        return Argb(c / 4, Rgb);
      },
      [](int, int) { return false; });
}

double Disc(double X, double Y, double Cx, double Cy, double R) { return std::hypot(X - Cx, Y - Cy) <= R ? 1 : 0; }
double Bar(double X, double Y, double L, double T, double R, double B) { return X >= L && X <= R && Y >= T && Y <= B; }

void WriteIcon(const std::string& Dir, int Id, const TShape& Shape, std::uint32_t Rgb) {
  const std::string ico =
      iconwriter::IcoFile({{16, 16, 0, 1, 32, Image(16, Shape, Rgb)}, {32, 32, 0, 1, 32, Image(32, Shape, Rgb)}});
  std::ofstream(Dir + "/" + std::to_string(Id) + ".ico", std::ios::binary) << ico;
}

}  // namespace

void WriteMenuPictures(const std::string& SkinDir) {
  const std::string dir = SkinDir + "/Icons";
  std::filesystem::create_directories(dir);
  // New program icon: a plus.
  WriteIcon(
      dir, ovaNewIcon,
      [](double x, double y) { return std::max(Bar(x, y, .42, .12, .58, .88), Bar(x, y, .12, .42, .88, .58)); },
      0x3FA34D);
  // Preferences: a ring.
  WriteIcon(
      dir, ovaPreferences, [](double x, double y) { return Disc(x, y, .5, .5, .42) - Disc(x, y, .5, .5, .2); },
      0xC8CDD6);
  // Information: an "i" on a disc.
  WriteIcon(
      dir, ovaInformation,
      [](double x, double y) {
        return Disc(x, y, .5, .5, .46) * (1 - std::max(Disc(x, y, .5, .28, .08), Bar(x, y, .43, .42, .57, .8)));
      },
      0x3B7DD8);
  // Exit: a cross.
  WriteIcon(
      dir, ovaExit,
      [](double x, double y) {
        return std::max(std::abs(x - y) < .1 ? 1.0 : 0.0, std::abs(x + y - 1) < .1 ? 1.0 : 0.0) *
               Bar(x, y, .12, .12, .88, .88);
      },
      0xD84A3B);
}

}  // namespace skin
