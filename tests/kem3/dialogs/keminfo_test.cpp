// The information dialog's mark-up as golden strings, the system's name table,
// and the sections and their keys.
#include "kem3/dialogs/keminfo.h"

#include <gtest/gtest.h>

#include "kem3/controls/kemlout.h"

namespace {

const WideString kCaption = u"{s:infocaption}{f845747}{pm local:0}{b1}{m1}";
const WideString kRule = u"{s:infoline}{f909090}{tr}{pt local:4}";
const WideString kEnd = u"{s:infoline}{f909090}{pt local:2}{m0}{tr}{pt local:3}";
const WideString kSpacer = u"{s:infoline}{pt local:6}";
WideString Line(const WideString& text) {
  return u"{s:infotext}{f909090}{m1}{pt local:4}{tl}" + text + u" {tr}{pt local:4}";
}

TEST(InfoMarkup, BlocksAsGoldenStrings) {
  const std::vector<TInfoLanguage> languages{
      {"DE", u"Deutsch", u"Anna {b1}", "Tahoma", 8},
      {"Us", u"English", u"The team", "Tahoma", 8},
      {"EL", u"Ελλ{ηνικά}", u"x", "Arial Unicode", 9},
      {"XX", u"Silent", u"", "Courier", 8},  // no credits: not listed
  };
  struct Case {
    const char* what;
    TInfoEntry entry;
    bool hasParagraphs;
    std::vector<WideString> paragraphs;
  } cases[] = {
      {"an empty title: two spacers", {u"", {u"x"}, true, "a"}, true, {kSpacer, kSpacer, kSpacer}},
      {"no address: the plain line",
       {u"Orvanel", {u"Version 3.3.9", u"{pm res:ov3text}"}, false, ""},
       false,
       {kCaption + u"Orvanel{b0}{tr}{pm local:1}", kRule, Line(u"Version 3.3.9"), Line(u"{pm res:ov3text}"), kRule,
        kEnd}},
      {"an address and the translations",
       {u"T", {}, true, "host/a}b,c"},
       true,
       {kSpacer, kCaption + u"T{b0}{tr}{pm local:1}", kRule, kRule, Line(u"Translations:"),
        Line(u"- Deutsch: Anna {x {}b1}"), Line(u"- English: The team"),
        Line(u"- {x fontname=Arial Unicode;fontsize=9;Ελληνικά}: x"),
        u"{s:infolink}{f909090}{m1}{tr}{u1}{l1:http://host/a%7Db%2Cc}host/a}b,c{l0}{u0}{tr}{pt local:5}", kEnd}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(InfoBlockParagraphs(c.entry, c.hasParagraphs, u"Translations", languages), c.paragraphs);
  }
  // The link's target is the whole address, its "}" and "," escaped.
  const TKemParagraph link(InfoBlockParagraphs({u"T", {}, false, "host/a}b,c"}, false, u"", {})[2]);
  ASSERT_EQ(link.Links().size(), 1u);
  EXPECT_EQ(link.Links()[0]->Target, "http://host/a%7Db%2Cc");
}

TEST(InfoMarkup, SystemAndLibraryBlocks) {
  struct {
    TOSVersionInfo info;
    const char16_t* name;
  } names[] = {
      {{4, 10, 0x040A0AE2, kPlatformWindows, ""}, u"Windows 98"},
      {{5, 1, 2600, kPlatformNT, "Service Pack 3"}, u"Windows XP"},
      {{6, 1, 7601, kPlatformNT, ""}, u"Windows 7"},
      {{10, 0, 19045, kPlatformNT, ""}, u"Windows 10"},
      {{10, 0, 22631, kPlatformNT, ""}, u"Windows 11"},
      {{6, 1, 7601, kPlatformWindows, ""}, u"Windows"},
      {{99, 0, 1, kPlatformNT, ""}, u"Windows"},
  };
  for (const auto& n : names) EXPECT_EQ(SystemNameOf(n.info), n.name);

  // Versions as the common services format them: two-digit minors, the low build word.
  const TInfoEntry xp = SystemInfoEntry(names[1].info, u"Version", (2u << 24) | (81u << 16) | 1117u);
  EXPECT_EQ(xp.Lines, (std::vector<WideString>{u"Version 5.01 build 2600 - Service Pack 3", u"",
                                               u"Data Access Components", u"Version 2.81 build 1117"}));
  const TInfoEntry me = SystemInfoEntry(names[0].info, u"V", 0);
  EXPECT_EQ(me.Lines,
            (std::vector<WideString>{u"V 4.10 build 2786", u"", u"Data Access Components", u"V 0.0 build 0"}));

  const TInfoEntry kem3 = LibraryInfoEntry(0x020C0008, "Hooks", "(c) {us}", u"Version");
  EXPECT_EQ(kem3.Lines, (std::vector<WideString>{u"Version 2.12 build 8", u"Hooks", u"(c) {x {}us}",
                                                 u"{pm local:5}{pm local:5}{pm local:7}"}));
  EXPECT_EQ(LibraryInfoEntry(0x02050000, "", "", u"V").Lines.front(), u"V 2.05 build 0");
}

TEST(InfoSections, ListAndAltKeys) {
  EXPECT_EQ(InfoSections(false, false), std::vector<TInfoSection>{isGeneral});
  EXPECT_EQ(InfoSections(true, false), (std::vector<TInfoSection>{isGeneral, isLibrary}));
  const std::vector<TInfoSection> both = InfoSections(false, true);
  EXPECT_EQ(InfoSectionOfKey(both, u'2'), isLibrary);
  EXPECT_EQ(InfoSectionOfKey(InfoSections(false, false), u'2'), isNone);
  EXPECT_EQ(InfoSectionOfKey(both, u'0'), isNone);

  ClearInfoEntries();
  SetProgramInfo(u"A", {u"1"}, true, "");
  SetProgramInfo(u"B", {}, false, "");
  AddLibraryInfo(u"L1", {}, "");
  AddLibraryInfo(u"L2", {}, "x");
  EXPECT_EQ(ProgramInfo().Title, u"B");
  ASSERT_EQ(LibraryInfos().size(), 2u);
  EXPECT_EQ(LibraryInfos()[1].WebAddress, "x");
  ClearInfoEntries();
}

}  // namespace
