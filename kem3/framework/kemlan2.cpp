// Reading the older language format ("KEMLAN"): 256-byte module headers, and
// names, texts and flag pictures each stored, LZSS-packed or XOR-transformed.
#include "kem3/framework/kemcrypt.h"
#include "kem3/framework/kemlanfile.h"
#include "kem3/framework/kemlzss.h"
#include "kem3/framework/kemstreamfmt.h"
#include "kem3/framework/kemutil.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

std::int32_t Int32At(const std::string& Header, int At) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(Header[At + i]);
  return static_cast<std::int32_t>(value);
}

String ModuleOf(const std::string& Header) { return TextToUtf8(BufferToStr(Header.data() + lan2::kModuleAt, 8)); }

// The first header, checked: the magic, and a header count of at least one
// that the file can hold.
std::string ReadFirstHeader(TStream& Stream, std::int32_t& Count) {
  Stream.SetPosition(0);
  std::string header = Stream.ReadBytes(lan2::kHeaderSize);
  if (std::string_view(header).substr(0, kLan2Magic.size()) != kLan2Magic) throw EReadError("Not a language file");
  Count = Int32At(header, lan2::kCountAt);
  if (Count < 1 || Count > Stream.Size() / lan2::kHeaderSize)
    throw EReadError("Language file with " + std::to_string(Count) + " module headers");
  return header;
}

// Moves to a file offset read from a header; one outside the file is damage.
void SeekTo(TStream& Stream, std::int32_t At) {
  if (At < 0 || At > Stream.Size()) throw EReadError("Language file offset " + std::to_string(At) + " out of range");
  Stream.SetPosition(At);
}

// The bytes of one section at the stream's position, unpacked as the flags say.
// A section that is both packed and transformed is read as packed: the two
// never go together in a file.
void ReadSection(TStream& Stream, bool Lzss, bool Xor, TMemoryStream& Out) {
  if (Lzss) {
    TKemLzss(Stream, Out).Decode();
  } else if (Xor) {
    TKemCrypt(Stream, Out, lan2::kXorKey).Run();
  } else {
    return;
  }
  Out.SetPosition(0);
}

std::vector<String> ReadList(TStream& Stream, std::int32_t At, bool Lzss, bool Xor) {
  SeekTo(Stream, At);
  if (!Lzss && !Xor) return ReadStreamStringVector(Stream);
  TMemoryStream section;
  ReadSection(Stream, Lzss, Xor, section);
  return ReadStreamStringVector(section);
}

// Whether the Windows bitmap at the stream's position declares no side longer
// than a flag may have, read from its headers without decoding. Bytes that
// are no bitmap header pass: the bitmap reader refuses them.
bool BitmapFitsFlag(TStream& Stream) {
  const std::int64_t at = Stream.Position();
  std::string head(26, '\0');
  const bool complete = Stream.Read(head.data(), 26) == 26;
  Stream.SetPosition(at);
  if (!complete || head[0] != 'B' || head[1] != 'M') return true;
  // The old core header holds 16-bit sides, the later ones 32-bit sides;
  // a negative height stands for rows from the top down.
  const bool core = Int32At(head, 14) == 12;
  const std::int64_t width = core ? static_cast<std::int16_t>(Int32At(head, 18)) : Int32At(head, 18);
  const std::int64_t height = core ? static_cast<std::int16_t>(Int32At(head, 18) >> 16) : Int32At(head, 22);
  return width <= kMaxFlagSide && height <= kMaxFlagSide && height >= -kMaxFlagSide;
}

// Reads one flag picture; false, with the bitmap untouched, for one too large.
bool ReadPicture(TStream& Stream, bool Lzss, bool Xor, TBitmap& Bitmap) {
  TMemoryStream section;
  if (Lzss || Xor) ReadSection(Stream, Lzss, Xor, section);
  TStream& source = Lzss || Xor ? section : Stream;
  if (!BitmapFitsFlag(source)) return false;
  Bitmap.LoadFromStream(source);
  return true;
}

}  // namespace

void TLanguage2::ReadHeader(TStream& Stream) {
  ClearHeader();
  try {
    std::int32_t count = 0;
    const std::string header = ReadFirstHeader(Stream, count);
    Code = TextToUtf8(BufferToStr(header.data() + lan2::kCodeAt, 8));
    for (int i = 0; i < lan2::kDisplayNameChars; ++i) {
      const auto c = static_cast<char16_t>(static_cast<std::uint8_t>(header[lan2::kDisplayNameAt + 2 * i]) |
                                           static_cast<std::uint8_t>(header[lan2::kDisplayNameAt + 2 * i + 1]) << 8);
      if (c == 0) break;
      DisplayName += c;
    }
    FontNames = {"Tahoma", "Verdana"};
    FontSizes = {8, 8};
    FontScale = 1.0;
    const std::int32_t pictures = Int32At(header, lan2::kFlagsPicturesAt);
    if (!SkipFlagPictures && pictures >= 0) {
      const auto flags = static_cast<std::uint32_t>(Int32At(header, lan2::kFlagsAt));
      const bool lzss = flags & lan2::kPicturesLzss;
      const bool xored = flags & lan2::kPicturesXor;
      SeekTo(Stream, pictures);
      if (!ReadPicture(Stream, lzss, xored, Flag) || !ReadPicture(Stream, lzss, xored, FlagSelected)) {
        Flag.SetSize(0, 0);
        FlagSelected.SetSize(0, 0);
      }
    }
    Valid = true;
  } catch (const Exception&) {
    Valid = false;
  }
}

void TLanguage2::ReadTexts(TStream& Stream, const String& Module, TLanguageTexts& Out) {
  std::int32_t count = 0;
  std::string header = ReadFirstHeader(Stream, count);
  if (!Module.empty() && !AnsiSameText(Module, ModuleOf(header)) && count > 1) {
    for (std::int32_t k = 1; k < count; ++k) {
      Stream.SetPosition(k * lan2::kHeaderSize);
      std::string other = Stream.ReadBytes(lan2::kHeaderSize);
      if (AnsiSameText(Module, ModuleOf(other))) {
        header = std::move(other);
        break;
      }
    }
  }
  const auto flags = static_cast<std::uint32_t>(Int32At(header, lan2::kFlagsAt));
  const std::vector<String> names =
      ReadList(Stream, Int32At(header, lan2::kNamesAt), flags & lan2::kNamesLzss, flags & lan2::kNamesXor);
  const std::vector<String> texts =
      ReadList(Stream, Int32At(header, lan2::kTextsAt), flags & lan2::kTextsLzss, flags & lan2::kTextsXor);
  Out.Names.reserve(names.size());
  for (const String& name : names) Out.Names.push_back(AnsiToUtf8(name));
  Out.Texts.reserve(texts.size());
  for (const String& text : texts) Out.Texts.push_back(AnsiToWide(text));
}
