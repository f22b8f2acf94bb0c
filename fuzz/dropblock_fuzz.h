// What every fuzz target of a drop block parser shares: the bytes as one block
// of exactly their size (libFuzzer's buffer, so a read past it is caught), a
// refusal with EDropBlockError as the one accepted way out, and Check.
#pragma once
#include <cstdint>
#include <cstdlib>

#include "kem3/dragdrop/dropblocks.h"

inline void Check(bool condition) {
  if (!condition) std::abort();
}

template <class Parse>
int FuzzDropBlock(const std::uint8_t* data, std::size_t size, Parse parse) {
  try {
    parse(TDropBlock(reinterpret_cast<const char*>(data), size));
  } catch (const EDropBlockError&) {
  }
  return 0;
}
