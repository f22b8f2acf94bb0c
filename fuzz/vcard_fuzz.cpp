// Feeds arbitrary bytes to the contact card reader, as a drop may hand them
// over, and writes the lines it read back out: the block it writes has the size
// its lines give.
#include <algorithm>

#include "fuzz/dropblock_fuzz.h"
#include "kem3/dragdrop/dragdroptextformats.h"
#include "kem3/dragdrop/textblocks.h"
#include "tests/kem3/dragdrop/fake_data_object.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakeDataObject object;
  TVCardClipboardFormat card;
  object.Offer(card.GetClipboardFormat(), std::string(reinterpret_cast<const char*>(data), size));
  if (!card.GetData(object)) return 0;
  std::size_t expected = 23;
  for (const std::string& line : card.Lines) {
    Check(line.find(':') == std::string::npos || line.find('=') < line.find(':'));
    expected += line.size() + 1 - std::count(line.begin(), line.end(), '\n');
  }
  const std::string block = BuildVCardBlock(card.Lines);
  Check(card.Lines.empty() ? block.empty() : block.size() == expected);
  return 0;
}
