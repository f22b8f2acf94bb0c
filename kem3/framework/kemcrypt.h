// TKemCrypt: copies a length-prefixed block (int32 N, then N bytes) from one
// stream to another, passing it through a repeating-key XOR. The transform is
// its own inverse, so the same call writes and reads such a block.
#pragma once
#include <cstdint>

#include "platform/object.h"
#include "platform/streams.h"
#include "platform/types.h"

// The key that an empty key stands for.
inline constexpr const char* kKemCryptDefaultKey = "7Q2WX9RKD4HT0PZ6MVB3LC8N";
// Bytes moved through the transform at once.
inline constexpr int kKemCryptBlockSize = 8092;

// Byte i of Buffer is XORed with Key[(Offset + i) mod length]; an empty key changes nothing.
void XorTransform(void* Buffer, std::int64_t Count, std::int64_t Offset, const String& Key);

class TKemCrypt : public TObject {
 public:
  // Neither stream is owned. An empty Key selects kKemCryptDefaultKey; Mode starts at 1 (XOR).
  TKemCrypt(TStream& Source, TStream& Dest, const String& Key);

  // Reads N and moves N bytes from Source to Dest: Mode 0 copies them, Mode 1
  // transforms them in blocks of kKemCryptBlockSize with a continuous key
  // position. A negative N or one beyond the source's end raises EReadError
  // before anything is written.
  void Run();

  std::uint8_t Mode = 1;  // 0 plain copy; 1 (or any other value) XOR
  const String& Key() const { return FKey; }

 private:
  TStream& FSource;
  TStream& FDest;
  String FKey;
};
