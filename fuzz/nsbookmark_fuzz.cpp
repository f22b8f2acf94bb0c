// Feeds arbitrary bytes to the parser of "Netscape Bookmark" blocks, as any drag source may
// hand them over: it either reads them or refuses them with EDropBlockError,
// and never reads past the block.
#include "fuzz/dropblock_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDropBlock(data, size, [](TDropBlock block) {
    const TDroppedURL url = ParseNetscapeBookmark(block);
    Check(url.URL.find('\0') == String::npos && url.Title.find('\0') == String::npos);
  });
}
