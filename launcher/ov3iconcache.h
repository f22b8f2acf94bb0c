// The icon cache: every icon's picture, already drawn at the bar's icon size,
// kept in "ov3.icc" beside the program so that a start reads one small file
// instead of every executable and icon library. Each icon element of the
// contents points at its entry through "cacheindex".
//
// The file: "OV3ICCF\0", an int32 count, then per item the int32 cache index,
// one byte that repeats the size's lowest byte (written, ignored on reading),
// the int32 size and the picture as an image block (a BMP). A file that is
// truncated or damaged anywhere is discarded whole, and the entries are made
// again from their sources.
//
// An icon whose picture could not be made keeps "cacheindex" "-1" and notes in
// "cachefailed" how its file was then (size and write time): later starts pass
// it over until the file changes, so a library that costs much and gives
// nothing costs it once, not at every start.
#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "kem3/framework/kemxml.h"
#include "kem3/graphics/kemicons.h"
#include "platform/bitmap.h"
#include "platform/streams.h"
#include "platform/types.h"

inline constexpr std::string_view kIconCacheFileName = "ov3.icc";
inline constexpr std::string_view kIconCacheMagic{"OV3ICCF\0", 8};
// The icon attribute that notes the state of the file an icon's picture
// could not be made from.
inline constexpr std::string_view kIconCacheFailedAttr = "cachefailed";
// Larger pictures or sizes in a cache file mean a damaged file.
inline constexpr int kIconCacheMaxSize = 1024;

// ovsIconsStretch: when pictures are scaled to the icon size.
enum TIconStretch { isAlways = 0, isWhenLarger = 1, isNever = 2 };

struct TIconCacheItem {
  std::unique_ptr<TBitmap> Bitmap;  // Size x Size, pf32bit with straight alpha
  std::int32_t Size = 0;
  std::int32_t CacheIndex = -1;
  // A picture was made, or an icon refers to the entry.
  bool Valid = false;
};

class TIconCache {
 public:
  // Unknown: the full-size "unknown" picture shown for icons without one.
  // Reads FileName (Load).
  TIconCache(const String& FileName, const String& ProgramDir, std::unique_ptr<TBitmap> Unknown);
  ~TIconCache();
  TIconCache(const TIconCache&) = delete;
  TIconCache& operator=(const TIconCache&) = delete;

  // ovsIconsSize (the icon size) and ovsIconsStretch (TIconStretch).
  int IconSize = 32;
  int Stretch = isAlways;

  // Reads the file; its items start not valid. A missing, short or damaged
  // file leaves the cache empty: false.
  bool Load();
  // Writes every item in list order (a temporary file and one replace).
  void Save() const;

  // The item of that cache index; nullptr for a negative index or none.
  TIconCacheItem* Find(int Index) const;
  // The item's picture when it is valid, else the "unknown" picture at the
  // icon size. Pictures stay alive until the rebuild after next, so a panel
  // refilled after a rebuild never draws a freed one.
  TBitmap* GetBitmap(int Index);
  // GetBitmap of the icon element's "cacheindex".
  TBitmap* GetIconBitmap(const TKemXmlTag& Icon);
  // Makes the picture of an icon element (Size <= 0: the icon size) from its
  // "image" child and sets the icon's "cacheindex": the new entry, or "-1"
  // when no picture could be made, with the file's state in
  // kIconCacheFailedAttr (dropped again once a picture is made). Loader
  // errors never pass through.
  bool AddEntry(TKemXmlTag& Icon, int Size = 0);
  // Marks the items the icons of the groups refer to as valid and adds
  // entries for icons without one; an item made at another size than the
  // icon size (the setting changed while the bar was closed, or edited by
  // hand) is made anew at the icon size under its own cache index. Saves
  // when it added or remade any (true then): an icon whose picture cannot be
  // made leaves the file as it is. An icon whose picture failed from a file
  // that has not changed since is not tried again (Rebuild tries every icon).
  bool Sync(const TKemXmlTag* Groups);
  // Every entry made anew from the icons of the groups, indexes from 0.
  void Rebuild(const TKemXmlTag* Groups);
  // Entries for the icons of the groups that never had one (no "cacheindex",
  // as a drop places them), in the contents order, until the clock reaches
  // Deadline: at least one a call. The icons done are added to Made; true
  // while some are left for the next call.
  bool AddMissingEntries(const TKemXmlTag* Groups, std::uint64_t Deadline, std::vector<TKemXmlTag*>& Made);

  int Count() const { return static_cast<int>(FItems.size()); }
  std::int32_t NextIndex() const { return FNextIndex; }
  const String& FileName() const { return FFileName; }

 private:
  // Moves the current items out of the list; they stay alive a while (GetBitmap).
  void RetireItems();
  bool MakePicture(const String& FileName, int Index, TBitmap& Bitmap) const;
  // Item's picture made anew at the icon size from Icon's source, or its
  // cached picture resampled when the source yields none.
  void Refit(const TKemXmlTag& Icon, TIconCacheItem& Item);
  // The icon's picture failed before from its file as the file is now.
  bool FailedUnchanged(const TKemXmlTag& Icon) const;
  // The icon library of a file, loaded once while a sync or rebuild runs.
  TKemIcons& Library(const String& FileName) const;
  static constexpr std::size_t kLibrariesKept = 4;

  String FFileName;
  String FProgramDir;
  std::vector<std::unique_ptr<TIconCacheItem>> FItems;
  std::vector<std::unique_ptr<TIconCacheItem>> FRetired;
  std::int32_t FNextIndex = 0;
  std::unique_ptr<TBitmap> FUnknown;
  std::unique_ptr<TBitmap> FUnknownScaled;
  std::unique_ptr<TBitmap> FUnknownRetired;
  mutable std::vector<std::pair<String, std::unique_ptr<TKemIcons>>> FLibraries;
  bool FMakingAll = false;  // in a sync or rebuild: libraries stay loaded until its end
};

// The items of a cache file, read from the stream's start; EReadError for
// any fault in them.
std::vector<std::unique_ptr<TIconCacheItem>> ReadIconCacheItems(TStream& Stream);
std::vector<std::unique_ptr<TIconCacheItem>> ReadIconCacheItems(std::string_view Bytes);

// The "unknown" picture drawn by code: a grey tile with a question mark.
std::unique_ptr<TBitmap> DrawUnknownIconPicture(int Size);
// A Size x Size pf32bit picture with straight alpha, all transparent.
std::unique_ptr<TBitmap> NewPicture(int Size);
