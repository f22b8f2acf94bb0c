// The program's name for the information dialog's program entry: the
// splash's stroke letters in white on the grey of the dialog's blocks.
#include "../mkdrl/artfont.h"
#include "pictures.h"

namespace pictures {

using namespace art;

TArtCanvas ProgramNamePicture() {
  constexpr int kWidth = 140, kHeight = 24;
  TArtCanvas c(kWidth, kHeight);
  // Opaque: the layout draws pictures without blending.
  c.Fill(RoundRect(0, 0, kWidth, kHeight, 0), Rgb(0x90, 0x90, 0x90));
  c.FillSoft(TextShape("ORVANEL", kWidth / 2.0 + 1, kHeight / 2.0 + 1, 14, 2.4), Rgb(0x47, 0x57, 0x84, 0.8), 1.5);
  c.Fill(TextShape("ORVANEL", kWidth / 2.0, kHeight / 2.0, 14, 2.2), Rgb(255, 255, 255));
  return c;
}

}  // namespace pictures
