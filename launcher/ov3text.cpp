// Automatic accelerators of captions.
#include "launcher/ov3text.h"

#include <set>

#include "kem3/framework/kemutil.h"
#include "platform/unicode_convert.h"
#include "platform/wide_case.h"

namespace {

bool CanBeAccelerator(char32_t upper) { return (upper >= U'A' && upper <= U'Z') || (upper >= U'0' && upper <= U'9'); }

}  // namespace

void AssignAutoAccelerators(std::vector<String>& captions) {
  std::set<char32_t> reserved;
  std::vector<bool> hasOne(captions.size());
  for (size_t i = 0; i < captions.size(); ++i) {
    char32_t accel = GetAccelChar(captions[i]);
    hasOne[i] = accel != 0;
    if (accel) reserved.insert(accel);
  }
  for (size_t i = 0; i < captions.size(); ++i) {
    if (hasOne[i]) continue;
    String& caption = captions[i];
    size_t pos = 0;
    while (pos < caption.size()) {
      size_t start = pos;
      char32_t upper = WideCharUpper(DecodeUtf8At(caption, pos));
      // A literal "&" of the caption is never given a mark of its own.
      if (caption[start] == '&') {
        if (pos < caption.size() && caption[pos] == '&') ++pos;
        continue;
      }
      if (CanBeAccelerator(upper) && reserved.insert(upper).second) {
        caption.insert(start, 1, '&');
        break;
      }
    }
  }
}
