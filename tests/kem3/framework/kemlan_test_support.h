// Language files for the tests, made by our own writers from small catalogues.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "kem3/framework/kemlancatalog.h"
#include "kem3/framework/kemlanfile.h"
#include "kem3/framework/kemlanwrite.h"
#include "kem3/pictures/pngimage.h"
#include "platform/files.h"
#include "platform/streams.h"

namespace lantest {

// A catalogue of one module from its text, with code and display name set.
inline TLanCatalogue Catalogue(const String& Code, const String& Name, const String& Entries) {
  return ParseLanCatalogue("@code " + Code + "\n@name " + Name + "\n" + Entries);
}

inline std::string Lan3Bytes(const TLanCatalogue& Catalogue, TPNGImage* Flag = nullptr, bool Compress = true) {
  TStringStream out;
  WriteLanguageFile3(out, Catalogue, Flag, Compress);
  return out.DataString();
}

inline std::string Lan2Bytes(const TLanCatalogue& Catalogue, std::uint32_t Flags, const TBitmap* Flag = nullptr,
                             const TBitmap* FlagSelected = nullptr) {
  TStringStream out;
  WriteLanguageFile2(out, Catalogue, Flags, Flag, FlagSelected);
  return out.DataString();
}

inline void WriteFile(const String& FileName, const std::string& Bytes) { WriteFileAtomic(FileName, Bytes); }

// The language of these bytes, read from a stream of its own; nullptr when invalid.
inline std::unique_ptr<TLanguage> Open(const std::string& Bytes) {
  return OpenLanguageStream(std::make_unique<TStringStream>(Bytes));
}

inline TLanguageTexts Texts(TLanguage& Language, const String& Module = String()) {
  TLanguageTexts texts;
  Language.LoadTexts(Module, texts);
  return texts;
}

inline void PutInt32(std::string& Bytes, size_t At, std::int32_t Value) {
  for (int i = 0; i < 4; ++i) Bytes[At + i] = static_cast<char>(static_cast<std::uint32_t>(Value) >> (8 * i));
}

}  // namespace lantest
