// Feeds arbitrary bytes to the file group descriptor block check and the name
// view over its records: a block is taken whole or refused, no copy is larger
// than the block, and every name fits its field.
#include "fuzz/dropblock_fuzz.h"
#include "kem3/dragdrop/dragdropstreams.h"
#include "kem3/dragdrop/textblocks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDropBlock(data, size, [](TDropBlock block) {
    for (bool wide : {false, true}) {
      try {
        const std::string copy = CheckFileGroupDescriptorBlock(block, wide);
        Check(copy.size() <= block.size() && copy.size() >= 4);
        const std::uint64_t record = wide ? kFileDescriptorWSize : kFileDescriptorSize;
        TMemoryList list;
        TFileDescriptorToFilenameStrings view(list);
        for (std::uint64_t pos = 4; pos + record <= copy.size(); pos += record) {
          const TDropBlock one = TDropBlock(copy).substr(pos, record);
          Check(FileDescriptorName(one, wide).size() <= kDescriptorNameChars);
          if (!wide) list.Add(std::string(one));
        }
        const int n = view.Count();
        for (int i = 0; i < n; ++i) view.Insert(view.Count(), view.Get(i));
        Check(view.Count() == 2 * n);
      } catch (const EDropBlockError&) {
      }
    }
  });
}
