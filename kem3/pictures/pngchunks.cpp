// The chunks of a PNG file: the plain chunk, the classes of the types the codec
// understands, their registry and the list of an image; the codec's messages.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "kem3/pictures/pngimage.h"
#include "kem3/pictures/pngrows.h"
#include "platform/mathutils.h"

namespace {

struct TMessage {
  int Id;
  const char* Text;
};

// As the handler has always worded them.
const TMessage kMessages[] = {
    {PngErrInvalidHeader, "Invalid Portable Graphics Network image, it has an invalid file header."},
    {PngErrChunkIndex, "The chunk index especified is out of the range."},
    {PngErrChunkClassIndex, "The chunk class index especified is  out of range."},
    {PngErrCorrupt, "Can't read the PNG image, it has corrupted data. "},
    {PngErrMissingIHDR, "This PNG image is invalid, the IHDR chunk is either not present or it isn't the first chunk."},
    {PngErrNoImageData, "The current image being loaded has no data and could not be loaded."},
    {PngErrInvalidPalette, "The current image being loaded has an invalid palette!"},
    {PngErrUnknownColorType, "Could not read the image because it has an unknown color type."},
    {PngErrUnknownFilter, "The image could not be loaded because it uses an unknown set of filter types."},
    {PngErrUnknownInterlace, "The image has an unknown interlace method."},
    {PngErrUnknownCriticalChunk,
     "The currently being loaded image contains critical(s) chunk(s) not reconized by the decoder."},
    {PngErrMissingPalette, "The current image requeries a palette but it is not avaliable."},
    {PngErrNotRGB, "Can not get transparency information because the current image color type is not RGB (value 3)"},
    {PngErrChunkNotInList,
     "The especified chunk is not inside the chunk list containing the method being used. The funcion could "
     "not be completed."},
};

template <class T>
std::unique_ptr<TChunk> Make(TChunkList* Owner) {
  return std::make_unique<T>(Owner);
}

// Filled in this order; every other type is kept as a plain chunk.
const TChunkClassInfo kChunkClasses[] = {
    {TChunkIEND::kName, Make<TChunkIEND>}, {TChunkIHDR::kName, Make<TChunkIHDR>}, {TChunkGAMA::kName, Make<TChunkGAMA>},
    {TChunkIDAT::kName, Make<TChunkIDAT>}, {TChunkPLTE::kName, Make<TChunkPLTE>}, {TChunkTEXT::kName, Make<TChunkTEXT>},
    {TChunkTRNS::kName, Make<TChunkTRNS>},
};

}  // namespace

String PNGErrorText(int Id) {
  for (const TMessage& m : kMessages)
    if (m.Id == Id) return String("Portable Network Graphics format handler error\r\n\r\n") + m.Text;
  return "Portable Network Graphics format handler error";
}

void RaisePNGError(int Id) { throw EPNGImage(PNGErrorText(Id), Id); }

// ---- TChunk ----------------------------------------------------------------

TChunk::TChunk(TChunkList* Owner) : FOwner(Owner) {}
TChunk::~TChunk() = default;

TPNGImage* TChunk::Image() const { return FOwner ? FOwner->Owner() : nullptr; }

void TChunk::Assign(const TChunk& Source) {
  FName = Source.FName;
  SetBytes(Source.Bytes(), static_cast<std::size_t>(Source.DataSize()));
}

void TChunk::SetBytes(const std::uint8_t* Bytes, std::size_t Count) {
  FData.Clear();
  if (Count) FData.WriteBuffer(Bytes, static_cast<std::int64_t>(Count));
  FData.SetPosition(0);
}

void TChunk::SaveToStream(TStream& Stream) {
  auto size = static_cast<std::uint64_t>(DataSize());
  std::uint8_t head[8];
  PngPutBE32(head, static_cast<std::uint32_t>(size));
  std::memcpy(head + 4, FName.data(), 4);
  Stream.WriteBuffer(head, 8);
  const std::uint8_t* data = Bytes();
  std::uint32_t crc = PngCrc(PngCrc(0, head + 4, 4), data, size);
  if (size) Stream.WriteBuffer(data, static_cast<std::int64_t>(size));
  std::uint8_t tail[4];
  PngPutBE32(tail, crc);
  Stream.WriteBuffer(tail, 4);
}

// ---- The chunk classes -----------------------------------------------------

TChunkIEND::TChunkIEND(TChunkList* Owner) : TChunk(Owner) { SetName(kName); }

TChunkIHDR::TChunkIHDR(TChunkList* Owner) : TChunk(Owner) {
  SetName(kName);
  WriteFields();
}

void TChunkIHDR::Decode() {
  if (DataSize() < 13) RaisePNGError(PngErrCorrupt);
  const std::uint8_t* b = Bytes();
  Width = PngGetBE32(b);
  Height = PngGetBE32(b + 4);
  BitDepth = b[8];
  ColorType = b[9];
  CompressionMethod = b[10];
  FilterMethod = b[11];
  InterlaceMethod = b[12];
  Validate();
}

void TChunkIHDR::Validate() const {
  if (Width < 1 || Height < 1 || Width > kPngMaxSide || Height > kPngMaxSide ||
      std::int64_t{Width} * Height > kPngMaxPixels)
    RaisePNGError(PngErrCorrupt);
  bool depthOk = false;
  switch (ColorType) {
    case 0:
      depthOk = BitDepth == 1 || BitDepth == 2 || BitDepth == 4 || BitDepth == 8 || BitDepth == 16;
      break;
    case 3:
      depthOk = BitDepth == 1 || BitDepth == 2 || BitDepth == 4 || BitDepth == 8;
      break;
    case 2:
    case 4:
    case 6:
      depthOk = BitDepth == 8 || BitDepth == 16;
      break;
    default:
      RaisePNGError(PngErrUnknownColorType);
  }
  if (!depthOk || CompressionMethod != 0 || FilterMethod != 0) RaisePNGError(PngErrCorrupt);
  if (InterlaceMethod > 1) RaisePNGError(PngErrUnknownInterlace);
}

void TChunkIHDR::Assign(const TChunk& Source) {
  TChunk::Assign(Source);
  if (auto* other = dynamic_cast<const TChunkIHDR*>(&Source)) {
    Width = other->Width;
    Height = other->Height;
    BitDepth = other->BitDepth;
    ColorType = other->ColorType;
    CompressionMethod = other->CompressionMethod;
    FilterMethod = other->FilterMethod;
    InterlaceMethod = other->InterlaceMethod;
  }
}

void TChunkIHDR::WriteFields() {
  std::uint8_t b[13];
  PngPutBE32(b, Width);
  PngPutBE32(b + 4, Height);
  b[8] = BitDepth;
  b[9] = ColorType;
  b[10] = CompressionMethod;
  b[11] = FilterMethod;
  b[12] = InterlaceMethod;
  SetBytes(b, sizeof b);
}

void TChunkIHDR::SaveToStream(TStream& Stream) {
  WriteFields();
  TChunk::SaveToStream(Stream);
}

int TChunkIHDR::BitsPerPixel() const {
  static const int kChannels[] = {1, 0, 3, 1, 2, 0, 4};
  return BitDepth * (ColorType < 7 ? kChannels[ColorType] : 0);
}

std::int64_t TChunkIHDR::RowBytes(std::int64_t Pixels) const { return (Pixels * BitsPerPixel() + 7) / 8; }

int TChunkIHDR::FilterBytes() const { return std::max(1, BitsPerPixel() / 8); }

TChunkGAMA::TChunkGAMA(TChunkList* Owner) : TChunk(Owner) {
  SetName(kName);
  SetGamma(1);
}

void TChunkGAMA::Decode() {
  // A short chunk or a gamma of 0 says nothing usable; the picture is shown as stored.
  FGamma = DataSize() < 4 ? 0 : PngGetBE32(Bytes());
  FActive = FGamma != 0;
  FBuilt = false;
}

void TChunkGAMA::Assign(const TChunk& Source) {
  TChunk::Assign(Source);
  if (auto* other = dynamic_cast<const TChunkGAMA*>(&Source)) {
    FGamma = other->FGamma;
    FActive = other->FActive;
    FBuilt = false;
  }
}

void TChunkGAMA::SetGamma(std::uint32_t Value) {
  FGamma = Value;
  FActive = Value != 0;
  FBuilt = false;
  std::uint8_t b[4];
  PngPutBE32(b, Value);
  SetBytes(b, 4);
}

namespace {

struct TGammaTables {
  std::uint32_t Gamma = 0;
  bool Identity = true;
  std::array<std::uint8_t, 256> Forward{}, Reverse{};
};

TGammaTables MakeGammaTables(std::uint32_t Gamma) {
  TGammaTables t;
  t.Gamma = Gamma;
  for (int i = 0; i < 256; ++i) t.Forward[i] = t.Reverse[i] = static_cast<std::uint8_t>(i);
  double exponent = 1.0 / (Gamma / 100000.0 * 2.2);
  // 255 x^e lies within 94 |e - 1| of 255 x: below half a step the table is
  // the identity, as for the common 1/2.2 files, and pow is not needed.
  if (std::fabs(exponent - 1.0) < 0.005) return t;
  for (int i = 0; i < 256; ++i) {
    auto v = static_cast<int>(Round(255.0 * std::pow(i / 255.0, exponent)));
    t.Forward[i] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    t.Identity = t.Identity && t.Forward[i] == i;
  }
  // Reverse: each shown value back to a stored one. Values the forward table
  // never produces take the stored value of their nearest produced neighbour
  // (the lower one on a tie).
  std::array<int, 256> back;
  back.fill(-1);
  for (int i = 0; i < 256; ++i) back[t.Forward[i]] = i;
  std::array<int, 256> below, above;
  for (int v = 0, last = -1; v < 256; ++v) below[v] = last = back[v] >= 0 ? v : last;
  for (int v = 255, last = -1; v >= 0; --v) above[v] = last = back[v] >= 0 ? v : last;
  for (int v = 0; v < 256; ++v) {
    int from = below[v];
    if (from < 0 || (above[v] >= 0 && above[v] - v < v - from)) from = above[v];
    t.Reverse[v] = static_cast<std::uint8_t>(back[from]);
  }
  return t;
}

}  // namespace

void TChunkGAMA::BuildTables() const {
  if (FBuilt) return;
  FBuilt = true;
  if (!FActive) {
    FIdentity = true;
    for (int i = 0; i < 256; ++i) FForward[i] = FReverse[i] = static_cast<std::uint8_t>(i);
    return;
  }
  // Files of one source share their gamma: the last tables made on this
  // thread are kept (pictures are decoded on worker threads too).
  thread_local TGammaTables last;
  if (last.Gamma != FGamma) last = MakeGammaTables(FGamma);
  FIdentity = last.Identity;
  FForward = last.Forward;
  FReverse = last.Reverse;
}

TChunkPLTE::TChunkPLTE(TChunkList* Owner) : TChunk(Owner) { SetName(kName); }

void TChunkPLTE::Decode() {
  std::int64_t size = DataSize();
  std::int64_t count = size / 3;
  if (size % 3 != 0 || count < 1 || count > 256) RaisePNGError(PngErrInvalidPalette);
  TChunkIHDR* header = Owner() ? Owner()->Find<TChunkIHDR>() : nullptr;
  if (header && header->ColorType == 3 && header->BitDepth <= 8 && count > (1 << header->BitDepth))
    RaisePNGError(PngErrInvalidPalette);
  const std::uint8_t* b = Bytes();
  FEntries.resize(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < FEntries.size(); ++i) FEntries[i] = TRGBQuad{b[3 * i + 2], b[3 * i + 1], b[3 * i], 0};
}

void TChunkPLTE::Assign(const TChunk& Source) {
  TChunk::Assign(Source);
  if (auto* other = dynamic_cast<const TChunkPLTE*>(&Source)) FEntries = other->FEntries;
}

void TChunkPLTE::SetEntries(const std::vector<TRGBQuad>& Entries) {
  FEntries = Entries;
  std::vector<std::uint8_t> b(Entries.size() * 3);
  for (std::size_t i = 0; i < Entries.size(); ++i) {
    b[3 * i] = Entries[i].rgbRed;
    b[3 * i + 1] = Entries[i].rgbGreen;
    b[3 * i + 2] = Entries[i].rgbBlue;
  }
  SetBytes(b.data(), b.size());
}

TChunkIDAT::TChunkIDAT(TChunkList* Owner) : TChunk(Owner) { SetName(kName); }

void TChunkIDAT::Decode() {
  if (TPNGImage* image = Image()) image->DecodeImageData(*this);
}

TChunkTEXT::TChunkTEXT(TChunkList* Owner) : TChunk(Owner) {
  SetName(kName);
  const std::uint8_t empty[2] = {0, 0};
  SetBytes(empty, 2);
}

TChunkTRNS::TChunkTRNS(TChunkList* Owner) : TChunk(Owner) { SetName(kName); }

// ---- Registry and list -----------------------------------------------------

int TChunkClasses::Count() { return static_cast<int>(std::size(kChunkClasses)); }

const TChunkClassInfo& TChunkClasses::Item(int Index) {
  if (Index < 0 || Index >= Count()) RaisePNGError(PngErrChunkClassIndex);
  return kChunkClasses[Index];
}

const TChunkClassInfo* TChunkClasses::Find(const TChunkName& Name) {
  for (const TChunkClassInfo& info : kChunkClasses)
    if (info.Name == Name) return &info;
  return nullptr;
}

std::unique_ptr<TChunk> TChunkClasses::CreateChunk(const TChunkName& Name, TChunkList* Owner) {
  const TChunkClassInfo* info = Find(Name);
  std::unique_ptr<TChunk> chunk = info ? info->Create(Owner) : std::make_unique<TChunk>(Owner);
  chunk->SetName(Name);
  return chunk;
}

TChunk* TChunkList::Item(int Index) const {
  if (Index < 0 || Index >= Count()) RaisePNGError(PngErrChunkIndex);
  return FItems[static_cast<std::size_t>(Index)].get();
}

int TChunkList::IndexOf(const TChunk* Chunk) const {
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == Chunk) return static_cast<int>(i);
  return -1;
}

TChunk* TChunkList::Add(std::unique_ptr<TChunk> Chunk) { return Insert(Count(), std::move(Chunk)); }

TChunk* TChunkList::Insert(int Index, std::unique_ptr<TChunk> Chunk) {
  if (Index < 0 || Index > Count()) RaisePNGError(PngErrChunkIndex);
  TChunk* raw = Chunk.get();
  FItems.insert(FItems.begin() + Index, std::move(Chunk));
  return raw;
}

std::unique_ptr<TChunk> TChunkList::Extract(TChunk* Chunk) {
  int index = IndexOf(Chunk);
  if (index < 0) RaisePNGError(PngErrChunkNotInList);
  std::unique_ptr<TChunk> taken = std::move(FItems[static_cast<std::size_t>(index)]);
  FItems.erase(FItems.begin() + index);
  return taken;
}

void TChunkList::Remove(TChunk* Chunk) { Extract(Chunk); }
