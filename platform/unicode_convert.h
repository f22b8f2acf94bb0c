// Conversions between the program's text forms: UTF-8 (8-bit strings inside the
// program), UTF-16 (WideString) and the ANSI code page of older files and 8-bit
// system calls (the system's on Windows, Windows-1252 in the native build).
// Invalid input never fails: each bad sequence becomes U+FFFD.
#pragma once
#include <string>
#include <string_view>

#include "platform/types.h"

inline constexpr char32_t kReplacementChar = 0xFFFD;

WideString Utf8ToWide(std::string_view utf8);
String WideToUtf8(std::u16string_view wide);

// True when every byte is below 0x80: such text is the same in UTF-8 and every ANSI code page.
bool IsAscii(std::string_view bytes);
// True when the bytes are well-formed UTF-8 (no overlongs, surrogates or values above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Appends one code point as UTF-8 or UTF-16; values that are not characters become U+FFFD.
void AppendUtf8(String& out, char32_t cp);
void AppendUtf16(WideString& out, char32_t cp);

// Decodes the code point at pos and advances pos past it (one byte for a bad sequence).
char32_t DecodeUtf8At(std::string_view s, size_t& pos);

// The ANSI code page: bytes to and from UTF-16 and UTF-8.
WideString AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::u16string_view wide);
String AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

// Text read from a file that may predate UTF-8: kept when it is valid UTF-8,
// otherwise read as ANSI, so old files stay readable.
String TextToUtf8(std::string_view bytes);

// The byte-order mark a text file starts with: EF BB BF (UTF-8), FF FE
// (UTF-16LE, what Notepad calls "Unicode") or FE FF (UTF-16BE); tmNone for
// none. Every reader of text files that may carry one asks here.
enum TTextMark : unsigned char { tmNone, tmUtf8, tmUtf16LE, tmUtf16BE };
TTextMark TextMarkOf(std::string_view bytes);
// The mark's length in bytes (0 for tmNone).
size_t TextMarkLength(TTextMark mark);

// UTF-16 bytes in either order as text (an odd last byte is dropped without
// being read), and text as UTF-16LE bytes appended to Out.
WideString Utf16BytesToWide(std::string_view Bytes, bool BigEndian);
void AppendUtf16LE(std::string& Out, std::u16string_view Text);
