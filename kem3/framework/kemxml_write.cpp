// The XML writer: one fixed layout with CR LF line ends, two blanks of indent
// per level for the first eight levels, an empty line after the declaration,
// after each comment and after the closing construct of an element with
// children that is not its parent's last. The bytes go into one block sized
// from the tree before it starts, or in blocks of a fixed size to a file.
#include "kem3/framework/kemxml.h"
#include "kem3/framework/kemxml_text.h"
#include "platform/unicode_convert.h"

namespace {

using kemxml::TOutBuffer;

// The contents file nests five levels deep. Past this many levels a line starts
// with no indent at all: an indent that kept growing, or even one held at its
// widest, would add its blanks to every line of a deeply nested file and write
// it back many times the size it was read in (the reader skips blanks anyway).
constexpr int kIndentLevels = 8;
constexpr char kBlanks[] = "                ";
static_assert(sizeof kBlanks - 1 == 2 * kIndentLevels);

size_t IndentOf(int depth) { return depth <= kIndentLevels ? 2 * static_cast<size_t>(depth) : 0; }

bool EndsWithCloser(std::string_view s) { return !s.empty() && (s.back() == '/' || s.back() == '?'); }

class TKemXmlWriter {
 public:
  TKemXmlWriter(TOutBuffer& out, std::uint8_t encoding) : FOut(out), FEncoding(encoding) {}

  void Tag(const TKemXmlTag& tag, int depth, bool last) {
    // A tag without a name cannot be written: "</>" would close its parent.
    if (tag.Name.empty()) return;
    const bool comment = tag.IsComment();
    const bool instruction = tag.Name[0] == '?';
    const bool bang = tag.Name[0] == '!' && !comment;
    const bool hasChildren = tag.GetChildCount() > 0;
    const bool hasText = !tag.Text.empty();
    const bool hasContent = hasChildren || hasText;
    const size_t indent = IndentOf(depth);

    FOut.Put(kBlanks, indent);
    FOut.Put('<');
    Name(tag.Name);
    const TKemXmlAttributes& attributes = tag.Attributes;
    for (int i = 0; i < attributes.Count(); ++i) {
      FOut.Put(' ');
      Name(attributes.Name(i));
      FOut.Put("=\"", 2);
      kemxml::PutEncoded(FOut, attributes.Value(i), FEncoding, kemxml::tkText);
      FOut.Put('"');
    }

    if (comment) {
      FOut.Put(' ');
      if (hasText)
        kemxml::PutEncoded(FOut, tag.Text, FEncoding, kemxml::tkComment);
      else
        FOut.Put("\r\n", 2);
      Children(tag, depth);
      FOut.Put(" -->\r\n\r\n");
      return;
    }
    // "<?" and "<!" constructs hold their text inside, where the reader finds it.
    if ((instruction || bang) && hasText) {
      FOut.Put(' ');
      kemxml::PutEncoded(FOut, tag.Text, FEncoding, kemxml::tkConstruct);
    }
    if (instruction) {
      FOut.Put(hasText ? "?>\r\n\r\n" : " ?>\r\n\r\n");
      Children(tag, depth);
      return;
    }
    if (bang && !hasChildren) {
      // The reader drops one "/" or "?" before the ">", so a text ending in one keeps it.
      FOut.Put(hasText && !EndsWithCloser(tag.Text) ? ">\r\n" : "/>\r\n");
      return;
    }
    if (!hasContent) {
      FOut.Put("/>\r\n", 4);
      return;
    }
    // A name ending in "/" or "?" right before the ">" would close the element.
    if (attributes.Empty() && EndsWithCloser(tag.Name)) FOut.Put(' ');
    FOut.Put('>');
    if (hasChildren) {
      // A text goes behind the children: before them it would run up to the
      // closing construct and take them in.
      FOut.Put("\r\n", 2);
      Children(tag, depth);
      FOut.Put(kBlanks, indent);
    }
    if (hasText && !bang) Text(tag.Text);
    FOut.Put("</", 2);
    Name(tag.Name);
    FOut.Put(">\r\n", 3);
    if (hasChildren && !last) FOut.Put("\r\n", 2);
  }

 private:
  void Children(const TKemXmlTag& tag, int depth) {
    const int count = tag.GetChildCount();
    for (int i = 0; i < count; ++i) Tag(*tag.GetChild(i), depth + 1, i == count - 1);
  }

  // Names are not escaped; an iso-8859-1 file keeps them in the ANSI code page.
  void Name(std::string_view name) {
    if (FEncoding == xeIso88591 && !IsAscii(name))
      FOut.Put(Utf8ToAnsi(name));
    else
      FOut.Put(name);
  }

  void Text(std::string_view text) {
    // The reader skips blanks before a text; a reference keeps a leading one.
    if (text[0] == ' ') {
      FOut.Put("&#32;", 5);
      text.remove_prefix(1);
    }
    kemxml::PutEncoded(FOut, text, FEncoding, kemxml::tkText);
  }

  TOutBuffer& FOut;
  std::uint8_t FEncoding;
};

// About the size of the file: the block is sized once for a usual tree.
size_t ExpectedSize(const TKemXmlTag& tag, int depth) {
  size_t size = 2 * IndentOf(depth) + 2 * tag.Name.size() + 12;
  size += tag.Text.size() + tag.Text.size() / 4;
  for (int i = 0; i < tag.Attributes.Count(); ++i) {
    const size_t value = tag.Attributes.Value(i).size();
    size += tag.Attributes.Name(i).size() + value + value / 4 + 4;
  }
  for (int i = 0; i < tag.GetChildCount(); ++i) size += ExpectedSize(*tag.GetChild(i), depth + 1);
  return size;
}

}  // namespace

void TKemXml::WriteTo(kemxml::TOutBuffer& Out) const {
  const int count = FRoot->GetChildCount();
  TKemXmlWriter writer(Out, FEncoding);
  for (int i = 0; i < count; ++i) writer.Tag(*FRoot->GetChild(i), 0, i == count - 1);
  Out.Finish();
}

String TKemXml::SaveToString() const {
  String out;
  const int count = FRoot->GetChildCount();
  size_t expected = 0;
  for (int i = 0; i < count; ++i) expected += ExpectedSize(*FRoot->GetChild(i), 0);
  TOutBuffer buffer(out, expected);
  WriteTo(buffer);
  return out;
}
