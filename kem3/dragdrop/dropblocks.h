// Parsers of the blocks a drag source hands over: each reads a byte span that
// any program may have filled, checks every size, count and offset against the
// span's end and raises EDropBlockError for a block it cannot take.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/exceptions.h"
#include "platform/types.h"

ORV_EXCEPTION(EDropBlockError, Exception)

// Sizes come from the drag source: a block above this is not read at all, so
// dragging a huge attachment cannot stall the bar.
inline constexpr std::int64_t kMaxDropBlockSize = 16 * 1024 * 1024;

using TDropBlock = std::string_view;

// No user drags more files at once: the names of a file drop beyond these are
// counted, not read (the bar takes no more files from one drop anyway). A
// 16 MiB block holds millions of short names.
inline constexpr std::size_t kMaxDropFileNames = 1000;

// CF_HDROP: a 20-byte header (name-list offset, drop point, non-client flag,
// wide flag) and the names, each zero-terminated, up to an empty name. The
// names stay UTF-16; 8-bit names are read in the ANSI code page. The first
// kMaxDropFileNames names come back; Unread gets the number of those after.
std::vector<WideString> ParseDropFiles(TDropBlock Block, std::size_t* Unread = nullptr);

// No path is that many folders deep: a deeper ID list is refused.
inline constexpr std::size_t kMaxIDListItems = 256;
// No user drags more shell items at once: the items of an array beyond these
// are not read (the bar takes no more files from one drop anyway).
inline constexpr std::size_t kMaxIDListArrayItems = 1000;

// "Shell IDList Array": the item count n, n + 1 offsets (the parent folder
// first) and the ID lists they point to. Each list comes back with its 2-byte
// terminator. The lists together are no larger than the block behind the
// offsets: offsets that name one list many times are refused, as no source
// writes them and they would multiply the block. Unread gets the number of
// items beyond kMaxIDListArrayItems.
std::vector<std::string> ParseIDListArray(TDropBlock Block, std::size_t* Unread = nullptr);
// The byte size of the ID list at the start of Bytes, terminator included;
// EDropBlockError when it runs past the end, holds an item shorter than 2 or
// more than kMaxIDListItems items.
std::size_t IDListSize(TDropBlock Bytes);

// "FileGroupDescriptor" (Wide: "FileGroupDescriptorW"): the item count and
// descriptors of 332 (592) bytes whose 260-character file name starts at byte 72.
std::vector<WideString> ParseFileGroupDescriptorNames(TDropBlock Block, bool Wide);

// "FileName" / "FileNameW": one name, cut at its terminator or the block end.
WideString ParseFileNameBlock(TDropBlock Block, bool Wide);

// "FileNameMap" / "FileNameMapW": names one after another, each ended by a zero
// character, up to a name that starts with a zero byte; at least one name.
std::vector<WideString> ParseFileNameMap(TDropBlock Block, bool Wide);

// CF_TEXT and "UniformResourceLocator": the 8-bit text up to its first zero,
// in UTF-8 (kept when it is valid UTF-8, otherwise read as ANSI).
String ParseTextBlock(TDropBlock Block);

struct TDroppedURL {
  String URL;
  String Title;
};
// "Netscape Bookmark": the URL at byte 0 and, in a block longer than 1024
// bytes, the title at byte 1024.
TDroppedURL ParseNetscapeBookmark(TDropBlock Block);
// "Netscape Image Format": a record of more than 44 bytes whose offsets at
// bytes 32 and 36 point to the title and the URL (0: absent).
TDroppedURL ParseNetscapeImage(TDropBlock Block);

// What an internet shortcut holds (UTF-8); Url is nothing when it names none.
struct TInternetShortcut {
  std::optional<String> Url;
  String IconFile;
  String IconIndex;
};
// An internet shortcut's text: its first "[InternetShortcut]" section, the
// names matched without regard to case, the first line of each name counting.
// A value of the first "[InternetShortcut.W]" section (in UTF-7) comes first:
// the shell writes one there for a value outside the ANSI code page, which
// the plain section holds with "?" for those characters.
TInternetShortcut ParseInternetShortcut(TDropBlock Text);
// An internet shortcut file: dropped, or one an icon is made from. All empty
// when it cannot be opened or is larger than a drop block may be.
TInternetShortcut ReadInternetShortcutFile(const String& FileName);

// The lines of a text, split at CR LF, LF or CR; a last line end adds no empty line.
std::vector<std::string> SplitDropLines(std::string_view Text);

// A CF_HDROP block with wide names, as a drag source writes it.
std::string BuildDropFiles(const std::vector<WideString>& Files);
