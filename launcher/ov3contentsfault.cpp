// Where a contents file stops being readable.
#include "launcher/ov3contentsfault.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

// The first match of Pattern in Bytes from Pos on, without regard to ASCII
// case; npos when there is none. The pattern's one "<" is its first
// character, so no two partial matches overlap: one pass whatever the name's
// length and the text hold.
size_t FindCaseless(std::string_view Bytes, std::string_view Pattern, size_t Pos) {
  const auto at = std::search(Bytes.begin() + static_cast<std::ptrdiff_t>(Pos), Bytes.end(), Pattern.begin(),
                              Pattern.end(), [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
  return at == Bytes.end() ? npos : static_cast<size_t>(at - Bytes.begin());
}

// Lines are counted once, from the start, for the one place reported.
int LineAt(std::string_view Bytes, size_t Pos) {
  return 1 + static_cast<int>(std::count(Bytes.begin(), Bytes.begin() + static_cast<std::ptrdiff_t>(Pos), '\n'));
}

// The name of an element construct, as the reader takes it.
std::string_view ElementName(std::string_view Construct, bool Closed) {
  std::string_view body = Construct.substr(1, Construct.size() - (Closed ? 3 : 2));
  return body.substr(0, body.find(' '));
}

bool IsWritableName(std::string_view Name) { return !Name.empty() && Name.find_first_of("<>") == npos; }

}  // namespace

TContentsFault FindContentsFault(std::string_view Bytes) {
  const auto at = [Bytes](TContentsFaultKind Kind, size_t Pos) { return TContentsFault{Kind, LineAt(Bytes, Pos)}; };
  std::vector<size_t> open;  // where the elements open at pos begin
  std::string_view closing;  // the name of the element just opened
  bool declaration = true;   // the first construct must be the declaration
  size_t pos = 0;
  for (;;) {
    while (pos < Bytes.size() && IsBlank(Bytes[pos])) ++pos;
    if (pos == Bytes.size()) return open.empty() ? TContentsFault{} : at(cfkUnclosed, open.back());
    if (Bytes[pos] != '<') {
      // A text: up to the open element's own closing construct, else to the next "<".
      if (closing.empty()) {
        const size_t next = Bytes.find('<', pos);
        if (next == npos) return at(cfkCutOff, pos);
        pos = next;
      } else {
        const size_t end = FindCaseless(Bytes, "</" + std::string(closing) + ">", pos);
        if (end == npos) return at(cfkUnclosed, open.back());
        pos = end;
      }
      continue;
    }
    // A construct ends at the ">" that closes its "<" and every "<" inside it.
    // When the file ends first, the fault is the first "<" inside the
    // construct (a stray one in a value, as a hand-edited title has), else
    // the construct's own.
    size_t depth = 1, inner = npos, end = pos + 1;
    for (; end < Bytes.size() && depth > 0; ++end) {
      if (Bytes[end] == '<' && ++depth == 2 && inner == npos) inner = end;
      if (Bytes[end] == '>') --depth;
    }
    if (depth > 0) return inner != npos ? at(cfkBracket, inner) : at(cfkCutOff, pos);
    const std::string_view construct = Bytes.substr(pos, end - pos);
    closing = std::string_view();
    if (declaration) {
      if (construct.substr(0, 5) != "<?xml") return at(cfkDeclaration, pos);
      declaration = false;
    }
    const char kind = construct[1];
    if (kind == '/') {
      if (!open.empty()) open.pop_back();
    } else if (kind != '?' && kind != '!') {
      const bool closed =
          construct.size() > 2 && (construct[construct.size() - 2] == '/' || construct[construct.size() - 2] == '?');
      if (static_cast<int>(open.size()) == kContentsMaxDepth) return at(cfkTooDeep, pos);
      const std::string_view name = ElementName(construct, closed);
      if (!closed && IsWritableName(name)) {
        open.push_back(pos);
        closing = name;
      }
    }
    pos = end;
  }
}
