// Feeds arbitrary bytes to the LZSS decoder and the XOR transform: both either
// finish or refuse the input with EReadError, and the decoder never writes
// more than its packed data can expand to. The same bytes, packed by the
// tools' encoder, must decode back to themselves.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kem3/framework/kemcrypt.h"
#include "kem3/framework/kemlzss.h"
#include "kem3/framework/kempack.h"
#include "platform/exceptions.h"
#include "platform/streams.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    TStringStream source(bytes);
    TStringStream dest;
    try {
      TKemLzss(source, dest).Decode();
      // Two packed bytes give at most 18 output bytes.
      Check(dest.Size() <= static_cast<std::int64_t>(size) * 9);
      Check(source.Position() <= source.Size());
    } catch (const EReadError&) {
    }
  }
  {
    TStringStream source(bytes);
    TStringStream dest;
    try {
      TKemCrypt(source, dest, "").Run();
      Check(dest.Size() + 4 <= static_cast<std::int64_t>(size));
    } catch (const EReadError&) {
    }
  }
  TStringStream packed;
  kempack::WriteLzssContainer(packed, bytes);
  packed.SetPosition(0);
  TStringStream unpacked;
  TKemLzss(packed, unpacked).Decode();
  Check(unpacked.DataString() == bytes);
  return 0;
}
