// What the wide and 8-bit system call wrappers decide without the system: the
// platform flags from a version, the wide system call's result conventions for
// an 8-bit result, the walk through a string table block, the access and share
// rights of a file mode, and 8-bit resource texts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/types.h"

struct TPlatformFlags {
  bool UnicodePlatform = false;  // the wide system entries exist and are used
  bool PlatformXPOrLater = false;
  bool PlatformServer2003OrLater = false;
  bool PlatformVistaOrLater = false;
};
inline constexpr unsigned kVerPlatformWin32Nt = 2;
TPlatformFlags PlatformFlagsFor(unsigned PlatformId, unsigned Major, unsigned Minor);

// Flags of AnsiResultToWideBuffer; the layer's own calls use arEmptyOnOverflow.
inline constexpr int arExactFit = 1, arEmptyOnOverflow = 2, arTruncate = 4, arCutAtBackslash = 8;

// Fills a wide buffer of BufferLength characters with an 8-bit system result
// (widened in the ANSI code page) as the wide call would have: the length when
// the text and its terminator fit, else the size needed with the terminator.
int AnsiResultToWideBuffer(int BufferLength, WideChar* Buffer, std::string_view AnsiResult, int Flags);

// The 8-bit full path name call: fills Buffer of Size bytes and answers the
// length, or the size needed; FilePart is the file part's offset, or -1.
using TAnsiFullPathCall = std::function<std::uint32_t(char* Buffer, std::uint32_t Size, std::ptrdiff_t& FilePart)>;
// Reads into 520 bytes, and again with the size the call names when that is
// too small, then answers as the wide call: FilePart is nullptr when the call
// gave none or the result did not fit.
std::uint32_t AnsiFullPathName(const TAnsiFullPathCall& Call, std::uint32_t BufferLength, WideChar* Buffer,
                               WideChar** FilePart);

// The integer resource name of the string table block that holds Ident (an
// identifier with its high 16 bits all ones is negated first), and the entry's
// number in the block.
unsigned StringTableBlockName(std::uint32_t Ident);
inline unsigned StringTableEntryIndex(std::uint32_t Ident) { return Ident & 15; }
// The entry's text inside the block's bytes: 16 entries, each a 16-bit length
// and that many UTF-16 units. An entry that would run past the block is empty.
WideString StringTableEntry(std::string_view Block, unsigned Index);
// As the wide string loader answers: with no buffer (or a size of 0 or less)
// the entry's length; otherwise the entry cut to Size - 1 units, terminated,
// and the count copied.
int CopyStringTableEntry(std::string_view Block, std::uint32_t Ident, WideChar* Buffer, int Size);

// The access and share rights of a class-library open mode (fmOpenRead…
// with fmShareExclusive…).
struct TFileRights {
  std::uint32_t Access;
  std::uint32_t ShareMode;
};
TFileRights FileRightsOfMode(std::uint32_t Mode);

// An 8-bit resource text: UTF-8 behind the bytes EF BB BF when anything follows
// them, otherwise widened in the ANSI code page.
WideString WidenResourceText(std::string_view Text);

// True when the name is an integer resource name (its high bits are 0).
inline bool IsIntResource(const void* Name) { return (reinterpret_cast<std::uintptr_t>(Name) >> 16) == 0; }

// A system message as the layer shows it: trimmed, or when empty
// "Unspecified error (%d) from %s.".
WideString ErrorTextOrFallback(std::u16string_view SystemText, long ErrorCode, std::u16string_view SourceName);
