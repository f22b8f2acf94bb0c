// The payloads of resource package entries, one class per kind.
#include <cstring>
#include <limits>

#include "kem3/framework/kemres.h"
#include "kem3/framework/kemstreamfmt.h"
#include "kem3/pictures/jpegimage.h"
#include "kem3/pictures/pngimage.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/graphics.h"

TKemResourceDirEntry TKemResourceDirEntry::FromBytes(const std::array<std::uint8_t, kResourceEntrySize>& Bytes) {
  TKemResourceDirEntry entry;
  const auto* name = reinterpret_cast<const char*>(Bytes.data());
  entry.Name.assign(name, strnlen(name, kResourceNameSize));
  auto int32At = [&](int offset) {
    std::uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | Bytes[static_cast<size_t>(offset + i)];
    return static_cast<std::int32_t>(bits);
  };
  entry.Kind = int32At(256);
  entry.Reserved1 = int32At(260);
  entry.DataOffset = int32At(264);
  entry.Reserved2 = int32At(268);
  return entry;
}

std::array<std::uint8_t, kResourceEntrySize> TKemResourceDirEntry::ToBytes() const {
  std::array<std::uint8_t, kResourceEntrySize> bytes{};
  std::memcpy(bytes.data(), Name.data(), std::min<size_t>(Name.size(), kResourceNameSize - 1));
  auto put = [&](int offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(offset + i)] = static_cast<std::uint8_t>(bits >> (8 * i));
  };
  put(256, Kind);
  put(260, Reserved1);
  put(264, DataOffset);
  put(268, Reserved2);
  return bytes;
}

void TKemResourceString::LoadFromStream(TStream& Stream) { Value = ReadStreamString(Stream); }
void TKemResourceString::SaveToStream(TStream& Stream) { WriteStreamString(Stream, Value); }

void TKemResourceStrings::LoadFromStream(TStream& Stream) { ReadStreamStrings(Stream, Strings); }
void TKemResourceStrings::SaveToStream(TStream& Stream) { WriteStreamStrings(Stream, Strings); }

void TKemResourceTable::LoadFromStream(TStream& Stream) {
  Values.clear();
  const auto count = Stream.ReadLE<std::int32_t>();
  const std::int64_t left = Stream.Size() - Stream.Position();
  if (count < 0 || count > left / 4) throw EReadError("Invalid table size in resource");
  Values.reserve(static_cast<size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) Values.push_back(Stream.ReadLE<std::int32_t>());
}

void TKemResourceTable::SaveToStream(TStream& Stream) {
  if (Values.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
    throw EWriteError("Resource table too large");
  Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(Values.size()));
  for (std::int32_t value : Values) Stream.WriteLE<std::int32_t>(value);
}

TKemResourceBitmap::TKemResourceBitmap() : TKemResource(rkImage) {}
TKemResourceBitmap::~TKemResourceBitmap() = default;

void TKemResourceBitmap::SetImageType(TKemResourceImageType Value) {
  if (Value == FImageType && (FSource || Value == ritNone)) return;
  FImageType = Value;
  switch (Value) {
    case ritBitmap:
      FSource = std::make_unique<TBitmap>();
      break;
    case ritJPEG:
      FSource = std::make_unique<TJPEGImage>();
      break;
    case ritPNG:
      FSource = std::make_unique<TPNGImage>();
      break;
    default:
      FImageType = ritNone;
      FSource.reset();
      break;
  }
}

void TKemResourceBitmap::LoadFromStream(TStream& Stream) {
  const auto type = Stream.ReadLE<std::uint8_t>();
  bool present = false;
  bool known = true;
  switch (type) {
    case ristBitmap:
      SetImageType(ritBitmap);
      present = ReadImageBlock(Stream, *FSource);
      break;
    case ristJPEG:
      SetImageType(ritJPEG);
      present = ReadImageBlock(Stream, static_cast<TJPEGImage&>(*FSource));
      break;
    case ristPNG:
      SetImageType(ritPNG);
      present = ReadImageBlock(Stream, static_cast<TPNGImage&>(*FSource));
      break;
    default:
      known = false;
      break;
  }
  // An absent block leaves the picture as it was; only a type we cannot read empties it.
  if (present)
    FBitmap.Assign(*FSource);
  else if (!known)
    FBitmap.SetSize(0, 0);
}

void TKemResourceBitmap::SaveToStream(TStream& Stream) {
  switch (FImageType) {
    case ritBitmap:
      Stream.WriteLE<std::uint8_t>(ristBitmap);
      WriteImageBlock(Stream, *FSource);
      break;
    case ritPNG:
      Stream.WriteLE<std::uint8_t>(ristPNG);
      WriteImageBlock(Stream, static_cast<TPNGImage&>(*FSource));
      break;
    case ritJPEG:
      throw EInvalidGraphicOperation("JPEG images cannot be written");
    default:
      // No source: an absent Windows bitmap.
      Stream.WriteLE<std::uint8_t>(ristBitmap);
      WriteImageBlock(Stream, false, nullptr);
      break;
  }
}

void TKemResourceFile::LoadFromStream(TStream& Stream) {
  const auto size = Stream.ReadLE<std::int32_t>();
  if (size < 0) throw EReadError("Invalid file size in resource");
  const String bytes = Stream.ReadBytes(size);
  Data.Clear();
  Data.WriteBytes(bytes);
  Data.SetPosition(0);
}

void TKemResourceFile::SaveToStream(TStream& Stream) {
  String bytes;
  if (!FileName.empty()) {
    bytes = ReadFileBytes(FileName);
  } else {
    bytes.resize(static_cast<size_t>(Data.Size()));
    if (!bytes.empty()) std::memcpy(bytes.data(), Data.Memory(), bytes.size());
  }
  if (bytes.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
    throw EWriteError("Resource file too large");
  Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(bytes.size()));
  Stream.WriteBytes(bytes);
}

std::unique_ptr<TKemResource> CreateResourceOfKind(std::int32_t Kind) {
  switch (Kind) {
    case rkString:
      return std::make_unique<TKemResourceString>();
    case rkStrings:
      return std::make_unique<TKemResourceStrings>();
    case rkTable:
      return std::make_unique<TKemResourceTable>();
    case rkImage:
      return std::make_unique<TKemResourceBitmap>();
    case rkFile:
      return std::make_unique<TKemResourceFile>();
    default:
      return nullptr;
  }
}
