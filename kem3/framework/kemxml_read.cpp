// The XML reader: a window over the stream, constructs from "<" to the ">" that
// balances it, texts up to the open element's closing construct. Bytes that end
// in the middle of a construct or text end the read at the last complete one.
#include <algorithm>
#include <string>
#include <vector>

#include "kem3/framework/kemxml.h"
#include "platform/streams.h"
#include "platform/sysutils.h"

namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

constexpr int kMaxDepth = 256;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The part of the stream under examination. Bytes before Pos are done with and
// go when more must be read; the window grows when what must be seen at once
// (one construct) is longer than it.
class TReadWindow {
 public:
  TReadWindow(TStream& stream, size_t size) : FStream(stream), FSize(size) {}

  // Whether the n bytes from Pos on are in the window, reading more when needed.
  bool Need(size_t n) {
    if (FPos + n <= FBytes.size()) return true;
    return Fill(n);
  }
  char At(size_t offset) const { return FBytes[FPos + offset]; }
  std::string_view View(size_t offset, size_t count) const {
    return std::string_view(FBytes).substr(FPos + offset, count);
  }
  void Skip(size_t n) { FPos += n; }

 private:
  bool Fill(size_t n) {
    if (FPos > 0) {
      FBytes.erase(0, FPos);
      FPos = 0;
    }
    while (FBytes.size() < n && !FEnd) {
      while (FSize < n) FSize *= 2;
      size_t room = FSize - FBytes.size();
      size_t had = FBytes.size();
      FBytes.resize(FSize);
      std::int64_t got = FStream.Read(FBytes.data() + had, static_cast<std::int64_t>(room));
      FBytes.resize(had + static_cast<size_t>(std::max<std::int64_t>(got, 0)));
      if (got <= 0) FEnd = true;
    }
    return FBytes.size() >= n;
  }

  TStream& FStream;
  size_t FSize;
  std::string FBytes;
  size_t FPos = 0;
  bool FEnd = false;
};

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
  // Feeds one byte; true when the whole pattern has just been seen.
  bool Feed(char c) {
    c = FoldAscii(c);
    while (FMatched > 0 && c != FPattern[FMatched]) FMatched = FFail[FMatched - 1];
    if (c == FPattern[FMatched]) ++FMatched;
    if (FMatched < FPattern.size()) return false;
    FMatched = FFail[FMatched - 1];
    return true;
  }
  // How many of the latest bytes may yet begin a match.
  size_t Matched() const { return FMatched; }
  size_t Length() const { return FPattern.size(); }

 private:
  std::string FPattern;
  std::vector<size_t> FFail;
  size_t FMatched = 0;
};

// The text up to the first blank outside quotes; rest keeps what follows that
// blank. One enclosing pair of quotes is removed.
std::string_view CutQuotedValue(std::string_view& rest, char quote) {
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
  return token;
}

// Without blanks and control characters at both ends, as Trim, but in place.
std::string_view TrimView(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

// Reads one stream into a document; a friend of the document for its encoding,
// its declaration flag and the outcome of the read.
class TKemXmlReader {
 public:
  TKemXmlReader(TKemXml& doc, TStream& stream)
      : FDoc(doc), FWindow(stream, static_cast<size_t>(doc.FBufferSize)), FCurrent(doc.Root()) {}

  // True when every byte was taken in and every element closed.
  bool Run() {
    for (;;) {
      while (FWindow.Need(1) && IsBlank(FWindow.At(0))) FWindow.Skip(1);
      if (!FWindow.Need(1)) return FCurrent == FDoc.Root();
      bool whole = FWindow.At(0) == '<' ? ReadConstruct() : ReadText();
      if (!whole) return false;
    }
  }

 private:
  // One construct from "<" to the ">" that balances the "<" signs seen, so angle
  // brackets nested inside stay in it. False when the data ends first, or when
  // the declaration that must come first does not.
  bool ReadConstruct() {
    size_t opened = 1, closed = 0, length = 1;
    while (opened != closed) {
      if (!FWindow.Need(length + 1)) return false;
      char c = FWindow.At(length++);
      if (c == '<') ++opened;
      if (c == '>') ++closed;
    }
    String construct(FWindow.View(0, length));
    FWindow.Skip(length);
    FClosing.clear();

    if (FDoc.FExpectDeclaration) {
      if (!StartsWith(construct, "<?xml")) return false;
      FDoc.FExpectDeclaration = false;
    }
    if (StartsWith(construct, "<?xml")) {
      TKemXmlTag* declaration = Add(construct);
      FClosing.clear();  // a declaration holds nothing, even without its closing "?"
      String encoding = declaration->ReadAttr("encoding");
      if (SameText(encoding, "iso-8859-1")) FDoc.FEncoding = xeIso88591;
      if (SameText(encoding, "utf-8")) FDoc.FEncoding = xeUtf8;
    } else if (StartsWith(construct, "<?")) {
      // Processing instructions carry nothing for us.
    } else if (StartsWith(construct, "<!--")) {
      // The writer puts one blank after "<!--" and one before "-->".
      std::string_view inner = construct.size() > 9 ? std::string_view(construct).substr(5, construct.size() - 9) : "";
      auto comment = std::make_unique<TKemXmlTag>(&FDoc, String(kXmlCommentName));
      comment->Text = FDoc.DecodeText(TrimView(inner));
      FCurrent->AddChild(std::move(comment));
    } else if (StartsWith(construct, "<!")) {
      Add(construct);
      FClosing.clear();  // such a construct never holds anything
    } else if (StartsWith(construct, "</")) {
      // The name is not compared; a closing construct with nothing open is stray.
      if (FCurrent != FDoc.Root()) {
        FCurrent = FCurrent->Parent();
        --FDepth;
      }
    } else {
      TKemXmlTag* tag = Add(construct);
      if (!FClosing.empty()) {
        // Deeper trees than any file of ours holds would only strain the stack
        // of everything that walks the tree.
        if (FDepth == kMaxDepth) return false;
        FCurrent = tag;
        ++FDepth;
      }
    }
    return true;
  }

  // A text: after an opening construct it runs up to that element's own closing
  // construct (markup between them included), else up to the next "<". False
  // when the data ends first.
  bool ReadText() {
    String stored;
    if (FClosing.empty()) {
      size_t n = 0;
      for (;;) {
        if (!FWindow.Need(n + 1)) return false;
        if (FWindow.At(n) == '<') break;
        if (++n >= 4096) {
          stored.append(FWindow.View(0, n));
          FWindow.Skip(n);
          n = 0;
        }
      }
      stored.append(FWindow.View(0, n));
      FWindow.Skip(n);
    } else {
      TClosingMatcher matcher(FClosing);
      // Bytes that can no longer begin a match move to the text as the window fills.
      size_t n = 0;
      for (;;) {
        if (!FWindow.Need(n + 1)) return false;
        if (matcher.Feed(FWindow.At(n++))) break;
        if (n >= 4096 + matcher.Matched()) {
          size_t settled = n - matcher.Matched();
          stored.append(FWindow.View(0, settled));
          FWindow.Skip(settled);
          n -= settled;
        }
      }
      size_t text = n - matcher.Length();
      stored.append(FWindow.View(0, text));
      FWindow.Skip(text);
    }
    FCurrent->Text = FDoc.DecodeText(stored);
    return true;
  }

  // An element construct becomes a child of the current tag; an element left
  // open sets the closing construct that the text after it runs up to.
  TKemXmlTag* Add(std::string_view construct) {
    String body(construct.substr(1, construct.size() - 2));
    bool closed = false;
    if (!body.empty() && (body.back() == '/' || body.back() == '?')) {
      body.pop_back();
      closed = true;
    }
    size_t blank = body.find(' ');
    std::string_view name = std::string_view(body).substr(0, blank);
    std::string_view rest = blank == String::npos ? std::string_view() : std::string_view(body).substr(blank + 1);

    // Names stand as they were written, only brought from the file's bytes to UTF-8.
    auto tag = std::make_unique<TKemXmlTag>(&FDoc, FDoc.BytesToText(name));
    if (rest.find('=') == std::string_view::npos) {
      tag->Text = FDoc.DecodeText(rest);
    } else {
      for (;;) {
        size_t eq = rest.find('=');
        std::string_view attrName = TrimView(rest.substr(0, eq));
        rest = eq == std::string_view::npos ? std::string_view() : rest.substr(eq + 1);
        if (attrName.empty()) break;
        // Double and single quotes both work; an unquoted value takes its own
        // first character as its quote.
        std::string_view value = CutQuotedValue(rest, rest.empty() ? '\0' : rest.front());
        rest = TrimView(rest);
        tag->AddAttr(FDoc.BytesToText(attrName), FDoc.DecodeText(value));
      }
    }
    if (!closed) FClosing = "</" + String(name) + ">";
    TKemXmlTag* added = tag.get();
    FCurrent->AddChild(std::move(tag));
    return added;
  }

  TKemXml& FDoc;
  TReadWindow FWindow;
  TKemXmlTag* FCurrent;
  String FClosing;  // the closing construct of the element just opened
  int FDepth = 0;   // elements open
};

void TKemXml::LoadFromStream(TStream& Stream) {
  Clear();
  FReadComplete = true;
  if (Stream.Size() == 0) return;
  Stream.SetPosition(0);
  FReadComplete = TKemXmlReader(*this, Stream).Run();
}
