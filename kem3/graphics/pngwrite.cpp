// Writing a PNG: the chunk list brought in line with the picture, then the rows
// filtered (each with the filter that makes the most repeats) and deflated.
#include <algorithm>
#include <vector>

#include "kem3/framework/kemzlib.h"
#include "kem3/graphics/pngimage.h"
#include "kem3/graphics/pngrows.h"
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
  if (colorType == 3) {
    TChunkPLTE* palette = KeepFirst<TChunkPLTE>(FChunks);
    if (!palette) palette = static_cast<TChunkPLTE*>(FChunks.Insert(1, std::make_unique<TChunkPLTE>(&FChunks)));
    PlaceBeforeData(FChunks, palette, data);
    std::vector<TRGBQuad> entries = ColorTable();
    if (entries.empty()) entries.resize(1);
    for (TRGBQuad& e : entries) e = TRGBQuad{r(e.rgbBlue), r(e.rgbGreen), r(e.rgbRed), 0};
    palette->SetEntries(entries);
  } else {
    RemoveAll<TChunkPLTE>(FChunks);
  }

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

  Data.Data().Clear();
  TZCompressionStream deflater(Data.Data(), zcDefault);
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
    deflater.Write(best, static_cast<std::int64_t>(rowBytes + 1));
    std::swap(prior, current);
  }
  deflater.Finish();
  Data.Data().SetPosition(0);
}
