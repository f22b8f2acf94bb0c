// The system queries of the native build: there is no Windows to ask, so the
// version, registry and folders are unknown; disks and files are real.
#include <filesystem>
#include <system_error>

#include "kem3/framework/kemsysinfo.h"
#include "kem3/framework/kemutil.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

class TPosixSystemQueries : public TSystemQueries {
 public:
  TOSVersionInfo VersionInfo() override { return TOSVersionInfo(); }
  String WindowsDir() override { return String(); }
  std::optional<String> RegistryString(TRegistryRoot, const String&, const String&) override { return std::nullopt; }
  std::optional<std::uint32_t> RegistryInteger(TRegistryRoot, const String&, const String&) override {
    return std::nullopt;
  }
  int DeviceColorDepth() override { return 0; }
  String StandardFolder(int) override { return String(); }
  bool CreateFolder(const String& path) override { return ForceDirectories(path); }
  std::optional<String> NetWorkgroup() override { return std::nullopt; }
};

fs::path PathOf(const String& utf8) { return fs::path(utf8.empty() ? String(".") : utf8); }

}  // namespace

TSystemQueries& SystemQueriesOfPlatform() {
  static TPosixSystemQueries queries;
  return queries;
}

std::int64_t GetDiskFree(const String& path) {
  std::error_code ec;
  const fs::space_info space = fs::space(PathOf(path), ec);
  return ec ? 0 : static_cast<std::int64_t>(space.available);
}

std::int64_t GetDiskSize(const String& path) {
  std::error_code ec;
  const fs::space_info space = fs::space(PathOf(path), ec);
  return ec ? 0 : static_cast<std::int64_t>(space.capacity);
}

std::int64_t GetFileSize64(const String& fileName) {
  std::error_code ec;
  if (!fs::is_regular_file(PathOf(fileName), ec)) return 0;
  const std::uintmax_t size = fs::file_size(PathOf(fileName), ec);
  return ec ? 0 : static_cast<std::int64_t>(size);
}

bool EnumFolderEntries(const String& folder, const String& pattern,
                       const std::function<bool(const String& name, bool isFolder)>& each) {
  std::error_code ec;
  fs::directory_iterator it(PathOf(folder), ec);
  if (ec) return true;
  // "*.*" means every name to the system whose rules we follow here.
  const bool everything = pattern == "*.*";
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    const String name = it->path().filename().string();
    if (!everything && !MatchWildcard(name, pattern)) continue;
    // A linked folder counts as a file, so searches never follow links round in a loop.
    std::error_code typeError;
    const bool isFolder = it->is_directory(typeError) && !it->is_symlink(typeError);
    if (!each(name, isFolder)) return false;
  }
  return true;
}
