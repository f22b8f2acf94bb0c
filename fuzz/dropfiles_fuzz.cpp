// Feeds arbitrary bytes to the parser of CF_HDROP blocks, as any drag source may
// hand them over: it either reads them or refuses them with EDropBlockError,
// and never reads past the block. Drops of thousands of names are large:
// fuzz.sh: -max_len=262144
#include "fuzz/dropblock_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDropBlock(data, size, [](TDropBlock block) {
    std::size_t unread = 0;
    const std::vector<WideString> files = ParseDropFiles(block, &unread);
    // Names past the cap are only counted.
    Check(files.size() <= kMaxDropFileNames && (unread == 0 || files.size() == kMaxDropFileNames));
    for (const WideString& name : files) Check(!name.empty() && name.size() <= block.size());
    // What a source writes reads back whole.
    Check(ParseDropFiles(BuildDropFiles(files)) == files);
  });
}
