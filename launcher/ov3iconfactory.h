// Icons made from things brought to the bar from outside: files, shell links
// (".lnk", ".pif"), internet shortcuts (".url") and web addresses. Each maker
// gives a new "icon" element that belongs to no document yet, or none.
#pragma once
#include <string_view>

#include "kem3/framework/kemxml.h"
#include "platform/types.h"

// What a shell link names. Read by the Windows shell; the tests fake it.
struct TShellLinkValues {
  String Path;          // the target
  String WorkingDir;    // the folder it starts in
  String IconLocation;  // the file its icon comes from; empty: none named
  int IconIndex = 0;
};

class TShellLinkReader {
 public:
  virtual ~TShellLinkReader() = default;
  // False when the file cannot be loaded as a shell link.
  virtual bool Read(const String& FileName, TShellLinkValues& Values) = 0;
};

// A longer "address" is some dropped text, and as an icon it would grow the
// contents file and every hint by its size. Counted in characters (UTF-16
// code units, as the system counts an address), not in the bytes of UTF-8:
// an address in CJK characters takes three bytes a character.
inline constexpr std::size_t kMaxIconUrlLength = 5000;
// Titles are cut to this many characters (UTF-16 code units, no pair split).
inline constexpr std::size_t kMaxIconTitleLength = 260;
// One drop makes no more icons than this: no one means a larger drop, and the
// bar would not answer while it made them all. The files after these are left out.
inline constexpr std::size_t kMaxDroppedFiles = 1000;

// The name without folder and extension, lower case with the first letter of
// every word upper case; words are split at blanks, "-", "_" and ".".
String TitleFromFileName(const String& FileName);
// Lower case, then the first letter of every word upper case.
String TitleCase(std::string_view Text);
// The title cut to kMaxIconTitleLength characters.
String CutIconTitle(const String& Title);
// The characters of a text (UTF-16 code units), counted without converting it.
std::size_t UrlLength(std::string_view Url);
// A web address's title: without a leading "scheme://" (any case), cut before
// the first "/"; the whole address when nothing is left.
String TitleFromUrl(const String& Url);

// Shell link; none when it cannot be loaded.
TKemXmlTagPtr IconFromShellLink(const String& FileName, TShellLinkReader& Links);
// Internet shortcut; none when it gives no "URL" or one over kMaxIconUrlLength characters.
TKemXmlTagPtr IconFromInternetShortcut(const String& FileName);
// Any file: the file starts itself, in its own folder, with its own icon.
TKemXmlTagPtr IconFromFile(const String& FileName);
// Web address; none for an empty one or one over kMaxIconUrlLength characters.
// Every maker cuts the icon's title to kMaxIconTitleLength characters.
TKemXmlTagPtr IconFromUrl(const String& Url);
// A dropped file by its extension (any case): shell link, internet shortcut,
// else any file; a link or shortcut that gives nothing becomes an icon of the file itself.
TKemXmlTagPtr IconFromDroppedFile(const String& FileName, TShellLinkReader& Links);
