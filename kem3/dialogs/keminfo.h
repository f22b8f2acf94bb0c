// The information dialog's contents, free of the operating system: the entry
// store the program fills before it opens the dialog, the mark-up paragraphs
// of one framed block, the system's and the component library's blocks, and
// which sections the dialog lists.
#pragma once
#include <cstdint>
#include <vector>

#include "kem3/framework/kemsysinfo.h"
#include "platform/types.h"

// One framed block: a title, lines of mark-up, whether the installed
// languages' credits follow, and a web address without its scheme.
struct TInfoEntry {
  WideString Title;
  std::vector<WideString> Lines;
  bool ShowTranslations = false;
  String WebAddress;
};

// The process-wide store: the program's entry and the library entries, in
// registration order (the module, plug-in and device lists stay empty here).
void SetProgramInfo(const WideString& Title, const std::vector<WideString>& Lines, bool ShowTranslations,
                    const String& WebAddress);
void AddLibraryInfo(const WideString& Title, const std::vector<WideString>& Lines, const String& WebAddress);
const TInfoEntry& ProgramInfo();
const std::vector<TInfoEntry>& LibraryInfos();
void ClearInfoEntries();

// An installed language as the credits list needs it.
struct TInfoLanguage {
  String Code;
  WideString DisplayName;
  WideString Credits;
  String FontName;  // its first font
  int FontSize = 8;
};

// The paragraphs a block adds to a layout (HasParagraphs: the layout holds
// some already, so a spacer comes first). Language names and credits show
// literally; titles, lines and the address are mark-up of the caller's.
std::vector<WideString> InfoBlockParagraphs(const TInfoEntry& Entry, bool HasParagraphs,
                                            const WideString& TranslationsText,
                                            const std::vector<TInfoLanguage>& Languages);

// The system's name from its version: a small table, "Windows" for a version
// it does not know.
WideString SystemNameOf(const TOSVersionInfo& Info);
// The system block: its name as title, the version with its build and service
// pack, then the data-access components' line and their packed version (as
// GetDataAccessVersion gives it: 0 when none are installed).
TInfoEntry SystemInfoEntry(const TOSVersionInfo& Info, const WideString& VersionText, std::uint32_t DataAccessVersion);
// The component library's block from the hook library's packed version (the
// version word high, the build low), title and notice.
TInfoEntry LibraryInfoEntry(std::uint32_t Version, const String& Title, const String& Copyright,
                            const WideString& VersionText);

// Sections, numbered as the notebook's pages.
enum TInfoSection { isNone, isGeneral, isLibrary, isModules, isPlugins, isDevices };
// The sections listed, in order: general always, library with library entries
// or when the library block is asked for, the others never in this program.
std::vector<TInfoSection> InfoSections(bool HasLibraryEntries, bool ShowLibrary);
// The section Alt plus a digit key selects (Key: the character '1'..'9'), or
// isNone when the list has no such entry.
TInfoSection InfoSectionOfKey(const std::vector<TInfoSection>& Sections, char16_t Key);
