// The data of one entry of the file browser's list: what the listing workers
// find and the dialog sorts by.
#pragma once
#include <cstdint>
#include <memory>

#include "kem3/unicode/ucwidestrings.h"
#include "platform/object.h"
#include "platform/types.h"

// A shell item identifier list, freed with the shell's allocator; opaque here.
using TBrowsePidl = std::unique_ptr<void, void (*)(void*)>;

enum TBrowseItemKind : int {
  bikFile = 0,
  bikOpenable = 1,  // folders, drives, special folders, servers, shares
};

class TListItemData : public TObject {
 public:
  int Index = 0;  // place in the dialog's name list of its kind
  int Kind = bikFile;
  TBrowsePidl Pidl{nullptr, [](void*) {}};
  double Date = 0.0;  // date and time as days since 1899-12-30
  std::int64_t Size = 0;
  std::int64_t TotalBytes = 0;  // drives and shares
  std::int64_t FreeBytes = 0;
  WideString SortText;
  TUcStringList Columns;  // the detail columns after the name
};
