// Bounded reading of the icon formats: every number is read through a view
// that knows how many bytes are really there, so no offset from a file can
// reach past its end. Little-endian for the Windows formats, big-endian for
// the Mac ones.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/graphics.h"

// Every fault in an icon file: the caller skips the entry or the file.
ORV_EXCEPTION(EIconError, EInvalidGraphic)

// The largest file the icon readers take in whole.
inline constexpr std::int64_t kMaxIconFileBytes = std::int64_t{64} << 20;

class TIconBytes {
 public:
  TIconBytes() = default;
  explicit TIconBytes(std::string_view Data) : FData(Data) {}

  std::string_view Data() const { return FData; }
  std::int64_t Size() const { return static_cast<std::int64_t>(FData.size()); }
  // Whether Count bytes from Offset lie inside (64-bit: no sum overflows).
  bool Has(std::int64_t Offset, std::int64_t Count) const {
    return Offset >= 0 && Count >= 0 && Offset <= Size() && Count <= Size() - Offset;
  }
  // Count bytes from Offset; EIconError when they are not all there.
  std::string_view Sub(std::int64_t Offset, std::int64_t Count) const {
    Need(Offset, Count);
    return FData.substr(static_cast<std::size_t>(Offset), static_cast<std::size_t>(Count));
  }
  // Everything from Offset up to at most Count bytes.
  std::string_view SubClamped(std::int64_t Offset, std::int64_t Count) const {
    if (Offset < 0 || Offset > Size()) return {};
    return FData.substr(static_cast<std::size_t>(Offset),
                        static_cast<std::size_t>(Count < 0 ? 0 : std::min(Count, Size() - Offset)));
  }

  std::uint8_t U8(std::int64_t Offset) const {
    Need(Offset, 1);
    return Byte(Offset);
  }
  std::uint16_t U16(std::int64_t Offset) const {
    Need(Offset, 2);
    return static_cast<std::uint16_t>(Byte(Offset) | (Byte(Offset + 1) << 8));
  }
  std::uint32_t U32(std::int64_t Offset) const {
    Need(Offset, 4);
    return static_cast<std::uint32_t>(U16(Offset)) | (static_cast<std::uint32_t>(U16(Offset + 2)) << 16);
  }
  std::uint16_t U16BE(std::int64_t Offset) const {
    Need(Offset, 2);
    return static_cast<std::uint16_t>((Byte(Offset) << 8) | Byte(Offset + 1));
  }
  std::uint32_t U32BE(std::int64_t Offset) const {
    Need(Offset, 4);
    return (static_cast<std::uint32_t>(U16BE(Offset)) << 16) | U16BE(Offset + 2);
  }
  std::uint32_t U24BE(std::int64_t Offset) const {
    Need(Offset, 3);
    return (static_cast<std::uint32_t>(Byte(Offset)) << 16) | (static_cast<std::uint32_t>(Byte(Offset + 1)) << 8) |
           Byte(Offset + 2);
  }
  void Need(std::int64_t Offset, std::int64_t Count) const {
    if (!Has(Offset, Count)) throw EIconError("Icon data truncated");
  }

 private:
  std::uint8_t Byte(std::int64_t Offset) const {
    return static_cast<std::uint8_t>(FData[static_cast<std::size_t>(Offset)]);
  }
  std::string_view FData;
};

// Bytes that images share: a file read whole, or a copy of a resource.
using TIconBlock = std::shared_ptr<const std::string>;
// How many first bytes decide whether a file is of a kind.
inline constexpr std::int64_t kIconHeadBytes = 128;
// The whole file when Accept says yes to its first bytes (up to
// kIconHeadBytes) and its size; nullptr when it says no, so a large file
// that is no icon is never read whole. EIconError when the file's size
// cannot be had or an accepted file is larger than kMaxIconFileBytes; the
// stream errors of opening and reading pass through.
TIconBlock ReadIconFileIf(const String& FileName,
                          const std::function<bool(std::string_view Head, std::int64_t Size)>& Accept);
