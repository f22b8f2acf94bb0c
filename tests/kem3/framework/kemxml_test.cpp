// The XML document: the writer's exact layout, the reader's rules, round trips
// of every awkward character in both encodings, damaged input, and saving.
#include "kem3/framework/kemxml.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/exception_handler.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/streams.h"
#include "platform/sysutils.h"
#include "support/temp_dir.h"

namespace {

const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\r\n\r\n";
// "<Games> & Ünïcødé 日本"
const char* const kGames =
    "<Games> & \xc3\x9cn\xc3\xaf"
    "c\xc3\xb8"
    "d\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac";
const char* const kUtf8Declaration = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n\r\n";

// The tree as one text: names, attribute lines, texts and nesting.
void Dump(const TKemXmlTag& tag, String& out, int depth) {
  out += String(static_cast<size_t>(depth) * 2, ' ') + "[" + tag.Name + "]";
  for (int i = 0; i < tag.Attributes.Count(); ++i) out += " {" + tag.Attributes[i] + "}";
  if (!tag.Text.empty()) out += " '" + tag.Text + "'";
  out += "\n";
  for (int i = 0; i < tag.GetChildCount(); ++i) Dump(*tag.GetChild(i), out, depth + 1);
}

String Dump(const TKemXml& doc) {
  String out;
  Dump(*doc.Root(), out, 0);
  return out;
}

// Through a stream, which the document reads in blocks of its buffer size.
std::unique_ptr<TKemXml> Load(std::string_view bytes, int bufferSize = 65536, bool declarationOptional = false) {
  auto doc = std::make_unique<TKemXml>(String(), 0, declarationOptional, bufferSize);
  TStringStream stream{String(bytes)};
  doc->LoadFromStream(stream);
  return doc;
}

// A new document in the given encoding, holding only its declaration.
std::unique_ptr<TKemXml> NewDocument(std::uint8_t encoding) {
  return Load(encoding == xeUtf8 ? kUtf8Declaration : kDeclaration);
}

int CountTags(const TKemXmlTag& tag) {
  int n = 1;
  for (int i = 0; i < tag.GetChildCount(); ++i) n += CountTags(*tag.GetChild(i));
  return n;
}

// The first character of saved bytes that XML 1.0 forbids, as it stands or as
// a reference: a control character other than tab, LF and CR, or U+FFFE and
// U+FFFF (as UTF-8 or as references); empty when there is none.
String ForbiddenCharacter(std::string_view saved) {
  for (size_t i = 0; i < saved.size(); ++i) {
    const auto c = static_cast<unsigned char>(saved[i]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') return "byte " + std::to_string(c);
    if (saved.substr(i, 3) == "\xef\xbf\xbe" || saved.substr(i, 3) == "\xef\xbf\xbf") return "U+FFFE/F";
    if (saved.substr(i, 2) != "&#") continue;
    const size_t semi = saved.find(';', i);
    const std::string_view digits = saved.substr(i + 2, semi - i - 2);
    const long n = std::strtol(String(digits).c_str(), nullptr, 10);
    if ((n < 0x20 && n != 9 && n != 10 && n != 13) || n == 0xFFFE || n == 0xFFFF) return "&#" + String(digits) + ";";
  }
  return String();
}

// Resembles the contents file, with a text, a comment inside and a value of each awkward kind.
const char* const kSample =
    "<?xml version=\"1.0\" encoding=\"iso-8859-1\" ?>\r\n\r\n"
    "<!-- Orvanel Version 3.3\r\n     Sample -->\r\n\r\n"
    "<ov3contents>\r\n"
    "  <groups>\r\n"
    "    <group title=\"&#60;Games&#62; &#38; &#220;n&#239;c&#248;d&#233; &#26085;&#26412;\">\r\n"
    "      <icons>\r\n"
    "        <icon title=\"A &#34;quoted&#34; one\" id=\"3\" type=\"program\">\r\n"
    "          <application filename=\"C:&#92;Games&#92;run.exe\" parameters=\"-x 'y'\" folder=\"\"/>\r\n"
    "          <shortcut key=\"F5,Ctrl\"/>\r\n"
    "        </icon>\r\n\r\n"
    "        <icon title='single' id=\"7\" type=batch>\r\n"
    "          <application ids=\"3,x,7\"/>\r\n"
    "        </icon>\r\n"
    "      </icons>\r\n"
    "    </group>\r\n"
    "  </groups>\r\n\r\n"
    "  <note>Some text &#38; more</note>\r\n"
    "  <modules>\r\n"
    "    <!-- inside -->\r\n\r\n"
    "    <battery title=\"Battery\" active=\"yes\"/>\r\n"
    "  </modules>\r\n"
    "</ov3contents>\r\n";

}  // namespace

// ---- Writer layout

TEST(KemXmlWriter, DefaultDocumentIsTheDeclarationAndAnEmptyLine) {
  TKemXml doc;
  EXPECT_EQ(doc.SaveToString(), kDeclaration);
  EXPECT_EQ(doc.Encoding(), xeIso88591);
  EXPECT_FALSE(doc.ExpectDeclaration());
}

TEST(KemXmlWriter, ContentsLikeDocumentLayout) {
  TKemXml doc;
  doc.Root()->AddTag("!--")->Text = "c";
  TKemXmlTag* root = doc.Root()->AddTag("ov3contents");
  root->AddTag("groups")->AddTag("group", "name=Main");
  root->AddTag("modules");
  EXPECT_EQ(doc.SaveToString(), String(kDeclaration) +
                                    "<!-- c -->\r\n\r\n"
                                    "<ov3contents>\r\n"
                                    "  <groups>\r\n"
                                    "    <group name=\"Main\"/>\r\n"
                                    "  </groups>\r\n"
                                    "\r\n"
                                    "  <modules/>\r\n"
                                    "</ov3contents>\r\n");
}

TEST(KemXmlWriter, TextsCommentsAndLastChildren) {
  TKemXml doc;
  doc.Root()->AddTag("!--");  // empty comment
  TKemXmlTag* a = doc.Root()->AddTag("a", "x=1;y=");
  a->AddTag("t")->Text = "word";
  TKemXmlTag* mixed = a->AddTag("m");
  mixed->Text = "lead";
  mixed->AddTag("c");
  TKemXmlTag* b = a->AddTag("b");
  b->AddTag("c")->AddTag("d");
  doc.Root()->AddTag("z");
  EXPECT_EQ(doc.SaveToString(), String(kDeclaration) +
                                    "<!-- \r\n -->\r\n\r\n"
                                    "<a x=\"1\" y=\"\">\r\n"
                                    "  <t>word</t>\r\n"
                                    "  <m>\r\n"
                                    "    <c/>\r\n"
                                    "  lead</m>\r\n"
                                    "\r\n"
                                    "  <b>\r\n"
                                    "    <c>\r\n"
                                    "      <d/>\r\n"
                                    "    </c>\r\n"
                                    "  </b>\r\n"
                                    "</a>\r\n"
                                    "\r\n"
                                    "<z/>\r\n");
}

TEST(KemXmlWriter, EncodesMarkupQuotesBackslashAndNonAscii) {
  auto iso = NewDocument(xeIso88591);
  iso->Root()->AddTag("a")->AddAttr("v", "<G> & \"q\" \\ \xc3\x9c \xe6\x97\xa5 \xf0\x9f\x98\x80\t");
  EXPECT_EQ(iso->SaveToString(),
            String(kDeclaration) + "<a v=\"&#60;G&#62; &#38; &#34;q&#34; &#92; &#220; &#26085; &#128512;&#9;\"/>\r\n");

  auto utf8 = NewDocument(xeUtf8);
  utf8->Root()->AddTag("a")->AddAttr("v", "<G> & \"q\" \\ \xc3\x9c \xe6\x97\xa5");
  EXPECT_EQ(utf8->SaveToString(),
            String(kUtf8Declaration) + "<a v=\"&#60;G&#62; &#38; &#34;q&#34; \\ \xc3\x9c \xe6\x97\xa5\"/>\r\n");
}

TEST(KemXmlWriter, ControlCharactersOtherThanTabAndLineBreaksAreNeverWritten) {
  const String controls(
      "\x01t\x00"
      "a\tb\r\nc\x1f\x0b\xef\xbf\xbe\xef\xbf\xbf",
      17);
  struct Case {
    std::uint8_t encoding;
    String expected;
  } cases[] = {
      {xeIso88591, String(kDeclaration) + "<!-- &#9;x\tb\r\nc -->\r\n\r\n<!X ta&#9;b&#13;&#10;c>\r\n" +
                       "<a v=\"ta&#9;b&#13;&#10;c\">ta&#9;b&#13;&#10;c</a>\r\n"},
      {xeUtf8, String(kUtf8Declaration) + "<!-- &#9;x\tb\r\nc -->\r\n\r\n<!X ta&#9;b&#13;&#10;c>\r\n" +
                   "<a v=\"ta&#9;b&#13;&#10;c\">ta&#9;b&#13;&#10;c</a>\r\n"},
  };
  for (const Case& c : cases) {
    auto doc = NewDocument(c.encoding);
    // A comment whose end would be a control character after the others went.
    doc->Root()->AddTag("!--")->Text = "\x02\tx\x03\tb\r\nc\x04";
    doc->Root()->AddTag("!X")->Text = controls;
    TKemXmlTag* a = doc->Root()->AddTag("a");
    a->AddAttr("v", controls);
    a->Text = controls;
    const String saved = doc->SaveToString();
    EXPECT_EQ(saved, c.expected) << int(c.encoding);
    EXPECT_EQ(ForbiddenCharacter(saved), "");
  }
}

TEST(KemXmlWriter, LeadingBlankOfATextIsKeptByAReference) {
  TKemXml doc;
  doc.Root()->AddTag("a")->Text = "  two";
  EXPECT_EQ(doc.SaveToString(), String(kDeclaration) + "<a>&#32; two</a>\r\n");
  auto back = Load(doc.SaveToString());
  EXPECT_EQ(back->FindPath("a")->Text, "  two");
}

// ---- Round trips

TEST(KemXmlRoundTrip, AwkwardCharactersSurviveManyCyclesInBothEncodings) {
  const std::vector<String> values = {"<",
                                      ">",
                                      "&",
                                      "\"",
                                      "'",
                                      "\\",
                                      kGames,
                                      "\xf0\x9f\x98\x80\xf0\x9d\x84\x9e",
                                      "tab\there",
                                      "line\r\nbreak",
                                      std::string("\x01\x1f\x7f", 3),
                                      std::string("nul\0inside", 10),
                                      "&#65;",
                                      "&#",
                                      "a&#38;#65;b",
                                      " lead",
                                      "trail ",
                                      "=",
                                      "a=b c=d",
                                      "x;y",
                                      "</a>",
                                      "<!-- -->",
                                      "'\"mixed\"'",
                                      "\xc2\xa0nbsp",
                                      "\xe2\x82\xac"};
  // XML holds no control character but tab, CR and LF: the others are left out.
  const auto kept = [](String value) {
    std::erase_if(value,
                  [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n'; });
    return value;
  };
  for (std::uint8_t encoding : {xeIso88591, xeUtf8}) {
    auto doc = NewDocument(encoding);
    auto expected = NewDocument(encoding);
    for (TKemXml* d : {doc.get(), expected.get()}) {
      TKemXmlTag* root = d->Root()->AddTag("root");
      for (size_t i = 0; i < values.size(); ++i) {
        const String value = d == doc.get() ? values[i] : kept(values[i]);
        TKemXmlTag* item = root->AddTag("item");
        item->AddAttr("v", value);
        item->AddAttr("n", std::to_string(i));
        root->AddTag("text")->Text = value;
        d->Root()->AddTag("!--")->Text = "c" + value + "c";
      }
    }
    const String tree = Dump(*expected);
    String saved = doc->SaveToString();
    EXPECT_EQ(ForbiddenCharacter(saved), "");
    for (int cycle = 0; cycle < 5; ++cycle) {
      auto back = Load(saved);
      ASSERT_EQ(Dump(*back), tree) << "encoding " << int(encoding) << ", cycle " << cycle;
      EXPECT_TRUE(back->ReadComplete());
      EXPECT_EQ(back->Encoding(), encoding);
      String again = back->SaveToString();
      ASSERT_EQ(again, saved);
      saved = again;
    }
    if (encoding == xeIso88591) {
      for (char c : saved) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "an iso-8859-1 file holds ASCII only";
    } else {
      EXPECT_NE(saved.find("\xe6\x97\xa5\xe6\x9c\xac"), String::npos) << "utf-8 files hold characters as they are";
    }
  }
}

// Files whose tree a save used to change: what is read is written so that it reads back the same.
TEST(KemXmlRoundTrip, ASaveNeverChangesWhatWasRead) {
  const String d = kDeclaration;
  // Texts of elements nested deeper than the reader follows, which go behind their children when written.
  String deep = d;
  for (int i = 0; i < 300; ++i) deep += "<a t>";
  const std::vector<String> inputs = {
      // An element without a name was written as "</>", which closes its parent.
      d + "<groups><group title=\"A\"/><><group title=\"B\"/></groups><modules/>",
      d + "<groups><group/><></><group/></groups>",
      d + "<groups><group/>< title=\"x\"/><group/></groups>",
      // Names that would end or stretch the construct they are written in.
      d + "<a x=\"<\" y>=\"1\"/><b/>",
      d + "<a<b>c/><b/>",
      // A text beside children was written before them and took them in.
      d + "<icons><icon/>a note<icon/></icons>",
      d + "<a x><b/></a>",
      // Texts of "<!" and "<?" constructs were written outside them.
      d + "<a><!DOCTYPE html><b/></a>",
      d + "<a><!X a&#61;b/ ><!Y c?/></a>",
      "<?xml version?><a/>",
      // A declaration whose name could not be written back is none.
      "<?xml<a>?><b/>",
      // A name ending in "/" or "?" closed its element when written alone.
      d + "<a/ ><b/></a/ ><c? >t</c?>",
      // Comments lose blanks and control characters at their ends.
      d + "<!-- &#9;x&#32; --><a/>",
      // Declarations after the first would read the rest in another encoding.
      "<?xml encoding=\"utf-8\"?><a t=\"\xc3\xa9\"/><?xml encoding=\"iso-8859-1\"?><b t=\"\xc3\xa9\"/>",
      // The pseudo-root has no place for a text.
      d + "top<a/>",
      deep,
  };
  for (const String& input : inputs) {
    auto first = Load(input);
    const String saved = first->SaveToString();
    auto second = Load(saved);
    EXPECT_EQ(Dump(*second), Dump(*first)) << input;
    EXPECT_EQ(second->SaveToString(), saved) << input;
  }
  auto groups = Load(Load(inputs[0])->SaveToString());
  EXPECT_EQ(groups->FindPath("groups")->FindAll("group").size(), 2u) << "a construct without a name is passed over";
  EXPECT_NE(groups->FindPath("modules"), nullptr);
}

TEST(KemXmlRoundTrip, DeepTreesAreIndentedEightLevelsAndNoDeeper) {
  TKemXml doc;
  TKemXmlTag* tag = doc.Root();
  for (int i = 0; i < 200; ++i) tag = tag->AddTag("a", i == 8 ? "at=8" : i == 9 ? "at=9" : "");
  tag->AddAttr("v", "x");
  const String saved = doc.SaveToString();
  EXPECT_EQ(saved.find(String(17, ' ')), String::npos);
  EXPECT_NE(saved.find("\r\n" + String(16, ' ') + "<a at=\"8\">\r\n<a at=\"9\">\r\n"), String::npos);
  EXPECT_NE(saved.find("\r\n<a v=\"x\"/>\r\n</a>\r\n"), String::npos);
  EXPECT_EQ(Dump(*Load(saved)), Dump(doc));
}

// A file nested a hundred deep, as another program may write it without any
// indent: written back about the size it was read, quickly.
TEST(KemXmlRoundTrip, ADeepLargeFileIsWrittenBackNearItsSize) {
  String read = kDeclaration;
  for (int level = 0; level < 100; ++level) {
    read += "<d>";
    for (int i = 0; i < 5000; ++i) read += "<i t=\"x\"/>";
  }
  for (int level = 0; level < 100; ++level) read += "</d>";
  const auto start = std::chrono::steady_clock::now();
  auto doc = Load(read);
  ASSERT_TRUE(doc->ReadComplete());
  const String written = doc->SaveToString();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(written.size(), read.size() * 13 / 10) << "read " << read.size();
  EXPECT_LT(seconds, 5.0);
  EXPECT_EQ(CountTags(*Load(written)->Root()), CountTags(*doc->Root()));
}

// Characters that need care at every place of values and texts of every
// length up to a few blocks, as the reader and writer take bytes in blocks.
TEST(KemXmlRoundTrip, SpecialCharactersAtEveryPlace) {
  const std::vector<std::pair<String, String>> specials = {{"<", "<"},
                                                           {"&", "&"},
                                                           {"\"", "\""},
                                                           {"\\", "\\"},
                                                           {"\t", "\t"},
                                                           {"'", "'"},
                                                           {"&#65;", "&#65;"},
                                                           {"\xc3\xa9", "\xc3\xa9"},
                                                           {"\xe6\x97\xa5", "\xe6\x97\xa5"},
                                                           {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
                                                           {"\xff", "\xef\xbf\xbd"},
                                                           {String(300, '\xff'), ""}};
  for (std::uint8_t encoding : {xeIso88591, xeUtf8}) {
    auto doc = NewDocument(encoding);
    TKemXmlTag* root = doc->Root()->AddTag("r");
    std::vector<String> expected;
    for (const auto& [special, stored] : specials) {
      String read = stored;
      if (read.empty())
        for (int i = 0; i < 300; ++i) read += "\xef\xbf\xbd";  // each byte that is no UTF-8 is U+FFFD
      for (size_t length = 0; length <= 40; ++length) {
        for (size_t at = 0; at <= length; ++at) {
          const String before(at, 'b'), after(length - at, 'a');
          TKemXmlTag* tag = root->AddTag("v");
          tag->AddAttr("v", before + special + after);
          tag->Text = before + special + after;
          expected.push_back(before + read + after);
        }
      }
    }
    auto back = Load(doc->SaveToString());
    const auto tags = back->FindPath("r")->FindAll("v");
    ASSERT_EQ(tags.size(), expected.size());
    for (size_t i = 0; i < tags.size(); ++i) {
      ASSERT_EQ(tags[i]->ReadAttr("v"), expected[i]) << int(encoding) << " " << i;
      ASSERT_EQ(tags[i]->Text, expected[i]) << int(encoding) << " " << i;
    }
  }
}

TEST(KemXmlRoundTrip, FileThroughSaveAndLoad) {
  TempDir dir;
  const String name = dir.file("contents \xe6\x97\xa5.xml");
  auto doc = Load(kSample);
  ASSERT_TRUE(doc->ReadComplete());
  doc->SaveToFile(name);
  TKemXml back(name);
  EXPECT_EQ(Dump(back), Dump(*doc));
  EXPECT_EQ(back.FileName(), name);
  EXPECT_EQ(back.FileDir(), name.substr(0, name.size() - String("contents \xe6\x97\xa5.xml").size()));
  EXPECT_EQ(ReadFileBytes(name), doc->SaveToString());
}

// ---- Reading rules

TEST(KemXmlReader, SampleTree) {
  auto doc = Load(kSample);
  EXPECT_TRUE(doc->ReadComplete());
  TKemXmlTag* group = doc->FindPath("ov3contents.groups.group");
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->ReadAttr("title"), kGames);
  auto icons = group->FindPath("icons")->FindAll("ICON");
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0]->ReadAttr("title"), "A \"quoted\" one");
  EXPECT_EQ(icons[0]->ReadPathAttr("application", "filename"), "C:\\Games\\run.exe");
  EXPECT_EQ(icons[0]->ReadPathAttr("application", "parameters"), "-x 'y'");
  EXPECT_EQ(icons[0]->ReadPathAttr("application", "folder", "none"), "");
  EXPECT_EQ(icons[1]->ReadAttr("title"), "single");
  EXPECT_EQ(icons[1]->ReadAttr("id"), "7");
  EXPECT_EQ(icons[1]->ReadAttr("type"), "batch");
  EXPECT_EQ(doc->FindPath("ov3contents.note")->Text, "Some text & more");
  EXPECT_EQ(doc->FindPath("ov3contents.modules.!--")->Text, "inside");
  EXPECT_EQ(doc->Root()->GetChild(1)->Text, "Orvanel Version 3.3\r\n     Sample");
}

TEST(KemXmlReader, CharacterReferences) {
  for (const char* declaration : {kDeclaration, kUtf8Declaration}) {
    auto doc = Load(String(declaration) +
                    "<a v1=\"&#65;\" v2=\"&#x41;\" v3=\"[&#;]\" v4=\"&#300;\" v5=\"&#38;#65;\" v6=\"&#65\" "
                    "v7=\"&#128512;\" v8=\"&#-5;\" v9=\"&#99999999999;\" v10=\"&#1114112;\"/>");
    TKemXmlTag* a = doc->FindPath("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->ReadAttr("v1"), "A");
    EXPECT_EQ(a->ReadAttr("v2"), " ") << "hexadecimal references read as a blank";
    EXPECT_EQ(a->ReadAttr("v3"), "[ ]");
    EXPECT_EQ(a->ReadAttr("v4"), "\xc4\xac") << "the whole character, U+012C";
    EXPECT_EQ(a->ReadAttr("v5"), "&#65;") << "decoding is one pass";
    EXPECT_EQ(a->ReadAttr("v6"), "A") << "without ';' the rest is the number";
    EXPECT_EQ(a->ReadAttr("v7"), "\xf0\x9f\x98\x80");
    EXPECT_EQ(a->ReadAttr("v8"), "\xef\xbf\xbd");
    EXPECT_EQ(a->ReadAttr("v9"), " ");
    EXPECT_EQ(a->ReadAttr("v10"), "\xef\xbf\xbd");
  }
}

TEST(KemXmlReader, BytesOfEachEncoding) {
  // iso-8859-1 files keep the ANSI code page; utf-8 files UTF-8, and bytes that
  // are not UTF-8 fall back to the code page so old files stay readable.
  auto iso = Load(String(kDeclaration) + "<a\xe9 t\xe9=\"\xe9\">x\xe9</a\xe9>");
  EXPECT_EQ(Dump(*iso),
            "[kem/xml-root]\n  [?xml] {version=1.0} {encoding=iso-8859-1}\n"
            "  [a\xc3\xa9] {t\xc3\xa9=\xc3\xa9} 'x\xc3\xa9'\n");
  auto utf8 = Load(String(kUtf8Declaration) + "<a t=\"\xc3\xa9\" u=\"\xe9\"/>");
  EXPECT_EQ(utf8->FindPath("a")->ReadAttr("t"), "\xc3\xa9");
  EXPECT_EQ(utf8->FindPath("a")->ReadAttr("u"), "\xc3\xa9");
}

TEST(KemXmlReader, TextRules) {
  auto doc = Load(String(kDeclaration) +
                  "<r>"
                  "<a>  word  </a>"
                  "<b>x<e/>y</b>"
                  "<c><e/>word</c>"
                  "<d>one</D>"
                  "</r>");
  TKemXmlTag* r = doc->FindPath("r");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->FindPath("a")->Text, "word  ") << "leading blanks dropped, trailing kept";
  EXPECT_EQ(r->FindPath("b")->Text, "x<e/>y") << "a text after an opening construct runs to its closing one";
  EXPECT_EQ(r->FindPath("b")->GetChildCount(), 0);
  EXPECT_EQ(r->FindPath("c")->Text, "word");
  EXPECT_EQ(r->FindPath("c")->GetChildCount(), 1);
  EXPECT_EQ(r->FindPath("d")->Text, "one") << "the closing construct matches without regard to case";
  EXPECT_TRUE(doc->ReadComplete());
}

TEST(KemXmlReader, ClosingNamesAreNotComparedAndStrayOnesIgnored) {
  auto doc = Load(String(kDeclaration) + "</stray><x><y></z><w/></x></more><top/>");
  EXPECT_EQ(Dump(*doc),
            "[kem/xml-root]\n  [?xml] {version=1.0} {encoding=iso-8859-1}\n"
            "  [x]\n    [y]\n    [w]\n  [top]\n");
}

TEST(KemXmlReader, ConstructsOfOtherKinds) {
  auto doc = Load(String(kDeclaration) +
                  "<?other stuff?><!DOCTYPE html><a k='single quoted' n=\"x<y>z\" u=plain v=\"1\"/>"
                  "<b just a text/><c  =x/><!---->");
  EXPECT_EQ(Dump(*doc),
            "[kem/xml-root]\n  [?xml] {version=1.0} {encoding=iso-8859-1}\n"
            "  [!DOCTYPE] 'html'\n"
            // An unquoted value takes its first character as its quote, so it runs on.
            "  [a] {k=single quoted} {n=x<y>z} {u=plain v=\"1\"}\n"
            "  [b] 'just a text'\n"
            "  [c]\n"
            "  [!--]\n");
}

TEST(KemXmlReader, DeclarationDecidesTheEncoding) {
  EXPECT_EQ(Load("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>")->Encoding(), xeUtf8);
  EXPECT_EQ(Load("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>")->Encoding(), xeIso88591);
  auto doc = Load("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
  doc->LoadFromString("<?xml version=\"1.0\" encoding=\"windows-1252\"?>");
  EXPECT_EQ(doc->Encoding(), xeUtf8) << "an unknown encoding keeps the mode";
  doc->CreateDefault();
  EXPECT_EQ(doc->SaveToString(), kUtf8Declaration);
  // A declaration without its "?" still holds nothing.
  auto open = Load("<?xml version=\"1.0\"><a/>");
  EXPECT_EQ(open->Root()->GetChildCount(), 2);
}

TEST(KemXmlReader, EmptyFilesAndMissingDeclarations) {
  auto empty = Load("");
  EXPECT_EQ(empty->Root()->GetChildCount(), 0);
  EXPECT_TRUE(empty->ReadComplete());
  auto missing = Load("<!-- c --><a/>");
  EXPECT_EQ(missing->Root()->GetChildCount(), 0);
  EXPECT_FALSE(missing->ReadComplete());
  auto optional = Load("<!-- c --><a/>", 65536, true);
  EXPECT_EQ(optional->Root()->GetChildCount(), 2);
  EXPECT_TRUE(optional->ReadComplete());
}

TEST(KemXmlReader, AnyWindowSizeReadsTheSameTree) {
  const String expected = Dump(*Load(kSample));
  for (int size = 0; size <= 40; ++size) ASSERT_EQ(Dump(*Load(kSample, size)), expected) << "window " << size;
  // Constructs and texts far longer than the window are read whole.
  String longValue(100000, 'v');
  String longText(100000, 't');
  auto doc = Load(String(kDeclaration) + "<a v=\"" + longValue + "\">" + longText + "</a>", 16);
  EXPECT_EQ(doc->FindPath("a")->ReadAttr("v"), longValue);
  EXPECT_EQ(doc->FindPath("a")->Text, longText);
}

TEST(KemXmlReader, EveryCutOfTheSampleEndsAtTheLastWholeConstruct) {
  const String full = kSample;
  const int fullTags = CountTags(*Load(full)->Root());
  const String fullTree = Dump(*Load(full));
  for (size_t cut = 0; cut <= full.size(); ++cut) {
    for (int size : {2, 7, 65536}) {
      auto doc = Load(full.substr(0, cut), size);
      ASSERT_LE(CountTags(*doc->Root()), fullTags);
      // Complete only where no construct is cut and no element open: before
      // anything, after the declaration, after the comment, and at the end.
      bool whole = cut >= full.find("</ov3contents>") + 14;
      bool between = cut == 0 || (cut >= full.find("?>") + 2 && cut <= full.find("<!--")) ||
                     (cut >= full.find("-->") + 3 && cut <= full.find("<ov3contents>"));
      ASSERT_EQ(doc->ReadComplete(), whole || between) << "cut " << cut;
      // An incomplete read says where it stopped: a line the bytes reach.
      const TKemXmlFault& fault = doc->ReadFault();
      ASSERT_EQ(fault.Kind == xfNone, doc->ReadComplete()) << "cut " << cut;
      if (fault.Kind != xfNone) {
        ASSERT_GE(fault.Line, 1);
        ASSERT_LE(fault.Line, 1 + std::count(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut), '\n'));
      }
      if (whole) {
        ASSERT_EQ(Dump(*doc), fullTree);
      }
      // Whatever was read can be written and read again.
      auto again = Load(doc->SaveToString());
      ASSERT_EQ(Dump(*again), Dump(*doc)) << "cut " << cut;
    }
  }
}

TEST(KemXmlReader, MalformedInputEndsWithoutHarm) {
  const std::vector<String> inputs = {
      "<",         "<<<<<<",         ">>>>",         "<?xml",         "<?xml?>",        "<?xml?><",
      "<?xml?><a", "<?xml?><a>text", "<?xml?></>",   "<?xml?><>",     "<?xml?><!-->",   "<?xml?><a b=\"",
      "<?xml?>&#", "<?xml?><a>&#",   "<?xml?><a =>", "<?xml?><a b=>", "<?xml?><a\0b/>", "\xef\xbb\xbf<?xml?><a/>",
  };
  for (const String& input : inputs) {
    for (int size : {2, 3, 65536}) {
      auto doc = Load(input, size);
      auto again = Load(doc->SaveToString());
      EXPECT_GE(again->Root()->GetChildCount(), 0);
    }
  }
  // Nesting deeper than any file of ours stops the read instead of straining the stack.
  String deep = kDeclaration;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  auto doc = Load(deep);
  EXPECT_FALSE(doc->ReadComplete());
  EXPECT_LE(CountTags(*doc->Root()), 300);
  // Input built to make a careless reader quadratic reads in one pass: many
  // attributes in one construct, and a text full of near-misses of its closing construct.
  String many = String(kDeclaration) + "<a";
  for (int i = 0; i < 100000; ++i) many += " k=\"v\"";
  auto wide = Load(many + "/>");
  EXPECT_EQ(wide->FindPath("a")->Attributes.Count(), 100000);
  String name(2000, 'n');
  String nearMisses = String(kDeclaration) + "<" + name + ">x";
  for (int i = 0; i < 500; ++i) nearMisses += "</" + name.substr(1) + "x";
  auto texted = Load(nearMisses + "</" + name + ">");
  EXPECT_EQ(texted->FindPath(name)->Text.size(), 1 + 500 * (name.size() + 2));
  // Random bytes, and random bytes made of the characters that matter.
  std::mt19937 random(20260101);
  const String alphabet = "<>/?!-=\"' &#;abc\r\n\t\x80\xe6";
  for (int round = 0; round < 2000; ++round) {
    String bytes = kDeclaration;
    size_t length = random() % 200;
    for (size_t i = 0; i < length; ++i)
      bytes += round % 2 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
    auto fuzzed = Load(bytes, 2 + static_cast<int>(random() % 20));
    auto again = Load(fuzzed->SaveToString());
    EXPECT_GE(CountTags(*again->Root()), 1);
  }
}

// ---- Tree operations

TEST(KemXmlTree, FindPathCreatesFindsAndIgnoresCase) {
  TKemXml doc;
  EXPECT_EQ(doc.FindPath("a.b.c"), nullptr);
  TKemXmlTag* c = doc.FindPath("a.b.c", true);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->Name, "c");
  EXPECT_EQ(c->Parent()->Name, "b");
  EXPECT_EQ(c->Parent()->Parent()->Name, "a");
  EXPECT_EQ(doc.Root()->GetChildCount(), 2);
  EXPECT_EQ(doc.FindPath("a.b.c", true), c);
  EXPECT_EQ(doc.FindPath("A.B.C"), c);
  EXPECT_EQ(doc.FindPath(""), doc.Root());
  EXPECT_EQ(CountTags(*doc.Root()), 5);
  c->AddAttr("k", "v");
  EXPECT_EQ(doc.Root()->ReadPathAttr("a.b.c", "K", "d"), "v");
  EXPECT_EQ(doc.Root()->ReadPathAttr("a.x", "k", "d"), "d");
}

TEST(KemXmlTree, Attributes) {
  TKemXml doc;
  TKemXmlTag* tag = doc.Root()->AddTag("t", "a=1;b=x=y;c");
  EXPECT_EQ(tag->Attributes.Text(), "a=1\r\nb=x=y\r\nc=\r\n");
  EXPECT_EQ(tag->ReadAttr("B"), "x=y");
  EXPECT_EQ(tag->ReadAttr("c", "default"), "") << "present but empty";
  EXPECT_EQ(tag->ReadAttr("d", "default"), "default");
  tag->WriteAttr("a", "2");
  tag->WriteAttr("b", "");
  tag->WriteAttr("d", "");
  EXPECT_EQ(tag->Attributes.Text(), "a=2\r\nc=\r\nd=\r\n");
  tag->DeleteAttr("C");
  tag->DeleteAttr("missing");
  tag->AddAttr("a", "3");
  EXPECT_EQ(tag->Attributes.Text(), "a=2\r\nd=\r\na=3\r\n");
}

// Many edits of one tag's attributes give what a plain list of pairs gives,
// however values grow, shrink and move inside the tag's one block.
TEST(KemXmlTree, AttributeEditsMatchAListOfPairs) {
  // A tag read from a file starts with a block of exactly its size.
  auto doc = Load(String(kDeclaration) + "<t a=\"1\" title=\"&#60;xyz&#62;\"/>");
  TKemXmlTag* tag = doc->FindPath("t");
  std::vector<std::pair<String, String>> model = {{"a", "1"}, {"title", "<xyz>"}};
  std::mt19937 random(7);
  const std::vector<String> names = {"a", "B", "title", "filename"};
  for (int round = 0; round < 3000; ++round) {
    const String name = names[random() % names.size()];
    const String value(random() % 3 == 0 ? 0 : random() % 40, static_cast<char>('a' + round % 26));
    auto found = std::find_if(model.begin(), model.end(), [&](const auto& p) { return SameText(p.first, name); });
    tag->WriteAttr(name, value);
    if (found == model.end())
      model.emplace_back(name, value);
    else if (value.empty())
      model.erase(found);
    else
      found->second = value;
    ASSERT_EQ(tag->Attributes.Count(), static_cast<int>(model.size()));
    for (size_t i = 0; i < model.size(); ++i)
      ASSERT_EQ(tag->Attributes[static_cast<int>(i)], model[i].first + "=" + model[i].second);
  }
  tag->AddAttr("x=y", "z");
  EXPECT_EQ(tag->ReadAttr("x"), "y=z") << "as the line x=y=z reads";

  // The string list's view of the pairs.
  TKemXmlAttributes list;
  list.Add("k=v");
  list.Add("bare");
  list.Append(list.Name(0), list.Value(0));  // from its own block, which may move
  EXPECT_EQ(list.Text(), "k=v\r\nbare=\r\nk=v\r\n");
  EXPECT_EQ(list.Values("K"), "v");
  EXPECT_EQ(list.IndexOfName("BARE"), 1);
  EXPECT_EQ(list.IndexOfName("k "), -1);
  EXPECT_EQ(list.Names(1) + "|" + list.ValueFromIndex(1), "bare|");
  EXPECT_THROW(list.Name(3), EListError);
  TKemXmlAttributes copy = list;
  EXPECT_TRUE(copy == list);
  copy.SetValue("k", "");
  copy.SetValue("new", "1");
  EXPECT_EQ(copy.Text(), "bare=\r\nk=v\r\nnew=1\r\n");
  EXPECT_FALSE(copy == list);
}

// Tags a read made lie in blocks the document holds; handed out, moved to
// another document or kept while the document reads again or goes, they stay whole.
TEST(KemXmlTree, TagsOfAReadOutliveTheirDocument) {
  TKemXmlTagPtr groups;
  TKemXmlTags icons;
  TKemXml other;
  {
    auto doc = Load(kSample);
    TKemXmlTag* root = doc->FindPath("ov3contents");
    root->MoveChildTo(2, other.Root());  // modules
    icons = doc->FindPath("ov3contents.groups.group")->RemoveChild(0, false);
    groups = root->ExtractChild(0);
    doc->LoadFromString(kSample);
    doc->FindPath("ov3contents.groups.group.icons.icon")->WriteAttr("title", String(100, 'x'));
  }
  EXPECT_EQ(groups->FindPath("group")->ReadAttr("title"), kGames);
  groups->FindPath("group")->WriteAttr("title", String(100, 'y'));
  EXPECT_EQ(groups->FindPath("group")->ReadAttr("title"), String(100, 'y'));
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0]->ReadPathAttr("application", "filename"), "C:\\Games\\run.exe");
  EXPECT_EQ(other.FindPath("modules.battery")->ReadAttr("title"), "Battery");
  other.Clear();
  EXPECT_EQ(icons[1]->ReadAttr("id"), "7");
}

TEST(KemXmlTree, ChildOperations) {
  TKemXml doc;
  TKemXmlTag* p = doc.Root()->AddTag("p");
  for (const char* name : {"a", "b", "!--", "c"}) p->AddTag(name)->AddTag(String(name) + "1");
  p->FindPath("c")->AddTag("!--");
  auto names = [&] {
    String s;
    for (int i = 0; i < p->GetChildCount(); ++i) s += p->GetChild(i)->Name + ",";
    return s;
  };
  EXPECT_EQ(p->FindPath("b")->GetIndex(), 1);
  EXPECT_EQ(doc.Root()->GetIndex(), -1);
  p->RemoveComments();
  EXPECT_EQ(names(), "a,b,c,");
  EXPECT_EQ(p->FindPath("c")->GetChildCount(), 1);
  p->MoveChild(0, 2);
  EXPECT_EQ(names(), "b,c,a,");
  p->ExchangeChildren(0, 2);
  EXPECT_EQ(names(), "a,c,b,");
  TKemXmlTag* other = doc.Root()->AddTag("other");
  p->MoveChildTo(1, other);
  EXPECT_EQ(names(), "a,b,");
  EXPECT_EQ(other->GetChild(0)->Parent(), other);
  EXPECT_THROW(p->MoveChildTo(0, p->GetChild(0)->GetChild(0)), EInvalidOperation);
  EXPECT_TRUE(p->RemoveChild(5).empty());
  TKemXmlTags kept = p->RemoveChild(0, false);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0]->Name, "a1");
  EXPECT_EQ(kept[0]->Parent(), nullptr);
  EXPECT_EQ(names(), "b,");
  EXPECT_THROW(p->DeleteChild(1), EListError);
  EXPECT_THROW(p->GetChild(-1), EListError);
  p->DeleteChild(0);
  EXPECT_EQ(p->GetChildCount(), 0);
}

TEST(KemXmlTree, AssignCopiesTheSubtreeEvenFromBelowItself) {
  auto doc = Load(kSample);
  TKemXmlTag* groups = doc->FindPath("ov3contents.groups");
  String groupsTree;
  Dump(*groups, groupsTree, 0);
  TKemXml target;
  TKemXmlTag* copy = target.Root()->AddTag("x");
  copy->Assign(*groups);
  String copyTree;
  Dump(*copy, copyTree, 0);
  EXPECT_EQ(copyTree, groupsTree);
  EXPECT_EQ(copy->GetChild(0)->Owner(), &target);
  // A tag becoming a copy of its own child.
  TKemXmlTag* icons = groups->FindPath("group.icons");
  String iconsTree;
  Dump(*icons, iconsTree, 0);
  groups->Assign(*icons);
  String afterTree;
  Dump(*groups, afterTree, 0);
  EXPECT_EQ(afterTree, iconsTree);
}

TEST(KemXmlTree, DataBlocksFollowTheTagDataSize) {
  TKemXml none;
  EXPECT_EQ(none.Root()->AddTag("a")->Data(), nullptr);
  TKemXml sized(String(), 8);
  TKemXmlTag* a = sized.Root()->AddTag("a");
  auto* bytes = static_cast<unsigned char*>(a->Data());
  ASSERT_NE(bytes, nullptr);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(bytes[i], 0);
  bytes[3] = 7;
  TKemXmlTag* b = sized.Root()->AddTag("b");
  b->Assign(*a);
  EXPECT_EQ(static_cast<unsigned char*>(b->Data())[3], 7);
  a->Clear(true, true);
  EXPECT_EQ(bytes[3], 7);
  a->Clear(true, false);
  EXPECT_EQ(bytes[3], 0);
}

// ---- Files

TEST(KemXmlFile, MissingOrUnreadableFilesGiveTheDefaultDocument) {
  TempDir dir;
  TKemXml missing(dir.file("missing.xml"));
  EXPECT_EQ(missing.SaveToString(), kDeclaration);
  EXPECT_EQ(missing.FileName(), "");

  TKemXml doc;
  doc.FindPath("a", true);
  std::vector<String> shown;
  auto previous = SetExceptionHandler([&](TObject*, std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const Exception& e) {
      shown.push_back(e.Message);
    }
  });
  doc.LoadFromFile(dir.file("missing.xml"));
  SetExceptionHandler(previous);
  EXPECT_EQ(doc.SaveToString(), kDeclaration);
  ASSERT_EQ(shown.size(), 1u) << "the failure goes to the exception display";
  EXPECT_NE(shown[0].find("missing.xml"), String::npos);
}

TEST(KemXmlFile, SaveReplacesTheFileAndAFailedSaveKeepsWhatWasThere) {
  TempDir dir;
  const String name = dir.file("doc.xml");
  WriteFileAtomic(name, "old");
  TKemXml doc;
  doc.FindPath("a", true);
  doc.SaveToFile(name);
  EXPECT_EQ(ReadFileBytes(name), doc.SaveToString());
  // A save that changes nothing leaves the file alone; one that changes something replaces it.
  const auto old = std::filesystem::last_write_time(name) - std::chrono::hours(24);  // at the file system's precision
  std::filesystem::last_write_time(name, old);
  doc.SaveToFile(name);
  EXPECT_EQ(std::filesystem::last_write_time(name), old);
  doc.FindPath("a")->AddAttr("k", "v");
  doc.SaveToFile(name);
  EXPECT_NE(std::filesystem::last_write_time(name), old);
  EXPECT_EQ(ReadFileBytes(name), doc.SaveToString());

  // The target is a folder: nothing can replace it, and nothing is left behind.
  const String folder = dir.file("folder.xml");
  std::filesystem::create_directory(folder);
  WriteFileAtomic(folder + "/inside", "kept");
  EXPECT_THROW(doc.SaveToFile(folder), Exception);
  EXPECT_EQ(ReadFileBytes(folder + "/inside"), "kept");
  EXPECT_THROW(doc.SaveToFile(dir.file("no such folder/doc.xml")), Exception);
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2u) << "no temporary files stay behind";
  EXPECT_EQ(ReadFileBytes(name), doc.SaveToString());
}
