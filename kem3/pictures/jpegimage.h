// TJPEGImage: a bitmap read from JPEG data through libjpeg-turbo. Every JPEG
// (baseline, progressive, greyscale, RGB, CMYK) is decoded into pf24bit
// pixels; damaged or hostile data raises EJPEG and never reads past its bytes.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/bitmap.h"
#include "platform/graphics.h"
#include "platform/streams.h"

ORV_EXCEPTION(EJPEG, EInvalidGraphic)

class TJPEGImage : public TBitmap {
 public:
  // Pictures beyond this many pixels are refused before anything is decoded.
  static constexpr std::int64_t MaxPixels = std::int64_t{1} << 27;

  // Reads the JPEG data from the stream's position to its end. On an error
  // the bitmap keeps what it had and EJPEG carries libjpeg's message. (These
  // hide TBitmap's BMP readers, which are not virtual: call them on a TJPEGImage.)
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const String& FileName);
  void LoadFromBytes(const std::uint8_t* Data, std::size_t Size);
#ifdef _WIN32
  // A resource of the type "JPGIMG"; EResNotFound when the module has none of that name.
  void LoadFromResourceName(HINSTANCE__* Instance, const String& ResName);
#endif
};

// Width and height from the JPEG header alone; false when the header cannot be read.
bool JpegImageSize(const std::uint8_t* Data, std::size_t Size, int& Width, int& Height);
