// JPEG files for the tests, made by libjpeg's own encoder.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

// Pixels: Width x Height x Components bytes, rows top-down, in the colour
// space given (JCS_RGB, JCS_GRAYSCALE, JCS_CMYK).
inline std::string EncodeTestJpeg(int Width, int Height, int Components, J_COLOR_SPACE Space,
                                  const std::vector<std::uint8_t>& Pixels, int Quality = 95, bool Progressive = false) {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(Width);
  info.image_height = static_cast<JDIMENSION>(Height);
  info.input_components = Components;
  info.in_color_space = Space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, Quality, TRUE);
  if (Progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row =
        const_cast<JSAMPROW>(Pixels.data() + static_cast<std::size_t>(info.next_scanline) * Width * Components);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

// Flat colour blocks of 8 x 8 pixels survive compression almost exactly.
inline std::vector<std::uint8_t> TestRgbBlocks(int Width, int Height) {
  std::vector<std::uint8_t> p(static_cast<std::size_t>(Width) * Height * 3);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      std::uint8_t* q = p.data() + (static_cast<std::size_t>(y) * Width + x) * 3;
      int block = (x / 8 + y / 8) % 3;
      q[0] = block == 0 ? 220 : 30;
      q[1] = block == 1 ? 200 : 40;
      q[2] = block == 2 ? 210 : 50;
    }
  return p;
}
