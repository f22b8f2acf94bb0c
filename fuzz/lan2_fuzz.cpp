// Feeds arbitrary bytes to the reader of old-format language files: module
// headers, names and texts stored, LZSS-packed or XOR-transformed, and the
// two flag pictures. The header either reads or leaves the language invalid;
// the texts either read or raise an exception of ours.
#include <cstdint>
#include <string>

#include "kem3/framework/kemlanfile.h"
#include "platform/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TStringStream stream(std::string(reinterpret_cast<const char*>(Data), Size));
  TLanguage2 language("fuzz.lan");
  language.ReadHeader(stream);
  for (const char* module : {"", "Clock", "Bin"}) {
    TLanguageTexts texts;
    try {
      language.ReadTexts(stream, module, texts);
    } catch (const Exception&) {
    }
  }
  return 0;
}
