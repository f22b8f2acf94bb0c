// Bitmap memory of the native build: a plain zero-filled buffer with the DIB layout.
// There is no canvas here, so nothing holds on to the memory.
#include <memory>
#include <new>

#include "platform/bitmap.h"
#include "platform/bitmap_pixels.h"

namespace {

class TPlainBitmapStorage : public TBitmapStorage {
 public:
  explicit TPlainBitmapStorage(std::size_t size) : FBits(new std::uint8_t[size]()) {}
  std::uint8_t* Bits() override { return FBits.get(); }

 private:
  std::unique_ptr<std::uint8_t[]> FBits;
};

}  // namespace

std::unique_ptr<TBitmapStorage> NewBitmapStorage(int Width, int Height, TPixelFormat Format,
                                                 const std::vector<TRGBQuad>& /*Table*/) {
  CheckImageSize(Width, Height, BitsPerPixel(Format));
  auto size =
      static_cast<std::size_t>(BytesPerScanLine(Width, BitsPerPixel(Format))) * static_cast<std::size_t>(Height);
  try {
    return std::make_unique<TPlainBitmapStorage>(size);
  } catch (const std::bad_alloc&) {
    throw EOutOfResources("Out of system resources");
  }
}

void TBitmap::ReleaseCanvasContext() {}
