// The XML reader: constructs from "<" to the ">" that balances it, texts up to
// the open element's closing construct. Bytes that end in the middle of a
// construct or text end the read at the last complete one. It works on the
// whole file at once and takes names and values from where they lie: a tag
// costs a block of the document's arena and one copy of its attributes.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "kem3/framework/kemxml.h"
#include "kem3/framework/kemxml_text.h"
#include "platform/sysutils.h"

namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The first c in s from pos on, by memchr; npos when there is none.
size_t Find(std::string_view s, char c, size_t pos) {
  if (pos >= s.size()) return std::string_view::npos;
  const void* at = std::memchr(s.data() + pos, c, s.size() - pos);
  return at ? static_cast<size_t>(static_cast<const char*>(at) - s.data()) : std::string_view::npos;
}

// Matches a closing construct without regard to ASCII case, byte by byte, so a
// text of any length is scanned once whatever it holds.
class TClosingMatcher {
 public:
  explicit TClosingMatcher(std::string_view pattern) : FPattern(pattern.size(), '\0'), FFail(pattern.size(), 0) {
    std::transform(pattern.begin(), pattern.end(), FPattern.begin(), FoldAscii);
    for (size_t i = 1, k = 0; i < FPattern.size(); ++i) {
      while (k > 0 && FPattern[i] != FPattern[k]) k = FFail[k - 1];
      if (FPattern[i] == FPattern[k]) ++k;
      FFail[i] = k;
    }
  }
  // Where the first match in s from pos on ends; npos when there is none.
  size_t FindEnd(std::string_view s, size_t pos) {
    while (pos < s.size()) {
      // With nothing matched so far only the next "<" can begin a match.
      if (FMatched == 0) {
        pos = Find(s, '<', pos);
        if (pos == std::string_view::npos) return pos;
      }
      const char c = FoldAscii(s[pos++]);
      while (FMatched > 0 && c != FPattern[FMatched]) FMatched = FFail[FMatched - 1];
      if (c == FPattern[FMatched]) ++FMatched;
      if (FMatched == FPattern.size()) return pos;
    }
    return std::string_view::npos;
  }

 private:
  std::string FPattern;
  std::vector<size_t> FFail;
  size_t FMatched = 0;
};

// The first c in s from pos on, by a plain loop: for the short names and
// values inside a construct, where a call to memchr costs more than it saves.
size_t FindShort(std::string_view s, char c, size_t pos = 0) {
  for (; pos < s.size(); ++pos)
    if (s[pos] == c) return pos;
  return std::string_view::npos;
}

std::uint8_t FlagsOf(std::string_view s) {
  std::uint8_t flags = 0;
  for (char c : s) flags |= kemxml::kStoredFlags.Of[static_cast<unsigned char>(c)];
  return flags;
}

// The text up to the first blank outside quotes; rest keeps what follows that
// blank. One enclosing pair of quotes is removed. Flags tell what the text holds.
std::string_view CutQuotedValue(std::string_view& rest, char quote, std::uint8_t& flags) {
  // The usual case: a quoted value and a blank or the end right behind it.
  if (!rest.empty() && rest[0] == quote) {
    std::uint8_t seen = 0;
    const size_t close =
        static_cast<size_t>(kemxml::ScanToQuote(rest.data() + 1, rest.data() + rest.size(), quote, seen) - rest.data());
    if (close < rest.size() && (close + 1 == rest.size() || rest[close + 1] == ' ')) {
      const std::string_view token = rest.substr(1, close - 1);
      rest = close + 1 < rest.size() ? rest.substr(close + 2) : std::string_view();
      flags = seen;
      return token;
    }
  }
  bool quoted = false;
  size_t i = 0;
  for (; i < rest.size(); ++i) {
    if (rest[i] == quote)
      quoted = !quoted;
    else if (rest[i] == ' ' && !quoted)
      break;
  }
  std::string_view token = rest.substr(0, i);
  rest = i < rest.size() ? rest.substr(i + 1) : std::string_view();
  if (token.size() >= 2 && token.front() == quote && token.back() == quote) token = token.substr(1, token.size() - 2);
  flags = FlagsOf(token);
  return token;
}

// Without blanks and control characters at both ends, as Trim, but in place.
std::string_view TrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// A name the writer can put back as it was read: not empty, and without angle
// brackets, which would end or stretch the construct it is written in.
bool IsWritableName(std::string_view name) {
  for (char c : name)
    if (c == '<' || c == '>') return false;
  return !name.empty();
}

}  // namespace

// Reads one block of bytes into a document; a friend of the document for its
// encoding, its declaration flag and the outcome of the read.
class TKemXmlReader {
 public:
  TKemXmlReader(TKemXml& doc, std::string_view data) : FDoc(doc), FData(data), FCurrent(doc.Root()) {}

  // True when every byte was taken in and every element closed; the
  // document's read fault says otherwise where and why.
  bool Run() {
    for (;;) {
      while (FPos < FData.size() && IsBlank(FData[FPos])) ++FPos;
      if (FPos == FData.size()) {
        if (FCurrent != FDoc.Root()) Fault(xfUnclosed, FOpen.back());
        return FDoc.FReadFault.Kind == xfNone;
      }
      bool whole = FData[FPos] == '<' ? ReadConstruct() : ReadText();
      if (!whole) return false;
    }
  }

 private:
  // One construct from "<" to the ">" that balances the "<" signs seen, so angle
  // brackets nested inside stay in it. False when the data ends first, or when
  // the declaration that must come first does not.
  bool ReadConstruct() {
    const size_t end = ConstructEnd();
    if (end == std::string_view::npos) {
      // When the data ends first, the fault is the first "<" inside the
      // construct (a stray one in a value, as a hand-edited title has), else
      // the construct's own.
      const size_t inner = Find(FData, '<', FPos + 1);
      return Fault(inner == std::string_view::npos ? xfCutOff : xfBracket,
                   inner == std::string_view::npos ? FPos : inner);
    }
    const size_t at = FPos;
    const std::string_view construct = FData.substr(FPos, end - FPos);
    FPos = end;
    FClosing = std::string_view();

    const bool expected = FDoc.FExpectDeclaration;
    if (expected) {
      if (!StartsWith(construct, "<?xml")) return Fault(xfDeclaration, at);
      FDoc.FExpectDeclaration = false;
    }
    const char kind = construct[1];
    const bool element = kind != '?' && kind != '!' && kind != '/';
    // Deeper trees than any file of ours holds would only strain the stack of
    // everything that walks the tree: elements below the deepest level are
    // passed over with all they hold, and the read goes on behind them.
    if (FPassedOver > 0 || (element && FDepth == kXmlMaxDepth)) {
      Fault(xfTooDeep, at);
      if (element && !IsClosed(construct) && IsWritableName(ElementName(construct))) {
        ++FPassedOver;
        FClosing = ElementName(construct);
      } else if (kind == '/' && FPassedOver > 0) {
        --FPassedOver;
      }
      return true;
    }
    if (element) {
      TKemXmlTag* tag = Add(construct);
      if (tag && !FClosing.empty()) {
        FCurrent = tag;
        ++FDepth;
        FOpen.push_back(at);
      }
    } else if (StartsWith(construct, "<?xml")) {
      TKemXmlTag* declaration = Add(construct);
      // One that could not be written back is no declaration, and the file has none.
      if (!declaration && expected) return Fault(xfDeclaration, at);
      FClosing = std::string_view();  // a declaration holds nothing, even without its closing "?"
      // Only the declaration that leads the file decides how it is read: the
      // writer writes a whole file in one encoding.
      if (declaration && declaration->Parent() == FDoc.Root() && FDoc.Root()->GetChildCount() == 1) {
        const int index = declaration->Attributes.IndexOfName("encoding");
        const std::string_view encoding = index < 0 ? std::string_view() : declaration->Attributes.Value(index);
        if (SameText(encoding, "iso-8859-1")) FDoc.FEncoding = xeIso88591;
        if (SameText(encoding, "utf-8")) FDoc.FEncoding = xeUtf8;
      }
    } else if (StartsWith(construct, "<?")) {
      // Processing instructions carry nothing for us.
    } else if (StartsWith(construct, "<!--")) {
      // The writer puts one blank after "<!--" and one before "-->".
      std::string_view inner = construct.size() > 9 ? construct.substr(5, construct.size() - 9) : "";
      std::unique_ptr<TKemXmlTag> comment(new (FDoc.FArena) TKemXmlTag(&FDoc, kXmlCommentName));
      kemxml::AppendDecoded(comment->Text, TrimView(inner), FDoc.FEncoding);
      FCurrent->AddChild(std::move(comment));
    } else if (StartsWith(construct, "<!")) {
      Add(construct);
      FClosing = std::string_view();  // such a construct never holds anything
    } else {
      // A closing construct: the name is not compared, and one with nothing open is stray.
      if (FCurrent != FDoc.Root()) {
        FCurrent = FCurrent->Parent();
        --FDepth;
        FOpen.pop_back();
      }
    }
    return true;
  }

  // Behind the ">" that closes the construct at FPos; npos when the data ends first.
  size_t ConstructEnd() const {
    const size_t close = Find(FData, '>', FPos + 1);
    if (close == std::string_view::npos) return close;
    // Without a "<" before it, the first ">" balances the construct.
    if (Find(FData.substr(0, close), '<', FPos + 1) == std::string_view::npos) return close + 1;
    size_t opened = 1, closed = 0;
    for (size_t i = FPos + 1; i < FData.size(); ++i) {
      if (FData[i] == '<') ++opened;
      if (FData[i] == '>' && ++closed == opened) return i + 1;
    }
    return std::string_view::npos;
  }

  // A text: after an opening construct it runs up to that element's own closing
  // construct (markup between them included), else up to the next "<". False
  // when the data ends first.
  bool ReadText() {
    size_t end;
    if (FClosing.empty()) {
      end = Find(FData, '<', FPos);
      if (end == std::string_view::npos) return Fault(xfCutOff, FPos);
    } else {
      String closing = "</" + String(FClosing) + ">";
      TClosingMatcher matcher(closing);
      const size_t behind = matcher.FindEnd(FData, FPos);
      // The element passed over for its depth has its fault already.
      if (behind == std::string_view::npos) return Fault(xfUnclosed, FOpen.empty() ? FPos : FOpen.back());
      end = behind - closing.size();
    }
    const std::string_view stored = FData.substr(FPos, end - FPos);
    FPos = end;
    // The pseudo-root holds no text: the writer has no place for one.
    if (FCurrent != FDoc.Root() && FPassedOver == 0) {
      FCurrent->Text.clear();
      kemxml::AppendDecoded(FCurrent->Text, stored, FDoc.FEncoding);
    }
    return true;
  }

  // An element construct becomes a child of the current tag; an element left
  // open sets the closing construct that the text after it runs up to. A
  // construct whose name or attribute names could not be written back as they
  // were read is passed over, so a save never changes what a file holds.
  TKemXmlTag* Add(std::string_view construct) {
    std::string_view body = construct.substr(1, construct.size() - 2);
    const bool closed = IsClosed(construct);
    if (closed) body.remove_suffix(1);
    const size_t blank = FindShort(body, ' ');
    const std::string_view name = body.substr(0, blank);
    std::string_view rest = blank == std::string_view::npos ? std::string_view() : body.substr(blank + 1);
    if (!IsWritableName(name)) return nullptr;

    const std::uint8_t encoding = FDoc.FEncoding;
    FText.clear();
    FAttributes.Clear();
    size_t eq = FindShort(rest, '=');
    if (eq == std::string_view::npos) {
      kemxml::AppendDecoded(FText, rest, encoding, FlagsOf(rest));
    } else {
      for (;;) {
        const std::string_view attrName = TrimView(rest.substr(0, eq));
        rest = eq == std::string_view::npos ? std::string_view() : rest.substr(eq + 1);
        if (attrName.empty()) break;
        if (!IsWritableName(attrName)) return nullptr;
        // Double and single quotes both work; an unquoted value takes its own
        // first character as its quote.
        std::uint8_t flags;
        const std::string_view value = CutQuotedValue(rest, rest.empty() ? '\0' : rest.front(), flags);
        rest = TrimView(rest);
        const std::string_view attrText = AsUtf8(attrName, FName);
        if ((flags & kemxml::sfHigh) == 0) {
          // ASCII: decoded straight into the pairs, never longer than it is stored.
          char* to = FAttributes.BeginPair(attrText, value.size());
          if (flags == 0) {
            if (!value.empty()) std::memcpy(to, value.data(), value.size());
            FAttributes.EndPair(value.size());
          } else {
            FAttributes.EndPair(kemxml::DecodeReferencesInto(to, value));
          }
        } else {
          FValue.clear();
          kemxml::AppendDecoded(FValue, value, encoding, flags);
          std::memcpy(FAttributes.BeginPair(attrText, FValue.size()), FValue.data(), FValue.size());
          FAttributes.EndPair(FValue.size());
        }
        eq = FindShort(rest, '=');
      }
    }
    // Names stand as they were written, only brought from the file's bytes to UTF-8.
    std::unique_ptr<TKemXmlTag> tag(new (FDoc.FArena) TKemXmlTag(&FDoc, AsUtf8(name, FName)));
    tag->Text = FText;
    if (!FAttributes.Empty()) tag->Attributes.AssignIn(FAttributes, FDoc.FArena);
    if (!closed) FClosing = name;
    TKemXmlTag* added = tag.get();
    FCurrent->AddChild(std::move(tag));
    return added;
  }

  // Whether an element construct closes itself ("/" or "?" before its ">").
  static bool IsClosed(std::string_view construct) {
    return construct.size() > 2 && (construct[construct.size() - 2] == '/' || construct[construct.size() - 2] == '?');
  }

  // The name of an element construct, up to its first blank.
  static std::string_view ElementName(std::string_view construct) {
    std::string_view body = construct.substr(1, construct.size() - (IsClosed(construct) ? 3 : 2));
    return body.substr(0, FindShort(body, ' '));
  }

  // A name as UTF-8: as it stands when it is ASCII, else converted into room.
  std::string_view AsUtf8(std::string_view bytes, String& room) const {
    if ((FlagsOf(bytes) & kemxml::sfHigh) == 0) return bytes;
    room.clear();
    kemxml::AppendBytesAsText(room, bytes, FDoc.FEncoding);
    return room;
  }

  // Notes the first fault of the read at pos; false, as the read then ends.
  bool Fault(TKemXmlFaultKind kind, size_t pos) {
    if (FDoc.FReadFault.Kind == xfNone) {
      // Lines are counted once, from the start, for the one place reported.
      const auto lines = std::count(FData.begin(), FData.begin() + static_cast<std::ptrdiff_t>(pos), '\n');
      FDoc.FReadFault = TKemXmlFault{kind, 1 + static_cast<int>(lines)};
    }
    return false;
  }

  TKemXml& FDoc;
  std::string_view FData;
  size_t FPos = 0;
  TKemXmlTag* FCurrent;
  std::string_view FClosing;  // the name of the element just opened, as the file has it
  int FDepth = 0;             // elements open
  int FPassedOver = 0;        // elements open below the deepest level
  std::vector<size_t> FOpen;  // where the elements open now begin
  // Reused for every construct, so they keep their room.
  TKemXmlAttributes FAttributes;
  String FName, FValue, FText;
};

void TKemXml::Parse(std::string_view Bytes) {
  Clear();
  FReadComplete = true;
  FReadFault = TKemXmlFault();
  if (Bytes.empty()) return;
  FReadComplete = TKemXmlReader(*this, Bytes).Run();
}
