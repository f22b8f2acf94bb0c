// Feeds arbitrary bytes to the parser of "Shell IDList Array" blocks, as any drag source may
// hand them over: it either reads them or refuses them with EDropBlockError,
// and never reads past the block, nor gives back more than the block holds.
// Its bounds (1,001 lists, 256 items a list) lie beyond small inputs:
// fuzz.sh: -max_len=262144
#include "fuzz/dropblock_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDropBlock(data, size, [](TDropBlock block) {
    std::size_t unread = 0;
    const auto lists = ParseIDListArray(block, &unread);
    Check(lists.size() >= 2 && lists.size() <= kMaxIDListArrayItems + 1);
    Check(unread == 0 || lists.size() == kMaxIDListArrayItems + 1);
    std::size_t total = 0;
    for (const std::string& list : lists) {
      Check(list.size() >= 2 && IDListSize(list) == list.size());
      total += list.size();
    }
    Check(total <= block.size());
  });
}
