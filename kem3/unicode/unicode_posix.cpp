// Natively the tables are files in the UnicodeData folder beside the executable.
#include <filesystem>

#include "kem3/unicode/unicode.h"
#include "platform/files.h"

std::string unicodedata::ReadUnicodeResource(const char* Name) {
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
  auto path = (exe.parent_path() / "UnicodeData" / Name).u8string();
  return ReadFileBytes(String(path.begin(), path.end()));
}
