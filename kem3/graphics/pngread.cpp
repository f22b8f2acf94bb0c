// Reading a PNG: the chunks of the file, then the picture decoded row by row
// straight into the bitmap's scan lines.
#include <algorithm>
#include <cstring>
#include <vector>

#include "kem3/framework/kemzlib.h"
#include "kem3/graphics/pngimage.h"
#include "kem3/graphics/pngrows.h"

namespace {

// Deflate cannot expand data by more than 1032 times, so image data that
// promises a larger picture is known to be short before a pixel is decoded.
constexpr std::int64_t kMaxInflateRatio = 1032;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

TPixelFormat PaletteFormat(int Depth) { return Depth == 1 ? pf1bit : Depth <= 4 ? pf4bit : pf8bit; }

}  // namespace

void TPNGImage::ResetToEmpty() {
  FChunks.Clear();
  SetSize(0, 0);
  SetTransparent(false);
  SetAlphaFormat(afIgnored);
  FInterlaced = false;
}

void TPNGImage::LoadFromStream(TStream& Stream) {
  ResetToEmpty();
  std::uint8_t signature[8];
  if (Stream.Read(signature, 8) != 8 || std::memcmp(signature, kPngSignature, 8) != 0)
    RaisePNGError(PngErrInvalidHeader);
  ReadChunks(Stream);

  if (FChunks.Count() == 0 || !ChunkAs<TChunkIHDR>(FChunks.Item(0))) RaisePNGError(PngErrMissingIHDR);
  if (!FChunks.Find<TChunkIDAT>()) RaisePNGError(PngErrNoImageData);
  for (int i = 0; i < FChunks.Count(); ++i) FChunks.Item(i)->Decode();

  // A truecolour image's transparent colour, as 16-bit samples (or, in old
  // files, 3 bytes). 8-bit images keep their samples in the low bytes.
  auto* header = static_cast<TChunkIHDR*>(FChunks.Item(0));
  TChunkTRNS* trns = FChunks.FindBeforeData<TChunkTRNS>();
  if (trns && header->ColorType == 2 && trns->DataSize() >= 3) {
    const std::uint8_t* b = trns->Bytes();
    int rgb[3];
    bool usable = true;
    for (int i = 0; i < 3; ++i) {
      if (trns->DataSize() < 6)
        rgb[i] = b[i];
      else if (header->BitDepth == 16)
        rgb[i] = b[2 * i];
      else {
        rgb[i] = b[2 * i + 1];
        usable = usable && b[2 * i] == 0;
      }
    }
    if (usable) {
      TChunkGAMA* gamma = FChunks.FindBeforeData<TChunkGAMA>();
      if (gamma && gamma->Active())
        for (int& v : rgb) v = gamma->Forward()[static_cast<std::size_t>(v)];
      SetTransparentColor(RGBColor(rgb[0], rgb[1], rgb[2]));
      SetTransparent(true);
    }
  }
}

void TPNGImage::ReadChunks(TStream& Stream) {
  std::int64_t position = Stream.Position();
  const std::int64_t size = Stream.Size();
  TChunkIDAT* firstData = nullptr;
  try {
    while (position < size) {
      // Length, type, and the CRC behind the data must all be there.
      if (size - position < 12) RaisePNGError(PngErrCorrupt);
      std::uint8_t head[8];
      Stream.ReadBuffer(head, 8);
      std::uint32_t length = PngGetBE32(head);
      if (length > 0x7FFFFFFFu || std::int64_t{length} > size - position - 12) RaisePNGError(PngErrCorrupt);
      TChunkName name{static_cast<char>(head[4]), static_cast<char>(head[5]), static_cast<char>(head[6]),
                      static_cast<char>(head[7])};
      if (!std::all_of(name.begin(), name.end(), IsLetter)) RaisePNGError(PngErrCorrupt);
      bool critical = !(name[0] & 0x20);
      if (critical && !TChunkClasses::Find(name)) RaisePNGError(PngErrUnknownCriticalChunk);

      // Later image data goes straight behind the first chunk's.
      bool appended = firstData && name == ChunkName("IDAT");
      std::unique_ptr<TChunk> chunk;
      TMemoryStream* target;
      if (appended) {
        target = &firstData->Data();
      } else {
        chunk = TChunkClasses::CreateChunk(name, &FChunks);
        target = &chunk->Data();
        target->Clear();
      }
      std::int64_t old = target->Size();
      target->SetSize(old + length);
      auto* data = static_cast<std::uint8_t*>(target->Memory()) + old;
      if (length) Stream.ReadBuffer(data, length);
      std::uint8_t tail[4];
      Stream.ReadBuffer(tail, 4);
      position += 12 + std::int64_t{length};
      if (PngCrc(PngCrc(0, head + 4, 4), data, length) != PngGetBE32(tail)) RaisePNGError(PngErrCorrupt);
      target->SetPosition(0);

      if (appended) continue;
      TChunk* added = FChunks.Add(std::move(chunk));
      if (!firstData) firstData = ChunkAs<TChunkIDAT>(added);
      if (ChunkAs<TChunkIEND>(added)) break;
    }
  } catch (const EReadError&) {
    RaisePNGError(PngErrCorrupt);
  }
}

void TPNGImage::DecodeImageData(TChunkIDAT& Data) {
  auto* header = FChunks.Count() ? ChunkAs<TChunkIHDR>(FChunks.Item(0)) : nullptr;
  if (!header) RaisePNGError(PngErrMissingIHDR);
  header->Validate();
  const int width = static_cast<int>(header->Width), height = static_cast<int>(header->Height);
  const int depth = header->BitDepth, type = header->ColorType;
  const bool interlaced = header->InterlaceMethod == 1;

  TChunkPLTE* palette = FChunks.FindBeforeData<TChunkPLTE>();
  TChunkTRNS* trns = FChunks.FindBeforeData<TChunkTRNS>();
  TChunkGAMA* gamma = FChunks.FindBeforeData<TChunkGAMA>();
  TPngRowConverter conv;
  conv.UseGamma = gamma && gamma->Active() && !gamma->Identity();
  if (conv.UseGamma) conv.Gamma = gamma->Forward();
  auto g = [&](int v) {
    return conv.UseGamma ? conv.Gamma[static_cast<std::size_t>(v)] : static_cast<std::uint8_t>(v);
  };

  // Where the picture goes, and how a decoded row gets there.
  TPixelFormat format = pf32bit;
  TPngConversion kind = pcCopy;
  std::vector<TRGBQuad> table;
  const std::uint8_t* alpha = trns ? trns->Bytes() : nullptr;
  const std::int64_t alphaCount = trns ? trns->DataSize() : 0;
  switch (type) {
    case 0:
      if (alphaCount >= 2) {
        // A transparent grey: the picture gets an alpha channel.
        auto key = static_cast<std::uint16_t>((alpha[0] << 8) | alpha[1]);
        if (depth == 16) {
          kind = pcGrey16Key;
          conv.Key = key;
        } else {
          kind = pcLookup;
          // 255 is a multiple of 2^depth - 1 for every depth below 16.
          int levels = 1 << depth, step = 255 / (levels - 1);
          for (int v = 0; v < levels; ++v) {
            std::uint8_t grey = g(v * step);
            conv.Lookup[static_cast<std::size_t>(v)] = PngPixel(grey, grey, grey, v == key ? 0 : 255);
          }
        }
      } else {
        format = PaletteFormat(depth);
        kind = depth == 2 ? pcDepth2ToNibble : depth == 16 ? pcGrey16ToIndex : pcCopy;
        int levels = depth == 16 ? 256 : 1 << depth, step = 255 / (levels - 1);
        table.reserve(std::max(levels, 16));
        for (int v = 0; v < levels; ++v) {
          std::uint8_t grey = g(v * step);
          table.push_back(TRGBQuad{grey, grey, grey, 0});
        }
        // 2-bit samples land in 4-bit pixels: the four levels repeat.
        for (int v = levels; depth == 2 && v < 16; ++v) table.push_back(table[static_cast<std::size_t>(v % 4)]);
      }
      break;
    case 3: {
      if (!palette || palette->Entries().empty()) RaisePNGError(PngErrMissingPalette);
      const std::vector<TRGBQuad>& entries = palette->Entries();
      if (entries.size() > (std::size_t{1} << depth)) RaisePNGError(PngErrInvalidPalette);
      if (alphaCount >= 1) {
        // Indices beyond the palette read as opaque black.
        kind = pcLookup;
        conv.Lookup.fill(PngPixel(0, 0, 0, 255));
        for (std::size_t i = 0; i < entries.size(); ++i) {
          int a = static_cast<std::int64_t>(i) < alphaCount ? alpha[i] : 255;
          conv.Lookup[i] = PngPixel(g(entries[i].rgbRed), g(entries[i].rgbGreen), g(entries[i].rgbBlue), a);
        }
      } else {
        format = PaletteFormat(depth);
        kind = depth == 2 ? pcDepth2ToNibble : pcCopy;
        for (const TRGBQuad& e : entries) table.push_back(TRGBQuad{g(e.rgbBlue), g(e.rgbGreen), g(e.rgbRed), 0});
      }
      break;
    }
    case 2:
      format = pf24bit;
      kind = pcRGB;
      break;
    case 4:
      kind = pcGreyAlpha;
      break;
    case 6:
      kind = pcRGBA;
      break;
    default:
      RaisePNGError(PngErrUnknownColorType);
  }
  conv.Select(kind, depth);

  // The exact number of bytes the picture needs; no more is ever inflated.
  std::int64_t expected = 0, widestRow = 0;
  for (int pass = 0; pass < (interlaced ? 7 : 1); ++pass) {
    const TPngPass p = interlaced ? kPngAdam7[pass] : TPngPass{0, 0, 1, 1};
    int pw = PngPassSize(width, p.X0, p.DX), ph = PngPassSize(height, p.Y0, p.DY);
    if (pw == 0 || ph == 0) continue;
    std::int64_t rowBytes = header->RowBytes(pw);
    widestRow = std::max(widestRow, rowBytes);
    expected += ph * (rowBytes + 1);
  }
  if (expected > Data.DataSize() * kMaxInflateRatio + 1024) RaisePNGError(PngErrCorrupt);

  // The palette goes in before the pixels' memory is made, so the system's
  // copy of it has just the palette's entries: indices beyond read black there too.
  SetPixelFormat(format);
  if (!table.empty()) SetColorTable(table);
  SetSize(width, height);
  SetAlphaFormat(format == pf32bit ? afDefined : afIgnored);
  FInterlaced = interlaced;

  const int outBits = BitsPerPixel(format);
  const int bpp = header->FilterBytes();
  auto* top = static_cast<std::uint8_t*>(ScanLine(0));
  const std::ptrdiff_t stride = ScanLineSize();
  auto rowAt = [&](int y) { return top - static_cast<std::ptrdiff_t>(y) * stride; };

  // Two rows with their filter bytes, the one above first, zero to start with.
  const auto rowSpace = static_cast<std::size_t>(widestRow + 1);
  std::vector<std::uint8_t> rows(2 * rowSpace);
  std::uint8_t* prior = rows.data();
  std::uint8_t* current = rows.data() + rowSpace;
  std::vector<std::uint8_t> packed(interlaced ? static_cast<std::size_t>(width) * 4 + 8 : 0);

  TMemoryStream& source = Data.Data();
  source.SetPosition(0);
  try {
    TZDecompressionStream inflater(source);
    // The reader stops at the picture's last byte, before zlib's checksum at the
    // end could be compared, so computing it is wasted; the chunks' CRCs guard the data.
    inflater.IgnoreChecksum();
    auto readRow = [&](std::size_t count) {
      if (inflater.Read(current, static_cast<std::int64_t>(count + 1)) != static_cast<std::int64_t>(count + 1))
        RaisePNGError(PngErrCorrupt);
      if (current[0] > pftPaeth) RaisePNGError(PngErrUnknownFilter);
      PngUnfilterRow(current[0], current + 1, prior + 1, count, bpp);
    };
    if (!interlaced) {
      const auto count = static_cast<std::size_t>(header->RowBytes(width));
      for (int y = 0; y < height; ++y) {
        readRow(count);
        conv.Run(current + 1, rowAt(y), width);
        std::swap(prior, current);
        if (OnProgress) OnProgress(this, static_cast<int>(std::int64_t{y} * 100 / height), "Drawing...");
      }
    } else {
      for (int pass = 0; pass < 7; ++pass) {
        const TPngPass& p = kPngAdam7[pass];
        int pw = PngPassSize(width, p.X0, p.DX), ph = PngPassSize(height, p.Y0, p.DY);
        if (pw == 0 || ph == 0) continue;
        const auto count = static_cast<std::size_t>(header->RowBytes(pw));
        std::fill(prior, prior + count + 1, std::uint8_t{0});
        for (int r = 0; r < ph; ++r) {
          readRow(count);
          conv.Run(current + 1, packed.data(), pw);
          PngScatterRow(packed.data(), rowAt(p.Y0 + r * p.DY), pw, p.X0, p.DX, outBits);
          std::swap(prior, current);
        }
        if (OnProgress) OnProgress(this, pass * 100 / 6, "Drawing...");
      }
    }
  } catch (const EZLibError&) {
    RaisePNGError(PngErrCorrupt);
  }
  source.SetPosition(0);
}
