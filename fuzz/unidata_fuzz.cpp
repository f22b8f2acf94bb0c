// Feeds arbitrary bytes to the readers of the character tables: each either
// builds its table or refuses the data with EReadError.
#include <cstdint>
#include <string>

#include "kem3/unicode/unicode.h"
#include "platform/exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  try {
    switch (data[0] % 6) {
      case 0:
        unicodedata::ReadCaseTable(bytes);
        break;
      case 1:
        unicodedata::ReadDecompositionTables(bytes);
        break;
      case 2:
        unicodedata::ReadCombiningTable(bytes);
        break;
      case 3:
        unicodedata::ReadCompositionPairs(bytes);
        break;
      case 4:
        unicodedata::ReadCategoryTable(bytes);
        break;
      default:
        unicodedata::ReadNumberTable(bytes);
        break;
    }
  } catch (const EReadError&) {
  }
  return 0;
}
