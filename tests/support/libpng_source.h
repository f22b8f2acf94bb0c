// Feeding libpng from a file held in memory: the PNG tests and benchmarks
// measure our codec against it on the same bytes.
#pragma once
#include <png.h>

#include <cstring>
#include <string>

struct TLibpngSource {
  const std::string* Data = nullptr;
  std::size_t Position = 0;
};

// libpng's read callback over a TLibpngSource; a short file is libpng's error.
inline void ReadLibpngSource(png_structp png, png_bytep out, std::size_t length) {
  auto* s = static_cast<TLibpngSource*>(png_get_io_ptr(png));
  if (length > s->Data->size() - s->Position) png_error(png, "short file");
  std::memcpy(out, s->Data->data() + s->Position, length);
  s->Position += length;
}
