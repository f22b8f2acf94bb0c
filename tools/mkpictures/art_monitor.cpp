// The small monitor of the screen-area page, in four pieces: the two side
// columns of the bezel, a middle column the page stretches across, and the
// foot centred below. The screen itself is left dark: the area picture
// covers it.
#include "pictures.h"

namespace art {

namespace {

// Bezel 6 pixels round a screen 94 high; the foot takes the last 22 of 128.
constexpr int kBezel = 6;
constexpr int kBodyHeight = kBezel + 94 + kBezel;
constexpr int kFootHeight = 128 - kBodyHeight;
const TColour kDark = Rgb(52, 56, 64);
const TColour kLight = Rgb(118, 124, 136);
const TColour kScreen = Rgb(24, 34, 52);

TPaint BezelShade() {
  return [](double, double Y) { return Mix(kLight, kDark, Y / kBodyHeight); };
}

// A whole monitor body Width wide, of which the pieces are cut.
TArtCanvas Body(int Width, double Left, double Right) {
  TArtCanvas c(Width, kBodyHeight);
  c.Fill(RoundRect(Left, 0, Right, kBodyHeight, 4), BezelShade());
  c.Fill(Outline(RoundRect(Left + 0.5, 0.5, Right - 0.5, kBodyHeight - 0.5, 4), 0.5), Rgb(30, 32, 36));
  c.Fill(RoundRect(Left + kBezel, kBezel, Right - kBezel, kBodyHeight - kBezel, 0.5), kScreen);
  return c;
}

}  // namespace

TNamedPictures MonitorPictures() {
  TNamedPictures Pictures;
  // The side columns: the rounded ends of a body, reaching past them.
  Pictures.emplace_back("MONITORLEFT", Body(kBezel, 0, kBezel + 20));
  Pictures.emplace_back("MONITORRIGHT", Body(kBezel, -20, kBezel));
  // The middle: a slice of a body far wider than itself, so it stretches evenly.
  Pictures.emplace_back("MONITORMID", Body(16, -40, 56));
  TArtCanvas Foot(56, kFootHeight);
  Foot.Fill(Polygon({{22, 0}, {34, 0}, {36, 14}, {20, 14}}),
            [](double, double Y) { return Mix(kDark, kLight, Y / 14.0); });
  Foot.Fill(RoundRect(4, 14, 52, 21, 3), [](double, double Y) { return Mix(kLight, kDark, (Y - 14) / 7.0); });
  Pictures.emplace_back("MONITORFOOT", std::move(Foot));
  return Pictures;
}

}  // namespace art
