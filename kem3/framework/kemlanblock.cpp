// Tagged blocks of language files: frames and payloads.
#include "kem3/framework/kemlanblock.h"

#include <string_view>

#include "kem3/framework/kemstreamfmt.h"
#include "kem3/framework/kemzlib.h"
#include "kem3/pictures/pngimage.h"

// ---- Payloads

void TLanBlockString::LoadFromStream(TStream& Stream) { Value = ReadStreamString(Stream); }
void TLanBlockString::SaveToStream(TStream& Stream) const { WriteStreamString(Stream, Value); }

void TLanBlockInteger::LoadFromStream(TStream& Stream) { Value = Stream.ReadLE<std::int32_t>(); }
void TLanBlockInteger::SaveToStream(TStream& Stream) const { Stream.WriteLE<std::int32_t>(Value); }

void TLanBlockFloat::LoadFromStream(TStream& Stream) { Value = Stream.ReadLE<double>(); }
void TLanBlockFloat::SaveToStream(TStream& Stream) const { Stream.WriteLE<double>(Value); }

namespace {

std::uint32_t BigEndian32(const unsigned char* Bytes) {
  return static_cast<std::uint32_t>(Bytes[0]) << 24 | static_cast<std::uint32_t>(Bytes[1]) << 16 |
         static_cast<std::uint32_t>(Bytes[2]) << 8 | Bytes[3];
}

// Whether the PNG of the image block at the stream's position declares no side
// longer than MaxSide, read from its header without decoding. An absent
// picture or bytes that are no PNG header pass: the block reader judges them.
bool PngFits(TStream& Stream, int MaxSide) {
  const std::int64_t at = Stream.Position();
  // Present flag, block size, signature, IHDR length and type, width, height.
  unsigned char head[32];
  const bool complete = Stream.Read(head, sizeof head) == static_cast<std::int64_t>(sizeof head);
  Stream.SetPosition(at);
  const auto present = static_cast<std::int32_t>(head[0] | head[1] << 8 | head[2] << 16 | std::uint32_t{head[3]} << 24);
  if (!complete || present < 1 || std::string_view(reinterpret_cast<const char*>(head + 20), 4) != "IHDR") return true;
  const auto max = static_cast<std::uint32_t>(MaxSide);
  return BigEndian32(head + 24) <= max && BigEndian32(head + 28) <= max;
}

}  // namespace

TLanBlockImage::TLanBlockImage() : Image(std::make_unique<TPNGImage>()) {}
TLanBlockImage::~TLanBlockImage() = default;
void TLanBlockImage::LoadFromStream(TStream& Stream) {
  if (MaxSide > 0 && !PngFits(Stream, MaxSide)) return;
  ReadImageBlock(Stream, *Image);
}
void TLanBlockImage::SaveToStream(TStream& Stream) const { WriteImageBlock(Stream, *Image); }

void TLanBlockModule::LoadFromStream(TStream& Stream) {
  Module = ReadStreamString(Stream);
  const std::int32_t count = Stream.ReadLE<std::int32_t>();
  Version = Stream.ReadLE<std::int32_t>();
  Strings = ReadStreamStringVector(Stream);
  if (static_cast<std::int64_t>(Strings.size()) != count)
    throw EReadError("Language module block: the list holds " + std::to_string(Strings.size()) + " strings, not " +
                     std::to_string(count));
}

void TLanBlockModule::SaveToStream(TStream& Stream) const {
  WriteStreamString(Stream, Module);
  Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(Strings.size()));
  Stream.WriteLE<std::int32_t>(Version);
  WriteStreamStringVector(Stream, Strings);
}

// ---- Frames

TLanBlockFrame ReadLanBlockFrame(TStream& Stream) {
  TLanBlockFrame frame;
  frame.Start = Stream.Position();
  Stream.ReadBuffer(frame.Tag.data(), 4);
  frame.Size = Stream.ReadLE<std::int32_t>();
  frame.Encoding = Stream.ReadLE<std::int32_t>();
  if (frame.Size < kLanBlockHeaderSize || frame.Size > Stream.Size() - frame.Start)
    throw EReadError("Language file block of " + std::to_string(frame.Size) + " bytes at " +
                     std::to_string(frame.Start) + " does not fit the file");
  return frame;
}

std::unique_ptr<TMemoryStream> ReadLanBlockPayload(TStream& Stream, const TLanBlockFrame& Frame) {
  Stream.SetPosition(Frame.Start + kLanBlockHeaderSize);
  auto payload = std::make_unique<TStringStream>(Stream.ReadBytes(Frame.Size - kLanBlockHeaderSize));
  if (Frame.Encoding != kLanBlockZlib) return payload;
  auto inflated = std::make_unique<TMemoryStream>();
  TZDecompressionStream zip(*payload);
  char buffer[16384];
  for (;;) {
    const std::int64_t got = zip.Read(buffer, sizeof buffer);
    if (got <= 0) break;
    if (inflated->Size() + got > kLanMaxPayload) throw EReadError("Language file block inflates beyond its limit");
    inflated->WriteBuffer(buffer, got);
  }
  inflated->SetPosition(0);
  return inflated;
}

void WriteLanBlock(TStream& Stream, const TLanTag& Tag, const TLanBlock& Block, bool Compress) {
  // The payload is made in memory first: an image block goes back to fill in
  // its size, which a compressing stream cannot do.
  TMemoryStream plain;
  Block.SaveToStream(plain);
  TMemoryStream packed;
  if (Compress) {
    TZCompressionStream zip(packed, zcMax);
    plain.SaveToStream(zip);
    zip.Finish();
  }
  TMemoryStream& payload = Compress ? packed : plain;
  Stream.WriteBuffer(Tag.data(), 4);
  Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(payload.Size() + kLanBlockHeaderSize));
  Stream.WriteLE<std::int32_t>(Compress ? kLanBlockZlib : kLanBlockStored);
  payload.SaveToStream(Stream);
}
