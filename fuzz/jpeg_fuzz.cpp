// Feeds arbitrary bytes to the JPEG decoder. Data is either decoded into a
// picture of the size its header declares or refused with EJPEG; libjpeg's
// errors must come back through the error manager, never as a crash.
#include <cstdint>
#include <cstdlib>

#include "kem3/pictures/jpegimage.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int width = 0, height = 0;
  // Big declared sizes are legitimate but only cost time here.
  if (JpegImageSize(data, size, width, height) && static_cast<std::int64_t>(width) * height > (1 << 20)) return 0;
  TJPEGImage jpeg;
  try {
    jpeg.LoadFromBytes(data, size);
  } catch (const EJPEG&) {
    Check(jpeg.Empty());
    return 0;
  }
  Check(jpeg.Width() == width && jpeg.Height() == height);
  Check(jpeg.PixelFormat() == pf24bit);
  (void)jpeg.PixelColor(width - 1, height - 1);
  return 0;
}
