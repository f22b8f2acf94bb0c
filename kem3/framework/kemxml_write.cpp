// The XML writer: one fixed layout with CR LF line ends and two blanks of indent
// per level, an empty line after the declaration, after each comment and after
// the closing construct of an element with children that is not its parent's last.
#include "kem3/framework/kemxml.h"

namespace {

const char* const kLineEnd = "\r\n";

}  // namespace

void TKemXml::WriteTag(String& Out, const TKemXmlTag& Tag, const String& Indent, bool Last) const {
  const bool comment = Tag.IsComment();
  const bool instruction = !Tag.Name.empty() && Tag.Name[0] == '?';
  const bool hasChildren = Tag.GetChildCount() > 0;
  const bool hasContent = hasChildren || !Tag.Text.empty();
  const String name = EncodeName(Tag.Name);

  Out += Indent + "<" + name;
  for (int i = 0; i < Tag.Attributes.Count(); ++i) {
    String line = Tag.Attributes[i];
    size_t eq = line.find('=');
    Out += " " + EncodeName(std::string_view(line).substr(0, eq)) + "=\"";
    if (eq != String::npos) Out += EncodeText(std::string_view(line).substr(eq + 1));
    Out += "\"";
  }
  if (comment)
    Out += " ";
  else if (instruction)
    Out += String(" ?>") + kLineEnd;
  else
    Out += hasContent ? ">" : "/>";

  if (Tag.Text.empty()) {
    Out += kLineEnd;
  } else if (comment) {
    Out += EncodeComment(Tag.Text);
  } else {
    String text = EncodeText(Tag.Text);
    // The reader skips blanks before a text; a reference keeps a leading one.
    if (text[0] == ' ') text.replace(0, 1, "&#32;");
    Out += text;
  }

  const String inner = Indent + "  ";
  const int count = Tag.GetChildCount();
  for (int i = 0; i < count; ++i) WriteTag(Out, *Tag.GetChild(i), inner, i == count - 1);

  if (comment) {
    Out += String(" -->") + kLineEnd + kLineEnd;
  } else if (!instruction && hasContent) {
    if (hasChildren) Out += Indent;
    Out += "</" + name + ">" + kLineEnd;
    if (hasChildren && !Last) Out += kLineEnd;
  }
}

String TKemXml::SaveToString() const {
  String out;
  const int count = FRoot->GetChildCount();
  for (int i = 0; i < count; ++i) WriteTag(out, *FRoot->GetChild(i), String(), i == count - 1);
  return out;
}
