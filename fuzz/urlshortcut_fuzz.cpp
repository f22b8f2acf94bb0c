// Feeds arbitrary bytes to the parser of internet shortcut texts, as any drag source may
// hand them over: it either reads them or refuses them with EDropBlockError,
// and never reads past the block.
#include "fuzz/dropblock_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDropBlock(data, size, [](TDropBlock block) {
    const TInternetShortcut shortcut = ParseInternetShortcut(block);
    if (shortcut.Url) Check(shortcut.Url->find_first_of("\r\n") == String::npos);
    Check(shortcut.IconFile.find_first_of("\r\n") == String::npos);
  });
}
