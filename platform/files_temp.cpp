// The temporary files a save writes beside the file it replaces: their names,
// and the removal of the ones a save cut off by a crash or a kill left behind.
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

fs::path PathOf(const String& name) { return fs::path(std::u8string(name.begin(), name.end())); }

String NameOf(const fs::path& path) {
  const std::u8string name = path.filename().u8string();
  return String(name.begin(), name.end());
}

// One or more ASCII digits.
bool IsNumber(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

String SaveTempFileName(const String& fileName, unsigned long processId, unsigned counter) {
  return fileName + ".~" + std::to_string(processId) + "-" + std::to_string(counter);
}

bool IsSaveTempFileOf(std::string_view name, std::string_view target) {
  if (name.size() < target.size() + 2 || name.substr(0, target.size()) != target) return false;
  std::string_view rest = name.substr(target.size());
  if (rest.substr(0, 2) != ".~") return false;
  rest.remove_prefix(2);
  const size_t dash = rest.find('-');
  return dash != std::string_view::npos && IsNumber(rest.substr(0, dash)) && IsNumber(rest.substr(dash + 1));
}

int RemoveStaleSaveTempFiles(const String& fileName) {
  const fs::path path = PathOf(fileName);
  const String target = NameOf(path);
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsSaveTempFileOf(NameOf(it->path()), target) || !it->is_regular_file(ec)) continue;
    const std::u8string name = it->path().u8string();
    if (DeleteFile(String(name.begin(), name.end()))) ++removed;
  }
  return removed;
}
