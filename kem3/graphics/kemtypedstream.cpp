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

bool IsClass(std::string_view Name, const char* A, const char* B) { return SameText(Name, A) || SameText(Name, B); }

// The kind is taken once, where the class is named: objects and references
// never compare a name again.
TNXTypedStream::TClassKind KindOf(std::string_view Name) {
  if (IsClass(Name, "NSMutableDictionary", "NSDictionary")) return TNXTypedStream::ckDictionary;
  if (IsClass(Name, "NSMutableArray", "NSArray")) return TNXTypedStream::ckArray;
  if (SameText(Name, "NSNumber")) return TNXTypedStream::ckNumber;
  if (IsClass(Name, "NSString", "NSMutableString")) return TNXTypedStream::ckString;
  if (IsClass(Name, "NSData", "NSMutableData")) return TNXTypedStream::ckData;
  return TNXTypedStream::ckOther;
}

}  // namespace

template <typename T>
void TNXTypedStream::AddEntry(std::vector<T>& Table, T Value) {
  if (Table.size() >= kMaxTableEntries) throw EIconError("Typed stream tables full");
  Table.push_back(Value);
}

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

std::string_view TNXTypedStream::ReadCounted() {
  const std::int64_t length = ReadInteger();
  if (length < 0) throw EIconError("Typed stream string length");
  const std::string_view s = FBytes.Sub(FPos, length);
  FPos += length;
  return s;
}

std::string_view TNXTypedStream::ReadShared() {
  const std::uint8_t b = Next();
  if (b == kNew) {
    AddEntry(FStrings, ReadCounted());
    return FStrings.back();
  }
  if (b >= kReference) {
    const std::size_t index = b - kReference;
    if (index >= FStrings.size()) throw EIconError("Typed stream string reference");
    return FStrings[index];
  }
  return {};
}

bool TNXTypedStream::ReadHeader() {
  try {
    FPos = 0;
    const std::uint8_t version = Next();
    if (version != 3 && version != 4) return false;
    const std::string_view signature = ReadCounted();
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

TNXTypedStream::TClassKind TNXTypedStream::ReadClass(int Depth) {
  Enter(Depth);
  const std::uint8_t b = Next();
  if (b == kNew) {
    const TClassKind kind = KindOf(ReadShared());
    AddEntry(FObjects, kind);
    ReadInteger();  // the class version
    ReadClass(Depth + 1);
    return kind;
  }
  if (b >= kReference) {
    const std::size_t index = b - kReference;
    if (index >= FObjects.size()) throw EIconError("Typed stream class reference");
    return FObjects[index];
  }
  return ckOther;
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
  AddEntry(FObjects, ckOther);
  const TClassKind kind = ReadClass(Depth + 1);
  FObjects[slot] = kind;
  ReadContents(kind, Depth + 1);
  if (FBytes.Has(FPos, 1) && Peek() == kEndOfObject) {
    ++FPos;
  } else if (OnDiagnostic) {
    OnDiagnostic("---- end-of-object missing");
  }
}

void TNXTypedStream::ReadContents(TClassKind Kind, int Depth) {
  if (Kind == ckDictionary) {
    ReadTyped(Depth);  // the count
    while (FBytes.Has(FPos, 1) && Peek() != kEndOfObject) ReadTyped(Depth);
  } else if (Kind == ckArray) {
    if (ReadShared().size() != 1) throw EIconError("Typed stream array count");
    const std::int64_t count = ReadInteger();
    for (std::int64_t i = 0; i < count; ++i) ReadTyped(Depth);
  } else if (Kind == ckNumber) {
    ReadTyped(Depth);
    ReadTyped(Depth);
  } else if (Kind == ckString) {
    if (ReadShared() == "+") ReadCounted();
  } else if (Kind == ckData) {
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
  const std::string_view type = ReadShared();
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
