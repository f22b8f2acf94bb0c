// Feeds arbitrary bytes to the resource-fork reader, as the resource fork of
// an AppleDouble file whose header is right.
// fuzz.sh: -max_len=262144
#include <cstdint>
#include <string>

#include "kem3/graphics/kemmacicons.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto be32 = [](std::uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
  };
  std::string file = be32(0x00051607) + be32(0x00020000) + std::string(16, '\0') + std::string("\0\1", 2) + be32(2) +
                     be32(38) + be32(static_cast<std::uint32_t>(size));
  file.append(reinterpret_cast<const char*>(data), size);
  TKemIcons icons;
  icons.LoadMacData(file);
  return 0;
}
