// The attributes of one XML tag.
#include "kem3/framework/kemxml_attributes.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "kem3/framework/kemxml_arena.h"
#include "platform/exceptions.h"
#include "platform/lists.h"
#include "platform/sysutils.h"

namespace {

// A view of nothing may have no data at all, which memcpy must not see.
void CopyBytes(char* to, const char* from, std::size_t n) {
  if (n) std::memcpy(to, from, n);
}

}  // namespace

TKemXmlAttributes::~TKemXmlAttributes() { kemxml::TArena::Free(FBlock); }

void TKemXmlAttributes::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
}

std::string_view TKemXmlAttributes::Name(int Index) const {
  CheckIndex(Index);
  const TItem& item = Items()[Index];
  return std::string_view(Bytes() + item.Start, item.NameSize);
}

std::string_view TKemXmlAttributes::Value(int Index) const {
  CheckIndex(Index);
  const TItem& item = Items()[Index];
  return std::string_view(Bytes() + item.Start + item.NameSize, item.ValueSize);
}

String TKemXmlAttributes::Get(int Index) const {
  std::string_view name = Name(Index), value = Value(Index);
  String line;
  line.reserve(name.size() + 1 + value.size());
  line.append(name).append(1, '=').append(value);
  return line;
}

String TKemXmlAttributes::Values(std::string_view Name) const {
  int index = IndexOfName(Name);
  return index < 0 ? String() : String(Value(index));
}

int TKemXmlAttributes::IndexOfName(std::string_view Name) const {
  for (std::uint32_t i = 0; i < FCount; ++i) {
    const TItem& item = Items()[i];
    if (item.NameSize == Name.size() && SameText(std::string_view(Bytes() + item.Start, item.NameSize), Name))
      return static_cast<int>(i);
  }
  return -1;
}

String TKemXmlAttributes::Text() const {
  String out;
  for (int i = 0; i < Count(); ++i) out.append(Get(i)).append("\r\n");
  return out;
}

void TKemXmlAttributes::Rebuild(std::uint32_t ItemCapacity, std::size_t BytesCapacity, kemxml::TArena* Arena) {
  if (BytesCapacity > std::numeric_limits<std::uint32_t>::max())
    throw EListError("The attributes of one tag cannot hold 4 GB");
  const std::size_t size = ItemCapacity * sizeof(TItem) + BytesCapacity;
  char* block = static_cast<char*>(Arena ? Arena->Allocate(size) : kemxml::TArena::AllocateHeap(size));
  auto* items = reinterpret_cast<TItem*>(block);
  char* bytes = block + ItemCapacity * sizeof(TItem);
  std::uint32_t at = 0;
  for (std::uint32_t i = 0; i < FCount; ++i) {
    TItem item = Items()[i];
    std::memcpy(bytes + at, Bytes() + item.Start, item.NameSize + item.ValueSize);
    item.Start = at;
    at += item.NameSize + item.ValueSize;
    items[i] = item;
  }
  kemxml::TArena::Free(FBlock);
  FBlock = block;
  FItemCapacity = ItemCapacity;
  FBytesCapacity = static_cast<std::uint32_t>(BytesCapacity);
  FBytesSize = at;
  FUnused = 0;
}

void TKemXmlAttributes::Reserve(std::size_t Size) {
  if (FCount < FItemCapacity && FBytesCapacity - FBytesSize >= Size) return;
  const std::size_t live = FBytesSize - FUnused;
  Rebuild(std::max<std::uint32_t>(4, FCount < FItemCapacity ? FItemCapacity : 2 * FItemCapacity),
          std::max<std::size_t>(64, 2 * live + Size), nullptr);
}

void TKemXmlAttributes::PutPair(std::string_view Name, std::string_view Value) {
  Reserve(Name.size() + Value.size());
  char* at = Bytes() + FBytesSize;
  CopyBytes(at, Name.data(), Name.size());
  CopyBytes(at + Name.size(), Value.data(), Value.size());
  Items()[FCount++] = {FBytesSize, static_cast<std::uint32_t>(Name.size()), static_cast<std::uint32_t>(Value.size())};
  FBytesSize += static_cast<std::uint32_t>(Name.size() + Value.size());
}

char* TKemXmlAttributes::BeginPair(std::string_view Name, std::size_t ValueRoom) {
  Reserve(Name.size() + ValueRoom);
  char* at = Bytes() + FBytesSize;
  CopyBytes(at, Name.data(), Name.size());
  Items()[FCount] = {FBytesSize, static_cast<std::uint32_t>(Name.size()), 0};
  return at + Name.size();
}

void TKemXmlAttributes::EndPair(std::size_t ValueSize) {
  TItem& item = Items()[FCount++];
  item.ValueSize = static_cast<std::uint32_t>(ValueSize);
  FBytesSize += item.NameSize + item.ValueSize;
}

void TKemXmlAttributes::Append(std::string_view Name, std::string_view Value) {
  const size_t eq = Name.find('=');
  if (eq == std::string_view::npos) {
    // Either may lie in this block, which a new pair may move: copied first then.
    const char* inside = FBlock;
    const char* end = FBlock + FItemCapacity * sizeof(TItem) + FBytesCapacity;
    const auto within = [&](std::string_view s) { return s.data() >= inside && s.data() < end; };
    if (FBlock && (within(Name) || within(Value))) {
      PutPair(String(Name), String(Value));
    } else {
      PutPair(Name, Value);
    }
    return;
  }
  // The line name=value would read as the name before the first "=".
  String value(Name.substr(eq + 1));
  value.append(1, '=').append(Value);
  Append(String(Name.substr(0, eq)), value);
}

int TKemXmlAttributes::Add(std::string_view Line) {
  const size_t eq = Line.find('=');
  if (eq == std::string_view::npos)
    Append(Line, std::string_view());
  else
    Append(Line.substr(0, eq), Line.substr(eq + 1));
  return Count() - 1;
}

void TKemXmlAttributes::SetValueFromIndex(int Index, std::string_view Value) {
  CheckIndex(Index);
  if (Value.empty()) {
    Delete(Index);
    return;
  }
  TItem& item = Items()[Index];
  if (Value.size() <= item.ValueSize) {
    std::memmove(Bytes() + item.Start + item.NameSize, Value.data(), Value.size());
    FUnused += item.ValueSize - static_cast<std::uint32_t>(Value.size());
    item.ValueSize = static_cast<std::uint32_t>(Value.size());
    return;
  }
  // The pair moves behind the others: appended anew, then put in its place.
  const String name(Name(Index));
  const String value(Value);
  const std::uint32_t old = item.NameSize + item.ValueSize;
  PutPair(name, value);
  FUnused += old;
  TItem moved = Items()[--FCount];
  Items()[Index] = moved;
  if (FUnused * 2 > FBytesSize) Rebuild(FItemCapacity, FBytesCapacity, nullptr);
}

void TKemXmlAttributes::SetValue(std::string_view Name, std::string_view Value) {
  int index = IndexOfName(Name);
  if (index >= 0)
    SetValueFromIndex(index, Value);
  else if (!Value.empty())
    Append(Name, Value);
}

void TKemXmlAttributes::Delete(int Index) {
  CheckIndex(Index);
  const TItem& item = Items()[Index];
  FUnused += item.NameSize + item.ValueSize;
  std::memmove(Items() + Index, Items() + Index + 1, (FCount - static_cast<std::uint32_t>(Index) - 1) * sizeof(TItem));
  --FCount;
  if (FCount == 0) {
    FBytesSize = FUnused = 0;
  }
}

void TKemXmlAttributes::Clear() { FCount = FBytesSize = FUnused = 0; }

void TKemXmlAttributes::Assign(const TKemXmlAttributes& Source) {
  if (&Source == this) return;
  Clear();
  for (int i = 0; i < Source.Count(); ++i) PutPair(Source.Name(i), Source.Value(i));
}

void TKemXmlAttributes::AssignIn(const TKemXmlAttributes& Source, kemxml::TArena& Arena) {
  if (&Source == this) return;
  kemxml::TArena::Free(FBlock);
  FBlock = nullptr;
  FCount = FItemCapacity = FBytesSize = FBytesCapacity = FUnused = 0;
  if (Source.Empty()) return;
  // Source's pairs are copied from its block straight into the new one.
  char* block = static_cast<char*>(Arena.Allocate(Source.FCount * sizeof(TItem) + Source.FBytesSize - Source.FUnused));
  FBlock = block;
  FItemCapacity = Source.FCount;
  FBytesCapacity = Source.FBytesSize - Source.FUnused;
  for (std::uint32_t i = 0; i < Source.FCount; ++i) {
    const TItem& item = Source.Items()[i];
    std::memcpy(Bytes() + FBytesSize, Source.Bytes() + item.Start, item.NameSize + item.ValueSize);
    Items()[i] = {FBytesSize, item.NameSize, item.ValueSize};
    FBytesSize += item.NameSize + item.ValueSize;
  }
  FCount = Source.FCount;
}

bool TKemXmlAttributes::operator==(const TKemXmlAttributes& Other) const {
  if (Count() != Other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Name(i) != Other.Name(i) || Value(i) != Other.Value(i)) return false;
  return true;
}
