// Clipboard format names: registered with the system once per process and cached.
#include <windows.h>

#include <map>

#include "kem3/dragdrop/dragdrop.h"

std::uint16_t RegisterClipboardFormatName(const char* Name) {
  static std::map<String, std::uint16_t> cache;
  auto it = cache.find(Name);
  if (it != cache.end()) return it->second;
  const auto id = static_cast<std::uint16_t>(RegisterClipboardFormatA(Name));
  if (id) cache.emplace(Name, id);
  return id;
}

String ClipboardFormatNameOf(std::uint16_t Id) {
  char buffer[256];
  const int length = GetClipboardFormatNameA(Id, buffer, 255);
  return length > 0 ? String(buffer, length) : String();
}
