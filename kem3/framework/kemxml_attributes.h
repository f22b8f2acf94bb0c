// The attributes of one XML tag: "name=value" lines as the class library's
// name=value list shows them, kept as pairs in one block of bytes so that a
// tag of the contents file costs two allocations for all its attributes, and
// lookups and the writer read names and values where they lie.
#pragma once
#include <string_view>
#include <vector>

#include "platform/types.h"

class TKemXmlAttributes {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  bool Empty() const { return FItems.empty(); }

  // Where they lie: valid until the list changes. Both raise EListError for a bad index.
  std::string_view Name(int Index) const;
  std::string_view Value(int Index) const;

  // The line "name=value" (the string list's view of an attribute).
  String Get(int Index) const;
  String Strings(int Index) const { return Get(Index); }
  String operator[](int Index) const { return Get(Index); }
  String Names(int Index) const { return String(Name(Index)); }
  String ValueFromIndex(int Index) const { return String(Value(Index)); }
  // The value of the first attribute of that name; "" when there is none.
  String Values(std::string_view Name) const;
  // The first attribute whose name matches without regard to ASCII case; -1 when none.
  int IndexOfName(std::string_view Name) const;
  // Every line followed by CR LF.
  String Text() const;

  // Appends name=value without looking for an existing one. A name holding
  // "=" is cut there, as the line "name=value" would be read.
  void Append(std::string_view Name, std::string_view Value);
  // Appends the line "name=value"; a line without "=" is a name with an empty value.
  int Add(std::string_view Line);
  // An empty value deletes the attribute, as the name=value list does.
  void SetValueFromIndex(int Index, std::string_view Value);
  // Replaces, appends, or with an empty value deletes the attribute of that name.
  void SetValue(std::string_view Name, std::string_view Value);
  void Delete(int Index);
  void Clear();
  void Assign(const TKemXmlAttributes& Source) { *this = Source; }
  bool operator==(const TKemXmlAttributes& Other) const;

 private:
  struct TItem {
    size_t Start;  // of the name in FBytes; the value follows it
    size_t NameSize;
    size_t ValueSize;
  };
  void CheckIndex(int Index) const;
  // Drops the bytes no attribute refers to any more once they are most of the block.
  void Compact();

  std::vector<TItem> FItems;
  String FBytes;
  size_t FUnused = 0;
};
