// Stream strings, stream string lists and image blocks.
#include "kem3/framework/kemstreamfmt.h"

#include <limits>

#include "kem3/pictures/jpegimage.h"
#include "kem3/pictures/pngimage.h"
#include "platform/bitmap.h"
#include "platform/exceptions.h"
#include "platform/updatescope.h"

namespace {

// Bytes between the position and the end; -1 when the stream cannot tell.
std::int64_t BytesLeft(TStream& Stream) {
  const std::int64_t position = Stream.Position();
  const std::int64_t size = Stream.Size();
  if (position < 0 || size < 0) return -1;
  return size > position ? size - position : 0;
}

std::int32_t CheckedInt32(std::int64_t value) {
  if (value < 0 || value > std::numeric_limits<std::int32_t>::max())
    throw EWriteError("Value too large for the stream format");
  return static_cast<std::int32_t>(value);
}

}  // namespace

String ReadStreamString(TStream& Stream) {
  const auto length = Stream.ReadLE<std::int32_t>();
  if (length < 0) throw EReadError("Invalid string length in stream");
  return Stream.ReadBytes(length);  // raises when fewer bytes are left
}

void WriteStreamString(TStream& Stream, const String& S) {
  Stream.WriteLE<std::int32_t>(CheckedInt32(static_cast<std::int64_t>(S.size())));
  Stream.WriteBytes(S);
}

namespace {

// A count of stream strings: each takes at least its 4 length bytes, so a
// count the stream cannot hold is refused before the walk starts.
std::int32_t ReadStringCount(TStream& Stream) {
  const auto count = Stream.ReadLE<std::int32_t>();
  if (count < 0) throw EReadError("Invalid string count in stream");
  const std::int64_t left = BytesLeft(Stream);
  if (left >= 0 && count > left / 4) throw EReadError("String count beyond the end of the stream");
  return count;
}

}  // namespace

void ReadStreamStrings(TStream& Stream, TStrings& Strings) {
  TUpdateScope<TStrings> update(Strings);
  Strings.Clear();
  const std::int32_t count = ReadStringCount(Stream);
  for (std::int32_t i = 0; i < count; ++i) Strings.Add(ReadStreamString(Stream));
}

void WriteStreamStrings(TStream& Stream, const TStrings& Strings) {
  Stream.WriteLE<std::int32_t>(Strings.Count());
  for (int i = 0; i < Strings.Count(); ++i) WriteStreamString(Stream, Strings.Get(i));
}

std::vector<String> ReadStreamStringVector(TStream& Stream) {
  const std::int32_t count = ReadStringCount(Stream);
  std::vector<String> result;
  result.reserve(static_cast<size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) result.push_back(ReadStreamString(Stream));
  return result;
}

void WriteStreamStringVector(TStream& Stream, const std::vector<String>& Strings) {
  Stream.WriteLE<std::int32_t>(CheckedInt32(static_cast<std::int64_t>(Strings.size())));
  for (const String& s : Strings) WriteStreamString(Stream, s);
}

bool ReadImageBlock(TStream& Stream, const TImageBlockLoader& Load) {
  const auto present = Stream.ReadLE<std::int32_t>();
  const auto size = Stream.ReadLE<std::int32_t>();
  if (present < 1) return false;
  if (size < kImageBlockHeaderSize) throw EReadError("Invalid image block size");
  const std::int64_t dataSize = size - kImageBlockHeaderSize;
  const std::int64_t left = BytesLeft(Stream);
  if (left >= 0 && dataSize > left) throw EReadError("Image block beyond the end of the stream");
  // The image reads from a copy of exactly its bytes: it cannot run past the
  // block, and the source stands at the block's end whatever it consumed.
  TStringStream data(Stream.ReadBytes(dataSize));
  Load(data);
  return true;
}

bool ReadImageBlock(TStream& Stream, TBitmap& Bitmap) {
  return ReadImageBlock(Stream, [&](TStream& data) { Bitmap.LoadFromStream(data); });
}

bool ReadImageBlock(TStream& Stream, TPNGImage& Image) {
  return ReadImageBlock(Stream, [&](TStream& data) { Image.LoadFromStream(data); });
}

bool ReadImageBlock(TStream& Stream, TJPEGImage& Image) {
  return ReadImageBlock(Stream, [&](TStream& data) { Image.LoadFromStream(data); });
}

void WriteImageBlock(TStream& Stream, bool Present, const TImageBlockSaver& Save) {
  const std::int64_t start = Stream.Position();
  Stream.WriteLE<std::int32_t>(Present ? 1 : 0);
  Stream.WriteLE<std::int32_t>(0);  // the size, filled in below
  if (Present && Save) Save(Stream);
  const std::int64_t end = Stream.Position();
  Stream.SetPosition(start + 4);
  Stream.WriteLE<std::int32_t>(CheckedInt32(end - start));
  Stream.SetPosition(end);
}

void WriteImageBlock(TStream& Stream, const TBitmap& Bitmap) {
  WriteImageBlock(Stream, !Bitmap.Empty(), [&](TStream& out) { Bitmap.SaveToStream(out); });
}

void WriteImageBlock(TStream& Stream, TPNGImage& Image) {
  WriteImageBlock(Stream, !Image.Empty(), [&](TStream& out) { Image.SaveToStream(out); });
}
