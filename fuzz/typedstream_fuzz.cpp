// Feeds arbitrary bytes to the typed-stream reader, behind a valid header, in
// both byte orders; every data object it reports must lie inside the input.
// fuzz.sh: -max_len=262144
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kem3/graphics/kemtypedstream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const char* order : {"typedstream", "streamtyped"}) {
    std::string stream = std::string("\x04\x0b") + order + "\x01";
    stream.append(reinterpret_cast<const char*>(data), size);
    TNXTypedStream reader(stream);
    if (!reader.ReadHeader()) std::abort();
    reader.OnData = [&](std::int64_t Offset, std::int64_t Length) {
      if (Offset < 0 || Length < 0 || Offset + Length > static_cast<std::int64_t>(stream.size())) std::abort();
    };
    try {
      reader.ReadAll();
    } catch (const EIconError&) {
    }
  }
  return 0;
}
