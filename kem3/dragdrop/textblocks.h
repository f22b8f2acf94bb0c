// The text kinds a drop hands over beside plain text: rich text, the clipboard's
// HTML with its offset header, contact cards and the OEM code page, each read
// from and written to the bytes that travel, with every offset checked.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "kem3/dragdrop/dropblocks.h"

// Whether a text is rich text: it begins with "{\rtf" in any case.
bool IsRichText(std::string_view Text);
// Rich text as a target reads it: the text itself when it is rich text, else
// the UTF-8 text in a minimal document, "\", "{" and "}" escaped and every
// character beyond ASCII written as a Unicode control word.
std::string RichTextOf(std::string_view Utf8Text);

// "HTML Format": an ASCII header of "Name:value" lines whose StartHTML and
// EndHTML give the byte range of the UTF-8 mark-up. A block without a header
// (or with offsets outside it) is taken whole; the text ends at its first zero.
String ParseHtmlClipboard(TDropBlock Block);
// The block a source writes: the header with its offsets (the fragment being
// the body's content when the mark-up has one) and the mark-up.
std::string BuildHtmlClipboard(std::string_view Html);

// A contact card's lines as read: a leading "begin:vcard" and then a trailing
// "end:vcard" dropped (any case), and in each line the first ":" made "=".
std::vector<std::string> ReadVCardLines(std::vector<std::string> Lines);
// The block a source writes: "begin:vcard", the lines and "end:vcard", each
// ended by CR alone, and a terminating zero; empty without lines.
std::string BuildVCardBlock(const std::vector<std::string>& Lines);

// The OEM code page (the system's on Windows, code page 437 in the native
// build) to and from UTF-8.
String OemToUtf8(std::string_view Oem);
std::string Utf8ToOem(std::string_view Utf8);

// File group descriptor blocks: a 32-bit count and that many records of 332
// (Wide: 592) bytes, the 260-character file name 72 bytes into each.
inline constexpr std::uint64_t kFileDescriptorSize = 332, kFileDescriptorWSize = 592;
inline constexpr std::uint64_t kDescriptorNameOffset = 72, kDescriptorNameChars = 260;
// The block's copy when its size holds exactly its count of whole records
// (computed in 64 bits); EDropBlockError otherwise, also for a block under 4 bytes.
std::string CheckFileGroupDescriptorBlock(TDropBlock Block, bool Wide);
// The file name of one record, up to its first zero and 260 characters.
WideString FileDescriptorName(TDropBlock Record, bool Wide);
// One all-zero record holding Name (cut at 260 characters).
std::string BuildFileDescriptor(const WideString& Name, bool Wide);
// A whole block of one record per name.
std::string BuildFileGroupDescriptor(const std::vector<WideString>& Names, bool Wide);
