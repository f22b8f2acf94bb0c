// Feeds arbitrary bytes to the parser of "FileName" and "FileNameW" blocks, as any drag source may
// hand them over: it either reads them or refuses them with EDropBlockError,
// and never reads past the block.
#include "fuzz/dropblock_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDropBlock(data, size, [](TDropBlock block) {
    Check(ParseFileNameBlock(block, true).size() <= block.size() / 2);
    Check(ParseFileNameBlock(block, false).size() <= block.size());
  });
}
