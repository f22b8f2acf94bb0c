// Feeds arbitrary bytes to the stream loaders of both wide list families: each
// reads whatever text the bytes hold, and what it saves loads back the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kem3/unicode/ucwidestrings.h"
#include "kem3/unicode/unicode_lists.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    TStringStream in(bytes);
    TUcStringList list;
    list.LoadFromStream(in);
    TStringStream saved("");
    list.SaveToStream(saved);
    saved.SetPosition(0);
    TUcStringList again;
    again.LoadFromStream(saved);
    Check(again.Equals(list));
  }
  {
    TStringStream in(bytes);
    unicode::TWideStringList list;
    list.LoadFromStream(in);
    Check(list.Count() <= static_cast<int>(size));
  }
  return 0;
}
