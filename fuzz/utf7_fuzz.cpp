// Feeds arbitrary bytes to the UTF-7 decoder: it either gives text, which the
// encoder must turn back into text that decodes the same, or refuses the bytes
// with EUcGeneralError.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "kem3/unicode/ucsystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WideString text;
  try {
    text = UTF7ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const EUcGeneralError&) {
    return 0;
  }
  if (UTF7ToWide(WideToUTF7(text)) != text) std::abort();
  return 0;
}
