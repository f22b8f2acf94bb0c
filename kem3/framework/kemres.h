// Resource packages (*.drl): a file of named items of data (strings, string
// lists, integer tables, images and whole files), each stored as an LZSS
// container and loaded on demand by name.
//
// File layout, integers int32 little-endian: the entry count, then one
// 272-byte directory entry per resource (name: 256 bytes, zero-terminated;
// kind; a reserved field; the file offset of the entry's LZSS container; a
// reserved field), then the containers anywhere after.
//
// A package comes from outside the program and is untrusted: the directory
// count is bounded by the file's size, names end within their 256 bytes, and
// entries whose data would lie beyond the file are never read.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/bitmap.h"
#include "platform/object.h"
#include "platform/streams.h"
#include "platform/stringlist.h"
#include "platform/types.h"

// Entry kinds as the directory stores them.
enum : std::int32_t {
  rkString = 1,
  rkStrings = 2,
  rkTable = 3,
  rkImage = 4,
  rkFile = 5,
};

// The image type byte at the start of an image payload.
enum : std::uint8_t {
  ristBitmap = 0,
  ristJPEG = 1,
  ristPNG = 2,
};

// The in-memory type of an image resource's source image.
enum TKemResourceImageType {
  ritNone = 0,
  ritBitmap = 1,
  ritJPEG = 2,
  ritPNG = 3,
};

inline constexpr int kResourceNameSize = 256;
inline constexpr int kResourceEntrySize = 272;

// One directory entry as the file holds it.
struct TKemResourceDirEntry {
  String Name;  // at most 255 bytes
  std::int32_t Kind = 0;
  std::int32_t Reserved1 = 0;
  std::int32_t DataOffset = 0;
  std::int32_t Reserved2 = 0;

  // The 272 bytes; the name is cut at its first zero byte or at 256 bytes.
  static TKemResourceDirEntry FromBytes(const std::array<std::uint8_t, kResourceEntrySize>& Bytes);
  // Names longer than 255 bytes are cut so that the zero terminator fits.
  std::array<std::uint8_t, kResourceEntrySize> ToBytes() const;
};

// ---- Resources: the payload of one entry, by kind

class TKemResource : public TObject {
 public:
  // Reads or writes the payload (the unpacked bytes of the entry's container).
  virtual void LoadFromStream(TStream& Stream) = 0;
  virtual void SaveToStream(TStream& Stream) = 0;
  std::int32_t Kind() const { return FKind; }

 protected:
  explicit TKemResource(std::int32_t Kind) : FKind(Kind) {}

 private:
  std::int32_t FKind;
};

// One stream string.
class TKemResourceString : public TKemResource {
 public:
  TKemResourceString() : TKemResource(rkString) {}
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  String Value;
};

// One stream string list (8-bit strings).
class TKemResourceStrings : public TKemResource {
 public:
  TKemResourceStrings() : TKemResource(rkStrings) {}
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  TStringList Strings;
};

// int32 count, then count int32 values.
class TKemResourceTable : public TKemResource {
 public:
  TKemResourceTable() : TKemResource(rkTable) {}
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  std::vector<std::int32_t> Values;
};

// A type byte (ristBitmap, ristJPEG, ristPNG), then one image block of that
// type. Bitmap() always holds the result; the source image is the object of
// the type in use (a TBitmap, TJPEGImage or TPNGImage), made on first need.
class TKemResourceBitmap : public TKemResource {
 public:
  TKemResourceBitmap();
  ~TKemResourceBitmap() override;
  // An unknown type byte leaves the result empty; an absent image leaves it as
  // it was.
  void LoadFromStream(TStream& Stream) override;
  // The type byte and the image block of the source image. A JPEG source
  // cannot be written (there is no JPEG encoder): EInvalidGraphicOperation.
  void SaveToStream(TStream& Stream) override;

  TKemResourceImageType ImageType() const { return FImageType; }
  // Makes the source image of that type (an empty one when the type changes).
  void SetImageType(TKemResourceImageType Value);
  // The source image of the type in use; nullptr for ritNone.
  TBitmap* SourceImage() const { return FSource.get(); }
  TBitmap& Bitmap() { return FBitmap; }
  const TBitmap& Bitmap() const { return FBitmap; }

 private:
  TKemResourceImageType FImageType = ritNone;
  std::unique_ptr<TBitmap> FSource;
  TBitmap FBitmap;
};

// int32 size, then the file's bytes.
class TKemResourceFile : public TKemResource {
 public:
  TKemResourceFile() : TKemResource(rkFile) {}
  void LoadFromStream(TStream& Stream) override;
  // Writes the file named in FileName, or the held Data when FileName is empty.
  void SaveToStream(TStream& Stream) override;
  String FileName;
  TMemoryStream Data;
};

// A new, empty resource object of that kind; nullptr for kinds other than 1 to 5.
std::unique_ptr<TKemResource> CreateResourceOfKind(std::int32_t Kind);

// ---- The package

class TKemResourceEntry : public TObject {
 public:
  TKemResourceDirEntry Dir;
  std::unique_ptr<TKemResource> Resource;  // nil until loaded
  bool DataInFile = false;                 // the container's header lies inside the file
};

// No lock of its own: a package used from several threads (the bar modules)
// is guarded by its user for every call, lookups included, since Find loads
// and keeps entries.
class TKemResources : public TObject {
 public:
  // A name without ":" (and, natively, not starting with "/") lies in the
  // program folder. Read-only: the file is opened for reading, shared with
  // everyone. Otherwise for reading and writing with writing denied to
  // others, and created empty only when no file of that name exists. A file
  // that cannot be opened leaves the package without a stream: its directory
  // is empty and every lookup gives nil. An existing file is never truncated.
  TKemResources(const String& FileName, bool ReadOnly);
  // A package read from a stream it takes over (a package in memory); FileName is empty.
  explicit TKemResources(std::unique_ptr<TStream> Stream);
  ~TKemResources() override;
  TKemResources(const TKemResources&) = delete;
  TKemResources& operator=(const TKemResources&) = delete;

  // Frees the entries, then reads the count at position 0 and that many
  // entries. A count that cannot be read, is negative or does not fit the
  // file leaves the directory empty.
  void ReadDirectory();
  // The resource of the first entry whose name equals Name without regard to
  // (ASCII) case, loaded on first access and kept; nil when no entry matches,
  // its kind is not 1 to 5 or its data lies beyond the file. Errors inside
  // the payload propagate (EReadError, the image codecs' errors); nothing is
  // kept then, so the next lookup tries again.
  TKemResource* Find(const String& Name);
  // Assigns the picture of the named image entry to Bitmap; false (Bitmap
  // unchanged) when there is no such image or it is empty.
  bool GetImage(const String& Name, TBitmap& Bitmap);
  // Frees all entries and their objects.
  void Clear();

  const String& FileName() const { return FFileName; }
  bool IsOpen() const { return FStream != nullptr; }
  int Count() const { return static_cast<int>(FEntries.size()); }
  const TKemResourceEntry& Entry(int Index) const { return *FEntries.at(static_cast<size_t>(Index)); }

 private:
  String FFileName;
  std::unique_ptr<TStream> FStream;
  std::vector<std::unique_ptr<TKemResourceEntry>> FEntries;
};
