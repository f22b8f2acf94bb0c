// Feeds arbitrary bytes to the stream loaders of both wide list families: each
// reads whatever text the bytes hold, and what it saves loads back the same;
// so does the 8-bit view in UTF-8 and UTF-7.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "kem3/unicode/ucsystem.h"
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
  // The 8-bit view in UTF-8 and in UTF-7: whatever loads saves and loads back the same.
  for (unsigned codePage : {0u, 65000u}) {
    TStringStream in(bytes);
    TUcStringList list;
    try {
      list.AnsiStrings().LoadFromStreamCP(in, codePage);
    } catch (const EUcGeneralError&) {
      continue;
    }
    TStringStream saved("");
    list.AnsiStrings().SaveToStreamCP(saved, codePage);
    saved.SetPosition(0);
    TUcStringList again;
    again.AnsiStrings().LoadFromStreamCP(saved, codePage);
    Check(codePage == 0 || again.Equals(list));
  }
  return 0;
}
