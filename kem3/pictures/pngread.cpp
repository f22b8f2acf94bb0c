// Reading a PNG: the chunks of the file, then the picture decoded row by row
// straight into the bitmap's scan lines.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "kem3/pictures/pngimage.h"
#include "kem3/pictures/pngrows.h"

namespace {

// Deflate cannot expand data by more than 1032 times, so image data that
// promises a larger picture is known to be short before a pixel is decoded.
constexpr std::int64_t kMaxInflateRatio = 1032;

// The image data inflated block by block from the chunk's memory. A picture
// whose rows fit one block (every icon) is inflated with one call, so zlib
// never keeps a window of what it made. The zlib state is made once per
// thread and reset for each picture: making it anew costs more than decoding
// a small picture does.
class TImageDataReader {
 public:
  TImageDataReader(const std::uint8_t* Data, std::size_t Size, std::size_t Expected)
      : FBlock(std::min(Expected, kBlockSize)), FLeft(Expected) {
    FZ = Claim();
    // The reader stops at the picture's last byte, before zlib's checksum at the
    // end could be compared, so computing it is wasted; the chunks' CRCs guard the data.
    inflateValidate(FZ, 0);
    FZ->next_in = const_cast<Bytef*>(Data);
    FZ->avail_in = static_cast<uInt>(std::min<std::size_t>(Size, UINT32_MAX));
  }
  ~TImageDataReader() {
    if (FZ == &FOwn)
      inflateEnd(&FOwn);
    else
      Shared().Busy = false;
  }
  TImageDataReader(const TImageDataReader&) = delete;
  TImageDataReader& operator=(const TImageDataReader&) = delete;

  // The next Count bytes into Out; false when the data end or break off first
  // (the bytes before that point have all been handed out by then).
  bool Read(std::uint8_t* Out, std::size_t Count) {
    if (FEnd - FPos < Count) Refill(Count);
    if (FEnd - FPos < Count) return false;
    std::memcpy(Out, FBlock.data() + FPos, Count);
    FPos += Count;
    return true;
  }

 private:
  static constexpr std::size_t kBlockSize = 64 * 1024;

  struct TShared {
    z_stream Z{};
    bool Ready = false, Busy = false;
    ~TShared() {
      if (Ready) inflateEnd(&Z);
    }
  };
  static TShared& Shared() {
    thread_local TShared shared;
    return shared;
  }
  // The thread's state, or, should a progress handler decode another picture
  // while this one is under way, a state of this reader's own.
  z_stream* Claim() {
    TShared& shared = Shared();
    z_stream* z = &FOwn;
    if (!shared.Busy) {
      if (!shared.Ready)
        shared.Ready = inflateInit(&shared.Z) == Z_OK;
      else if (inflateReset(&shared.Z) != Z_OK)
        RaisePNGError(PngErrCorrupt);
      if (!shared.Ready) RaisePNGError(PngErrCorrupt);
      shared.Busy = true;
      return &shared.Z;
    }
    if (inflateInit(z) != Z_OK) RaisePNGError(PngErrCorrupt);
    return z;
  }

  void Refill(std::size_t Count) {
    // What is left moves to the front; a row longer than the block widens it.
    std::memmove(FBlock.data(), FBlock.data() + FPos, FEnd - FPos);
    FEnd -= FPos;
    FPos = 0;
    if (Count > FBlock.size()) FBlock.resize(Count);
    while (!FDone && FEnd < Count) {
      std::size_t room = std::min(FBlock.size() - FEnd, FLeft);
      if (room == 0) break;
      FZ->next_out = FBlock.data() + FEnd;
      FZ->avail_out = static_cast<uInt>(room);
      // All that is left fits: one call, and no window is kept.
      int code = inflate(FZ, room == FLeft ? Z_FINISH : Z_NO_FLUSH);
      std::size_t made = room - FZ->avail_out;
      FEnd += made;
      FLeft -= made;
      if (code != Z_OK || made == 0) FDone = true;
    }
  }

  z_stream* FZ;
  z_stream FOwn{};
  std::vector<std::uint8_t> FBlock;
  std::size_t FPos = 0, FEnd = 0, FLeft;
  bool FDone = false;
};

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

TPixelFormat PaletteFormat(int Depth) { return Depth == 1 ? pf1bit : Depth <= 4 ? pf4bit : pf8bit; }

// The colour table of a grey picture shown as indices: 2^depth levels spread
// over 0-255 (256 for 16 bits), through Gamma when given. 2-bit samples land in
// 4-bit pixels, so their four levels repeat to fill sixteen entries.
std::vector<TRGBQuad> GreyTable(int Depth, const std::uint8_t* Gamma) {
  int levels = Depth >= 8 ? 256 : 1 << Depth, step = 255 / (levels - 1);
  std::vector<TRGBQuad> table;
  table.reserve(static_cast<std::size_t>(std::max(levels, 16)));
  for (int v = 0; v < levels; ++v) {
    auto grey = static_cast<std::uint8_t>(v * step);
    if (Gamma) grey = Gamma[grey];
    table.push_back(TRGBQuad{grey, grey, grey, 0});
  }
  for (int v = levels; Depth == 2 && v < 16; ++v) table.push_back(table[static_cast<std::size_t>(v % 4)]);
  return table;
}

// The transparent colour of a truecolour picture as samples of its depth:
// three 16-bit samples, or in files of older writers three bytes. False when
// there is none, or when it lies outside what the depth can hold (no pixel
// could match it).
bool TruecolourKey(const TChunkTRNS* Trns, int Depth, std::array<std::uint16_t, 3>& Key) {
  if (!Trns || Trns->DataSize() < 3) return false;
  const std::uint8_t* b = Trns->Bytes();
  const bool bytes = Trns->DataSize() < 6;
  for (int i = 0; i < 3; ++i) {
    unsigned v = bytes ? b[i] * (Depth == 16 ? 257u : 1u) : (unsigned{b[2 * i]} << 8) | b[2 * i + 1];
    if (Depth == 8 && v > 255) return false;
    Key[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(v);
  }
  return true;
}

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

  // A truecolour image's transparent colour, as shown (its pixels are made
  // transparent while decoding, see DecodeImageData).
  auto* header = static_cast<TChunkIHDR*>(FChunks.Item(0));
  std::array<std::uint16_t, 3> key;
  if (header->ColorType == 2 && TruecolourKey(FChunks.FindBeforeData<TChunkTRNS>(), header->BitDepth, key)) {
    int rgb[3];
    TChunkGAMA* gamma = FChunks.FindBeforeData<TChunkGAMA>();
    for (int i = 0; i < 3; ++i) {
      rgb[i] = header->BitDepth == 16 ? key[i] >> 8 : key[i];
      if (gamma && gamma->Active()) rgb[i] = gamma->Forward()[static_cast<std::size_t>(rgb[i])];
    }
    SetTransparentColor(RGBColor(rgb[0], rgb[1], rgb[2]));
    SetTransparent(true);
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
  // The colour table of a palette format: made here, or one of the shared grey ones.
  std::vector<TRGBQuad> table;
  const std::vector<TRGBQuad>* colors = &table;
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
        if (conv.UseGamma) {
          table = GreyTable(depth, conv.Gamma.data());
        } else {
          // The same few tables serve every picture shown as stored.
          static const std::vector<TRGBQuad> kPlain[] = {GreyTable(1, nullptr), GreyTable(2, nullptr),
                                                         GreyTable(4, nullptr), GreyTable(8, nullptr)};
          colors = &kPlain[depth == 1 ? 0 : depth == 2 ? 1 : depth == 4 ? 2 : 3];
        }
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
      // A transparent colour becomes alpha, compared with the samples as
      // stored: after gamma, neighbouring colours can read as the key.
      if (TruecolourKey(trns, depth, conv.KeyRGB)) {
        kind = pcRGBKey;
      } else {
        format = pf24bit;
        kind = pcRGB;
      }
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
  if (!colors->empty()) SetColorTable(*colors);
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

  TImageDataReader reader(Data.Bytes(), static_cast<std::size_t>(Data.DataSize()), static_cast<std::size_t>(expected));
  auto readRow = [&](std::size_t count) {
    if (!reader.Read(current, count + 1)) RaisePNGError(PngErrCorrupt);
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
}
