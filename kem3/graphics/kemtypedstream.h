// TNXTypedStream: a reader of typed-stream archives (the old NeXT/Apple
// archive format), enough to find the data objects in them: the icon reader
// looks for icon families inside. Every length and table reference is
// checked, the nesting depth is limited, and damaged input ends the reading
// with EIconError. Shared strings are views of the stream's own bytes and
// objects remember only the kind of their class, so a reference costs the
// same whatever it names; the tables hold at most kMaxTableEntries each.
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
  // A real archive holds a few hundred strings and objects; more is a
  // crafted stream that only wants to grow the tables.
  static constexpr std::size_t kMaxTableEntries = 65536;

  // The classes whose contents the reader knows.
  enum TClassKind : std::uint8_t { ckOther, ckDictionary, ckArray, ckNumber, ckString, ckData };

 private:
  std::uint8_t Next();
  std::uint8_t Peek() const;
  std::int64_t ReadInteger(bool AllowLong = true);
  // The bytes of a counted string, inside the stream.
  std::string_view ReadCounted();
  // A shared string; nil reads as "".
  std::string_view ReadShared();
  // The kind of the class read; ckOther for nil.
  TClassKind ReadClass(int Depth);
  void ReadObject(int Depth);
  void ReadContents(TClassKind Kind, int Depth);
  void ReadTyped(int Depth);
  void ReadValue(char Type, int Depth);
  void Enter(int Depth) const;
  template <typename T>
  void AddEntry(std::vector<T>& Table, T Value);

  TIconBytes FBytes;
  std::int64_t FPos = 0;
  bool FBigEndian = true;
  std::vector<std::string_view> FStrings;
  // Classes and objects share one table: the kind of each entry's class.
  std::vector<TClassKind> FObjects;
};
