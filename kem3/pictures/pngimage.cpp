// TPNGImage: the empty image, copying, and files.
#include "kem3/pictures/pngimage.h"

TPNGImage::TPNGImage() {
  FChunks.Add<TChunkIHDR>();
  FChunks.Add<TChunkIDAT>();
  FChunks.Add<TChunkIEND>();
}

TPNGImage::~TPNGImage() = default;

void TPNGImage::Assign(const TBitmap& Source) {
  if (&Source == this) return;
  if (auto* other = dynamic_cast<const TPNGImage*>(&Source)) {
    FChunks.Clear();
    for (int i = 0; i < other->FChunks.Count(); ++i) {
      const TChunk* chunk = other->FChunks.Item(i);
      FChunks.Add(TChunkClasses::CreateChunk(chunk->Name(), &FChunks))->Assign(*chunk);
    }
    FFilters = other->FFilters;
    FInterlaced = other->FInterlaced;
  }
  TBitmap::Assign(Source);
}

void TPNGImage::LoadFromFile(const String& FileName) {
  TMemoryStream stream;
  stream.LoadFromFile(FileName);
  LoadFromStream(stream);
}

void TPNGImage::SaveToFile(const String& FileName) {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(FileName);
}

TColor TPNGImage::TransparencyColor() const {
  auto* header = FChunks.Find<TChunkIHDR>();
  if (!header || header->ColorType != 2) RaisePNGError(PngErrNotRGB);
  return TransparentColor();
}
