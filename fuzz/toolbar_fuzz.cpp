// Feeds arbitrary text to the toolbar builder's reading of a comma list of
// action ids (a list kept in the settings file). Every token becomes one
// button of a width the rules allow, whatever the text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kem3/framework/kemactinfo.h"
#include "kem3/framework/kemtoolbar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!ActionInfosRegistered()) RegisterActionInfos(100000, 5, {1, "Drop", "", 1, "", 2, "Check", "", -2, ""});
  const std::string ids(reinterpret_cast<const char*>(data), size);
  const auto slots = PlanToolbar(ids, 16, 1);
  if (int(slots.size()) != ToolTokenCount(ids)) std::abort();
  for (const TToolSlot& s : slots)
    if (s.Width != (s.Separator ? 8 : s.Style >= 0 ? 37 : 23) || s.Style >= 1) std::abort();
  return 0;
}
