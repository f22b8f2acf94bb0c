// The small stream formats that resource packages, language files and the
// icon cache share: a string as an int32 length and its bytes, a string list
// as an int32 count and its strings, and an image block (present flag, block
// size, the image in its own file format). Every length, count and size read
// is checked against what the stream really holds before anything is
// allocated; a bad one raises EReadError.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/streams.h"
#include "platform/stringlist.h"
#include "platform/types.h"

class TBitmap;
class TPNGImage;
class TJPEGImage;

// ---- Strings and string lists

// int32 length L, then L bytes, no terminator.
String ReadStreamString(TStream& Stream);
void WriteStreamString(TStream& Stream, const String& S);

// int32 count, then count stream strings. Reading clears the list first; a
// list that fails half-way keeps the strings read so far.
void ReadStreamStrings(TStream& Stream, TStrings& Strings);
void WriteStreamStrings(TStream& Stream, const TStrings& Strings);
std::vector<String> ReadStreamStringVector(TStream& Stream);
void WriteStreamStringVector(TStream& Stream, const std::vector<String>& Strings);

// ---- Image blocks
//
// int32 present flag (1: the image has content; 0: empty), int32 block size
// (the bytes from the flag to the block's end, the 8 header bytes included),
// then, when present, the image. An absent image is exactly 8 bytes.

inline constexpr std::int64_t kImageBlockHeaderSize = 8;

using TImageBlockLoader = std::function<void(TStream& Data)>;
using TImageBlockSaver = std::function<void(TStream& Stream)>;

// Reads a block. When the flag is below 1 the stream stays after the 8 header
// bytes and the result is false; otherwise the image's bytes are handed to
// Load as a memory stream of their own, so the source ends up at the block's
// end however much the image reader consumed, and the result is true. A size
// below 8 or beyond the stream's end raises EReadError before Load runs.
bool ReadImageBlock(TStream& Stream, const TImageBlockLoader& Load);
// The same for the three image kinds: a Windows bitmap (BMP file format), a
// PNG and a JPEG image. An absent image leaves the picture unchanged.
bool ReadImageBlock(TStream& Stream, TBitmap& Bitmap);
bool ReadImageBlock(TStream& Stream, TPNGImage& Image);
bool ReadImageBlock(TStream& Stream, TJPEGImage& Image);

// Writes the flag, a placeholder for the size, the image through Save (only
// when Present), then goes back to fill in the size and returns to the end.
void WriteImageBlock(TStream& Stream, bool Present, const TImageBlockSaver& Save);
// An empty picture is written as absent.
void WriteImageBlock(TStream& Stream, const TBitmap& Bitmap);
void WriteImageBlock(TStream& Stream, TPNGImage& Image);
