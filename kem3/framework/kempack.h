// Writers of the two codecs that the program only reads: LZSS containers (the
// program has no packer) and XOR blocks. Used by the generator tools and by
// the tests that round-trip through the readers; header-only, so that tests
// include it without a library of their own. Resource packages: tools/common/drlwriter.h.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kem3/framework/kemcrypt.h"
#include "kem3/framework/kemlzss.h"
#include "platform/exceptions.h"
#include "platform/streams.h"

namespace kempack {

// Packs Data into the LZSS item stream the decoder reads (no header). Greedy
// matching over hash chains of three-byte prefixes; references go back at
// most kLzssRingStart bytes, so the ring never overwrites a byte that a copy
// still has to read.
inline std::string LzssPack(std::string_view Data) {
  constexpr int kMinMatch = kLzssThreshold + 1;
  constexpr int kMaxDistance = kLzssRingStart;
  constexpr int kChainLimit = 512;
  constexpr int kHashSize = 1 << 14;
  const auto* in = reinterpret_cast<const std::uint8_t*>(Data.data());
  const auto n = static_cast<std::int64_t>(Data.size());
  std::vector<std::int64_t> head(kHashSize, -1);
  std::vector<std::int64_t> prev(Data.size(), -1);
  auto hashAt = [&](std::int64_t i) {
    return ((in[i] << 6) ^ (in[i + 1] << 3) ^ in[i + 2] ^ (in[i] << 11)) & (kHashSize - 1);
  };
  auto insert = [&](std::int64_t i) {
    if (i + kMinMatch > n) return;
    const int h = hashAt(i);
    prev[static_cast<size_t>(i)] = head[h];
    head[h] = i;
  };

  std::string out;
  std::size_t flagAt = 0;
  int items = 8;
  auto item = [&](bool literal) {
    if (items == 8) {
      flagAt = out.size();
      out.push_back(0);
      items = 0;
    }
    if (literal) out[flagAt] = static_cast<char>(out[flagAt] | (1 << items));
    ++items;
  };

  std::int64_t i = 0;
  while (i < n) {
    int bestLength = 0;
    std::int64_t bestFrom = 0;
    if (i + kMinMatch <= n) {
      const int maxLength = static_cast<int>(std::min<std::int64_t>(kLzssMaxMatch, n - i));
      int chain = 0;
      for (std::int64_t j = head[hashAt(i)]; j >= 0 && i - j <= kMaxDistance && chain < kChainLimit;
           j = prev[static_cast<size_t>(j)], ++chain) {
        int length = 0;
        while (length < maxLength && in[j + length] == in[i + length]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestFrom = j;
          if (length == maxLength) break;
        }
      }
    }
    if (bestLength >= kMinMatch) {
      item(false);
      const int ringPos = static_cast<int>((kLzssRingStart + bestFrom) & (kLzssRingSize - 1));
      out.push_back(static_cast<char>(ringPos & 0xFF));
      out.push_back(static_cast<char>(((ringPos >> 4) & 0xF0) | (bestLength - kMinMatch)));
      for (int k = 0; k < bestLength; ++k) insert(i + k);
      i += bestLength;
    } else {
      item(true);
      out.push_back(static_cast<char>(in[i]));
      insert(i);
      ++i;
    }
  }
  return out;
}

// The 64-byte header (the unpacked size at offset 0, the packed length at 4)
// followed by the packed data.
inline void WriteLzssContainer(TStream& Stream, std::string_view Data) {
  const std::string packed = LzssPack(Data);
  if (packed.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
    throw EWriteError("Data too large for an LZSS container");
  std::array<char, kLzssHeaderSize> header{};
  auto put = [&](int offset, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) header[static_cast<size_t>(offset + k)] = static_cast<char>(value >> (8 * k));
  };
  put(0, static_cast<std::uint32_t>(Data.size()));
  put(kLzssPackedLengthOffset, static_cast<std::uint32_t>(packed.size()));
  Stream.WriteBuffer(header.data(), kLzssHeaderSize);
  Stream.WriteBytes(packed);
}

// int32 N and the N bytes transformed with Key (empty: the default key): the block TKemCrypt reads.
inline void WriteXorBlock(TStream& Stream, std::string_view Data, const String& Key) {
  if (Data.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()))
    throw EWriteError("Data too large for an XOR block");
  std::string bytes(Data);
  XorTransform(bytes.data(), static_cast<std::int64_t>(bytes.size()), 0,
               Key.empty() ? String(kKemCryptDefaultKey) : Key);
  Stream.WriteLE<std::int32_t>(static_cast<std::int32_t>(bytes.size()));
  Stream.WriteBytes(bytes);
}

}  // namespace kempack
