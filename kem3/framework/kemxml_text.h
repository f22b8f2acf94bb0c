// The stored form of the XML document's texts, shared by its reader and writer:
// file bytes to UTF-8 and references "&#n;" decoded in one pass into the
// caller's string, and the writer's output buffer with the encoder that puts
// references where a character cannot stand as it is.
#pragma once
#include <cstdint>
#include <cstring>
#include <functional>
#include <string_view>

#include "platform/types.h"

namespace kemxml {

// The bytes of a file as UTF-8, appended to out: the ANSI code page for
// iso-8859-1; UTF-8 for utf-8, or ANSI when they are not valid UTF-8.
void AppendBytesAsText(String& out, std::string_view bytes, std::uint8_t encoding);
// As AppendBytesAsText, then every "&#n;" replaced by its character.
void AppendDecoded(String& out, std::string_view stored, std::uint8_t encoding);

// What the bytes of a stored text hold, noted while a reader scans them, so
// that the usual text (ASCII without references) is copied as it stands.
enum : std::uint8_t { sfAmpersand = 1, sfHigh = 2 };
inline constexpr struct TStoredFlags {
  std::uint8_t Of[256];
  constexpr TStoredFlags() : Of() {
    Of[static_cast<unsigned char>('&')] = sfAmpersand;
    for (int b = 0x80; b < 0x100; ++b) Of[b] = sfHigh;
  }
} kStoredFlags;
// Writes s with every "&#n;" replaced by its character to out, which has room
// for s.size() bytes (a character is never longer than its reference, so the
// output never passes the input it came from); the bytes written.
size_t DecodeReferencesInto(char* out, std::string_view s);
// The first quote in [p, end), or end, with the flags of the bytes before it
// added to flags; eight bytes at a time.
const char* ScanToQuote(const char* p, const char* end, char quote, std::uint8_t& flags);
// As AppendDecoded, for bytes whose flags are known.
void AppendDecoded(String& out, std::string_view stored, std::uint8_t encoding, std::uint8_t flags);

// The block the writer puts its bytes into: one that grows to hold them all,
// which Finish cuts to them, or one of a fixed size that hands its bytes to a
// sink whenever it is full, so a large file is never held whole.
class TOutBuffer {
 public:
  using TSink = std::function<void(std::string_view)>;
  explicit TOutBuffer(String& out, size_t expected) : FOut(out) {
    FOut.resize(expected < 64 ? 64 : expected);
    FAt = FOut.data();
    FEnd = FAt + FOut.size();
  }
  // A piece longer than the block (one long text) makes the block that long.
  TOutBuffer(String& block, size_t blockSize, TSink sink) : TOutBuffer(block, blockSize) { FSink = std::move(sink); }
  void Need(size_t n) {
    if (static_cast<size_t>(FEnd - FAt) < n) Grow(n);
  }
  void Put(const char* p, size_t n) {
    Need(n);
    if (n) std::memcpy(FAt, p, n);
    FAt += n;
  }
  void Put(std::string_view s) { Put(s.data(), s.size()); }
  void Put(char c) {
    Need(1);
    *FAt++ = c;
  }
  // Room for n bytes must have been asked for with Need.
  void PutUnchecked(const char* p, size_t n) {
    std::memcpy(FAt, p, n);
    FAt += n;
  }
  void PutUnchecked(char c) { *FAt++ = c; }
  // Where the next byte goes, for a writer that asked for room with Need, and where it stopped.
  char* At() const { return FAt; }
  void SetAt(char* At) { FAt = At; }
  // "&#n;" for a code point.
  void PutReference(char32_t cp);
  void Finish();

 private:
  void Grow(size_t n);

  String& FOut;
  TSink FSink;
  char* FAt;
  char* FEnd;
};

// How a text is stored. Markup characters and the quote are references in
// every text; the backslash too in iso-8859-1 (as older readers expect), and
// every character outside ASCII there. Tab, line feed and carriage return are
// references unless the text keeps them; the other control characters and
// U+FFFE and U+FFFF are left out, as XML has no way to hold them (not even a
// reference) and strict readers refuse a file that tries.
enum TTextKind : std::uint8_t {
  tkText,       // attribute values and element texts
  tkComment,    // keeps tab, CR and LF, but not at its ends, which the reader trims
  tkConstruct,  // the text inside a construct: "=" would make it attributes
};
void PutEncoded(TOutBuffer& out, std::string_view text, std::uint8_t encoding, TTextKind kind);

}  // namespace kemxml
