// Reads dragged files' contents from a data object of our own filled from
// arbitrary bytes: a descriptor block, items by index as streams or memory
// blocks with any Stat size, some refused. Whatever it offers, the reading
// keeps within the limit and never keeps a stream cut short.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/dropblock_fuzz.h"
#include "kem3/dragdrop/dragdropstreams.h"
#include "tests/kem3/dragdrop/fake_data_object.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RegisterDragDropFormats();
  FakeMedium::released = 0;
  FuzzedDataProvider in(data, size);
  FakeDataObject object;
  const std::uint16_t contents = RegisterClipboardFormatName("FileContents");
  if (in.ConsumeBool()) {
    object.Offer(RegisterClipboardFormatName("FileGroupDescriptor"), in.ConsumeRandomLengthString(2000));
  }
  std::map<std::int32_t, std::string> offered;
  for (int i = 0; i < 6 && in.remaining_bytes() > 0; ++i) {
    const std::int32_t index = in.ConsumeIntegralInRange<std::int32_t>(-1, 4);
    FakeDataObject::Entry entry;
    entry.tymed = in.ConsumeBool() ? tymedIStream : tymedHGlobal;
    entry.statFails = in.ConsumeBool();
    entry.statSize = in.ConsumeIntegral<std::int64_t>();
    entry.bytes = in.ConsumeRandomLengthString(300);
    offered[index] = entry.bytes;
    object.OfferItem(contents, index, std::move(entry));
  }
  TDataStreamDataFormat format(nullptr);
  format.GetData(object);
  std::int64_t total = 0;
  for (int i = 0; i < format.Streams.Count(); ++i) {
    const std::int64_t n = format.Streams.Streams(i).Size();
    total += n;
    bool whole = false;  // each stream is one offered item, whole
    for (const auto& [index, bytes] : offered) whole = whole || static_cast<std::int64_t>(bytes.size()) == n;
    Check(whole);
  }
  Check(total <= kMaxDropContentsSize);
  Check(FakeMedium::released == object.handedOut);
  return 0;
}
