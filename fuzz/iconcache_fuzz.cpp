// Feeds arbitrary bytes to the icon cache loader: a file is read whole or
// refused with EReadError, and what is read has sane pictures.
// fuzz.sh: -max_len=262144
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "launcher/ov3iconcache.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    for (const auto& item : ReadIconCacheItems(std::string_view(reinterpret_cast<const char*>(data), size)))
      if (item->Bitmap->Empty() || item->Bitmap->Width() > kIconCacheMaxSize || item->CacheIndex < 0) std::abort();
  } catch (const EReadError&) {
  }
  return 0;
}
