// PNG images: TPNGImage is a bitmap that reads and writes the PNG file format
// and keeps the file's chunks, so that saving writes back what it did not
// understand. OS-free but for loading from a module's resources.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/bitmap.h"
#include "platform/exceptions.h"
#include "platform/object.h"
#include "platform/streams.h"

// Every error of the codec. Id is the number of the message (the constants below).
class EPNGImage : public Exception {
 public:
  EPNGImage(String message, int id = 0) : Exception(std::move(message)), Id(id) {}
  int Id;
};

enum : int {
  PngErrUnknownInterlace = 65216,
  PngErrUnknownCriticalChunk = 65217,
  PngErrMissingPalette = 65218,
  PngErrNotRGB = 65219,
  PngErrChunkNotInList = 65220,
  PngErrInvalidHeader = 65239,
  PngErrChunkIndex = 65240,
  PngErrChunkClassIndex = 65241,
  PngErrCorrupt = 65242,
  PngErrMissingIHDR = 65243,
  PngErrNoImageData = 65244,
  PngErrInvalidPalette = 65245,
  PngErrUnknownColorType = 65246,
  PngErrUnknownFilter = 65247,
};
// The full text of a message: the handler's title, a blank line, the message.
String PNGErrorText(int Id);
[[noreturn]] void RaisePNGError(int Id);

// Limits on what is read: each side at most 16384 pixels, 2^26 pixels in all,
// so that no row size overflows and a file cannot demand a huge picture.
inline constexpr int kPngMaxSide = 16384;
inline constexpr std::int64_t kPngMaxPixels = std::int64_t{1} << 26;

// Row filters tried when saving, as bits of TPNGImage::Filters.
enum : std::uint8_t {
  pfNone = 1,
  pfSub = 2,
  pfUp = 4,
  pfAverage = 8,
  pfPaeth = 16,
};

using TChunkName = std::array<char, 4>;
constexpr TChunkName ChunkName(const char (&text)[5]) { return {text[0], text[1], text[2], text[3]}; }

class TChunkList;
class TPNGImage;

// One chunk of a file: its four-letter type and its data (without length,
// type and CRC). Chunks of unknown types are kept as plain TChunk.
class TChunk : public TObject {
 public:
  explicit TChunk(TChunkList* Owner);
  ~TChunk() override;
  TChunk(const TChunk&) = delete;
  TChunk& operator=(const TChunk&) = delete;

  // Interprets the data once the whole file was read.
  virtual void Decode() {}
  // Copies type and data.
  virtual void Assign(const TChunk& Source);
  // Length (big-endian), type, data and CRC.
  virtual void SaveToStream(TStream& Stream);

  TChunkList* Owner() const { return FOwner; }
  // The image the chunk belongs to (nullptr for a chunk outside an image).
  TPNGImage* Image() const;
  const TChunkName& Name() const { return FName; }
  void SetName(const TChunkName& Value) { FName = Value; }
  TMemoryStream& Data() { return FData; }
  const std::uint8_t* Bytes() const { return static_cast<const std::uint8_t*>(FData.Memory()); }
  std::int64_t DataSize() const { return FData.Size(); }

 protected:
  // Replaces the data with these bytes.
  void SetBytes(const std::uint8_t* Bytes, std::size_t Count);

 private:
  TChunkList* FOwner;
  TChunkName FName{};
  mutable TMemoryStream FData;  // Size() of a stream is not const
};

class TChunkIEND : public TChunk {
 public:
  static constexpr TChunkName kName = ChunkName("IEND");
  explicit TChunkIEND(TChunkList* Owner);
};

// The header: picture size, sample depth, colour type and methods.
class TChunkIHDR : public TChunk {
 public:
  static constexpr TChunkName kName = ChunkName("IHDR");
  explicit TChunkIHDR(TChunkList* Owner);
  // Reads the 13 bytes and checks them (Validate).
  void Decode() override;
  // Raises EPNGImage unless the fields are a combination of the PNG standard
  // within our size limits.
  void Validate() const;
  void Assign(const TChunk& Source) override;
  // Writes the fields into the data first.
  void SaveToStream(TStream& Stream) override;

  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint8_t BitDepth = 2;
  std::uint8_t ColorType = 3;
  std::uint8_t CompressionMethod = 0;
  std::uint8_t FilterMethod = 0;
  std::uint8_t InterlaceMethod = 0;

  // Bytes of one row of Pixels pixels (without the filter byte), and bytes of a
  // pixel for filtering (at least 1).
  std::int64_t RowBytes(std::int64_t Pixels) const;
  int FilterBytes() const;
  int BitsPerPixel() const;

 private:
  void WriteFields();
};

// Gamma: the stored value is gamma x 100000. A value of 0 or a chunk of fewer
// than 4 bytes is ignored (Active() is false then).
class TChunkGAMA : public TChunk {
 public:
  static constexpr TChunkName kName = ChunkName("gAMA");
  explicit TChunkGAMA(TChunkList* Owner);
  void Decode() override;
  void Assign(const TChunk& Source) override;

  std::uint32_t Gamma() const { return FGamma; }
  void SetGamma(std::uint32_t Value);
  bool Active() const { return FActive; }
  // True when the tables change nothing (the common 1/2.2 files).
  bool Identity() const {
    BuildTables();
    return FIdentity;
  }
  // Sample as stored -> as shown, and back (for saving). Made on first use.
  const std::array<std::uint8_t, 256>& Forward() const {
    BuildTables();
    return FForward;
  }
  const std::array<std::uint8_t, 256>& Reverse() const {
    BuildTables();
    return FReverse;
  }

 private:
  void BuildTables() const;
  std::uint32_t FGamma = 1;
  bool FActive = false;
  mutable bool FBuilt = false;
  mutable bool FIdentity = true;
  mutable std::array<std::uint8_t, 256> FForward{};
  mutable std::array<std::uint8_t, 256> FReverse{};
};

// The palette, as stored (gamma is applied when the picture is decoded).
class TChunkPLTE : public TChunk {
 public:
  static constexpr TChunkName kName = ChunkName("PLTE");
  explicit TChunkPLTE(TChunkList* Owner);
  // 1 to 256 entries of 3 bytes; a paletted image allows at most 2^depth.
  void Decode() override;
  void Assign(const TChunk& Source) override;
  const std::vector<TRGBQuad>& Entries() const { return FEntries; }
  void SetEntries(const std::vector<TRGBQuad>& Entries);

 private:
  std::vector<TRGBQuad> FEntries;
};

// The image data; several IDAT chunks of a file are read as one.
class TChunkIDAT : public TChunk {
 public:
  static constexpr TChunkName kName = ChunkName("IDAT");
  explicit TChunkIDAT(TChunkList* Owner);
  // Decodes the picture into the image.
  void Decode() override;
};

class TChunkTEXT : public TChunk {
 public:
  static constexpr TChunkName kName = ChunkName("tEXt");
  explicit TChunkTEXT(TChunkList* Owner);
};

// Transparency: per palette entry (colour type 3), or one grey (0) or colour
// (2) value as 16-bit samples. Interpreted when the picture is decoded.
class TChunkTRNS : public TChunk {
 public:
  static constexpr TChunkName kName = ChunkName("tRNS");
  explicit TChunkTRNS(TChunkList* Owner);
};

// Chunk as a T (nullptr when it is not one). The classes of the registry carry
// their type, so most chunks are told apart by four bytes before any dynamic_cast.
template <class T>
T* ChunkAs(TChunk* Chunk) {
  if constexpr (requires { T::kName; })
    if (!Chunk || Chunk->Name() != T::kName) return nullptr;
  return dynamic_cast<T*>(Chunk);
}
template <class T>
const T* ChunkAs(const TChunk* Chunk) {
  return ChunkAs<T>(const_cast<TChunk*>(Chunk));
}

// The chunk types with classes of their own, in registration order.
using TChunkFactory = std::unique_ptr<TChunk> (*)(TChunkList* Owner);
struct TChunkClassInfo {
  TChunkName Name;
  TChunkFactory Create;
};
class TChunkClasses {
 public:
  static int Count();
  // PngErrChunkClassIndex for an index outside the registry.
  static const TChunkClassInfo& Item(int Index);
  static const TChunkClassInfo* Find(const TChunkName& Name);
  // A chunk of the registered class, or a plain TChunk, with the name set.
  static std::unique_ptr<TChunk> CreateChunk(const TChunkName& Name, TChunkList* Owner);
};

// The chunks of one image, in file order; owns them.
class TChunkList {
 public:
  explicit TChunkList(TPNGImage* Owner = nullptr) : FOwner(Owner) {}
  TChunkList(const TChunkList&) = delete;
  TChunkList& operator=(const TChunkList&) = delete;

  TPNGImage* Owner() const { return FOwner; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // PngErrChunkIndex for an index outside the list.
  TChunk* Item(int Index) const;
  int IndexOf(const TChunk* Chunk) const;
  // The first chunk of class T (or of a class derived from it); a chunk of a
  // registered class counts while it keeps its type.
  template <class T>
  T* Find() const {
    for (const auto& item : FItems)
      if (auto* found = ChunkAs<T>(item.get())) return found;
    return nullptr;
  }
  // The first chunk of class T ahead of the image data: chunks that must come
  // before it (gAMA, PLTE, tRNS) count only there.
  template <class T>
  T* FindBeforeData() const {
    for (const auto& item : FItems) {
      if (auto* found = ChunkAs<T>(item.get())) return found;
      if (ChunkAs<TChunkIDAT>(item.get())) break;
    }
    return nullptr;
  }
  TChunk* Add(std::unique_ptr<TChunk> Chunk);
  TChunk* Insert(int Index, std::unique_ptr<TChunk> Chunk);
  template <class T>
  T* Add() {
    return static_cast<T*>(Add(std::make_unique<T>(this)));
  }
  // Frees the chunk; PngErrChunkNotInList when it is not in this list.
  void Remove(TChunk* Chunk);
  // Takes the chunk out without freeing it.
  std::unique_ptr<TChunk> Extract(TChunk* Chunk);
  void Clear() { FItems.clear(); }

 private:
  TPNGImage* FOwner;
  std::vector<std::unique_ptr<TChunk>> FItems;
};

// Progress of decoding: percentage done and the stage text ("Drawing...").
using TPNGProgressEvent = std::function<void(TObject* Sender, int PercentDone, const String& Msg)>;

// A bitmap that reads and writes PNG files. Reading gives, by colour type:
// grey (0) and paletted (3) pictures pf1bit, pf4bit or pf8bit with their
// palette; truecolour (2) pf24bit (a tRNS colour becomes TransparentColor);
// pictures with alpha (4, 6, and 0 or 3 with tRNS) pf32bit with straight alpha
// (AlphaFormat afDefined). Writing: palette formats as colour type 3, pf32bit
// as 6; every other format is turned into pf24bit and written as 2.
class TPNGImage : public TBitmap {
 public:
  TPNGImage();
  ~TPNGImage() override;

  // Reads a PNG from the stream's position. Format errors raise EPNGImage;
  // the image keeps what was read so far.
  void LoadFromStream(TStream& Stream);
  // Writes the PNG; nothing for an empty image. A bitmap of a format the file
  // cannot hold (pf15bit, pf16bit, pfDevice) becomes pf24bit first.
  void SaveToStream(TStream& Stream);
  void LoadFromFile(const String& FileName);
  // Through a temporary file and one replace.
  void SaveToFile(const String& FileName);
#ifdef _WIN32
  // The resource of type "PNGIMG" with this name; EResNotFound when missing.
  void LoadFromResourceName(HINSTANCE__* Instance, const String& ResName);
#endif

  // From another TPNGImage: its chunks, filters and interlacing, then the
  // picture. From any other bitmap: the picture.
  void Assign(const TBitmap& Source);

  TChunkList& Chunks() { return FChunks; }
  const TChunkList& Chunks() const { return FChunks; }
  // Whether the file read was interlaced; saving always writes without.
  bool Interlaced() const { return FInterlaced; }
  void SetInterlaced(bool Value) { FInterlaced = Value; }
  std::uint8_t Filters() const { return FFilters; }
  // pfNone is always added.
  void SetFilters(std::uint8_t Value) { FFilters = static_cast<std::uint8_t>(Value | pfNone); }
  // The tRNS colour of a truecolour image; PngErrNotRGB for other colour types.
  TColor TransparencyColor() const;

  TPNGProgressEvent OnProgress;

 private:
  friend class TChunkIDAT;
  void ResetToEmpty();
  void ReadChunks(TStream& Stream);
  void DecodeImageData(TChunkIDAT& Data);
  void PrepareChunksForSaving();
  void EncodeImageData(TChunkIDAT& Data, int ColorType);

  TChunkList FChunks{this};
  bool FInterlaced = false;
  std::uint8_t FFilters = pfNone | pfSub | pfAverage | pfPaeth;
};
