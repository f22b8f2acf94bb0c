// Feeds arbitrary bytes to the BMP reader. A file is either read or refused
// with EInvalidGraphic; one that is read must write back and read again to the
// same picture.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/bitmap.h"
#include "platform/streams.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string Pixels(const TBitmap& b) {
  std::string out;
  for (int y = 0; y < b.Height(); ++y)
    out.append(static_cast<const char*>(b.ScanLine(y)), static_cast<std::size_t>(b.ScanLineSize()));
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TBitmap bitmap;
  try {
    TStringStream input(std::string(reinterpret_cast<const char*>(data), size));
    bitmap.LoadFromStream(input);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  TMemoryStream saved;
  bitmap.SaveToStream(saved);
  saved.SetPosition(0);
  TBitmap again;
  again.LoadFromStream(saved);
  Check(again.Width() == bitmap.Width() && again.Height() == bitmap.Height());
  Check(again.PixelFormat() == bitmap.PixelFormat() && again.AlphaFormat() == bitmap.AlphaFormat());
  Check(again.ColorTable() == bitmap.ColorTable());
  Check(Pixels(again) == Pixels(bitmap));
  if (!bitmap.Empty()) {
    (void)bitmap.PixelColor(bitmap.Width() - 1, bitmap.Height() - 1);
    // Converting touches every pixel through the format code.
    bitmap.SetPixelFormat(bitmap.PixelFormat() == pf24bit ? pf8bit : pf24bit);
  }
  return 0;
}
