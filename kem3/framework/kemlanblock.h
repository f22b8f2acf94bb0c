// The tagged blocks of a language file ("KEM3LAN"): the block frame (tag,
// size including the 12-byte frame, encoding) and the payload classes that
// read and write what a block carries.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/object.h"
#include "platform/streams.h"
#include "platform/types.h"

class TPNGImage;

inline constexpr std::int64_t kLanBlockHeaderSize = 12;
// Encoding of a block's payload: zlib-compressed; any other value is stored.
inline constexpr std::int32_t kLanBlockZlib = 2;
inline constexpr std::int32_t kLanBlockStored = 0;
// No payload of ours comes near this; a block that inflates beyond it is
// taken for a damaged (or hostile) file.
inline constexpr std::int64_t kLanMaxPayload = 64 << 20;

using TLanTag = std::array<char, 4>;
constexpr TLanTag LanTag(const char (&Text)[5]) { return {Text[0], Text[1], Text[2], Text[3]}; }

class TLanBlock : public TObject {
 public:
  virtual void LoadFromStream(TStream& Stream) = 0;
  virtual void SaveToStream(TStream& Stream) const = 0;
};

// One stream string (UTF-8 text).
class TLanBlockString : public TLanBlock {
 public:
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;
  String Value;
};

class TLanBlockInteger : public TLanBlock {
 public:
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;
  std::int32_t Value = 0;
};

// One Double, 8 bytes.
class TLanBlockFloat : public TLanBlock {
 public:
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;
  double Value = 0.0;
};

// One image block holding a PNG. With MaxSide set, a picture whose header
// declares a side longer than that is not decoded and the image stays empty.
class TLanBlockImage : public TLanBlock {
 public:
  TLanBlockImage();
  ~TLanBlockImage() override;
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;
  std::unique_ptr<TPNGImage> Image;
  int MaxSide = 0;  // 0: any size the PNG reader takes
};

// The names or the texts of one module: module name (stream string), count,
// version, then a stream string list. The list's own count must equal the
// count in front of it, or the block is damaged (EReadError).
class TLanBlockModule : public TLanBlock {
 public:
  static constexpr std::int32_t kVersion = 2;
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) const override;
  String Module;
  std::int32_t Version = kVersion;
  std::vector<String> Strings;
};

// A block's frame and its payload, as the reader finds them.
struct TLanBlockFrame {
  TLanTag Tag{};
  std::int64_t Start = 0;  // file position of the frame
  std::int64_t Size = 0;   // frame included
  std::int32_t Encoding = 0;
};

// Reads the frame at Stream's position. A size below 12 or one reaching past
// the stream's end raises EReadError.
TLanBlockFrame ReadLanBlockFrame(TStream& Stream);
// The payload of the frame just read, inflated when the block is compressed,
// as a stream of its own: nothing a payload reader does can leave the block.
std::unique_ptr<TMemoryStream> ReadLanBlockPayload(TStream& Stream, const TLanBlockFrame& Frame);
// Writes one whole block: frame and payload, compressed when Compress.
void WriteLanBlock(TStream& Stream, const TLanTag& Tag, const TLanBlock& Block, bool Compress);
