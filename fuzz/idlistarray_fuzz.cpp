// Feeds arbitrary bytes to the parser of "Shell IDList Array" blocks, as any drag source may
// hand them over: it either reads them or refuses them with EDropBlockError,
// and never reads past the block.
#include "fuzz/dropblock_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDropBlock(data, size, [](TDropBlock block) {
    const auto lists = ParseIDListArray(block);
    Check(lists.size() >= 2);
    for (const std::string& list : lists)
      Check(list.size() >= 2 && list.size() <= block.size() && IDListSize(list) == list.size());
  });
}
