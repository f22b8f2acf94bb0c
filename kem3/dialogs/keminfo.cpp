// The information dialog's entry store and the mark-up of its blocks.
#include "kem3/dialogs/keminfo.h"

#include "kem3/controls/kemlout.h"
#include "kem3/framework/kemutil.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

// The caption band's and the lines' colours, as the mark-up writes them.
constexpr const char16_t* kCaptionColour = u"845747";
constexpr const char16_t* kLineColour = u"909090";

struct TInfoStore {
  TInfoEntry Program;
  std::vector<TInfoEntry> Libraries;
};

TInfoStore& Store() {
  static TInfoStore store;
  return store;
}

WideString W(const String& Text) { return Utf8ToWide(Text); }

WideString TextLine(const WideString& Text) {
  return WideString(u"{s:infotext}{f") + kLineColour + u"}{m1}{pt local:4}{tl}" + Text + u" {tr}{pt local:4}";
}

WideString RuleLine() { return WideString(u"{s:infoline}{f") + kLineColour + u"}{tr}{pt local:4}"; }

// A name inside a one-piece format tag: the characters that end the tag or
// split its commands cannot stand there.
WideString TagSafe(const WideString& Text) {
  WideString out;
  for (char16_t c : Text) {
    if (c != u'{' && c != u'}' && c != u',') out += c;
  }
  return out;
}

// A web address as a link's target: the characters that would end the tag or
// split its commands are written as the address's own escapes, which name
// the same place, so the target keeps every part of the address.
WideString LinkTarget(const WideString& Address) {
  WideString out;
  for (char16_t c : Address) {
    if (c == u'{')
      out += u"%7B";
    else if (c == u'}')
      out += u"%7D";
    else if (c == u',')
      out += u"%2C";
    else
      out += c;
  }
  return out;
}

}  // namespace

void SetProgramInfo(const WideString& Title, const std::vector<WideString>& Lines, bool ShowTranslations,
                    const String& WebAddress) {
  Store().Program = TInfoEntry{Title, Lines, ShowTranslations, WebAddress};
}

void AddLibraryInfo(const WideString& Title, const std::vector<WideString>& Lines, const String& WebAddress) {
  Store().Libraries.push_back(TInfoEntry{Title, Lines, false, WebAddress});
}

const TInfoEntry& ProgramInfo() { return Store().Program; }
const std::vector<TInfoEntry>& LibraryInfos() { return Store().Libraries; }
void ClearInfoEntries() { Store() = TInfoStore{}; }

std::vector<WideString> InfoBlockParagraphs(const TInfoEntry& Entry, bool HasParagraphs,
                                            const WideString& TranslationsText,
                                            const std::vector<TInfoLanguage>& Languages) {
  const WideString spacer = u"{s:infoline}{pt local:6}";
  std::vector<WideString> out;
  if (HasParagraphs) out.push_back(spacer);
  if (Entry.Title.empty()) {
    out.insert(out.end(), {spacer, spacer});
    return out;
  }
  out.push_back(WideString(u"{s:infocaption}{f") + kCaptionColour + u"}{pm local:0}{b1}{m1}" + Entry.Title +
                u"{b0}{tr}{pm local:1}");
  out.push_back(RuleLine());
  for (const WideString& line : Entry.Lines) out.push_back(TextLine(line));
  if (Entry.ShowTranslations) {
    out.push_back(RuleLine());
    out.push_back(TextLine(TranslationsText + u":"));
    // The reference font is that of the language whose code is "us".
    const TInfoLanguage* reference = nullptr;
    for (const TInfoLanguage& language : Languages) {
      if (SameText(language.Code, "us")) reference = &language;
    }
    for (const TInfoLanguage& language : Languages) {
      if (language.Credits.empty()) continue;
      WideString name = KemLiteralText(language.DisplayName);
      if (reference && !SameText(language.FontName, reference->FontName)) {
        name = u"{x fontname=" + W(language.FontName) + u";fontsize=" + W(IntToStr(language.FontSize)) + u";" +
               TagSafe(language.DisplayName) + u"}";
      }
      out.push_back(TextLine(u"- " + name + u": " + KemLiteralText(language.Credits)));
    }
  }
  if (!Entry.WebAddress.empty()) {
    const WideString address = KemLiteralText(W(Entry.WebAddress));
    out.push_back(WideString(u"{s:infolink}{f") + kLineColour + u"}{m1}{tr}{u1}{l1:http://" +
                  LinkTarget(W(Entry.WebAddress)) + u"}" + address + u"{l0}{u0}{tr}{pt local:5}");
  } else {
    out.push_back(RuleLine());
  }
  out.push_back(WideString(u"{s:infoline}{f") + kLineColour + u"}{pt local:2}{m0}{tr}{pt local:3}");
  return out;
}

WideString SystemNameOf(const TOSVersionInfo& Info) {
  struct TName {
    std::uint32_t Platform, Major, Minor, MinBuild;
    const char16_t* Name;
  };
  // Later rows of one version win when the build reaches theirs.
  static const TName kNames[] = {
      {kPlatformWindows, 4, 0, 0, u"Windows 95"},  {kPlatformWindows, 4, 10, 0, u"Windows 98"},
      {kPlatformWindows, 4, 90, 0, u"Windows Me"}, {kPlatformNT, 3, 51, 0, u"Windows NT 3.51"},
      {kPlatformNT, 4, 0, 0, u"Windows NT 4.0"},   {kPlatformNT, 5, 0, 0, u"Windows 2000"},
      {kPlatformNT, 5, 1, 0, u"Windows XP"},       {kPlatformNT, 5, 2, 0, u"Windows Server 2003"},
      {kPlatformNT, 6, 0, 0, u"Windows Vista"},    {kPlatformNT, 6, 1, 0, u"Windows 7"},
      {kPlatformNT, 6, 2, 0, u"Windows 8"},        {kPlatformNT, 6, 3, 0, u"Windows 8.1"},
      {kPlatformNT, 10, 0, 0, u"Windows 10"},      {kPlatformNT, 10, 0, 22000, u"Windows 11"},
  };
  const char16_t* name = u"Windows";
  for (const TName& row : kNames) {
    if (row.Platform == Info.PlatformId && row.Major == Info.MajorVersion && row.Minor == Info.MinorVersion &&
        Info.BuildNumber >= row.MinBuild) {
      name = row.Name;
    }
  }
  return name;
}

TInfoEntry SystemInfoEntry(const TOSVersionInfo& Info, const WideString& VersionText, std::uint32_t DataAccessVersion) {
  TInfoEntry entry;
  entry.Title = KemLiteralText(SystemNameOf(Info));
  WideString version = VersionText + u" " + W(FormatWindowsVersion(Info, true));
  if (!Info.CSDVersion.empty()) version += u" - " + KemLiteralText(W(Info.CSDVersion));
  entry.Lines.push_back(version);
  entry.Lines.push_back(u"");
  entry.Lines.push_back(u"Data Access Components");
  entry.Lines.push_back(VersionText + u" " + W(FormatVersion(DataAccessVersion, " build ")));
  return entry;
}

TInfoEntry LibraryInfoEntry(std::uint32_t Version, const String& Title, const String& Copyright,
                            const WideString& VersionText) {
  TInfoEntry entry;
  entry.Title = u"kem3";
  entry.Lines.push_back(VersionText + u" " + W(FormatVersion(Version, " build ")));
  if (!Title.empty()) entry.Lines.push_back(KemLiteralText(W(Title)));
  if (!Copyright.empty()) entry.Lines.push_back(KemLiteralText(W(Copyright)));
  entry.Lines.push_back(u"{pm local:5}{pm local:5}{pm local:7}");
  return entry;
}

std::vector<TInfoSection> InfoSections(bool HasLibraryEntries, bool ShowLibrary) {
  std::vector<TInfoSection> sections{isGeneral};
  if (HasLibraryEntries || ShowLibrary) sections.push_back(isLibrary);
  return sections;
}

TInfoSection InfoSectionOfKey(const std::vector<TInfoSection>& Sections, char16_t Key) {
  if (Key < u'1' || Key > u'9') return isNone;
  const std::size_t index = Key - u'1';
  return index < Sections.size() ? Sections[index] : isNone;
}
