// Parsers of dropped blocks. Every read goes through the helpers below, which
// check the position against the block's end in 64-bit arithmetic first.
#include "kem3/dragdrop/dropblocks.h"

#include <algorithm>

#include "kem3/unicode/ucsystem.h"
#include "platform/streams.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

[[noreturn]] void Fail(const char* what) { throw EDropBlockError(String("Malformed drop data: ") + what); }

void CheckSize(TDropBlock Block) {
  if (static_cast<std::int64_t>(Block.size()) > kMaxDropBlockSize) Fail("block too large");
}

std::uint32_t U32At(TDropBlock Block, std::uint64_t Pos) {
  if (Pos + 4 > Block.size()) Fail("field past the end");
  const auto* p = reinterpret_cast<const std::uint8_t*>(Block.data()) + Pos;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t U16At(TDropBlock Block, std::uint64_t Pos) {
  if (Pos + 2 > Block.size()) Fail("field past the end");
  const auto* p = reinterpret_cast<const std::uint8_t*>(Block.data()) + Pos;
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// The 8-bit text at Pos, up to a zero, MaxLen bytes or the block end.
std::string_view NarrowAt(TDropBlock Block, std::uint64_t Pos, std::uint64_t MaxLen = UINT64_MAX) {
  if (Pos > Block.size()) Fail("text past the end");
  std::string_view rest = Block.substr(Pos, MaxLen);
  return rest.substr(0, rest.find('\0'));
}

// The UTF-16 text at Pos, up to a zero character, MaxLen characters or the
// block end (an odd last byte is not part of it).
WideString WideAt(TDropBlock Block, std::uint64_t Pos, std::uint64_t MaxLen = UINT64_MAX) {
  if (Pos > Block.size()) Fail("text past the end");
  WideString text;
  for (std::uint64_t i = 0; i < MaxLen && Pos + 2 * i + 2 <= Block.size(); ++i) {
    const char16_t c = U16At(Block, Pos + 2 * i);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

// The UTF-16 units at Pos up to a zero character or the block end.
std::uint64_t WideLengthAt(TDropBlock Block, std::uint64_t Pos) {
  std::uint64_t units = 0;
  while (Pos + 2 * units + 2 <= Block.size() && (Block[Pos + 2 * units] != 0 || Block[Pos + 2 * units + 1] != 0))
    ++units;
  return units;
}

// Names one after another, each zero-terminated, from Pos up to an empty name
// or the block end; a last name without terminator is cut at the end. Past
// MaxNames names are only counted (into Unread), not made.
std::vector<WideString> NameList(TDropBlock Block, std::uint64_t Pos, bool Wide, std::size_t MaxNames = SIZE_MAX,
                                 std::size_t* Unread = nullptr) {
  std::vector<WideString> names;
  std::size_t unread = 0;
  const std::uint64_t width = Wide ? 2 : 1;
  while (Pos + width <= Block.size()) {
    const std::uint64_t units = Wide ? WideLengthAt(Block, Pos) : NarrowAt(Block, Pos).size();
    if (units == 0) break;
    if (names.size() < MaxNames)
      names.push_back(Wide ? WideAt(Block, Pos, units) : AnsiToWide(Block.substr(Pos, units)));
    else
      ++unread;
    Pos += (units + 1) * width;
  }
  if (Unread) *Unread = unread;
  return names;
}

}  // namespace

std::vector<WideString> ParseDropFiles(TDropBlock Block, std::size_t* Unread) {
  CheckSize(Block);
  if (Block.size() < 21) Fail("drop-files block under 21 bytes");
  const std::uint32_t offset = U32At(Block, 0);
  if (offset < 20 || offset >= Block.size()) Fail("name list outside the drop-files block");
  return NameList(Block, offset, U32At(Block, 16) != 0, kMaxDropFileNames, Unread);
}

std::size_t IDListSize(TDropBlock Bytes) {
  std::uint64_t pos = 0;
  for (std::size_t items = 0;; ++items) {
    const std::uint16_t cb = U16At(Bytes, pos);
    if (cb == 0) return pos + 2;
    if (cb < 2) Fail("ID list item under 2 bytes");
    if (items == kMaxIDListItems) Fail("ID list deeper than any path");
    pos += cb;
  }
}

std::vector<std::string> ParseIDListArray(TDropBlock Block, std::size_t* Unread) {
  CheckSize(Block);
  const std::uint64_t n = U32At(Block, 0);
  const std::uint64_t header = 4 + 4 * (n + 1);
  if (n < 1 || header > Block.size()) Fail("ID list count beyond the block");
  const std::uint64_t count = std::min<std::uint64_t>(n, kMaxIDListArrayItems);
  const std::uint64_t room = Block.size() - header;
  std::uint64_t total = 0;
  std::vector<std::string> lists;
  lists.reserve(count + 1);
  for (std::uint64_t i = 0; i <= count; ++i) {
    const std::uint32_t offset = U32At(Block, 4 + 4 * i);
    if (offset >= Block.size()) Fail("ID list offset outside the block");
    const TDropBlock rest = Block.substr(offset);
    const std::size_t size = IDListSize(rest);
    total += size;
    if (total > room) Fail("ID lists larger than their block");
    lists.emplace_back(rest.substr(0, size));
  }
  if (Unread) *Unread = static_cast<std::size_t>(n - count);
  return lists;
}

std::vector<WideString> ParseFileGroupDescriptorNames(TDropBlock Block, bool Wide) {
  CheckSize(Block);
  constexpr std::uint64_t kNameOffset = 72, kNameChars = 260;
  const std::uint64_t descriptor = Wide ? 592 : 332;
  const std::uint64_t fit = Block.size() >= 4 ? (Block.size() - 4) / descriptor : 0;
  const std::uint64_t count = std::min<std::uint64_t>(U32At(Block, 0), fit);
  std::vector<WideString> names;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t pos = 4 + i * descriptor + kNameOffset;
    names.push_back(Wide ? WideAt(Block, pos, kNameChars) : AnsiToWide(NarrowAt(Block, pos, kNameChars)));
  }
  return names;
}

WideString ParseFileNameBlock(TDropBlock Block, bool Wide) {
  CheckSize(Block);
  return Wide ? WideAt(Block, 0) : AnsiToWide(NarrowAt(Block, 0));
}

std::vector<WideString> ParseFileNameMap(TDropBlock Block, bool Wide) {
  CheckSize(Block);
  std::vector<WideString> names = NameList(Block, 0, Wide);
  if (names.empty()) Fail("file name map without a name");
  return names;
}

String ParseTextBlock(TDropBlock Block) {
  CheckSize(Block);
  return TextToUtf8(NarrowAt(Block, 0));
}

TDroppedURL ParseNetscapeBookmark(TDropBlock Block) {
  CheckSize(Block);
  TDroppedURL result;
  result.URL = TextToUtf8(NarrowAt(Block, 0, 1024));
  if (Block.size() > 1024) result.Title = TextToUtf8(NarrowAt(Block, 1024));
  return result;
}

TDroppedURL ParseNetscapeImage(TDropBlock Block) {
  CheckSize(Block);
  if (Block.size() <= 44) Fail("Netscape image record of 44 bytes or less");
  TDroppedURL result;
  const auto textAt = [&](std::uint64_t field) -> String {
    const std::uint32_t offset = U32At(Block, field);
    if (offset == 0) return {};
    if (offset >= Block.size()) Fail("Netscape image offset outside the record");
    return TextToUtf8(NarrowAt(Block, offset));
  };
  for (std::uint64_t field = 28; field <= 40; field += 4) {
    const String text = textAt(field);  // every offset is checked, also those we do not use
    if (field == 32) result.Title = text;
    if (field == 36) result.URL = text;
  }
  return result;
}

namespace {

// The values of the first section of that name, the names matched without
// regard to case, the first line of each name counting; raw bytes.
struct TShortcutSection {
  std::optional<std::string_view> Url, IconFile, IconIndex;
};

TShortcutSection ReadShortcutSection(const std::vector<std::string>& Lines, std::string_view Header) {
  TShortcutSection section;
  for (std::size_t i = 0; i + 1 < Lines.size(); ++i) {
    if (!SameText(Lines[i], Header)) continue;
    for (std::size_t j = i + 1; j < Lines.size(); ++j) {
      const std::string_view line = Lines[j];
      if (!line.empty() && line[0] == '[') break;
      const auto take = [&](std::string_view Name, std::optional<std::string_view>& Value) {
        if (Value || line.size() < Name.size() || !SameText(line.substr(0, Name.size()), Name)) return;
        Value = line.substr(Name.size());
      };
      take("URL=", section.Url);
      take("IconFile=", section.IconFile);
      take("IconIndex=", section.IconIndex);
    }
    break;
  }
  return section;
}

// A value of the ".W" section: UTF-7, as the shell writes values outside the
// ANSI code page. Nothing when it is not valid UTF-7 or holds a control
// character, which no address or file name has: the plain value stands then.
std::optional<String> WideShortcutValue(std::optional<std::string_view> Raw) {
  if (!Raw) return std::nullopt;
  try {
    const WideString value = UTF7ToWide(*Raw);
    if (std::any_of(value.begin(), value.end(), [](char16_t c) { return c < 0x20; })) return std::nullopt;
    return WideToUtf8(value);
  } catch (const EUcGeneralError&) {
    return std::nullopt;
  }
}

}  // namespace

TInternetShortcut ParseInternetShortcut(TDropBlock Text) {
  CheckSize(Text);
  const std::vector<std::string> lines = SplitDropLines(Text);
  const TShortcutSection plain = ReadShortcutSection(lines, "[InternetShortcut]");
  const TShortcutSection wide = ReadShortcutSection(lines, "[InternetShortcut.W]");
  // The plain section holds "?" for every character outside the ANSI code page.
  const auto value = [](std::optional<std::string_view> Wide, std::optional<std::string_view> Plain) {
    std::optional<String> result = WideShortcutValue(Wide);
    if (!result && Plain) result = TextToUtf8(*Plain);
    return result;
  };
  TInternetShortcut result;
  result.Url = value(wide.Url, plain.Url);
  result.IconFile = value(wide.IconFile, plain.IconFile).value_or(String());
  result.IconIndex = value(wide.IconIndex, plain.IconIndex).value_or(String());
  return result;
}

TInternetShortcut ReadInternetShortcutFile(const String& FileName) {
  try {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    const std::int64_t size = stream.Size();
    if (size > kMaxDropBlockSize) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    text.resize(static_cast<std::size_t>(stream.Read(text.data(), size)));
    return ParseInternetShortcut(text);
  } catch (const Exception&) {
    return {};
  }
}

std::vector<std::string> SplitDropLines(std::string_view Text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < Text.size()) {
    std::size_t end = Text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = Text.size();
    lines.emplace_back(Text.substr(start, end - start));
    start = end + 1;
    if (end + 1 < Text.size() && Text[end] == '\r' && Text[end + 1] == '\n') ++start;
  }
  return lines;
}

std::string BuildDropFiles(const std::vector<WideString>& Files) {
  std::string block(20, '\0');
  block[0] = 20;  // the names follow the header
  block[16] = 1;  // wide names
  for (const WideString& name : Files) {
    for (char16_t c : name) block.append({static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)});
    block.append(2, '\0');
  }
  block.append(2, '\0');
  return block;
}
