// The LZSS decoder.
#include "kem3/framework/kemlzss.h"

#include <algorithm>
#include <array>

#include "platform/exceptions.h"
#include "platform/mathutils.h"

namespace {

constexpr int kBufferSize = 1024;
constexpr int kRingMask = kLzssRingSize - 1;

}  // namespace

TKemLzss::TKemLzss(TStream& Source, TStream& Dest) : FSource(Source), FDest(Dest) {}

int TKemLzss::ReadSource(std::uint8_t* Buffer, int Count) {
  // Sources such as files and codecs may hand out less than asked before their end.
  int got = 0;
  while (got < Count) {
    const std::int64_t n = FSource.Read(Buffer + got, Count - got);
    if (n <= 0) break;
    got += static_cast<int>(n);
  }
  if (got < Count && OnSourceExhausted) OnSourceExhausted(this);
  if (OnDataRead) OnDataRead(this, got);
  return got;
}

void TKemLzss::Decode() {
  std::array<std::uint8_t, kLzssHeaderSize> header{};
  if (ReadSource(header.data(), kLzssHeaderSize) < kLzssHeaderSize) throw EReadError("LZSS header cut short");
  std::int32_t packed = 0;
  for (int i = 3; i >= 0; --i)
    packed = static_cast<std::int32_t>((static_cast<std::uint32_t>(packed) << 8) | header[kLzssPackedLengthOffset + i]);
  if (packed < 0) throw EReadError("Invalid LZSS packed length");
  const std::int64_t position = FSource.Position();
  const std::int64_t size = FSource.Size();
  if (position >= 0 && size >= 0 && packed > size - position)
    throw EReadError("LZSS packed length beyond the end of the data");

  // Buffers of this decode alone: several threads may decode at once.
  std::array<std::uint8_t, kLzssRingSize> ring{};
  std::array<std::uint8_t, kBufferSize> in{};
  std::array<std::uint8_t, kBufferSize> out{};
  int inPos = 0, inLen = 0, outLen = 0;
  std::int64_t consumed = 0;

  auto next = [&](int& c) {
    if (inPos == inLen) {
      const auto want = static_cast<int>(std::min<std::int64_t>(kBufferSize, packed - consumed));
      if (want <= 0) return false;
      inLen = ReadSource(in.data(), want);
      inPos = 0;
      consumed += inLen;
      if (OnProgress) OnProgress(this, static_cast<int>(Round(consumed * 1000.0 / packed)));
      if (inLen == 0) return false;
    }
    c = in[inPos++];
    return true;
  };
  auto flush = [&] {
    if (outLen == 0) return;
    FDest.WriteBuffer(out.data(), outLen);
    if (OnDataWritten) OnDataWritten(this, outLen);
    outLen = 0;
  };
  auto put = [&](std::uint8_t value) {
    out[outLen++] = value;
    if (outLen == kBufferSize) flush();
  };

  unsigned flags = 0;
  int r = kLzssRingStart;
  int c = 0;
  for (;;) {
    flags >>= 1;
    if ((flags & 0x100) == 0) {
      if (!next(c)) break;
      flags = static_cast<unsigned>(c) | 0xFF00;  // the high byte counts the eight items
    }
    if (!next(c)) break;
    if (flags & 1) {
      ring[r] = static_cast<std::uint8_t>(c);
      r = (r + 1) & kRingMask;
      put(static_cast<std::uint8_t>(c));
      continue;
    }
    int b2 = 0;
    if (!next(b2)) break;
    const int from = c | ((b2 & 0xF0) << 4);
    const int count = (b2 & 0x0F) + kLzssThreshold + 1;
    for (int k = 0; k < count; ++k) {
      const std::uint8_t value = ring[(from + k) & kRingMask];
      ring[r] = value;
      r = (r + 1) & kRingMask;
      put(value);
    }
  }
  flush();
}
