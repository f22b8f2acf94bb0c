// The system call wrappers' rules that need no system.
#include "kem3/unicode/ucsyscalls.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/unicode_convert.h"

TPlatformFlags PlatformFlagsFor(unsigned PlatformId, unsigned Major, unsigned Minor) {
  TPlatformFlags flags;
  flags.UnicodePlatform = PlatformId == kVerPlatformWin32Nt;
  flags.PlatformXPOrLater = (Major == 5 && Minor > 0) || Major > 5;
  flags.PlatformServer2003OrLater = (Major == 5 && Minor > 1) || Major > 5;
  flags.PlatformVistaOrLater = Major > 5;
  return flags;
}

int AnsiResultToWideBuffer(int BufferLength, WideChar* Buffer, std::string_view AnsiResult, int Flags) {
  const WideString text = AnsiToWide(AnsiResult);
  const int length = static_cast<int>(text.size());
  const int n = std::max(BufferLength, 0);
  if (length < n) {
    std::copy(text.begin(), text.end(), Buffer);
    Buffer[length] = 0;
    return length;
  }
  if ((Flags & arTruncate) && n > 0) {
    std::copy_n(text.begin(), n, Buffer);
    return n;
  }
  if ((Flags & arExactFit) && length == n && n > 0) {
    std::copy_n(text.begin(), n - 1, Buffer);
    Buffer[n - 1] = 0;
    return length + 1;
  }
  if (n > 0) {
    if (Flags & arEmptyOnOverflow) {
      Buffer[0] = 0;
    } else if (Flags & arCutAtBackslash) {
      // Up to the last backslash that lies inside the buffer, no terminator.
      const size_t cut = text.find_last_of(u'\\', static_cast<size_t>(n - 1));
      const size_t count = cut == WideString::npos ? 0 : std::min<size_t>(cut, static_cast<size_t>(n - 1));
      std::copy_n(text.begin(), count, Buffer);
    }
  }
  return length + 1;
}

std::uint32_t AnsiFullPathName(const TAnsiFullPathCall& Call, std::uint32_t BufferLength, WideChar* Buffer,
                               WideChar** FilePart) {
  std::vector<char> ansi(520);
  std::ptrdiff_t part = -1;
  std::uint32_t n = Call(ansi.data(), static_cast<std::uint32_t>(ansi.size()), part);
  if (n >= ansi.size()) {
    ansi.resize(n + 1);
    n = Call(ansi.data(), static_cast<std::uint32_t>(ansi.size()), part);
  }
  if (FilePart) *FilePart = nullptr;
  if (n == 0 || n >= ansi.size()) return n;
  const std::string_view result(ansi.data(), n);
  const int count = AnsiResultToWideBuffer(static_cast<int>(BufferLength), Buffer, result, arEmptyOnOverflow);
  if (FilePart && part >= 0 && static_cast<std::uint32_t>(count) < BufferLength)
    *FilePart = Buffer + AnsiToWide(result.substr(0, static_cast<size_t>(part))).size();
  return static_cast<std::uint32_t>(count);
}

unsigned StringTableBlockName(std::uint32_t Ident) {
  if ((Ident >> 16) == 0xFFFF) Ident = 0u - Ident;
  return ((Ident >> 4) & 0xFFFF) + 1;
}

WideString StringTableEntry(std::string_view Block, unsigned Index) {
  const size_t units = Block.size() / 2;
  auto unit = [&](size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(Block[2 * i]) |
                                 (static_cast<unsigned char>(Block[2 * i + 1]) << 8));
  };
  size_t at = 0;
  for (unsigned k = 0; k < Index; ++k) {
    if (at >= units) return {};
    at += 1 + unit(at);
  }
  if (at >= units || unit(at) > units - at - 1) return {};
  WideString text(unit(at), u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = unit(at + 1 + i);
  return text;
}

int CopyStringTableEntry(std::string_view Block, std::uint32_t Ident, WideChar* Buffer, int Size) {
  if ((Ident >> 16) == 0xFFFF) Ident = 0u - Ident;
  const WideString entry = StringTableEntry(Block, StringTableEntryIndex(Ident));
  if (!Buffer || Size <= 0) return static_cast<int>(entry.size());
  const size_t count = std::min(entry.size(), static_cast<size_t>(Size - 1));
  std::copy_n(entry.begin(), count, Buffer);
  Buffer[count] = 0;
  return static_cast<int>(count);
}

TFileRights FileRightsOfMode(std::uint32_t Mode) {
  static constexpr std::uint32_t kAccess[] = {0x80000000u, 0x40000000u, 0xC0000000u, 0};
  static constexpr std::uint32_t kShare[] = {0, 0, 1, 2, 3};
  const std::uint32_t share = (Mode & 0xF0) >> 4;
  return {kAccess[Mode & 3], share < 5 ? kShare[share] : 0};
}

WideString WidenResourceText(std::string_view Text) {
  if (Text.size() > 3 && Text.substr(0, 3) == "\xEF\xBB\xBF") return Utf8ToWide(Text.substr(3));
  return AnsiToWide(Text);
}

WideString ErrorTextOrFallback(std::u16string_view SystemText, long ErrorCode, std::u16string_view SourceName) {
  auto isSpace = [](char16_t c) { return c <= u' '; };
  while (!SystemText.empty() && isSpace(SystemText.front())) SystemText.remove_prefix(1);
  while (!SystemText.empty() && isSpace(SystemText.back())) SystemText.remove_suffix(1);
  if (!SystemText.empty()) return WideString(SystemText);
  const std::string code = std::to_string(ErrorCode);
  return u"Unspecified error (" + WideString(code.begin(), code.end()) + u") from " + WideString(SourceName) + u".";
}
