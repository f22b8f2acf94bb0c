// Identification texts of the hook library.
#include "hooklib/kemhl.h"

#include <cstring>

namespace kemhl {

void CopyText(char* dest, const char* text) noexcept {
  if (dest == nullptr) return;
  std::memcpy(dest, text, std::strlen(text) + 1);
}

}  // namespace kemhl
