// The text formats, the HTML clipboard header, contact cards, file group
// descriptor blocks and the reading of dragged files' contents, on data
// objects of our own.
#include <gtest/gtest.h>

#include "kem3/dragdrop/dragdropstreams.h"
#include "kem3/dragdrop/dragdroptextformats.h"
#include "kem3/dragdrop/fake_data_object.h"
#include "kem3/dragdrop/textblocks.h"

namespace {

std::uint16_t Id(const char* name) { return RegisterClipboardFormatName(name); }

std::string Wide(std::u16string_view text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

std::string Z(std::string text) { return text + '\0'; }

std::string Contents(TMemoryStream& stream) {
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

TEST(DropTextBlocks, RichTextHtmlCardsAndOem) {
  EXPECT_TRUE(IsRichText("{\\RTF1 x}"));
  EXPECT_FALSE(IsRichText("{\\rt"));
  EXPECT_EQ(RichTextOf("{\\rtf1 kept}"), "{\\rtf1 kept}");
  EXPECT_EQ(RichTextOf("a\\b{c}\xC3\xA9"), "{\\rtf1\\ansi a\\\\b\\{c\\}\\u233?}");

  const std::string html = "<HTML><BODY>hi</BODY></HTML>";
  const std::string block = BuildHtmlClipboard(html);
  EXPECT_EQ(block.substr(0, 35), "Version:0.9\r\nStartHTML:0000000105\r\n");
  EXPECT_NE(block.find("StartFragment:0000000117\r\nEndFragment:0000000119\r\n"), std::string::npos);
  EXPECT_EQ(block.substr(105), html);
  struct {
    std::string block, html;
  } reads[] = {
      {block, html},
      {html, html},  // no header
      {"Version:0.9\r\nStartHTML:-1\r\n<p>x</p>", "Version:0.9\r\nStartHTML:-1\r\n<p>x</p>"},
      {"StartHTML:99\r\nEndHTML:999\r\n", "StartHTML:99\r\nEndHTML:999\r\n"},  // offsets outside the block
      {"StartHTML:0000000034\r\nEndHTML:99\r\n<b>\xC3\xA9</b>", "<b>\xC3\xA9</b>"},
      {std::string("StartHTML:20\r\n\0<x>", 18), "StartHTML:20\r\n"},  // the text ends at its zero
  };
  for (const auto& r : reads) EXPECT_EQ(ParseHtmlClipboard(r.block), r.html) << r.block;

  EXPECT_EQ(ReadVCardLines({"BEGIN:VCARD", "FN:Ann", "END:VCARD"}), std::vector<std::string>{"FN=Ann"});
  EXPECT_EQ(ReadVCardLines({"FN:a:b", "x", "end:vcard"}), (std::vector<std::string>{"FN=a:b", "x", "end=vcard"}));
  const std::string card = BuildVCardBlock({"FN:Ann", "TEL:1"});
  EXPECT_EQ(card, std::string("begin:vcard\rFN:Ann\rTEL:1\r\rend:vcard\0", 36));
  EXPECT_EQ(card.size(), 23u + 7 + 6);
  EXPECT_EQ(BuildVCardBlock({}), "");

  EXPECT_EQ(OemToUtf8("\x81\xE1 a"), "\xC3\xBC\xC3\x9F a");
  EXPECT_EQ(Utf8ToOem("\xC3\xBC\xE2\x82\xAC"), "\x81?");
}

TEST(DropTextBlocks, DescriptorBlocksHoldExactlyTheirCount) {
  const std::string one = BuildFileDescriptor(u"a.txt", false), oneW = BuildFileDescriptor(u"a.txt", true);
  const auto count = [](std::uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); };
  struct {
    const char* what;
    std::string block;
    bool wide, accepted;
  } cases[] = {
      {"two records, count 2", count(2) + one + one, false, true},
      {"two records, count 3", count(3) + one + one, false, false},
      {"two records, count 1", count(1) + one + one, false, false},
      {"a record and a bit", count(1) + one + "xy", false, true},
      {"no record", count(0), false, true},
      {"under 4 bytes", "\1\0", false, false},
      {"a count beyond 32-bit sizes", count(0xFFFFFFFF) + one, false, false},
      {"wide records", count(2) + oneW + oneW, true, true},
      {"narrow records read as wide", count(2) + one + one, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.accepted) {
      EXPECT_THROW(CheckFileGroupDescriptorBlock(c.block, c.wide), EDropBlockError);
      continue;
    }
    const std::string copy = CheckFileGroupDescriptorBlock(c.block, c.wide);
    const std::uint64_t record = c.wide ? kFileDescriptorWSize : kFileDescriptorSize;
    EXPECT_EQ(copy.size(), 4 + (c.block.size() - 4) / record * record);  // never more than the records
    if (copy.size() > 4) {
      EXPECT_EQ(FileDescriptorName(copy.substr(4), c.wide), u"a.txt");
    }
  }
  const std::string longName = BuildFileDescriptor(WideString(300, u'n'), true);
  EXPECT_EQ(FileDescriptorName(longName, true).size(), 260u);
  EXPECT_THROW(FileDescriptorName(one.substr(1), false), EDropBlockError);

  // The name view appends zeroed records and changes nothing in the middle.
  TMemoryList list;
  TFileDescriptorToFilenameStrings view(list);
  view.Assign({"a", "b"});
  view.Insert(0, "x");
  ASSERT_EQ(view.Count(), 2);
  view.Insert(2, "c");
  EXPECT_EQ(view.Get(2), "c");
  EXPECT_EQ(list.Get(2), BuildFileDescriptor(u"c", false));
  view.Delete(0);
  EXPECT_EQ(view.Get(0), "b");
}

TEST(DropTextFormats, EachFormatGivesTheText) {
  RegisterDragDropFormats();
  const std::string html = "Version:0.9\r\nStartHTML:0000000035\r\n<html><body>H\xC3\xA9</body></html>";
  struct Case {
    const char* what;
    FakeDataObject data;
    std::string text;
  } cases[] = {
      {"CF_TEXT before CF_UNICODETEXT", FakeDataObject().Offer(cfUnicodeText, Wide(u"wide")).Offer(cfText, "ansi"),
       "ansi"},
      {"UTF-16 keeps inner zeros", FakeDataObject().Offer(cfUnicodeText, Wide(std::u16string(u"a\0\u00e9\0", 4))),
       std::string("a\0\xC3\xA9", 4)},
      {"OEM",
       FakeDataObject().Offer(cfOEMText,
                              "\x81"
                              "ber\0junk"),
       "\xC3\xBC"
       "ber"},
      {"rich text", FakeDataObject().Offer(Id("Rich Text Format"), "{\\rtf1 x}"), "{\\rtf1 x}"},
      {"not rich text: the next format",
       FakeDataObject().Offer(Id("Rich Text Format"), "plain").Offer(Id("CSV"), Z("a,b\nc")), "a,b\r\nc\r\n"},
      {"HTML without the tag gives nothing", FakeDataObject().Offer(Id("HTML Format"), Z("<p>x</p>")), ""},
      {"HTML behind its header", FakeDataObject().Offer(Id("HTML Format"), html),
       "<html><body>H\xC3\xA9</body></html>\r\n"},
      {"mail before UTF-16",
       FakeDataObject()
           .Offer(cfUnicodeText, Wide(u"w"))
           .Offer(Id("Internet Message (rfc822/rfc1522)"), Z("Subject: s\r\n\r\nbody")),
       "Subject: s\r\n\r\nbody\r\n"},
      {"first file's contents", FakeDataObject().Offer(Id("FileContents"), "attached\0rest"), "attached"},
  };
  TTextDataFormat text(nullptr);
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    text.Clear();
    EXPECT_EQ(text.GetData(c.data), !c.text.empty());
    EXPECT_EQ(text.Text(), c.text);
  }
  THTMLDataFormat lines(nullptr);
  FakeDataObject data;
  EXPECT_TRUE(lines.GetData(data.Offer(Id("HTML Format"), html)));
  EXPECT_EQ(lines.Lines, std::vector<std::string>{"<html><body>H\xC3\xA9</body></html>"});
}

TEST(DropTextFormats, WriteSides) {
  RegisterDragDropFormats();
  TTextDataFormat text(nullptr);
  text.SetText("a{\\b}");
  const auto write = [&](TClipboardFormat&& format, std::uint32_t tymed = tymedHGlobal) {
    TWrittenMedium medium;
    EXPECT_TRUE(format.Assign(text));
    EXPECT_TRUE(format.WriteMedium(TFormatEtc{0, false, dvaspectContent, -1, tymed}, medium));
    return medium.Bytes;
  };
  EXPECT_EQ(write(TRichTextClipboardFormat()), std::string("{\\rtf1\\ansi a\\{\\\\b\\}}\0", 22));
  EXPECT_EQ(write(TUnicodeTextClipboardFormat()), Wide(std::u16string(u"a{\\b}\0", 6)));
  EXPECT_EQ(write(TCSVClipboardFormat()), std::string("a{\\b}\r\n\0", 8));
  const std::string html = write(THTMLClipboardFormat());
  EXPECT_EQ(ParseHtmlClipboard(html), "<HTML>\r\n<BODY>\r\na{\\b}\r\n</BODY>\r\n</HTML>\r\n");
  EXPECT_NE(html.find("StartFragment:0000000119"), std::string::npos);  // right after <BODY>
  const std::string group = write(TFileGroupDescritorWClipboardFormat());
  ASSERT_EQ(group.size(), 4 + kFileDescriptorWSize);
  EXPECT_EQ(FileDescriptorName(group.substr(4), true), u"Text scrap.txt");
  text.SetText("\xC3\xBC");
  EXPECT_EQ(write(TOEMTextClipboardFormat()), std::string("\x81\0", 2));
}

TEST(DropContents, StreamsAreReadAsDeliveredWithinTheLimit) {
  RegisterDragDropFormats();
  const std::uint16_t contents = Id("FileContents"), group = Id("FileGroupDescriptor");
  const std::string twoNames = BuildFileGroupDescriptor({u"a.txt", u"b.eml"}, false);
  const std::int64_t limit = kMaxDropContentsSize;
  using E = FakeDataObject::Entry;
  struct Case {
    const char* what;
    FakeDataObject data;
    std::vector<std::pair<String, std::string>> streams;
  } cases[] = {
      {"two named items",
       FakeDataObject()
           .Offer(group, twoNames)
           .OfferItem(contents, 0, E{"AAA", tymedIStream})
           .OfferItem(contents, 1, E{"BB", tymedIStream}),
       {{"a.txt", "AAA"}, {"b.eml", "BB"}}},
      {"one item without descriptor", FakeDataObject().OfferItem(contents, -1, E{"x", tymedIStream}), {{"", "x"}}},
      {"index 1 refused",
       FakeDataObject().Offer(group, twoNames).OfferItem(contents, 0, E{"A", tymedIStream}),
       {{"a.txt", "A"}}},
      {"Stat says less",
       FakeDataObject().OfferItem(contents, -1, E{"0123456789", tymedIStream, false, 2}),
       {{"", "0123456789"}}},
      {"Stat says far more",
       FakeDataObject().OfferItem(contents, -1, E{"ab", tymedIStream, false, INT64_MAX}),
       {{"", "ab"}}},
      {"Stat fails", FakeDataObject().OfferItem(contents, -1, E{"ab", tymedIStream, true}), {{"", "ab"}}},
      {"an item beyond the limit ends the reading",
       FakeDataObject()
           .Offer(group, twoNames)
           .OfferItem(contents, 0, E{std::string(limit - 1, 'a'), tymedIStream})
           .OfferItem(contents, 1, E{"BB", tymedIStream}),
       {{"a.txt", std::string(limit - 1, 'a')}}},
      {"exactly the limit",
       FakeDataObject()
           .Offer(group, twoNames)
           .OfferItem(contents, 0, E{std::string(limit - 2, 'a'), tymedIStream})
           .OfferItem(contents, 1, E{"BB", tymedIStream}),
       {{"a.txt", std::string(limit - 2, 'a')}, {"b.eml", "BB"}}},
      {"a bad descriptor block: one unnamed item",
       FakeDataObject()
           .Offer(group, twoNames + "pad-to-another-count" + std::string(332, 'x'))
           .OfferItem(contents, -1, E{"u", tymedIStream}),
       {{"", "u"}}},
  };
  TDataStreamDataFormat format(nullptr);
  int changes = 0;
  format.OnChanging = [&](TObject*) { ++changes; };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    format.Clear();
    FakeMedium::released = 0;
    EXPECT_EQ(format.GetData(c.data), !c.streams.empty());
    ASSERT_EQ(format.Streams.Count(), static_cast<int>(c.streams.size()));
    for (int i = 0; i < format.Streams.Count(); ++i) {
      EXPECT_EQ(format.Streams.Names(i), c.streams[i].first);
      EXPECT_TRUE(Contents(format.Streams.Streams(i)) == c.streams[i].second);
    }
    EXPECT_EQ(FakeMedium::released, c.data.handedOut);
  }
  EXPECT_GT(changes, 0);

  // Taking over leaves the giver empty.
  TStreamList giver;
  giver.Add(std::make_unique<TMemoryStream>(), "n");
  format.Streams.TakeOver(giver);
  EXPECT_EQ(giver.Count(), 0);
  EXPECT_EQ(format.Streams.Names(0), "n");
}

TEST(DropContents, VirtualFilesKeepDescriptorsAndAskForContentsLater) {
  RegisterDragDropFormats();
  TVirtualFileStreamDataFormat virtualFiles(nullptr);
  FakeDataObject data;
  data.Offer(Id("FileGroupDescriptor"), BuildFileGroupDescriptor({u"x.doc", u"y.pdf"}, false));
  EXPECT_TRUE(virtualFiles.GetData(data));
  EXPECT_TRUE(virtualFiles.HasData());
  EXPECT_TRUE(virtualFiles.ContentsAvailable);
  ASSERT_EQ(virtualFiles.FileNames.Count(), 2);
  EXPECT_EQ(virtualFiles.FileNames.Get(1), "y.pdf");

  // A source's side: the descriptors go back as one block, the contents by index.
  TFileGroupDescritorClipboardFormat out;
  EXPECT_TRUE(virtualFiles.AssignTo(out));
  EXPECT_EQ(out.Filenames, (TFileNames{u"x.doc", u"y.pdf"}));
  TFileContentsStreamOnDemandClipboardFormat& onDemand = *virtualFiles.OnDemand();
  onDemand.OnGetStream = [](TObject*, int index) {
    auto stream = std::make_unique<TMemoryStream>();
    stream->Write("file", 4);
    stream->Write(&index, 1);
    return stream;
  };
  TWrittenMedium medium;
  EXPECT_FALSE(onDemand.WriteMedium(TFormatEtc{0, false, dvaspectContent, -1, tymedIStream}, medium));
  EXPECT_FALSE(onDemand.WriteMedium(TFormatEtc{0, false, dvaspectContent, 1, tymedHGlobal}, medium));
  EXPECT_TRUE(onDemand.WriteMedium(TFormatEtc{0, false, dvaspectContent, 1, tymedIStream}, medium));
  EXPECT_EQ(medium.Bytes, std::string("file\1", 5));
  virtualFiles.Clear();
  EXPECT_FALSE(virtualFiles.HasData());
}

}  // namespace
