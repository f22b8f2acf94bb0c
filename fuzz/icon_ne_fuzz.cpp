// Feeds arbitrary bytes to the reader of 16-bit icon libraries.
// fuzz.sh: -max_len=262144
#include <cstdint>
#include <string_view>

#include "kem3/graphics/kemicons.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TKemIcons icons;
  icons.LoadNEData(std::string_view(reinterpret_cast<const char*>(data), size));
  for (int g = 0; g < icons.GetCount(); ++g) (void)icons.GetGroup(g)->BestImage(32, 32);
  return 0;
}
