// Language files: one TLanguage per file, with what its header tells (code,
// display name, credits, fonts, flag pictures) and the reading of its texts.
// Two formats: the tagged-block format ("KEM3LAN", TLanguage3) and the older
// header format ("KEMLAN", TLanguage2). Every size, count and offset in a file
// is checked against the file; a damaged file leaves its language invalid.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/bitmap.h"
#include "platform/object.h"
#include "platform/streams.h"
#include "platform/types.h"

inline constexpr std::string_view kLan3Magic{"KEM3LAN\0", 8};
inline constexpr std::string_view kLan2Magic{"KEMLAN\0\0", 8};
inline constexpr std::int64_t kLan3HeaderSize = 24;
// Flags are small pictures beside a language's name. A larger one is refused
// before it is decoded, and the language has no flag: a file of a few hundred
// bytes could otherwise demand a huge picture at every start.
inline constexpr int kMaxFlagSide = 256;

// The old format's 256-byte module header.
namespace lan2 {
inline constexpr std::int64_t kHeaderSize = 256;
inline constexpr int kFlagsAt = 0x0C;
inline constexpr int kCodeAt = 0x10;
inline constexpr int kModuleAt = 0x18;
inline constexpr int kCountAt = 0x20;
inline constexpr int kNamesAt = 0x40;
inline constexpr int kTextsAt = 0x48;
inline constexpr int kFlagsPicturesAt = 0x50;
inline constexpr int kDisplayNameAt = 0x80;
inline constexpr int kDisplayNameChars = 64;
// Flags: what is LZSS-packed, and what went through the XOR transform.
inline constexpr std::uint32_t kNamesLzss = 0x01, kTextsLzss = 0x02, kPicturesLzss = 0x04;
inline constexpr std::uint32_t kNamesXor = 0x10, kTextsXor = 0x20, kPicturesXor = 0x40;
inline constexpr const char* kXorKey = "{5E21C7A0-93B4-4D1F-8A62-0C7F3B9D41E8}";
}  // namespace lan2

// The texts of one module in index order, and the names at the same positions.
struct TLanguageTexts {
  std::vector<WideString> Texts;
  std::vector<String> Names;
};

class TLanguage : public TObject {
 public:
  explicit TLanguage(const String& AFileName);
  ~TLanguage() override;
  TLanguage(const TLanguage&) = delete;
  TLanguage& operator=(const TLanguage&) = delete;

  // Reads the header from the language's own stream or its file. Any error
  // leaves the language invalid.
  void LoadHeader();
  // The texts of Module ("": the first module) from the stream or the file.
  // A damaged file raises its read error.
  void LoadTexts(const String& Module, TLanguageTexts& Out);

  // The base only clears Valid.
  virtual void ReadHeader(TStream& Stream);
  // The base reads nothing.
  virtual void ReadTexts(TStream& Stream, const String& Module, TLanguageTexts& Out);

  String FileName;
  String Code;  // up to 8 characters, such as "US"
  WideString DisplayName;
  WideString Credits;
  std::vector<String> FontNames;
  std::vector<int> FontSizes;
  double FontScale = 1.0;
  bool Valid = false;
  // The flag on the window colour and on the highlight colour; empty when the file has none.
  TBitmap Flag;
  TBitmap FlagSelected;
  // When set, read instead of opening the file.
  std::unique_ptr<TStream> Stream;

 protected:
  void ClearHeader();
};

// The tagged-block format.
class TLanguage3 : public TLanguage {
 public:
  using TLanguage::TLanguage;
  void ReadHeader(TStream& Stream) override;
  void ReadTexts(TStream& Stream, const String& Module, TLanguageTexts& Out) override;
};

// The older format of 256-byte module headers.
class TLanguage2 : public TLanguage {
 public:
  using TLanguage::TLanguage;
  void ReadHeader(TStream& Stream) override;
  void ReadTexts(TStream& Stream, const String& Module, TLanguageTexts& Out) override;

  // Process-wide: when set, the old format's flag pictures are not loaded.
  static inline bool SkipFlagPictures = false;
};

// A language object for the file when its first 8 bytes are one of the two
// magics and its header reads (Valid); otherwise nullptr.
std::unique_ptr<TLanguage> OpenLanguageFile(const String& FileName);
// The same for a stream, which the language keeps and reads instead of a file.
std::unique_ptr<TLanguage> OpenLanguageStream(std::unique_ptr<TStream> Stream, const String& FileName = String());
