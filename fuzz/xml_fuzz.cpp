// Feeds arbitrary bytes to the XML reader, with any window size, and checks what
// must hold whatever the bytes: the read ends, what was read is written so that
// it reads back as the same tree, stored texts decode to what was encoded, and a
// tree of clean names with arbitrary values and texts comes back whole from its own file.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "kem3/framework/kemxml.h"
#include "platform/unicode_convert.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void Dump(const TKemXmlTag& tag, std::string& out) {
  out += "[" + tag.Name + "]";
  for (int i = 0; i < tag.Attributes.Count(); ++i) out += "{" + tag.Attributes[i] + "}";
  out += "'" + tag.Text + "'(";
  for (int i = 0; i < tag.GetChildCount(); ++i) Dump(*tag.GetChild(i), out);
  out += ")";
}

std::string Dump(const TKemXml& doc) {
  std::string out;
  Dump(*doc.Root(), out);
  return out;
}

std::string Name(FuzzedDataProvider& data) {
  std::string name(1 + data.ConsumeIntegralInRange<size_t>(0, 6), 'a');
  for (char& c : name) c = static_cast<char>('a' + data.ConsumeIntegralInRange(0, 25));
  return name;
}

// Valid UTF-8 of any characters, the form every text in the tree has.
std::string Value(FuzzedDataProvider& data) {
  std::string value;
  size_t count = data.ConsumeIntegralInRange<size_t>(0, 12);
  for (size_t i = 0; i < count && data.remaining_bytes() > 0; ++i) {
    switch (data.ConsumeIntegralInRange(0, 3)) {
      case 0:
        AppendUtf8(value, data.ConsumeIntegralInRange<char32_t>(0, 0x7F));
        break;
      case 1:
        value += data.PickValueInArray({'<', '>', '&', '#', ';', '"', '\'', '\\', ' ', '=', '/', '?', '!', '-'});
        break;
      default:
        AppendUtf8(value, data.ConsumeIntegralInRange<char32_t>(0x80, 0x10FFFF));
        break;
    }
  }
  return value;
}

// Adds children below tag: elements with attributes, leaves with texts, comments.
void Grow(FuzzedDataProvider& data, TKemXmlTag* tag, int depth) {
  int children = depth > 4 ? 0 : data.ConsumeIntegralInRange(0, 3);
  for (int i = 0; i < children && data.remaining_bytes() > 0; ++i) {
    if (data.ConsumeIntegralInRange(0, 5) == 0) {
      // Comments lose blanks and control characters at their ends.
      std::string text = Value(data);
      while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
      while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.erase(0, 1);
      tag->AddTag("!--")->Text = text;
      continue;
    }
    TKemXmlTag* child = tag->AddTag(Name(data));
    int attributes = data.ConsumeIntegralInRange(0, 3);
    for (int a = 0; a < attributes; ++a) child->AddAttr(Name(data), Value(data));
    if (data.ConsumeBool())
      child->Text = Value(data);  // a text on a leaf only: markup after it would join the text
    else
      Grow(data, child, depth + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  const int window = data.ConsumeIntegralInRange(0, 64);
  const bool optional = data.ConsumeBool();
  const int mode = data.ConsumeIntegralInRange(0, 2);

  if (mode == 0) {
    // Any bytes at all: what was read is written so that it reads back the
    // same, and that file is a fixed point of load and save.
    std::string input = data.ConsumeRemainingBytesAsString();
    TKemXml doc(std::string(), 4, optional, window);
    doc.LoadFromString(input);
    std::string saved = doc.SaveToString();
    TKemXml again(std::string(), 0, optional, window);
    again.LoadFromString(saved);
    Check(Dump(again) == Dump(doc));
    Check(again.SaveToString() == saved);
    return 0;
  }

  if (mode == 1) {
    // The stored form of any text decodes to the text, in both encodings.
    std::string text = data.ConsumeRemainingBytesAsString();
    if (!IsValidUtf8(text)) return 0;
    for (const char* declaration : {"<?xml encoding=\"iso-8859-1\"?>", "<?xml encoding=\"utf-8\"?>"}) {
      TKemXml doc;
      doc.LoadFromString(declaration);
      Check(doc.DecodeText(doc.EncodeText(text)) == text);
    }
    return 0;
  }

  // A clean tree comes back whole, and its file is a fixed point.
  TKemXml doc(std::string(), 0, false, window);
  doc.LoadFromString(data.ConsumeBool() ? "<?xml version=\"1.0\" encoding=\"utf-8\" ?>"
                                        : "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>");
  Grow(data, doc.Root(), 0);
  std::string saved = doc.SaveToString();
  TKemXml back(std::string(), 0, false, window);
  back.LoadFromString(saved);
  Check(back.ReadComplete());
  Check(Dump(back) == Dump(doc));
  Check(back.SaveToString() == saved);
  return 0;
}
