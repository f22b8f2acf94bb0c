// The repeating-key XOR transform of length-prefixed blocks.
#include "kem3/framework/kemcrypt.h"

#include <algorithm>
#include <vector>

#include "platform/exceptions.h"

void XorTransform(void* Buffer, std::int64_t Count, std::int64_t Offset, const String& Key) {
  if (Key.empty() || Count <= 0) return;
  auto* bytes = static_cast<std::uint8_t*>(Buffer);
  const auto length = static_cast<std::int64_t>(Key.size());
  std::int64_t k = ((Offset % length) + length) % length;
  for (std::int64_t i = 0; i < Count; ++i) {
    bytes[i] ^= static_cast<std::uint8_t>(Key[static_cast<size_t>(k)]);
    if (++k == length) k = 0;
  }
}

TKemCrypt::TKemCrypt(TStream& Source, TStream& Dest, const String& Key)
    : FSource(Source), FDest(Dest), FKey(Key.empty() ? String(kKemCryptDefaultKey) : Key) {}

void TKemCrypt::Run() {
  const auto count = FSource.ReadLE<std::int32_t>();
  if (count < 0) throw EReadError("Invalid block length");
  const std::int64_t position = FSource.Position();
  const std::int64_t size = FSource.Size();
  if (position >= 0 && size >= 0 && count > size - position) throw EReadError("Block beyond the end of the data");

  std::vector<std::uint8_t> block(static_cast<size_t>(std::min(count, kKemCryptBlockSize)));
  std::int64_t moved = 0;
  while (moved < count) {
    const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(kKemCryptBlockSize, count - moved));
    FSource.ReadBuffer(block.data(), n);
    if (Mode != 0) XorTransform(block.data(), n, moved, FKey);
    FDest.WriteBuffer(block.data(), n);
    moved += n;
  }
}
