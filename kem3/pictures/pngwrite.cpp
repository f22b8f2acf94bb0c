// Writing a PNG: the chunk list brought in line with the picture, then the rows
// filtered (each with the filter that makes the most repeats) and deflated.
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "kem3/pictures/pngimage.h"
#include "kem3/pictures/pngrows.h"
#include "platform/bitmap_pixels.h"

namespace {

// Removes every chunk of class T but the first, which is returned (or nullptr).
template <class T>
T* KeepFirst(TChunkList& List) {
  T* first = nullptr;
  for (int i = 0; i < List.Count();) {
    auto* chunk = ChunkAs<T>(List.Item(i));
    if (!chunk) {
      ++i;
    } else if (!first) {
      first = chunk;
      ++i;
    } else {
      List.Remove(chunk);
    }
  }
  return first;
}

template <class T>
void RemoveAll(TChunkList& List) {
  while (T* chunk = List.Find<T>()) List.Remove(chunk);
}

// Makes sure Chunk lies before the image data.
void PlaceBeforeData(TChunkList& List, TChunk* Chunk, TChunk* Data) {
  if (List.IndexOf(Chunk) < List.IndexOf(Data)) return;
  auto taken = List.Extract(Chunk);
  List.Insert(List.IndexOf(Data), std::move(taken));
}

const std::uint8_t* ReverseGamma(const TChunkList& List) {
  TChunkGAMA* gamma = List.FindBeforeData<TChunkGAMA>();
  return gamma && gamma->Active() && !gamma->Identity() ? gamma->Reverse().data() : nullptr;
}

// How a file lays out its samples: what the chunks that describe samples
// (background colour, significant bits, palette histogram) depend on.
struct TSampleLayout {
  int ColorType = 0, Depth = 8;
  std::vector<TRGBQuad> Palette;  // as stored
};

constexpr TChunkName kBKGD = ChunkName("bKGD"), kSBIT = ChunkName("sBIT"), kHIST = ChunkName("hIST");

void SetData(TChunk& Chunk, const std::vector<std::uint8_t>& Bytes) {
  Chunk.Data().Clear();
  Chunk.Data().WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
  Chunk.Data().SetPosition(0);
}

// A sample of Depth bits as an 8-bit one; -1 when it does not fit the depth.
int SampleTo8(unsigned Value, int Depth) {
  if (Value >= (1u << Depth)) return -1;
  if (Depth == 16) return static_cast<int>(Value >> 8);
  return static_cast<int>(Value * 255 / ((1u << Depth) - 1));
}

// The background colour in the new layout: decoded from the old one into 8-bit
// red, green, blue as stored, then a truecolour sample set or the palette
// entry that shows the same colour. False when it cannot be said there.
bool FitBackground(TChunk& Chunk, const TSampleLayout& Old, const TSampleLayout& New, const std::uint8_t* Forward,
                   const std::uint8_t* Reverse) {
  const std::uint8_t* b = Chunk.Bytes();
  const std::int64_t size = Chunk.DataSize();
  int rgb[3];
  switch (Old.ColorType) {
    case 3: {
      if (size < 1 || b[0] >= Old.Palette.size()) return false;
      const TRGBQuad& e = Old.Palette[b[0]];
      rgb[0] = e.rgbRed, rgb[1] = e.rgbGreen, rgb[2] = e.rgbBlue;
      break;
    }
    case 0:
    case 4:
      if (size < 2) return false;
      rgb[0] = rgb[1] = rgb[2] = SampleTo8((unsigned{b[0]} << 8) | b[1], Old.Depth);
      break;
    default:
      if (size < 6) return false;
      for (int i = 0; i < 3; ++i) rgb[i] = SampleTo8((unsigned{b[2 * i]} << 8) | b[2 * i + 1], Old.Depth);
      break;
  }
  if (rgb[0] < 0 || rgb[1] < 0 || rgb[2] < 0) return false;
  if (New.ColorType != 3) {
    SetData(Chunk, {0, static_cast<std::uint8_t>(rgb[0]), 0, static_cast<std::uint8_t>(rgb[1]), 0,
                    static_cast<std::uint8_t>(rgb[2])});
    return true;
  }
  // The palette was written through the reverse gamma table: so is the colour.
  if (Forward)
    for (int& v : rgb) v = Reverse[Forward[v]];
  for (std::size_t i = 0; i < New.Palette.size(); ++i) {
    const TRGBQuad& e = New.Palette[i];
    if (e.rgbRed == rgb[0] && e.rgbGreen == rgb[1] && e.rgbBlue == rgb[2]) {
      SetData(Chunk, {static_cast<std::uint8_t>(i)});
      return true;
    }
  }
  return false;
}

// Significant bits per channel in the new layout; what the old one did not
// say about alpha is all 8 bits.
bool FitSignificantBits(TChunk& Chunk, const TSampleLayout& Old, const TSampleLayout& New) {
  static const int kSizes[] = {1, 0, 3, 3, 2, 0, 4};
  const std::uint8_t* b = Chunk.Bytes();
  if (Old.ColorType > 6 || Chunk.DataSize() < kSizes[Old.ColorType]) return false;
  std::uint8_t bits[4] = {8, 8, 8, 8};
  switch (Old.ColorType) {
    case 0:
    case 4:
      bits[0] = bits[1] = bits[2] = b[0];
      if (Old.ColorType == 4) bits[3] = b[1];
      break;
    default:
      std::copy(b, b + kSizes[Old.ColorType], bits);
      break;
  }
  std::vector<std::uint8_t> fitted(bits, bits + (New.ColorType == 6 ? 4 : 3));
  for (std::uint8_t& v : fitted) {
    if (v == 0) return false;
    v = std::min<std::uint8_t>(v, 8);
  }
  SetData(Chunk, fitted);
  return true;
}

// Chunks that describe samples are written only where they fit the layout the
// picture is saved in: converted when it changed, else left out.
void FitSampleChunks(TChunkList& List, const TSampleLayout& Old, const TSampleLayout& New) {
  const std::uint8_t* forward = nullptr;
  TChunkGAMA* gamma = List.FindBeforeData<TChunkGAMA>();
  if (gamma && gamma->Active() && !gamma->Identity()) forward = gamma->Forward().data();
  const std::uint8_t* reverse = ReverseGamma(List);
  const bool same = Old.ColorType == New.ColorType && Old.Depth == New.Depth;
  for (int i = 0; i < List.Count();) {
    TChunk* chunk = List.Item(i);
    bool keep = true;
    if (chunk->Name() == kBKGD) {
      if (same && New.ColorType == 3)
        keep = chunk->DataSize() >= 1 && chunk->Bytes()[0] < New.Palette.size();
      else if (!same)
        keep = FitBackground(*chunk, Old, New, forward, reverse);
    } else if (chunk->Name() == kSBIT) {
      if (!same) keep = FitSignificantBits(*chunk, Old, New);
    } else if (chunk->Name() == kHIST) {
      // One count per palette entry, only beside the palette it counted.
      keep = same && New.ColorType == 3 && Old.Palette.size() == New.Palette.size() &&
             chunk->DataSize() == 2 * static_cast<std::int64_t>(New.Palette.size());
    }
    if (keep)
      ++i;
    else
      List.Remove(chunk);
  }
}

// Where a new palette goes: before the first chunk that must follow it.
int PaletteIndex(const TChunkList& List, const TChunk* Data) {
  for (int i = 1; i < List.Count(); ++i) {
    const TChunk* chunk = List.Item(i);
    if (chunk == Data || chunk->Name() == kBKGD || chunk->Name() == kHIST || chunk->Name() == TChunkTRNS::kName)
      return i;
  }
  return List.IndexOf(Data);
}

}  // namespace

void TPNGImage::SaveToStream(TStream& Stream) {
  if (Empty()) return;
  // Formats the file cannot hold as they are become truecolour, in the bitmap too.
  if (!IsPaletteFormat(PixelFormat()) && PixelFormat() != pf32bit && PixelFormat() != pf24bit) SetPixelFormat(pf24bit);
  PrepareChunksForSaving();
  auto* header = static_cast<TChunkIHDR*>(FChunks.Item(0));
  EncodeImageData(*FChunks.Find<TChunkIDAT>(), header->ColorType);
  Stream.WriteBuffer(kPngSignature, 8);
  for (int i = 0; i < FChunks.Count(); ++i) FChunks.Item(i)->SaveToStream(Stream);
}

void TPNGImage::PrepareChunksForSaving() {
  FInterlaced = false;
  int colorType = 2, depth = 8;
  switch (PixelFormat()) {
    case pf1bit:
      colorType = 3, depth = 1;
      break;
    case pf4bit:
      colorType = 3, depth = 4;
      break;
    case pf8bit:
      colorType = 3, depth = 8;
      break;
    case pf32bit:
      colorType = 6;
      break;
    default:
      break;
  }

  // The header first, once.
  TChunkIHDR* header = KeepFirst<TChunkIHDR>(FChunks);
  TSampleLayout old;
  if (header) {
    old.ColorType = header->ColorType;
    old.Depth = header->BitDepth;
    if (TChunkPLTE* palette = FChunks.FindBeforeData<TChunkPLTE>()) old.Palette = palette->Entries();
  }
  if (!header)
    header = static_cast<TChunkIHDR*>(FChunks.Insert(0, std::make_unique<TChunkIHDR>(&FChunks)));
  else if (FChunks.IndexOf(header) != 0)
    FChunks.Insert(0, FChunks.Extract(header));
  header->Width = static_cast<std::uint32_t>(Width());
  header->Height = static_cast<std::uint32_t>(Height());
  header->BitDepth = static_cast<std::uint8_t>(depth);
  header->ColorType = static_cast<std::uint8_t>(colorType);
  header->CompressionMethod = 0;
  header->FilterMethod = 0;
  header->InterlaceMethod = 0;

  // One image data chunk (several would be written as one anyway) and IEND last.
  RemoveAll<TChunkIEND>(FChunks);
  TChunkIDAT* data = KeepFirst<TChunkIDAT>(FChunks);
  if (!data) data = FChunks.Add<TChunkIDAT>();
  FChunks.Add<TChunkIEND>();

  const std::uint8_t* reverse = ReverseGamma(FChunks);
  auto r = [&](std::uint8_t v) { return reverse ? reverse[v] : v; };

  // A palette only for palette formats, between the header and the image data.
  TSampleLayout now{colorType, depth, {}};
  if (colorType == 3) {
    TChunkPLTE* palette = KeepFirst<TChunkPLTE>(FChunks);
    if (!palette)
      palette =
          static_cast<TChunkPLTE*>(FChunks.Insert(PaletteIndex(FChunks, data), std::make_unique<TChunkPLTE>(&FChunks)));
    PlaceBeforeData(FChunks, palette, data);
    std::vector<TRGBQuad> entries = ColorTable();
    if (entries.empty()) entries.resize(1);
    for (TRGBQuad& e : entries) e = TRGBQuad{r(e.rgbBlue), r(e.rgbGreen), r(e.rgbRed), 0};
    palette->SetEntries(entries);
    now.Palette = palette->Entries();
  } else {
    RemoveAll<TChunkPLTE>(FChunks);
  }
  FitSampleChunks(FChunks, old, now);

  // The transparent colour of a truecolour image, as three 16-bit samples.
  if (Transparent() && colorType == 2) {
    TChunkTRNS* trns = KeepFirst<TChunkTRNS>(FChunks);
    if (!trns)
      trns = static_cast<TChunkTRNS*>(FChunks.Insert(FChunks.IndexOf(data), std::make_unique<TChunkTRNS>(&FChunks)));
    PlaceBeforeData(FChunks, trns, data);
    TColor color = ColorToRGB(TransparentColor());
    const std::uint8_t samples[6] = {0, r(static_cast<std::uint8_t>(GetRed(color))),
                                     0, r(static_cast<std::uint8_t>(GetGreen(color))),
                                     0, r(static_cast<std::uint8_t>(GetBlue(color)))};
    trns->Data().Clear();
    trns->Data().WriteBuffer(samples, 6);
    trns->Data().SetPosition(0);
  } else {
    RemoveAll<TChunkTRNS>(FChunks);
  }
}

namespace {

// Rows deflated into the chunk's memory as they come, gathered into blocks so
// that zlib is called once per block rather than once per row. The window is
// no larger than the data need (as libpng sizes it), so a small picture
// does not pay for setting up 32 KB of history it never uses.
class TImageDataWriter {
 public:
  TImageDataWriter(TMemoryStream& Out, std::size_t Total) : FOut(Out), FTotal(Total) {
    int windowBits = 15;
    for (std::size_t half = std::size_t{1} << 14; windowBits > 9 && Total + 262 <= half; half >>= 1) --windowBits;
    if (deflateInit2(&FZ, Z_DEFAULT_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
      throw EOutOfResources("Out of memory while writing a PNG image");
    FBlock.reserve(std::min(Total, kBlockSize));
    FOut.Clear();
    // Room for the worst case of a picture up to 1 MB; a larger one starts
    // at a quarter of it and grows should it compress worse.
    auto bound =
        static_cast<std::int64_t>(deflateBound(&FZ, static_cast<uLong>(std::min<std::size_t>(Total, ULONG_MAX))));
    FOut.SetSize(Total <= (std::size_t{1} << 20) ? bound : bound / 4);
  }
  ~TImageDataWriter() { deflateEnd(&FZ); }
  TImageDataWriter(const TImageDataWriter&) = delete;
  TImageDataWriter& operator=(const TImageDataWriter&) = delete;

  void Write(const std::uint8_t* Data, std::size_t Count) {
    FBlock.insert(FBlock.end(), Data, Data + Count);
    FWritten += Count;
    if (FBlock.size() >= kBlockSize || FWritten == FTotal) Deflate(FWritten == FTotal ? Z_FINISH : Z_NO_FLUSH);
  }

 private:
  static constexpr std::size_t kBlockSize = 64 * 1024;

  void Deflate(int Flush) {
    FZ.next_in = FBlock.data();
    FZ.avail_in = static_cast<uInt>(FBlock.size());
    for (;;) {
      // deflateBound promises room enough; more is made should it be wrong.
      if (FOut.Size() - FDone < 64) FOut.SetSize(FOut.Size() * 2 + 64);
      auto room = static_cast<uInt>(std::min<std::int64_t>(FOut.Size() - FDone, UINT_MAX));
      FZ.next_out = static_cast<Bytef*>(FOut.Memory()) + FDone;
      FZ.avail_out = room;
      int code = deflate(&FZ, Flush);
      FDone += room - FZ.avail_out;
      if (code == Z_STREAM_END) break;
      if (code != Z_OK && code != Z_BUF_ERROR) throw EOutOfResources("Could not compress the PNG image data");
      if (FZ.avail_in == 0 && Flush == Z_NO_FLUSH && FZ.avail_out > 0) break;
    }
    FBlock.clear();
    if (Flush == Z_FINISH) {
      FOut.SetSize(FDone);
      FOut.SetPosition(0);
    }
  }

  TMemoryStream& FOut;
  z_stream FZ{};
  std::vector<std::uint8_t> FBlock;
  std::size_t FTotal, FWritten = 0;
  std::int64_t FDone = 0;
};

}  // namespace

void TPNGImage::EncodeImageData(TChunkIDAT& Data, int ColorType) {
  const int width = Width(), height = Height();
  const TPixelFormat format = PixelFormat();
  const int bits = ColorType == 3 ? BitsPerPixel(format) : ColorType == 6 ? 32 : 24;
  const auto rowBytes = static_cast<std::size_t>((std::int64_t{width} * bits + 7) / 8);
  const int bpp = std::max(1, bits / 8);
  const std::uint8_t* reverse = ReverseGamma(FChunks);

  std::vector<std::uint8_t> space(2 * rowBytes + 2 * (rowBytes + 1));
  std::uint8_t* prior = space.data();
  std::uint8_t* current = prior + rowBytes;
  std::uint8_t* best = current + rowBytes;
  std::uint8_t* trial = best + rowBytes + 1;

  // Filter f is tried when bit f is set; None comes first and wins ties.
  const bool choose = FFilters != pfNone && rowBytes > 4;

  TImageDataWriter deflater(Data.Data(), static_cast<std::size_t>(height) * (rowBytes + 1));
  for (int y = 0; y < height; ++y) {
    const auto* src = static_cast<const std::uint8_t*>(ScanLine(y));
    if (ColorType == 3) {
      std::copy(src, src + rowBytes, current);
    } else if (ColorType == 6) {
      PngEncodeBGRA(src, current, width, reverse);
    } else {
      PngEncodeBGR(src, current, width, reverse);
    }

    best[0] = pftNone;
    std::copy(current, current + rowBytes, best + 1);
    if (choose) {
      std::size_t bestScore = PngRepeatScore(best + 1, rowBytes);
      for (int filter = pftSub; filter <= pftPaeth; ++filter) {
        if (!(FFilters & (1 << filter))) continue;
        PngFilterRow(filter, current, prior, trial + 1, rowBytes, bpp);
        std::size_t score = PngRepeatScore(trial + 1, rowBytes);
        if (score > bestScore) {
          bestScore = score;
          trial[0] = static_cast<std::uint8_t>(filter);
          std::swap(best, trial);
        }
      }
    }
    deflater.Write(best, rowBytes + 1);
    std::swap(prior, current);
  }
}
