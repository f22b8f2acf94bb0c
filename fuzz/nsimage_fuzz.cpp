// Feeds arbitrary bytes to the parser of "Netscape Image Format" records, as any drag source may
// hand them over: it either reads them or refuses them with EDropBlockError,
// and never reads past the block.
#include "fuzz/dropblock_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDropBlock(data, size, [](TDropBlock block) {
    const TDroppedURL url = ParseNetscapeImage(block);
    Check(block.size() > 44 && url.URL.find('\0') == String::npos);
  });
}
