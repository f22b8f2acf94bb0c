// Clipboard format names in the native build: ids handed out from 0xC000 on,
// as the system does, kept for the process.
#include <map>

#include "kem3/dragdrop/dragdrop.h"

namespace {

std::map<String, std::uint16_t>& Registered() {
  static std::map<String, std::uint16_t> names;
  return names;
}

}  // namespace

std::uint16_t RegisterClipboardFormatName(const char* Name) {
  auto& names = Registered();
  auto it = names.find(Name);
  if (it != names.end()) return it->second;
  const auto id = static_cast<std::uint16_t>(0xC000 + names.size());
  names.emplace(Name, id);
  return id;
}

String ClipboardFormatNameOf(std::uint16_t Id) {
  for (const auto& [name, id] : Registered()) {
    if (id == Id) return name.substr(0, 255);
  }
  return {};
}
