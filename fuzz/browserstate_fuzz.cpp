// Feeds arbitrary text to the file browser's reading of its settings section,
// as "Key=Value" lines. Whatever the text, the state read stays within its
// limits, and writing it and reading it again gives the same state.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "kem3/browser/kembrowser_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::map<String, String> section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const size_t eq = line.find('=');
    if (eq != std::string::npos) section[line.substr(0, eq)] = line.substr(eq + 1);
    start = end + 1;
  }
  const auto value = [&](const String& Key) {
    const auto it = section.find(Key);
    return it == section.end() ? String() : it->second;
  };
  const TBrowserState state = ReadBrowserState(value);
  if (state.Splitter < TBrowserState::MinSplitter || state.Splitter > TBrowserState::MaxSplitter) std::abort();
  if (state.ColumnWidths.size() > TBrowserState::MaxColumns) std::abort();
  if (state.Favourites.size() > TBrowserState::MaxFavourites) std::abort();
  for (int w : state.ColumnWidths)
    if (w < 0 || w > TBrowserState::MaxColumnWidth) std::abort();
  std::map<String, String> written;
  WriteBrowserState(state, [&](const String& Key, const String& Value) { written[Key] = Value; });
  const TBrowserState again = ReadBrowserState([&](const String& Key) { return written[Key]; });
  if (!(again == state)) std::abort();
  return 0;
}
