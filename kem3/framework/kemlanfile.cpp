// What both language file formats share: the header fields, opening the file
// or the language's own stream, and telling the formats apart by their magic.
#include "kem3/framework/kemlanfile.h"

#include "platform/exceptions.h"

TLanguage::TLanguage(const String& AFileName) : FileName(AFileName) {}
TLanguage::~TLanguage() = default;

void TLanguage::ClearHeader() {
  Valid = false;
  Code.clear();
  DisplayName.clear();
  Credits.clear();
  FontNames.clear();
  FontSizes.clear();
  FontScale = 1.0;
  Flag.SetSize(0, 0);
  FlagSelected.SetSize(0, 0);
}

void TLanguage::ReadHeader(TStream& /*Stream*/) { Valid = false; }
void TLanguage::ReadTexts(TStream& /*Stream*/, const String& /*Module*/, TLanguageTexts& /*Out*/) {}

void TLanguage::LoadHeader() {
  try {
    if (Stream) {
      Stream->SetPosition(0);
      ReadHeader(*Stream);
    } else {
      TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
      ReadHeader(file);
    }
  } catch (const Exception&) {
    Valid = false;
  }
}

void TLanguage::LoadTexts(const String& Module, TLanguageTexts& Out) {
  Out = {};
  if (Stream) {
    Stream->SetPosition(0);
    ReadTexts(*Stream, Module, Out);
  } else {
    TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
    ReadTexts(file, Module, Out);
  }
}

namespace {

std::unique_ptr<TLanguage> LanguageFor(TStream& Stream, const String& FileName) {
  char magic[8];
  Stream.SetPosition(0);
  if (Stream.Read(magic, sizeof magic) != sizeof magic) return nullptr;
  const std::string_view head(magic, sizeof magic);
  if (head == kLan3Magic) return std::make_unique<TLanguage3>(FileName);
  if (head == kLan2Magic) return std::make_unique<TLanguage2>(FileName);
  return nullptr;
}

}  // namespace

std::unique_ptr<TLanguage> OpenLanguageFile(const String& FileName) {
  std::unique_ptr<TLanguage> language;
  try {
    TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
    language = LanguageFor(file, FileName);
    if (language) language->ReadHeader(file);
  } catch (const Exception&) {
    return nullptr;
  }
  if (!language || !language->Valid) return nullptr;
  return language;
}

std::unique_ptr<TLanguage> OpenLanguageStream(std::unique_ptr<TStream> Stream, const String& FileName) {
  if (!Stream) return nullptr;
  std::unique_ptr<TLanguage> language;
  try {
    language = LanguageFor(*Stream, FileName);
  } catch (const Exception&) {
    return nullptr;
  }
  if (!language) return nullptr;
  language->Stream = std::move(Stream);
  language->LoadHeader();
  if (!language->Valid) return nullptr;
  return language;
}
