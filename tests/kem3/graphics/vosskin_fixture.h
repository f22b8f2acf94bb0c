// Small skins the tests make themselves: pictures drawn pixel by pixel and
// saved as PNG, and a definition naming them, in a fresh folder.
#pragma once
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>

#include "kem3/pictures/pngimage.h"
#include "support/temp_dir.h"

namespace vosskintest {

// A picture of Width x Height whose pixel (x, y) is Pixel(x, y) as 0xAARRGGBB;
// pf32bit with alpha when Alpha, else pf24bit (the alpha byte ignored).
inline void WritePicture(const std::string& File, int Width, int Height, bool Alpha,
                         const std::function<std::uint32_t(int, int)>& Pixel) {
  TBitmap b;
  b.SetPixelFormat(Alpha ? pf32bit : pf24bit);
  b.SetSize(Width, Height);
  for (int y = 0; y < Height; ++y) {
    auto* row = static_cast<std::uint8_t*>(b.ScanLine(y));
    for (int x = 0; x < Width; ++x) {
      const std::uint32_t v = Pixel(x, y);
      std::uint8_t* p = row + x * (Alpha ? 4 : 3);
      p[0] = v & 0xFF;
      p[1] = (v >> 8) & 0xFF;
      p[2] = (v >> 16) & 0xFF;
      if (Alpha) p[3] = v >> 24;
    }
  }
  if (Alpha) b.SetAlphaFormat(afDefined);
  TPNGImage png;
  png.Assign(b);
  png.SaveToFile(File);
}

inline void WriteText(const std::string& File, const std::string& Text) {
  std::ofstream(File, std::ios::binary) << Text;
}

// An eight-part frame element over File: corners C x C, edges E thick.
inline std::string FrameXml(const std::string& Element, const std::string& File, int C, int E) {
  const std::string c = "width=\"" + std::to_string(C) + "\" height=\"" + std::to_string(C) + "\"";
  const std::string across = std::to_string(E);
  return "<" + Element + "><file name=\"" + File + "\"/>" + "<upperleftcorner " + c + "/><upperrightcorner " + c +
         "/><lowerleftcorner " + c + "/><lowerrightcorner " + c + "/>" + "<upperedge width=\"1\" height=\"" + across +
         "\" stretch=\"1\"/><loweredge width=\"1\" height=\"" + across + "\"/>" + "<leftedge width=\"" + across +
         "\" height=\"1\" stretch=\"1\"/><rightedge width=\"" + across + "\" height=\"1\"/></" + Element + ">";
}

// Colours of the test pictures (0xAARRGGBB).
inline constexpr std::uint32_t kMagenta = 0xFFFF00FF;
inline constexpr std::uint32_t kBlue = 0xFF0000FF;
inline constexpr std::uint32_t kFrameGrey = 0xFF404040;
inline constexpr std::uint32_t kTileA = 0xFFFF0000;  // red
inline constexpr std::uint32_t kTileB = 0xFF00FF00;  // green

// The test skin: a 20 x 20 frame whose corners (5 x 5) have magenta outside
// (x + y < 2 from the corner) and one blue pixel at their inner corner, a 4 x 4
// red-and-green checker texture, a half-grey shadow, a half-transparent white
// ring, a glyph picture and grip masks; the definition is Xml.
class TestSkin {
 public:
  TestSkin() {
    WritePicture(File("frame.png"), 20, 20, false, [](int x, int y) {
      const int cx = x < 10 ? x : 19 - x, cy = y < 10 ? y : 19 - y;
      if (cx + cy < 2) return kMagenta;
      if (cx == 4 && cy == 4) return kBlue;
      return kFrameGrey;
    });
    WritePicture(File("tex.png"), 4, 4, false, [](int x, int y) { return (x + y) % 2 ? kTileA : kTileB; });
    WritePicture(File("shadow.png"), 12, 12, false, [](int, int) { return 0xFF808080u; });
    WritePicture(File("ring.png"), 12, 12, true, [](int, int) { return 0x80FFFFFFu; });
    WritePicture(File("glyph.png"), 6, 4, true, [](int x, int y) { return 0xFF000000u | (x << 16) | (y << 8); });
    WritePicture(File("grips.png"), 12, 12, false, [](int x, int y) {
      const int cx = x < 6 ? x : 11 - x, cy = y < 6 ? y : 11 - y;
      return cx + cy < 3 ? 0xFF000000u : 0xFFFFFFFFu;
    });
  }
  std::string File(const std::string& Name) const { return Dir.file(Name); }
  std::string Definition() const { return File("skin.xml"); }
  void SetXml(const std::string& Xml) const { WriteText(Definition(), Xml); }

  TempDir Dir;
};

}  // namespace vosskintest
