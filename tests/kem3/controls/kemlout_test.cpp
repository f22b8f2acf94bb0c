// The brace mark-up: pieces, formats, tabs, links, pictures and separate
// formats of a paragraph; styles; untrusted text kept literal and bounded.
#include "kem3/controls/kemlout.h"

#include <gtest/gtest.h>

#include "platform/unicode_convert.h"

namespace {

// Each piece as its text and, in brackets, what sets it apart: B I U bold,
// italic, underline; _ a space follows; t<code>; L:<target>; P<align>@<reference>;
// F:<face>/<size>; c<colour> k<back colour> m<mark> in hexadecimal/decimal.
std::string Describe(const TKemParagraph& Paragraph) {
  std::string out;
  for (const auto& piece : Paragraph.Pieces()) {
    const TKemTextFormat& f = piece->Format;
    std::string flags;
    if (f.Style.Contains(fsBold)) flags += "B";
    if (f.Style.Contains(fsItalic)) flags += "I";
    if (f.Style.Contains(fsUnderline)) flags += "U";
    if (piece->SpaceAfter) flags += "_";
    if (piece->TabCode) flags += "t" + std::to_string(piece->TabCode);
    if (piece->Link) flags += "L:" + piece->Link->Target;
    if (piece->IsPicture)
      flags += "P" + std::to_string(piece->PictureAlign) +
               (piece->IsLocal ? "#" + std::to_string(piece->LocalIndex) : "") +
               (piece->IsResource ? "$" + piece->ResourceName : "");
    if (!f.FontName.empty() || f.FontSize) flags += "F:" + f.FontName + "/" + std::to_string(f.FontSize);
    char colours[64] = "";
    if (f.Color != clNone) snprintf(colours, sizeof colours, "c%X", static_cast<unsigned>(f.Color));
    flags += colours;
    if (f.BackColor != clNone)
      snprintf(colours, sizeof colours, "k%X", static_cast<unsigned>(f.BackColor)), flags += colours;
    if (f.Mark) flags += "m" + std::to_string(f.Mark);
    if (!out.empty()) out += " ";
    out += WideToUtf8(piece->Text) + "[" + flags + "]";
  }
  return out;
}

std::string Parse(const WideString& Text) { return Describe(TKemParagraph(Text)); }

}  // namespace

TEST(KemMarkup, TextCutsIntoPiecesWithTheirFormats) {
  const struct {
    const char16_t* Text;
    const char* Pieces;
  } cases[] = {
      {u"{b1}bold {b0}plain", "bold[B_] plain[]"},
      {u"{b1,,i1}x", "x[B]"},  // the empty command ends the tag
      {u"word{b1}next", "word[] next[B]"},
      {u"text{b1}", "text[]"},  // a tag at the end leaves no piece
      {u"  a \t  b  ", "a[_] b[]"},
      {u"{i1}a {U1} b", "a[I_] [IU_] b[IU]"},                    // a blank after a tag is a space piece
      {u"a {b1 never{closed", "a[_] {b1[_] never{closed[]"},     // an open tag stays text
      {u"{b}a{b99999999999}b{b-2}c{b 1}d", "a[] b[] c[] d[B]"},  // malformed numbers count as 0
      {u"{tr}12{tl}x{th}y{tc}1.5{tq}z{T}w", "12[t2] x[t1] y[t4] 1.5[t3] z[] w[]"},
      {u"{l1:http://a.b/c}a b{l0} c{l:x}d", "a[_L:http://a.b/c] b[L:http://a.b/c] [_] c[] d[]"},
      {u"{pm local:1}{PB res:ov3text}{p \\\\host\\a.png}{pt local:x}",
       "local:1[P1#1] res:ov3text[P2$ov3text] \\\\host\\a.png[P0] local:x[P0#-1]"},
      {u"{b1}{x fontname=Sym;fontsize=12;a b;c}d", "a b;c[BF:Sym/12] d[B]"},
      {u"{x fontsize=12;fontname=Sym}a b", "a[_F:Sym/12] b[]"},  // keys only: the next piece takes it
      {u"{x fontsize=9999}a", "a[F:/400]"},
      {u"{cFF}{f$00FF00,m1}a{cZZ,m}b{c123456789}c", "a[cFFkFF00m1] b[cFFkFF00m1] c[cFFkFF00m1]"},
      {u"{q,z9,}{}a", "a[]"},  // unknown commands and empty tags do nothing
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.Text), c.Pieces) << WideToUtf8(c.Text);
}

TEST(KemMarkup, LiteralTextShowsEveryCharacterAndLoadsNothing) {
  const WideString title = u"{p \\\\host\\a.png} {b1}x{";
  EXPECT_EQ(Parse(u"{i1}" + KemLiteralText(title)), "{[I] p[I_] \\\\host\\a.png}[I_] {[I] b1}x[I] {[I]");
  const TKemParagraph paragraph(KemLiteralText(title));
  for (const auto& piece : paragraph.Pieces()) EXPECT_FALSE(piece->IsPicture);
  EXPECT_EQ(KemLiteralText(u"plain"), u"plain");
}

TEST(KemMarkup, StylesComeFromTheRegistryByName) {
  ClearTextStyles();
  TKemTextStyle* style = AddTextStyle("ov2text", "Verdana", 10, clRed, kaJustify, TRect{1, 2, 3, 12});
  style->AddTabs({20, -4});
  AddTextStyle("OV2TEXT", "Other", 7, clBlue, kaLeft, TRect{});
  EXPECT_EQ(FindTextStyle("Ov2Text"), style);  // the first of a name wins

  TKemParagraph p(u"a{s:OV2TEXT}b");  // wherever it stands, for the whole paragraph
  EXPECT_EQ(p.Style().Name, "ov2text");
  EXPECT_EQ(p.Style().Font.Name(), "Verdana");
  EXPECT_EQ(p.Style().Font.Size(), 10);
  EXPECT_EQ(p.Style().Font.Color(), clRed);
  EXPECT_EQ(p.Style().Alignment, kaJustify);
  EXPECT_EQ(p.Style().Margins, (TRect{1, 2, 3, 12}));
  EXPECT_EQ(p.Style().Tabs, (std::vector<int>{20, -4}));

  TKemParagraph unknown(u"{s:ov2text}{s:nothing}a");  // an unknown name: the defaults
  EXPECT_EQ(unknown.Style().Name, "");
  EXPECT_EQ(unknown.Style().Font.Name(), "Arial");
  EXPECT_EQ(unknown.Style().Font.Size(), 8);
  EXPECT_TRUE(unknown.Style().Tabs.empty());

  // A language font with no language selected: Arial at the design size.
  TKemTextStyle* lan = AddTextStyle("lan", "kemlanfont:1", 9, clBlack, kaLeft, TRect{});
  EXPECT_EQ(lan->Font.Name(), "Arial");
  EXPECT_EQ(lan->Font.Size(), 9);
  ClearTextStyles();
  EXPECT_EQ(FindTextStyle("ov2text"), nullptr);
}

TEST(KemMarkup, FloodsOfPiecesAndLinksStopAtTheirBounds) {
  WideString text;
  for (int i = 0; i < kKemMaxLinks + 10; ++i) text += u"{l1:t}";
  text += u"late";
  TKemParagraph links(text);
  EXPECT_EQ(static_cast<int>(links.Links().size()), kKemMaxLinks);
  EXPECT_TRUE(links.Pieces().empty());  // the rest of the text is dropped

  TKemParagraph pieces(WideString(2 * kKemMaxPieces, u'{') + u"}");  // "{{{…}" is one unknown tag
  EXPECT_TRUE(pieces.Pieces().empty());
  WideString words;
  for (int i = 0; i < kKemMaxPieces + 10; ++i) words += u"w{}";
  EXPECT_EQ(static_cast<int>(TKemParagraph(words).Pieces().size()), kKemMaxPieces);
}

TEST(KemMarkup, FilePicturesResolveAgainstTheProgramFolder) {
  EXPECT_EQ(KemPictureFileName("a.png", "C:\\Ov\\"), "C:\\Ov\\a.png");
  EXPECT_EQ(KemPictureFileName("Pics\\a.png", "C:\\Ov\\"), "C:\\Ov\\Pics\\a.png");
  EXPECT_EQ(KemPictureFileName("D:\\a.png", "C:\\Ov\\"), "D:\\a.png");
  EXPECT_EQ(KemPictureFileName("\\\\host\\a.png", "C:\\Ov\\"), "\\\\host\\a.png");
}
