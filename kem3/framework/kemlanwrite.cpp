// Writers of both language file formats.
#include "kem3/framework/kemlanwrite.h"

#include "kem3/framework/kemlanblock.h"
#include "kem3/framework/kemlanfile.h"
#include "kem3/framework/kempack.h"
#include "kem3/framework/kemstreamfmt.h"
#include "kem3/pictures/pngimage.h"
#include "platform/bitmap.h"
#include "platform/unicode_convert.h"

namespace {

void WriteString(TStream& Stream, const TLanTag& Tag, const String& Value, bool Compress) {
  TLanBlockString block;
  block.Value = Value;
  WriteLanBlock(Stream, Tag, block, Compress);
}

void WriteModule(TStream& Stream, const TLanTag& Tag, const String& Module, const std::vector<String>& Strings,
                 bool Compress) {
  TLanBlockModule block;
  block.Module = Module;
  block.Strings = Strings;
  WriteLanBlock(Stream, Tag, block, Compress);
}

void PutInt32(std::string& Header, int At, std::int32_t Value) {
  for (int i = 0; i < 4; ++i) Header[At + i] = static_cast<char>(static_cast<std::uint32_t>(Value) >> (8 * i));
}

void PutText(std::string& Header, int At, const String& Text, size_t Max) {
  Header.replace(At, std::min(Text.size(), Max), Text.substr(0, Max));
}

// One section (names, texts or one picture) as the flags say.
void WriteSection(TStream& Stream, const std::string& Bytes, bool Lzss, bool Xor) {
  if (Lzss) {
    kempack::WriteLzssContainer(Stream, Bytes);
  } else if (Xor) {
    kempack::WriteXorBlock(Stream, Bytes, lan2::kXorKey);
  } else {
    Stream.WriteBytes(Bytes);
  }
}

std::string ListBytes(const std::vector<String>& Utf8) {
  std::vector<String> ansi;
  ansi.reserve(Utf8.size());
  for (const String& s : Utf8) ansi.push_back(Utf8ToAnsi(s));
  TStringStream bytes;
  WriteStreamStringVector(bytes, ansi);
  return bytes.DataString();
}

std::string BitmapBytes(const TBitmap& Bitmap) {
  TStringStream bytes;
  Bitmap.SaveToStream(bytes);
  return bytes.DataString();
}

}  // namespace

void WriteLanguageFile3(TStream& Stream, const TLanCatalogue& Catalogue, TPNGImage* Flag, bool Compress) {
  const bool withFlag = Flag && !Flag->Empty();
  const size_t blocks = 3 + 2 * Catalogue.Fonts.size() + (withFlag ? 1 : 0) + 2 * Catalogue.Modules.size();
  std::string header(kLan3HeaderSize, '\0');
  header.replace(0, kLan3Magic.size(), kLan3Magic);
  PutText(header, 8, Catalogue.Code, 8);
  PutInt32(header, 20, static_cast<std::int32_t>(blocks));
  Stream.WriteBytes(header);

  WriteString(Stream, LanTag("ttit"), Catalogue.DisplayName, Compress);
  WriteString(Stream, LanTag("cred"), Catalogue.Credits, Compress);
  for (const auto& [name, size] : Catalogue.Fonts) {
    WriteString(Stream, LanTag("font"), name, Compress);
    TLanBlockInteger block;
    block.Value = size;
    WriteLanBlock(Stream, LanTag("fsiz"), block, Compress);
  }
  TLanBlockFloat scale;
  scale.Value = Catalogue.Scale;
  WriteLanBlock(Stream, LanTag("fscl"), scale, Compress);
  if (withFlag) {
    TLanBlockImage image;
    image.Image->Assign(*Flag);
    WriteLanBlock(Stream, LanTag("iflg"), image, Compress);
  }
  for (const TLanCatalogueModule& module : Catalogue.Modules) {
    WriteModule(Stream, LanTag("ntxt"), module.Name, module.Names, Compress);
    WriteModule(Stream, LanTag("ttxt"), module.Name, module.Texts, Compress);
  }
}

void WriteLanguageFile2(TStream& Stream, const TLanCatalogue& Catalogue, std::uint32_t Flags, const TBitmap* Flag,
                        const TBitmap* FlagSelected) {
  const std::vector<TLanCatalogueModule> none(1);
  const std::vector<TLanCatalogueModule>& modules = Catalogue.Modules.empty() ? none : Catalogue.Modules;
  const auto count = static_cast<std::int32_t>(modules.size());
  const std::int64_t base = count * lan2::kHeaderSize;

  // The body follows the headers; offsets are known once it is written.
  TStringStream body;
  std::int32_t pictures = -1;
  if (Flag && FlagSelected && !Flag->Empty() && !FlagSelected->Empty()) {
    pictures = static_cast<std::int32_t>(base + body.Position());
    const bool lzss = Flags & lan2::kPicturesLzss;
    const bool xored = Flags & lan2::kPicturesXor;
    WriteSection(body, BitmapBytes(*Flag), lzss, xored);
    WriteSection(body, BitmapBytes(*FlagSelected), lzss, xored);
  }

  const WideString display = Utf8ToWide(Catalogue.DisplayName).substr(0, lan2::kDisplayNameChars - 1);
  for (const TLanCatalogueModule& module : modules) {
    std::string header(lan2::kHeaderSize, '\0');
    header.replace(0, kLan2Magic.size(), kLan2Magic);
    PutInt32(header, lan2::kFlagsAt, static_cast<std::int32_t>(Flags));
    PutText(header, lan2::kCodeAt, Catalogue.Code, 8);
    PutText(header, lan2::kModuleAt, module.Name, 8);
    PutInt32(header, lan2::kCountAt, count);
    PutInt32(header, lan2::kNamesAt, static_cast<std::int32_t>(base + body.Position()));
    WriteSection(body, ListBytes(module.Names), Flags & lan2::kNamesLzss, Flags & lan2::kNamesXor);
    PutInt32(header, lan2::kTextsAt, static_cast<std::int32_t>(base + body.Position()));
    WriteSection(body, ListBytes(module.Texts), Flags & lan2::kTextsLzss, Flags & lan2::kTextsXor);
    PutInt32(header, lan2::kFlagsPicturesAt, pictures);
    for (size_t i = 0; i < display.size(); ++i) {
      header[lan2::kDisplayNameAt + 2 * i] = static_cast<char>(display[i] & 0xFF);
      header[lan2::kDisplayNameAt + 2 * i + 1] = static_cast<char>(display[i] >> 8);
    }
    Stream.WriteBytes(header);
  }
  Stream.WriteBytes(body.DataString());
}
