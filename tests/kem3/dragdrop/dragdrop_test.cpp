// The data-format registry and its priorities, reading data formats from a
// data object of our own, the simple formats' media, feedback, adapters and
// the drop-effect choice.
#include "kem3/dragdrop/dragdrop.h"

#include <gtest/gtest.h>

#include "kem3/dragdrop/dataformatadapter.h"
#include "kem3/dragdrop/dragdropfeedback.h"
#include "kem3/dragdrop/dragdropinternet.h"
#include "kem3/dragdrop/dragdroppidl.h"
#include "kem3/dragdrop/dragdropstreams.h"
#include "kem3/dragdrop/dragdroptextformats.h"
#include "kem3/dragdrop/dropeffect.h"
#include "kem3/dragdrop/fake_data_object.h"
#include "platform/files.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

namespace {

// A component that takes data formats, as a multi target does.
class TestTarget : public TDragDropComponent {
 public:
  using TDragDropComponent::TDragDropComponent;
  bool TakesDataFormats() const override { return true; }
};

std::vector<String> Names(TCustomDataFormat& format) {
  std::vector<String> names;
  for (int i = 0; i < format.CompatibleFormats().Count(); ++i) {
    TClipboardFormat* f = format.CompatibleFormats()[i];
    const std::uint16_t id = f->GetClipboardFormat();
    names.push_back(id == cfText          ? "CF_TEXT"
                    : id == cfHDrop       ? "CF_HDROP"
                    : id == cfUnicodeText ? "CF_UNICODETEXT"
                    : id == cfOEMText     ? "CF_OEMTEXT"
                                          : f->ClipboardFormatName());
  }
  return names;
}

TEST(DataFormatRegistry, PlacesConversionsByPriorityNewestFirst) {
  // The whole table of conversions, with stand-in classes, gives the target-side orders.
  struct Row {
    const char* data;
    const char* clip;
    int priority;
    std::uint8_t scopes;
  };
  const std::uint8_t ST = csSource | csTarget, S = csSource, T = csTarget;
  const Row rows[] = {
      {"Text", "CF_TEXT", 0, ST},
      {"Text", "FileContents", 1, ST},
      {"Text", "FGD", 1, S},
      {"Text", "FGDW", 1, S},
      {"Feedback", "Preferred", 0, ST},
      {"Stream", "FileContentsStream", 0, T},
      {"Text", "CF_UNICODETEXT", 1, ST},
      {"Text", "RTF", 2, ST},
      {"Text", "CF_OEMTEXT", 2, ST},
      {"Text", "CSV", 3, ST},
      {"PIDL", "IDList", 0, ST},
      {"PIDL", "CF_HDROP", 1, ST},
      {"File", "CF_HDROP", 0, ST},
      {"File", "IDList", 1, ST},
      {"File", "FileName", 2, ST},
      {"File", "FileNameW", 2, ST},
      {"URL", "NetscapeBookmark", 0, ST},
      {"URL", "NetscapeImage", 1, ST},
      {"URL", "FileContents", 2, ST},
      {"URL", "FGD", 2, ST},
      {"URL", "UniformResourceLocator", 2, ST},
      {"URL", "CF_TEXT", 3, ST},
      {"URL", "CF_HDROP", 4, T},
      {"HTML", "HTML Format", 0, ST},
      {"Text", "rfc822", 1, ST},
      {"Text", "HTML Format", 2, ST},
  };
  std::map<std::string, std::unique_ptr<TDataFormatClass>> dataClasses;
  std::map<std::string, std::unique_ptr<TClipboardFormatClass>> clipClasses;
  TDataFormatMap map;
  for (const Row& r : rows) {
    auto& d = dataClasses[r.data];
    if (!d) d.reset(new TDataFormatClass{r.data, nullptr, nullptr});
    auto& c = clipClasses[r.clip];
    if (!c) c.reset(new TClipboardFormatClass{r.clip, nullptr, nullptr});
    map.AddConversion(d.get(), c.get(), r.priority, r.scopes, ddRead);
  }
  auto order = [&](const char* data) {
    std::vector<std::string> names;
    for (const TConversion& e : map.Entries()) {
      if (e.DataFormatClass == dataClasses[data].get() && (e.Scopes & csTarget)) {
        names.push_back(e.ClipboardFormatClass->ClassName);
      }
    }
    return names;
  };
  EXPECT_EQ(order("Text"), (std::vector<std::string>{"CF_TEXT", "rfc822", "CF_UNICODETEXT", "FileContents",
                                                     "HTML Format", "CF_OEMTEXT", "RTF", "CSV"}));
  EXPECT_EQ(order("File"), (std::vector<std::string>{"CF_HDROP", "IDList", "FileNameW", "FileName"}));
  EXPECT_EQ(order("URL"), (std::vector<std::string>{"NetscapeBookmark", "NetscapeImage", "UniformResourceLocator",
                                                    "FGD", "FileContents", "CF_TEXT", "CF_HDROP"}));

  // The same pair again keeps one entry with both scopes and directions.
  const std::size_t before = map.Entries().size();
  map.AddConversion(dataClasses["URL"].get(), clipClasses["CF_HDROP"].get(), 4, csSource, ddWrite);
  ASSERT_EQ(map.Entries().size(), before);
  for (const TConversion& e : map.Entries()) {
    if (e.DataFormatClass != dataClasses["URL"].get() || e.ClipboardFormatClass != clipClasses["CF_HDROP"].get()) {
      continue;
    }
    EXPECT_EQ(e.Scopes, ST);
    EXPECT_EQ(e.Directions, ddRead | ddWrite);
  }
  EXPECT_EQ(order("URL").back(), "CF_HDROP");
  map.RemoveClipboardFormatClass(clipClasses["CF_HDROP"].get());
  EXPECT_EQ(order("File").front(), "IDList");
}

TEST(DataFormatRegistry, TheLayersFormatsInTheirOrder) {
  RegisterDragDropFormats();
  TFileDataFormat files(nullptr);
  TURLDataFormat url(nullptr);
  TTextDataFormat text(nullptr);
  EXPECT_EQ(Names(files), (std::vector<String>{"CF_HDROP", "Shell IDList Array", "FileNameW", "FileName"}));
  EXPECT_EQ(Names(url), (std::vector<String>{"UniformResourceLocatorW", "CF_UNICODETEXT", "Netscape Bookmark",
                                             "Netscape Image Format", "UniformResourceLocator", "FileGroupDescriptor",
                                             "FileContents", "CF_TEXT", "CF_HDROP"}));
  EXPECT_EQ(Names(text), (std::vector<String>{"CF_TEXT", "Internet Message (rfc822/rfc1522)", "CF_UNICODETEXT",
                                              "FileContents", "HTML Format", "CF_OEMTEXT", "Rich Text Format", "CSV"}));
  THTMLDataFormat html(nullptr);
  TDataStreamDataFormat streams(nullptr);
  EXPECT_EQ(Names(html), (std::vector<String>{"HTML Format"}));
  EXPECT_EQ(Names(streams), (std::vector<String>{"FileContents"}));
  EXPECT_TRUE(DataFormatClasses().Find("TVirtualFileStreamDataFormat"));
}

std::uint16_t Id(const char* name) { return RegisterClipboardFormatName(name); }

std::string Wide(std::u16string_view text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

// A shell in which only items named "y" have a path.
class FakeShell : public TShellNamespace {
 public:
  FakeShell() : previous_(SetShellNamespace(this)) {}
  ~FakeShell() override { SetShellNamespace(previous_); }
  WideString PathFromIDList(const TIDList& list) override {
    return list.find('y') != TIDList::npos ? u"C:\\dir\\y" : u"";
  }
  bool HasDesktop() override { return true; }
  bool ParseDisplayName(const WideString&, TIDList&) override { return false; }

 private:
  TShellNamespace* previous_;
};

TEST(DataFormats, FilesComeFromTheFirstFormatThatYieldsNames) {
  RegisterDragDropFormats();
  TestTarget owner(nullptr);
  auto* files = new TFileDataFormat(&owner);
  int changes = 0;
  files->OnChanging = [&](TObject*) { ++changes; };
  FakeShell shell;
  // The desktop, then the items x and y below it; only y has a path.
  const std::string idlist = std::string("\2\0\0\0\x10\0\0\0\x12\0\0\0\x17\0\0\0", 16) + std::string(2, '\0') +
                             std::string("\x03\0x\0\0", 5) + std::string("\x03\0y\0\0", 5);
  const std::string pathless =
      std::string("\1\0\0\0\x0C\0\0\0\x0E\0\0\0", 12) + std::string(2, '\0') + std::string("\x03\0x\0\0", 5);
  struct Case {
    const char* what;
    FakeDataObject data;
    std::vector<WideString> files;
  } cases[] = {
      {"CF_HDROP beats the shell items",
       FakeDataObject().Offer(Id("Shell IDList Array"), idlist).Offer(cfHDrop, BuildDropFiles({u"a", u"b", u"c"})),
       {u"a", u"b", u"c"}},
      {"FileNameW alone", FakeDataObject().Offer(Id("FileNameW"), std::string("w\0\0\0", 4)), {u"w"}},
      {"from a stream", FakeDataObject().Offer(Id("FileName"), std::string("s.txt\0", 6), tymedIStream), {u"s.txt"}},
      {"malformed CF_HDROP falls through", FakeDataObject().Offer(cfHDrop, "short").Offer(Id("FileName"), "n"), {u"n"}},
      {"shell items with paths, the others left out",
       FakeDataObject().Offer(Id("Shell IDList Array"), idlist),
       {u"C:\\dir\\y"}},
      {"shell items without paths give nothing", FakeDataObject().Offer(Id("Shell IDList Array"), pathless), {}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    files->Clear();
    FakeMedium::released = 0;
    EXPECT_EQ(files->GetData(c.data), !c.files.empty());
    EXPECT_EQ(files->Files(), c.files);
    EXPECT_EQ(FakeMedium::released, c.data.handedOut);  // every medium is released
    EXPECT_EQ(FakeMedium::locks, 0);
  }
  // Of a drop larger than any the bar takes, the names not read are counted,
  // whether they came as file names or as shell items only.
  std::string items = std::string("\xEC\x03\0\0", 4);  // 1,004 items below the desktop
  for (std::uint32_t i = 0, at = 4 + 4 * 1005; i <= 1004; ++i, at += i == 1 ? 2 : 5)
    items += std::string(reinterpret_cast<const char*>(&at), 4);
  items += std::string(2, '\0');
  for (int i = 0; i < 1004; ++i) items += std::string("\x03\0y\0\0", 5);
  FakeDataObject large[2];
  large[0].Offer(cfHDrop, BuildDropFiles(std::vector<WideString>(kMaxDropFileNames + 4, u"C:\\dir\\y")));
  large[1].Offer(Id("Shell IDList Array"), items);
  for (FakeDataObject& data : large) {
    files->Clear();
    EXPECT_TRUE(files->GetData(data));
    EXPECT_EQ(files->Files(), std::vector<WideString>(kMaxDropFileNames, u"C:\\dir\\y"));
    EXPECT_EQ(files->Unread(), 4u);
  }
  files->Clear();
  EXPECT_EQ(files->Unread(), 0u);
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(owner.OwnsDataFormat(files));
}

TEST(DataFormats, URLsAndTheirTitles) {
  RegisterDragDropFormats();
  TempDir dir;
  WriteFileAtomic(dir.file("Site.url"), "[InternetShortcut]\r\nURL=http://site/\r\n");
  const WideString shortcut = Utf8ToWide(dir.file("Site.url"));
  std::string group = std::string("\1\0\0\0", 4) + std::string(332, '\0');
  group.replace(4 + 72, 11, "Example.url");
  struct Case {
    const char* what;
    FakeDataObject data;
    String url, title;
  } cases[] = {
      {"link with a descriptor",
       FakeDataObject().Offer(Id("UniformResourceLocator"), "http://ex/").Offer(Id("FileGroupDescriptor"), group),
       "http://ex/", "Example"},
      {"text with a scheme", FakeDataObject().Offer(cfText, "see https://x/y"), "see https://x/y", ""},
      {"text without one", FakeDataObject().Offer(cfText, "no address"), "", ""},
      {"text starting with it", FakeDataObject().Offer(cfText, "://x"), "", ""},
      {"a dropped .url", FakeDataObject().Offer(cfHDrop, BuildDropFiles({shortcut})), "http://site/", "Site"},
      {"a .url that cannot be opened", FakeDataObject().Offer(cfHDrop, BuildDropFiles({u"/nowhere/x.URL"})), "", ""},
      {"a plain file", FakeDataObject().Offer(cfHDrop, BuildDropFiles({u"/a/b.txt"})), "", ""},
      {"dragged shortcut contents", FakeDataObject().Offer(Id("FileContents"), "[InternetShortcut]\nURL=http://c/\n"),
       "http://c/", ""},
      // The 8-bit forms of an address outside the code page hold "?" where its letters were.
      {"the wide address before the 8-bit one",
       FakeDataObject()
           .Offer(Id("UniformResourceLocator"), "https://??????.example/")
           .Offer(Id("UniformResourceLocatorW"),
                  Wide(u"https://\u043f\u0440\u0438\u043c\u0435\u0440.example/") + std::string("\0\0x\0", 4)),
       "https://\xD0\xBF\xD1\x80\xD0\xB8\xD0\xBC\xD0\xB5\xD1\x80.example/", ""},
      {"the wide text before the 8-bit one",
       FakeDataObject().Offer(cfText, "https://?/a").Offer(cfUnicodeText, Wide(u"https://\u00e9/a")),
       "https://\xC3\xA9/a", ""},
      {"a wide text without a scheme", FakeDataObject().Offer(cfUnicodeText, Wide(u"no address")), "", ""},
  };
  TURLDataFormat url(nullptr);
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    url.Clear();
    url.GetData(c.data);
    EXPECT_EQ(url.URL, c.url);
    EXPECT_EQ(url.Title, c.title);
  }
}

TEST(SimpleFormats, MediaAndTheirSizes) {
  RegisterDragDropFormats();
  TTextClipboardFormat text;
  FakeDataObject empty;
  empty.Offer(cfText, "");
  EXPECT_TRUE(text.GetData(empty));  // 0 bytes: read, nothing in it
  EXPECT_FALSE(text.HasData());
  FakeDataObject statFails;
  statFails.Offer(cfText, "abc", tymedIStream).formats[cfText].statFails = true;
  EXPECT_FALSE(text.GetData(statFails));
  FakeDataObject stream;
  stream.Offer(cfText, std::string("abc\0zz", 6), tymedIStream);
  EXPECT_TRUE(text.GetData(stream));
  EXPECT_EQ(text.Data, "abc");

  // A 32-bit value is written as exactly 4 bytes, as a stream when allowed.
  TPerformedDropEffectClipboardFormat effect;
  effect.Value = DROPEFFECT_LINK;
  TWrittenMedium medium;
  EXPECT_TRUE(effect.WriteMedium(effect.FormatEtc(), medium));
  EXPECT_EQ(medium.tymed, tymedIStream);
  EXPECT_EQ(medium.Bytes, std::string("\4\0\0\0", 4));
  TFormatEtc memoryOnly = effect.FormatEtc();
  memoryOnly.tymed = tymedHGlobal;
  EXPECT_TRUE(effect.WriteMedium(memoryOnly, medium));
  EXPECT_EQ(medium.tymed, tymedHGlobal);
  text.Data = "abc";
  EXPECT_TRUE(text.WriteMedium(text.FormatEtc(), medium));
  EXPECT_EQ(medium.Bytes, std::string("abc\0", 4));
}

TEST(Feedback, PreferredPerformedAndPasteSucceeded) {
  RegisterDragDropFormats();
  FakeDataObject none;
  EXPECT_EQ(GetPreferredDropEffect(none), 0u);
  FakeDataObject data;
  data.Offer(Id("Preferred DropEffect"), std::string("\2\0\0\0", 4));
  EXPECT_EQ(GetPreferredDropEffect(data), 2u);
  EXPECT_TRUE(SetPerformedDropEffect(data, DROPEFFECT_COPY));
  EXPECT_EQ(data.written[Id("Performed DropEffect")].Bytes, std::string("\1\0\0\0", 4));
  data.refuseSetData = true;
  EXPECT_FALSE(SetPasteSucceeded(data, DROPEFFECT_COPY));

  TestTarget owner(nullptr);
  auto* feedback = new TFeedbackDataFormat(&owner);
  FakeDataObject loop;
  loop.Offer(Id("InShellDragLoop"), std::string("\2\0\0\0", 4)).Offer(Id("TargetCLSID"), "short");
  feedback->GetData(loop);
  EXPECT_TRUE(feedback->InShellDragLoop);
  TInShellDragLoopClipboardFormat out;
  EXPECT_TRUE(feedback->AssignTo(out));
  EXPECT_EQ(out.Value, 1u);
}

TEST(DataFormatAdapter, AttachesByNameOnce) {
  RegisterDragDropFormats();
  TComponent form(nullptr);
  auto* target = new TestTarget(&form);
  auto* other = new TestTarget(&form);
  auto* adapter = new TDataFormatAdapter(&form);
  adapter->SetDragDropComponent(target);
  adapter->SetDataFormatName("tfiledataformat");
  EXPECT_EQ(adapter->DataFormatName(), "TFileDataFormat");
  adapter->SetEnabled(true);
  adapter->SetEnabled(true);
  ASSERT_EQ(target->DataFormats().size(), 1u);
  EXPECT_NE(dynamic_cast<TFileDataFormat*>(target->DataFormats().front()), nullptr);
  adapter->SetDragDropComponent(other);
  EXPECT_TRUE(target->DataFormats().empty());
  EXPECT_FALSE(adapter->Enabled());
  EXPECT_THROW(adapter->SetDataFormatName("TNoSuchFormat"), Exception);
  // Only a component that takes data formats may own one.
  auto* plain = new TDragDropComponent(&form);
  EXPECT_THROW(TFileDataFormat{plain}, Exception);
}

TEST(DropEffect, EveryKeyCombination) {
  const std::uint32_t C = DROPEFFECT_COPY, M = DROPEFFECT_MOVE, L = DROPEFFECT_LINK;
  struct Case {
    std::uint32_t keys, allowed, effect;
  } cases[] = {
      {0, C | M | L, M},
      {MK_SHIFT, C | M | L, M},
      {MK_CONTROL, C | M | L, C},
      {MK_SHIFT | MK_CONTROL, C | M | L, L},
      {0, C | L, C},
      {MK_SHIFT, L, L},
      {MK_CONTROL, M | L, M},
      {MK_SHIFT | MK_CONTROL, C | M, C},
      {MK_ALT, C | L, C},
      {MK_CONTROL | MK_ALT, C, C},
      {0, 0, 0},
      {MK_SHIFT | MK_CONTROL, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "keys " << c.keys << " allowed " << c.allowed);
    EXPECT_EQ(ChooseDropEffect(ShiftStateFromKeys(c.keys | MK_LBUTTON), c.allowed), c.effect);
  }
  // The drag types limit what the source offers; the scroll bit never takes part.
  const TDragTypes copyLink{dtCopy, dtLink};
  EXPECT_EQ(ValidDropEffect({}, M | DROPEFFECT_SCROLL, copyLink, false, true), 0u);
  EXPECT_EQ(ValidDropEffect({}, C | M | L | DROPEFFECT_SCROLL, copyLink, false, true), C);
  EXPECT_EQ(ValidDropEffect({}, C, copyLink, true, false), C | DROPEFFECT_SCROLL);
  EXPECT_EQ(ShiftStateFromKeys(MK_SHIFT | MK_RBUTTON | MK_MBUTTON | MK_ALT),
            (TShiftState{ssShift, ssRight, ssMiddle, ssAlt}));
}

}  // namespace
