// Feeds arbitrary bytes to the Mac icon reader: the first bytes choose the
// kind (icon family, typed stream, AppleSingle/AppleDouble, MacBinary), so one
// target reaches every container; each image found is drawn.
// fuzz.sh: -max_len=262144
#include <cstdint>
#include <string_view>

#include "kem3/graphics/kemmacicons.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TMacBinary mac(bytes);
  (void)mac.IsMacIconData();
  mac.ReadIcons();
  TKemIcons icons;
  icons.LoadMacData(bytes);
  for (int i = 0; icons.GetCount() && i < icons.GetGroup(0)->Count(); ++i) {
    TBitmap bitmap, mask;
    bitmap.SetSize(20, 20);
    icons.GetGroup(0)->Image(i)->Draw(bitmap, mask, false, false);
  }
  return 0;
}
