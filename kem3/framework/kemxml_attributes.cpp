// The attributes of one XML tag.
#include "kem3/framework/kemxml_attributes.h"

#include "platform/lists.h"
#include "platform/sysutils.h"

void TKemXmlAttributes::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
}

std::string_view TKemXmlAttributes::Name(int Index) const {
  CheckIndex(Index);
  const TItem& item = FItems[static_cast<size_t>(Index)];
  return std::string_view(FBytes).substr(item.Start, item.NameSize);
}

std::string_view TKemXmlAttributes::Value(int Index) const {
  CheckIndex(Index);
  const TItem& item = FItems[static_cast<size_t>(Index)];
  return std::string_view(FBytes).substr(item.Start + item.NameSize, item.ValueSize);
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
  for (size_t i = 0; i < FItems.size(); ++i) {
    const TItem& item = FItems[i];
    if (item.NameSize == Name.size() && SameText(std::string_view(FBytes).substr(item.Start, item.NameSize), Name))
      return static_cast<int>(i);
  }
  return -1;
}

String TKemXmlAttributes::Text() const {
  String out;
  for (int i = 0; i < Count(); ++i) out.append(Get(i)).append("\r\n");
  return out;
}

void TKemXmlAttributes::Append(std::string_view Name, std::string_view Value) {
  const size_t eq = Name.find('=');
  if (eq != std::string_view::npos) {
    // The line name=value would read as the name before the first "=".
    String value(Name.substr(eq + 1));
    value.append(1, '=').append(Value);
    Append(Name.substr(0, eq), value);
    return;
  }
  FItems.push_back({FBytes.size(), Name.size(), Value.size()});
  FBytes.append(Name).append(Value);
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
  TItem& item = FItems[static_cast<size_t>(Index)];
  if (Value.size() <= item.ValueSize) {
    FUnused += item.ValueSize - Value.size();
    FBytes.replace(item.Start + item.NameSize, Value.size(), Value);
    item.ValueSize = Value.size();
  } else {
    // The pair moves to the end; Value may lie in FBytes itself, so it is copied first.
    const String moved = String(FBytes, item.Start, item.NameSize) + String(Value);
    FUnused += item.NameSize + item.ValueSize;
    item.Start = FBytes.size();
    item.ValueSize = Value.size();
    FBytes.append(moved);
  }
  Compact();
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
  const TItem& item = FItems[static_cast<size_t>(Index)];
  FUnused += item.NameSize + item.ValueSize;
  FItems.erase(FItems.begin() + Index);
  Compact();
}

void TKemXmlAttributes::Clear() {
  FItems.clear();
  FBytes.clear();
  FUnused = 0;
}

bool TKemXmlAttributes::operator==(const TKemXmlAttributes& Other) const {
  if (Count() != Other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (Name(i) != Other.Name(i) || Value(i) != Other.Value(i)) return false;
  return true;
}

void TKemXmlAttributes::Compact() {
  if (FUnused == 0) return;
  if (FItems.empty()) {
    Clear();
    return;
  }
  if (FUnused * 2 < FBytes.size()) return;
  String bytes;
  bytes.reserve(FBytes.size() - FUnused);
  for (TItem& item : FItems) {
    const size_t start = bytes.size();
    bytes.append(FBytes, item.Start, item.NameSize + item.ValueSize);
    item.Start = start;
  }
  FBytes = std::move(bytes);
  FUnused = 0;
}
