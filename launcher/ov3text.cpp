// Small text helpers of the launcher's captions.
#include "launcher/ov3text.h"

String RemoveAccelMarks(std::string_view caption) {
  String out;
  out.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      out.push_back(caption[i]);
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      out.push_back('&');
      ++i;
    }
  }
  return out;
}
