// Feeds arbitrary bytes to the PNG reader. A file is either read or refused
// with EPNGImage; one that is read must write back and read again to the same
// picture. Each input is tried as it is and with every chunk's CRC made right,
// so that mutations get past the CRC check to the chunks' contents.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <zlib.h>

#include "kem3/pictures/pngimage.h"
#include "platform/bitmap_pixels.h"
#include "platform/streams.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

TRGBQuad At(const TBitmap& b, int x, int y) {
  TRGBQuad q = DecodePixel(static_cast<const std::uint8_t*>(b.ScanLine(y)), x, b.PixelFormat(), b.ColorTable());
  if (b.PixelFormat() != pf32bit) q.rgbReserved = 0;
  return q;
}

std::uint32_t BE32(const std::string& s, std::size_t at) {
  auto b = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + i])); };
  return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
}

std::string WithRightCrcs(std::string file) {
  for (std::size_t at = 8; at + 12 <= file.size();) {
    std::uint32_t length = BE32(file, at);
    if (length > file.size() - at - 12) break;
    auto crc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(file.data() + at + 4), length + 4));
    for (int i = 0; i < 4; ++i) file[at + 8 + length + i] = static_cast<char>(crc >> (24 - 8 * i));
    at += 12 + length;
  }
  return file;
}

void RoundTrip(const std::string& bytes) {
  TPNGImage image;
  try {
    TStringStream input(bytes);
    image.LoadFromStream(input);
  } catch (const EPNGImage&) {
    return;
  }
  TStringStream saved;
  image.SaveToStream(saved);
  saved.SetPosition(0);
  TPNGImage again;
  again.LoadFromStream(saved);
  Check(again.Width() == image.Width() && again.Height() == image.Height());
  Check(again.PixelFormat() == image.PixelFormat() && again.AlphaFormat() == image.AlphaFormat());
  // A truecolour key is read as alpha, and saved as that alpha.
  Check(again.Transparent() == image.Transparent() || image.PixelFormat() == pf32bit);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) Check(At(again, x, y) == At(image, x, y));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  RoundTrip(bytes);
  std::string fixed = WithRightCrcs(bytes);
  if (fixed != bytes) RoundTrip(fixed);
  return 0;
}
