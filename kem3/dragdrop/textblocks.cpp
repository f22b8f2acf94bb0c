// Rich text, the clipboard's HTML, contact cards and file group descriptor
// blocks: reading what a source sent and writing what a source would send.
#include "kem3/dragdrop/textblocks.h"

#include <cstdio>
#include <cstring>

#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

[[noreturn]] void Fail(const char* what) { throw EDropBlockError(String("Malformed drop data: ") + what); }

std::string Lower(std::string_view Text) {
  std::string out(Text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A decimal header value; -1 when it is not a plain number within 2^62.
std::int64_t HeaderNumber(std::string_view Value) {
  while (!Value.empty() && Value.front() == ' ') Value.remove_prefix(1);
  if (Value.empty() || Value.size() > 18) return -1;
  std::int64_t n = 0;
  for (char c : Value) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

bool IsRichText(std::string_view Text) { return Text.size() >= 5 && Lower(Text.substr(0, 5)) == "{\\rtf"; }

std::string RichTextOf(std::string_view Utf8Text) {
  if (IsRichText(Utf8Text)) return std::string(Utf8Text);
  std::string rtf = "{\\rtf1\\ansi ";
  for (std::size_t pos = 0; pos < Utf8Text.size();) {
    const char32_t cp = DecodeUtf8At(Utf8Text, pos);
    if (cp == '\\' || cp == '{' || cp == '}') {
      rtf += '\\';
      rtf += static_cast<char>(cp);
    } else if (cp < 0x80) {
      rtf += static_cast<char>(cp);
    } else {
      // \uN takes a signed 16-bit number per UTF-16 unit, then one fallback character.
      WideString units;
      AppendUtf16(units, cp);
      for (char16_t u : units) rtf += "\\u" + std::to_string(static_cast<std::int16_t>(u)) + "?";
    }
  }
  return rtf + "}";
}

String ParseHtmlClipboard(TDropBlock Block) {
  if (static_cast<std::int64_t>(Block.size()) > kMaxDropBlockSize) Fail("block too large");
  Block = Block.substr(0, Block.find('\0'));
  std::int64_t start = -1, end = -1;
  // The header: "Name:value" lines up to the first line that is mark-up.
  for (std::size_t pos = 0; pos < Block.size() && Block[pos] != '<';) {
    std::size_t eol = Block.find_first_of("\r\n", pos);
    if (eol == TDropBlock::npos) eol = Block.size();
    const std::string_view line = Block.substr(pos, eol - pos);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos) {
      const std::string name = Lower(line.substr(0, colon));
      if (name == "starthtml") start = HeaderNumber(line.substr(colon + 1));
      if (name == "endhtml") end = HeaderNumber(line.substr(colon + 1));
    }
    pos = eol + 1;
  }
  const auto size = static_cast<std::int64_t>(Block.size());
  if (start >= 0 && start <= size) {
    // A source may leave EndHTML at -1 or past the end: the mark-up then runs to the end.
    const std::int64_t stop = (end >= start && end <= size) ? end : size;
    Block = Block.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(stop - start));
  }
  return TextToUtf8(Block);
}

std::string BuildHtmlClipboard(std::string_view Html) {
  const std::string lower = Lower(Html);
  std::size_t fragStart = 0, fragEnd = Html.size();
  const std::size_t body = lower.find("<body");
  if (body != std::string::npos) {
    const std::size_t open = lower.find('>', body);
    const std::size_t close = lower.rfind("</body");
    if (open != std::string::npos && close != std::string::npos && close > open) {
      fragStart = open + 1;
      fragEnd = close;
    }
  }
  // Every offset has ten digits, so the header's length is fixed.
  const auto header = [&](std::size_t base) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\nEndFragment:%010zu\r\n",
                  base, base + Html.size(), base + fragStart, base + fragEnd);
    return std::string(text);
  };
  const std::size_t base = header(0).size();
  return header(base) + std::string(Html);
}

std::vector<std::string> ReadVCardLines(std::vector<std::string> Lines) {
  if (!Lines.empty() && Lower(Lines.front()) == "begin:vcard") {
    Lines.erase(Lines.begin());
    if (!Lines.empty() && Lower(Lines.back()) == "end:vcard") Lines.pop_back();
  }
  for (std::string& line : Lines) {
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos) line[colon] = '=';
  }
  return Lines;
}

std::string BuildVCardBlock(const std::vector<std::string>& Lines) {
  if (Lines.empty()) return {};
  std::string text = "begin:vcard\r";
  for (const std::string& line : Lines) text += line + "\r\n";
  text += "\rend:vcard";
  std::erase(text, '\n');
  text.push_back('\0');
  return text;
}

std::string CheckFileGroupDescriptorBlock(TDropBlock Block, bool Wide) {
  if (static_cast<std::int64_t>(Block.size()) > kMaxDropBlockSize) Fail("block too large");
  if (Block.size() < 4) Fail("file group descriptor under 4 bytes");
  const auto* p = reinterpret_cast<const std::uint8_t*>(Block.data());
  const std::uint64_t count = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint64_t>(p[3]) << 24);
  const std::uint64_t record = Wide ? kFileDescriptorWSize : kFileDescriptorSize;
  if ((Block.size() - 4) / record != count) Fail("file group descriptor count does not match its size");
  return std::string(Block.substr(0, 4 + count * record));
}

WideString FileDescriptorName(TDropBlock Record, bool Wide) {
  if (Record.size() < (Wide ? kFileDescriptorWSize : kFileDescriptorSize)) Fail("file descriptor too short");
  const TDropBlock field = Record.substr(kDescriptorNameOffset, kDescriptorNameChars * (Wide ? 2 : 1));
  if (!Wide) return AnsiToWide(field.substr(0, field.find('\0')));
  WideString name;
  for (std::size_t i = 0; i + 1 < field.size(); i += 2) {
    const auto c =
        static_cast<char16_t>(static_cast<std::uint8_t>(field[i]) | (static_cast<std::uint8_t>(field[i + 1]) << 8));
    if (c == 0) break;
    name.push_back(c);
  }
  return name;
}

std::string BuildFileDescriptor(const WideString& Name, bool Wide) {
  std::string record(Wide ? kFileDescriptorWSize : kFileDescriptorSize, '\0');
  const WideString name = Name.substr(0, kDescriptorNameChars);
  if (Wide) {
    for (std::size_t i = 0; i < name.size(); ++i) {
      record[kDescriptorNameOffset + 2 * i] = static_cast<char>(name[i] & 0xFF);
      record[kDescriptorNameOffset + 2 * i + 1] = static_cast<char>(name[i] >> 8);
    }
  } else {
    const std::string ansi = WideToAnsi(name).substr(0, kDescriptorNameChars);
    std::memcpy(record.data() + kDescriptorNameOffset, ansi.data(), ansi.size());
  }
  return record;
}

std::string BuildFileGroupDescriptor(const std::vector<WideString>& Names, bool Wide) {
  const auto n = static_cast<std::uint32_t>(Names.size());
  std::string block{static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
                    static_cast<char>((n >> 16) & 0xFF), static_cast<char>(n >> 24)};
  for (const WideString& name : Names) block += BuildFileDescriptor(name, Wide);
  return block;
}
