// Writing language files from a text catalogue, in both formats: the
// tagged-block format the program ships, and the older header format that
// the reader still understands (written for its tests).
#pragma once
#include <cstdint>

#include "kem3/framework/kemlancatalog.h"
#include "platform/streams.h"

class TBitmap;
class TPNGImage;

// Header (magic, code, block count), then the blocks: display name, credits,
// each font and size, the scale, the flag (when Flag holds a picture), then
// the names and the texts of each module. Compress packs every block with zlib.
void WriteLanguageFile3(TStream& Stream, const TLanCatalogue& Catalogue, TPNGImage* Flag, bool Compress = true);

// One 256-byte header per module, then the flag pictures (when both bitmaps
// hold one) and each module's names and texts. Flags (lan2::k... of
// kemlanfile.h) choose LZSS packing or the XOR transform per section; texts are
// stored in the ANSI code page.
void WriteLanguageFile2(TStream& Stream, const TLanCatalogue& Catalogue, std::uint32_t Flags, const TBitmap* Flag,
                        const TBitmap* FlagSelected);
