// The attributes of one XML tag: "name=value" lines as the class library's
// name=value list shows them, kept as pairs in one block (the pairs' places,
// then their names and values), so that a tag of the contents file costs one
// block for all its attributes, and lookups and the writer read names and
// values where they lie.
#pragma once
#include <cstdint>
#include <string_view>

#include "platform/types.h"

namespace kemxml {
class TArena;
}

class TKemXmlAttributes {
 public:
  TKemXmlAttributes() = default;
  TKemXmlAttributes(const TKemXmlAttributes& Source) { Assign(Source); }
  TKemXmlAttributes& operator=(const TKemXmlAttributes& Source) {
    Assign(Source);
    return *this;
  }
  ~TKemXmlAttributes();

  int Count() const { return static_cast<int>(FCount); }
  bool Empty() const { return FCount == 0; }

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
  // Empties the list; its block stays for what is added next.
  void Clear();
  void Assign(const TKemXmlAttributes& Source);
  // As Assign, in a block of exactly the size needed taken from Arena.
  void AssignIn(const TKemXmlAttributes& Source, kemxml::TArena& Arena);
  bool operator==(const TKemXmlAttributes& Other) const;

 private:
  friend class TKemXmlReader;
  // For the reader, which decodes a value straight into the block: a pair of
  // Name and up to ValueRoom bytes of value begins, the value goes where the
  // result points, and EndPair counts its size.
  char* BeginPair(std::string_view Name, std::size_t ValueRoom);
  void EndPair(std::size_t ValueSize);

  struct TItem {
    std::uint32_t Start;  // of the name among the bytes; the value follows it
    std::uint32_t NameSize;
    std::uint32_t ValueSize;
  };
  TItem* Items() const { return reinterpret_cast<TItem*>(FBlock); }
  char* Bytes() const { return FBlock + FItemCapacity * sizeof(TItem); }
  void CheckIndex(int Index) const;
  // Room for one more pair of Size bytes.
  void Reserve(std::size_t Size);
  // Moves the live pairs into a new block with these capacities (from Arena when given).
  void Rebuild(std::uint32_t ItemCapacity, std::size_t BytesCapacity, kemxml::TArena* Arena);
  void PutPair(std::string_view Name, std::string_view Value);

  char* FBlock = nullptr;
  std::uint32_t FCount = 0;
  std::uint32_t FItemCapacity = 0;
  std::uint32_t FBytesSize = 0;  // used, names and values no pair refers to any more included
  std::uint32_t FBytesCapacity = 0;
  std::uint32_t FUnused = 0;  // bytes no pair refers to any more
};
