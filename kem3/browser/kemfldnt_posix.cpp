// The native build's change source: folders are seen, but the system's change
// notifications are a Windows matter, so a watch never starts here.
#include <filesystem>
#include <system_error>

#include "kem3/browser/kemfldnt.h"
#include "platform/unicode_convert.h"

namespace {

class TPosixFolderChangeSource : public TFolderChangeSource {
 public:
  bool FolderExists(const WideString& Folder) override {
    std::error_code ec;
    return !Folder.empty() && std::filesystem::is_directory(WideToUtf8(Folder), ec);
  }
  std::unique_ptr<TFolderChangeWatch> Open(const WideString&, bool, std::uint32_t, std::uint32_t& Error) override {
    Error = 50;  // ERROR_NOT_SUPPORTED
    return nullptr;
  }
};

}  // namespace

TFolderChangeSource& SystemFolderChangeSource() {
  static TPosixFolderChangeSource source;
  return source;
}
