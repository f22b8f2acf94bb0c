// The typed-stream reader: encoded integers, shared strings, classes and
// objects, and the contents of the few classes that lead to data.
#include "kem3/graphics/kemtypedstream.h"

#include "platform/sysutils.h"

namespace {

constexpr std::uint8_t kNew = 0x84;
constexpr std::uint8_t kNil = 0x85;
constexpr std::uint8_t kEndOfObject = 0x86;
constexpr std::uint8_t kShort = 0x81;
constexpr std::uint8_t kLong = 0x82;
constexpr std::uint8_t kReference = 0x92;

bool IsClass(const String& Name, const char* A, const char* B) { return SameText(Name, A) || SameText(Name, B); }

}  // namespace

std::uint8_t TNXTypedStream::Next() {
  const std::uint8_t b = FBytes.U8(FPos);
  ++FPos;
  return b;
}

std::uint8_t TNXTypedStream::Peek() const { return FBytes.U8(FPos); }

void TNXTypedStream::Enter(int Depth) const {
  if (Depth > kMaxDepth) throw EIconError("Typed stream nested too deep");
}

std::int64_t TNXTypedStream::ReadInteger(bool AllowLong) {
  const std::uint8_t b = Next();
  if (b == kShort) {
    const std::uint16_t v = FBigEndian ? FBytes.U16BE(FPos) : FBytes.U16(FPos);
    FPos += 2;
    return static_cast<std::int16_t>(v);
  }
  if (b == kLong && AllowLong) {
    const std::uint32_t v = FBigEndian ? FBytes.U32BE(FPos) : FBytes.U32(FPos);
    FPos += 4;
    return static_cast<std::int32_t>(v);
  }
  return static_cast<std::int8_t>(b);
}

String TNXTypedStream::ReadCounted() {
  const std::int64_t length = ReadInteger();
  if (length < 0) throw EIconError("Typed stream string length");
  String s(FBytes.Sub(FPos, length));
  FPos += length;
  return s;
}

String TNXTypedStream::ReadShared() {
  const std::uint8_t b = Next();
  if (b == kNew) {
    FStrings.push_back(ReadCounted());
    return FStrings.back();
  }
  if (b >= kReference) {
    const std::size_t index = b - kReference;
    if (index >= FStrings.size()) throw EIconError("Typed stream string reference");
    return FStrings[index];
  }
  return String();
}

bool TNXTypedStream::ReadHeader() {
  try {
    FPos = 0;
    const std::uint8_t version = Next();
    if (version != 3 && version != 4) return false;
    const String signature = ReadCounted();
    if (signature == "typedstream")
      FBigEndian = true;
    else if (signature == "streamtyped")
      FBigEndian = false;
    else
      return false;
    ReadInteger();  // the system version
    return true;
  } catch (const EIconError&) {
    return false;
  }
}

String TNXTypedStream::ReadClass(int Depth) {
  Enter(Depth);
  const std::uint8_t b = Next();
  if (b == kNew) {
    const String name = ReadShared();
    FObjects.push_back(name);
    ReadInteger();  // the class version
    ReadClass(Depth + 1);
    return name;
  }
  if (b >= kReference) {
    const std::size_t index = b - kReference;
    if (index >= FObjects.size()) throw EIconError("Typed stream class reference");
    return FObjects[index];
  }
  return String();
}

void TNXTypedStream::ReadObject(int Depth) {
  Enter(Depth);
  const std::uint8_t b = Next();
  if (b >= kReference) {
    if (static_cast<std::size_t>(b - kReference) >= FObjects.size()) throw EIconError("Typed stream object reference");
    return;
  }
  if (b != kNew) return;  // nil, or anything else where an object was expected
  const std::size_t slot = FObjects.size();
  FObjects.emplace_back();
  const String name = ReadClass(Depth + 1);
  FObjects[slot] = name;
  ReadContents(name, Depth + 1);
  if (FBytes.Has(FPos, 1) && Peek() == kEndOfObject) {
    ++FPos;
  } else if (OnDiagnostic) {
    OnDiagnostic("---- end-of-object missing");
  }
}

void TNXTypedStream::ReadContents(const String& Name, int Depth) {
  if (IsClass(Name, "NSMutableDictionary", "NSDictionary")) {
    ReadTyped(Depth);  // the count
    while (FBytes.Has(FPos, 1) && Peek() != kEndOfObject) ReadTyped(Depth);
  } else if (IsClass(Name, "NSMutableArray", "NSArray")) {
    const String type = ReadShared();
    if (type.size() != 1) throw EIconError("Typed stream array count");
    const std::int64_t count = ReadInteger();
    for (std::int64_t i = 0; i < count; ++i) ReadTyped(Depth);
  } else if (SameText(Name, "NSNumber")) {
    ReadTyped(Depth);
    ReadTyped(Depth);
  } else if (IsClass(Name, "NSString", "NSMutableString")) {
    if (ReadShared() == "+") ReadCounted();
  } else if (IsClass(Name, "NSData", "NSMutableData")) {
    ReadShared();
    const std::int64_t length = ReadInteger();
    ReadShared();
    if (length < 0) throw EIconError("Typed stream data length");
    FBytes.Need(FPos, length);
    if (OnData) OnData(FPos, length);
    FPos += length;
  }
}

void TNXTypedStream::ReadTyped(int Depth) {
  Enter(Depth);
  const String type = ReadShared();
  if (type.empty()) throw EIconError("Typed stream type");
  for (char c : type) ReadValue(c, Depth + 1);
}

void TNXTypedStream::ReadValue(char Type, int Depth) {
  switch (Type) {
    case '#':
      ReadClass(Depth);
      break;
    case '*':
    case ':':
      ReadShared();
      break;
    case '@':
      ReadObject(Depth);
      break;
    case 'c':
    case 'C':
      Next();
      break;
    case 'i':
    case 'I':
    case 'l':
    case 'L':
      ReadInteger();
      break;
    case 's':
    case 'S':
      ReadInteger(false);
      break;
    default:
      throw EIconError("Typed stream value type");
  }
}

void TNXTypedStream::ReadAll() {
  while (FBytes.Has(FPos, 1)) {
    // An end-of-object byte left over at the top level is stepped over.
    if (Peek() == kEndOfObject || Peek() == kNil) {
      ++FPos;
      continue;
    }
    ReadTyped(0);
  }
}
