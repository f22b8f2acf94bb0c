// Feeds arbitrary bytes to the reader of tagged-block language files. The
// header either reads or leaves the language invalid; the texts of the first
// and of a named module either read or raise an exception of ours. Nothing
// may crash, read outside its data, allocate without bound or walk forever.
#include <cstdint>
#include <string>

#include "kem3/framework/kemlanfile.h"
#include "platform/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TStringStream stream(std::string(reinterpret_cast<const char*>(Data), Size));
  TLanguage3 language("fuzz.lan");
  language.ReadHeader(stream);
  for (const char* module : {"", "Clock"}) {
    TLanguageTexts texts;
    try {
      language.ReadTexts(stream, module, texts);
    } catch (const Exception&) {
    }
  }
  return 0;
}
