// The text data format and the clipboard formats it reads.
#include "kem3/dragdrop/dragdroptext.h"

#include <cstring>

#include "kem3/dragdrop/dragdropdefs.h"
#include "kem3/dragdrop/textblocks.h"
#include "platform/unicode_convert.h"

ORV_DD_CLIPBOARD_IMPL_ID(TTextClipboardFormat, TCustomTextClipboardFormat, cfText)
ORV_DD_CLIPBOARD_IMPL(TFileContentsClipboardFormat, TCustomTextClipboardFormat, "FileContents")
ORV_DD_ABSTRACT_IMPL(TCustomFileGroupDescritorClipboardFormat, TCustomSimpleClipboardFormat)
ORV_DD_CLIPBOARD_IMPL(TFileGroupDescritorClipboardFormat, TCustomFileGroupDescritorClipboardFormat,
                      "FileGroupDescriptor")
ORV_DD_CLIPBOARD_IMPL(TFileGroupDescritorWClipboardFormat, TCustomFileGroupDescritorClipboardFormat,
                      "FileGroupDescriptorW")
ORV_DD_DATA_FORMAT_IMPL(TTextDataFormat, TCustomDataFormat)

bool TTextClipboardFormat::ReadData(TDropBlock Block) {
  Data = ParseTextBlock(Block);
  return true;
}

void TCustomFileGroupDescritorClipboardFormat::SetBlock(TDropBlock Value) {
  std::string copy = CheckFileGroupDescriptorBlock(Value, Wide());
  Filenames = ParseFileGroupDescriptorNames(copy, Wide());
  Block = std::move(copy);
}

bool TCustomFileGroupDescritorClipboardFormat::ReadData(TDropBlock Data) {
  SetBlock(Data);
  return true;
}

bool TCustomFileGroupDescritorClipboardFormat::WriteData(char* Data, std::int64_t Size) {
  if (Size != static_cast<std::int64_t>(Block.size()) || Block.empty()) return false;
  std::memcpy(Data, Block.data(), Block.size());
  return true;
}

bool TCustomFileGroupDescritorClipboardFormat::Assign(TCustomDataFormat& Source) {
  if (!dynamic_cast<TTextDataFormat*>(&Source)) return false;
  SetBlock(BuildFileGroupDescriptor({u"Text scrap.txt"}, Wide()));
  return true;
}

void TTextDataFormat::Clear() {
  Changing();
  FText.clear();
}

void TTextDataFormat::SetText(const String& Value) {
  Changing();
  FText = Value;
}

bool TTextDataFormat::Assign(TClipboardFormat& Source) {
  if (auto* text = dynamic_cast<TTextClipboardFormat*>(&Source)) {
    SetText(text->Data);
    return true;
  }
  if (auto* contents = dynamic_cast<TFileContentsClipboardFormat*>(&Source)) {
    SetText(TextToUtf8(contents->Data));
    return true;
  }
  return TCustomDataFormat::Assign(Source);
}

bool TTextDataFormat::AssignTo(TClipboardFormat& Dest) {
  // The other text formats convert the text themselves.
  if (dynamic_cast<TTextClipboardFormat*>(&Dest) || dynamic_cast<TFileContentsClipboardFormat*>(&Dest)) {
    static_cast<TCustomTextClipboardFormat&>(Dest).Data = FText;
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}
