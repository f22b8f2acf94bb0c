// TNXTypedStream: a reader of typed-stream archives (the old NeXT/Apple
// archive format), enough to find the data objects in them: the icon reader
// looks for icon families inside. Every length and table reference is
// checked, the nesting depth is limited, and damaged input ends the reading
// with EIconError.
#pragma once
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "kem3/graphics/kemiconbytes.h"
#include "platform/types.h"

class TNXTypedStream {
 public:
  // Called with the offset and length of each data object's bytes.
  std::function<void(std::int64_t Offset, std::int64_t Length)> OnData;
  // Called with notes on odd but survivable input ("---- end-of-object missing").
  std::function<void(const String& Note)> OnDiagnostic;

  explicit TNXTypedStream(std::string_view Data) : FBytes(Data) {}
  // Whether the header is that of a typed stream (version 3 or 4,
  // "typedstream" or "streamtyped"); reads it.
  bool ReadHeader();
  // Reads the top-level values to the end; EIconError on damaged input.
  void ReadAll();

  static constexpr int kMaxDepth = 64;

 private:
  std::uint8_t Next();
  std::uint8_t Peek() const;
  std::int64_t ReadInteger(bool AllowLong = true);
  String ReadCounted();
  // A shared string; nil reads as "".
  String ReadShared();
  // The class name, "" for nil.
  String ReadClass(int Depth);
  void ReadObject(int Depth);
  void ReadContents(const String& ClassName, int Depth);
  void ReadTyped(int Depth);
  void ReadValue(char Type, int Depth);
  void Enter(int Depth) const;

  TIconBytes FBytes;
  std::int64_t FPos = 0;
  bool FBigEndian = true;
  std::vector<String> FStrings;
  // Classes and objects share one table: the class name of each entry.
  std::vector<String> FObjects;
};
