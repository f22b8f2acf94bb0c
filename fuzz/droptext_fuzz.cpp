// Offers arbitrary bytes as each text format of a drop (UTF-16, OEM, rich text,
// CSV, mail, HTML, file contents) to the text data format: it reads them or
// refuses them, never past the block, and always with a medium released.
#include "fuzz/dropblock_fuzz.h"
#include "kem3/dragdrop/dragdroptextformats.h"
#include "tests/kem3/dragdrop/fake_data_object.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RegisterDragDropFormats();
  if (size < 1) return 0;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  static const char* const kNames[] = {"Rich Text Format", "CSV", "Internet Message (rfc822/rfc1522)", "HTML Format",
                                       "FileContents"};
  const unsigned pick = data[0] % 7;
  const std::uint16_t cf = pick == 0   ? cfUnicodeText
                           : pick == 1 ? cfOEMText
                                       : RegisterClipboardFormatName(kNames[pick - 2]);
  FakeDataObject object;
  object.Offer(cf, bytes, (data[0] & 0x80) ? tymedIStream : tymedHGlobal);
  TTextDataFormat text(nullptr);
  text.GetData(object);
  THTMLDataFormat html(nullptr);
  html.GetData(object);
  Check(FakeMedium::locks == 0);
  return 0;
}
