// Feeds arbitrary bytes to the parser of "FileNameMap" and "FileNameMapW" blocks, as any drag source may
// hand them over: it either reads them or refuses them with EDropBlockError,
// and never reads past the block.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "kem3/dragdrop/dropblocks.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // libFuzzer's buffer has exactly the block's size: a read past it is caught.
  const TDropBlock block(reinterpret_cast<const char*>(data), size);
  try {
    for (bool wide : {false, true}) {
      try {
        Check(!ParseFileNameMap(block, wide).empty());
      } catch (const EDropBlockError&) {
      }
    }
  } catch (const EDropBlockError&) {
  }
  return 0;
}
