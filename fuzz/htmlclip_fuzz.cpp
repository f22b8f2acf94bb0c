// Feeds arbitrary bytes to the reader of the clipboard's HTML: every offset of
// its header is checked against the block, and mark-up written with a header
// reads back as it was.
#include "fuzz/dropblock_fuzz.h"
#include "kem3/dragdrop/textblocks.h"
#include "platform/unicode_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDropBlock(data, size, [](TDropBlock block) {
    const String html = ParseHtmlClipboard(block);
    if (IsValidUtf8(block) && block.find('\0') == TDropBlock::npos && !block.empty() && block[0] == '<') {
      Check(ParseHtmlClipboard(BuildHtmlClipboard(block)) == block);
    }
    Check(IsValidUtf8(html));
  });
}
