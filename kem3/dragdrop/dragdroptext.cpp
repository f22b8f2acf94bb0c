// The text data format and the clipboard formats it reads.
#include "kem3/dragdrop/dragdroptext.h"

#include "kem3/dragdrop/dragdropdefs.h"
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

bool TCustomFileGroupDescritorClipboardFormat::ReadData(TDropBlock Block) {
  Filenames = ParseFileGroupDescriptorNames(Block, Wide());
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
  if (auto* text = dynamic_cast<TCustomTextClipboardFormat*>(&Dest)) {
    text->Data = FText;
    return true;
  }
  return TCustomDataFormat::AssignTo(Dest);
}
