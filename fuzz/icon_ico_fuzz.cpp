// Feeds arbitrary bytes to the icon file reader and draws every image it
// keeps, at its own size and resampled: nothing may crash or hang.
// fuzz.sh: -max_len=262144
#include <cstdint>
#include <string_view>

#include "kem3/graphics/kemicons.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TKemIcons icons;
  icons.LoadIcoData(std::string_view(reinterpret_cast<const char*>(data), size));
  for (int g = 0; g < icons.GetCount(); ++g)
    for (int i = 0; i < icons.GetGroup(g)->Count(); ++i) {
      TBitmap bitmap, mask;
      try {
        icons.GetGroup(g)->Image(i)->Draw(bitmap, mask, false, false);
        bitmap.SetSize(7, 9);
        icons.GetGroup(g)->Image(i)->Draw(bitmap, mask, true, true);
      } catch (const Exception&) {
      }
    }
  return 0;
}
