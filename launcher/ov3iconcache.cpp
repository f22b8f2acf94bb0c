// The icon cache: its file, the pictures made from icon libraries and picture
// files, and keeping it in line with the contents document.
#include "launcher/ov3iconcache.h"

#include <algorithm>

#include "kem3/framework/kemstreamfmt.h"
#include "kem3/framework/kemutil.h"
#include "kem3/graphics/kemicons.h"
#include "kem3/pictures/kemimage.h"
#include "kem3/pictures/kemresample.h"
#include "launcher/ov3contents.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/sysutils.h"

namespace {

// The fixed bytes of one item: index, size byte, size and the image block header.
constexpr std::int64_t kItemMinBytes = 4 + 1 + 4 + 8;

// The picture as pf32bit with straight alpha; formats without alpha are opaque.
void MakeStraight32(TBitmap& Picture) {
  if (Picture.PixelFormat() == pf32bit && Picture.AlphaFormat() != afIgnored) return;
  if (Picture.PixelFormat() != pf32bit)
    Picture.SetPixelFormat(pf32bit);
  else
    for (int y = 0; y < Picture.Height(); ++y) {
      auto* row = static_cast<TRGBQuad*>(Picture.ScanLine(y));
      for (int x = 0; x < Picture.Width(); ++x) row[x].rgbReserved = 255;
    }
  Picture.SetAlphaFormat(afDefined);
}

// The state of an icon's file when its picture failed: size and write time,
// "none" for a missing file.
String SourceStamp(const String& FileName) {
  TFileStamp stamp;
  if (!GetFileStamp(FileName, stamp)) return "none";
  return IntToStr(stamp.Size) + ":" + IntToStr(stamp.WriteTime);
}

// The icon's "image" file, a relative name taken relative to the program folder.
String IconSource(const TKemXmlTag& Icon, const String& ProgramDir) {
  const String fileName = Icon.ReadPathAttr("image", "filename");
  return fileName.empty() ? String() : ExpandRelativePath(fileName, ProgramDir);
}

}  // namespace

std::unique_ptr<TBitmap> NewPicture(int Size) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(Size, Size);
  bitmap->SetAlphaFormat(afDefined);
  return bitmap;
}

std::vector<std::unique_ptr<TIconCacheItem>> ReadIconCacheItems(std::string_view Bytes) {
  TStringStream stream{std::string(Bytes)};
  return ReadIconCacheItems(stream);
}

std::vector<std::unique_ptr<TIconCacheItem>> ReadIconCacheItems(TStream& Stream) {
  Stream.SetPosition(0);
  const std::int64_t size = Stream.Size();
  if (size <= 12 || Stream.ReadBytes(8) != kIconCacheMagic) throw EReadError("Icon cache: no cache file");
  const std::int32_t count = Stream.ReadLE<std::int32_t>();
  if (count < 0 || count > (size - 12) / kItemMinBytes) throw EReadError("Icon cache: item count");
  std::vector<std::unique_ptr<TIconCacheItem>> items;
  items.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    auto item = std::make_unique<TIconCacheItem>();
    item->CacheIndex = Stream.ReadLE<std::int32_t>();
    Stream.ReadLE<std::uint8_t>();  // the size's lowest byte once more
    item->Size = Stream.ReadLE<std::int32_t>();
    if (item->CacheIndex < 0 || item->Size <= 0 || item->Size > kIconCacheMaxSize)
      throw EReadError("Icon cache: item header");
    item->Bitmap = std::make_unique<TBitmap>();
    try {
      if (!ReadImageBlock(Stream, *item->Bitmap)) throw EReadError("Icon cache: picture missing");
    } catch (const EInvalidGraphic&) {
      throw EReadError("Icon cache: picture damaged");
    }
    const TBitmap& b = *item->Bitmap;
    if (b.Width() <= 0 || b.Width() > kIconCacheMaxSize || b.Height() <= 0 || b.Height() > kIconCacheMaxSize)
      throw EReadError("Icon cache: picture size");
    MakeStraight32(*item->Bitmap);
    items.push_back(std::move(item));
  }
  return items;
}

TIconCache::TIconCache(const String& FileName, const String& ProgramDir, std::unique_ptr<TBitmap> Unknown)
    : FFileName(FileName), FProgramDir(ProgramDir), FUnknown(std::move(Unknown)) {
  if (!FUnknown || FUnknown->Empty()) FUnknown = DrawUnknownIconPicture(32);
  MakeStraight32(*FUnknown);
  Load();
}

TIconCache::~TIconCache() = default;

void TIconCache::RetireItems() {
  FRetired = std::move(FItems);
  FItems.clear();
}

bool TIconCache::Load() {
  RetireItems();
  FNextIndex = 0;
  try {
    if (!FileExists(FFileName)) return false;
    // Read item by item: the file grows with the icons (1,100 icons of 128
    // pixels take 70 MB), and every picture in it is checked as it comes.
    TFileStream stream(FFileName, fmOpenRead | fmShareDenyWrite);
    FItems = ReadIconCacheItems(stream);
  } catch (const Exception&) {
    FItems.clear();
    return false;
  }
  for (const auto& item : FItems) FNextIndex = std::max(FNextIndex, item->CacheIndex + 1);
  return true;
}

void TIconCache::Save() const {
  TMemoryStream stream;
  stream.WriteBytes(kIconCacheMagic);
  stream.WriteLE<std::int32_t>(Count());
  for (const auto& item : FItems) {
    stream.WriteLE<std::int32_t>(item->CacheIndex);
    stream.WriteLE<std::uint8_t>(static_cast<std::uint8_t>(item->Size & 0xFF));
    stream.WriteLE<std::int32_t>(item->Size);
    WriteImageBlock(stream, *item->Bitmap);
  }
  stream.SaveToFile(FFileName);
}

TIconCacheItem* TIconCache::Find(int Index) const {
  if (Index < 0) return nullptr;
  for (const auto& item : FItems)
    if (item->CacheIndex == Index) return item.get();
  return nullptr;
}

TBitmap* TIconCache::GetBitmap(int Index) {
  if (TIconCacheItem* item = Find(Index); item && item->Valid) return item->Bitmap.get();
  if (!FUnknownScaled || FUnknownScaled->Width() != IconSize) {
    auto scaled = NewPicture(std::max(1, IconSize));
    ResampleBitmap(*scaled, *FUnknown, rfLanczos3, 0);
    scaled->SetAlphaFormat(afDefined);
    FUnknownRetired = std::move(FUnknownScaled);
    FUnknownScaled = std::move(scaled);
  }
  return FUnknownScaled.get();
}

TBitmap* TIconCache::GetIconBitmap(const TKemXmlTag& Icon) {
  return GetBitmap(StrToIntDef(Icon.ReadAttr("cacheindex", "-1"), -1));
}

bool TIconCache::MakePicture(const String& FileName, int Index, TBitmap& Bitmap) const {
  const int size = Bitmap.Width();
  const String ext = LowerCase(ExtractFileExt(FileName));
  TBitmap mask;
  if (ext != ".bmp" && ext != ".png" && ext != ".jpg") {
    TKemIcons& icons = Library(FileName);
    if (icons.GetCount() == 0) return false;
    int group = icons.FromRegisteredIcon() ? icons.DefaultGroup() : Index;
    if (group < 0 || group >= icons.GetCount()) group = 0;
    TKemIconGroup& g = *icons.GetGroup(group);
    for (;;) {
      int chosen = -1;
      const TKemIconImage* image = g.ExactImage(size, 32, &chosen);
      if (!image) image = g.BestImage(512, 32, &chosen);
      if (!image) return false;
      const bool stretch = Stretch == isAlways || (Stretch == isWhenLarger && image->Width > size);
      try {
        image->Draw(Bitmap, mask, stretch, true);
        return true;
      } catch (const Exception&) {
        // An image that cannot be decoded is skipped: the next best one stands in.
        g.Images.erase(g.Images.begin() + chosen);
        Bitmap.SetSize(size, size);
      }
    }
  }
  TBitmap picture;
  LoadBitmapFromFile(picture, FileName);
  if (picture.Empty()) return false;
  MakeStraight32(picture);
  const bool stretch = Stretch == isAlways || (Stretch == isWhenLarger && picture.Width() > size);
  DrawIconPicture(picture, nullptr, Bitmap, mask, stretch, true);
  return true;
}

TKemIcons& TIconCache::Library(const String& FileName) const {
  for (auto& [name, icons] : FLibraries)
    if (name == FileName) return *icons;
  // Bars hold many icons of one library (shell32.dll…): the last few stay loaded while the cache is made.
  if (FLibraries.size() >= kLibrariesKept) FLibraries.erase(FLibraries.begin());
  auto icons = std::make_unique<TKemIcons>();
  icons->LoadFromFile(FileName);
  FLibraries.emplace_back(FileName, std::move(icons));
  return *FLibraries.back().second;
}

bool TIconCache::AddEntry(TKemXmlTag& Icon, int Size) {
  if (Size <= 0) Size = IconSize;
  Size = std::clamp(Size, 1, kIconCacheMaxSize);
  const String fileName = IconSource(Icon, FProgramDir);
  // Without a file there is no picture to make: none is drawn into (every
  // start passes each such icon here again).
  if (fileName.empty()) {
    Icon.WriteAttr("cacheindex", "-1");
    Icon.DeleteAttr(String(kIconCacheFailedAttr));
    return false;
  }
  auto item = std::make_unique<TIconCacheItem>();
  item->Size = Size;
  item->Bitmap = NewPicture(Size);
  const int index = StrToIntDef(Icon.ReadPathAttr("image", "index", "0"), 0);
  try {
    item->Valid = MakePicture(fileName, index, *item->Bitmap);
  } catch (const Exception&) {
    item->Valid = false;
  } catch (const std::bad_alloc&) {
    item->Valid = false;
  }
  if (!FMakingAll) FLibraries.clear();
  if (!item->Valid || item->Bitmap->Width() != Size || item->Bitmap->Height() != Size) {
    Icon.WriteAttr("cacheindex", "-1");
    Icon.WriteAttr(String(kIconCacheFailedAttr), SourceStamp(fileName));
    return false;
  }
  item->CacheIndex = FNextIndex++;
  Icon.WriteAttr("cacheindex", IntToStr(item->CacheIndex));
  Icon.DeleteAttr(String(kIconCacheFailedAttr));
  FItems.push_back(std::move(item));
  return true;
}

bool TIconCache::FailedUnchanged(const TKemXmlTag& Icon) const {
  const String failed = Icon.ReadAttr(String(kIconCacheFailedAttr));
  if (failed.empty()) return false;
  const String fileName = IconSource(Icon, FProgramDir);
  return !fileName.empty() && failed == SourceStamp(fileName);
}

bool TIconCache::Sync(const TKemXmlTag* Groups) {
  for (const auto& item : FItems) item->Valid = false;
  FMakingAll = true;
  bool added = false;
  for (const TKemXmlTag* group : ListGroups(Groups))
    for (TKemXmlTag* icon : ListIcons(group)) {
      if (TIconCacheItem* item = Find(StrToIntDef(icon->ReadAttr("cacheindex", "-1"), -1))) {
        item->Valid = true;
        if (item->Size != std::clamp(IconSize, 1, kIconCacheMaxSize)) {
          Refit(*icon, *item);
          added = true;
        }
      } else if (FailedUnchanged(*icon)) {
        // Its file is as it was when the picture failed: it would fail again.
      } else if (AddEntry(*icon)) {
        added = true;
      }
    }
  FMakingAll = false;
  FLibraries.clear();
  // An icon that got no picture changes nothing in the file: it is written
  // only when it has new items.
  if (added) Save();
  return added;
}

void TIconCache::Refit(const TKemXmlTag& Icon, TIconCacheItem& Item) {
  const int size = std::clamp(IconSize, 1, kIconCacheMaxSize);
  auto picture = NewPicture(size);
  bool made = false;
  if (const String fileName = Icon.ReadPathAttr("image", "filename"); !fileName.empty()) {
    try {
      made = MakePicture(ExpandRelativePath(fileName, FProgramDir),
                         StrToIntDef(Icon.ReadPathAttr("image", "index", "0"), 0), *picture);
    } catch (const Exception&) {
    } catch (const std::bad_alloc&) {
    }
    made = made && picture->Width() == size && picture->Height() == size;
  }
  // A source that is gone leaves the cached picture, scaled: it is all the icon has.
  if (!made) {
    picture = NewPicture(size);
    ResampleBitmap(*picture, *Item.Bitmap, rfLanczos3, 0);
    picture->SetAlphaFormat(afDefined);
  }
  // The old picture stays alive as the retired items do (GetBitmap).
  auto old = std::make_unique<TIconCacheItem>();
  old->Bitmap = std::exchange(Item.Bitmap, std::move(picture));
  FRetired.push_back(std::move(old));
  Item.Size = size;
}

bool TIconCache::AddMissingEntries(const TKemXmlTag* Groups, std::uint64_t Deadline, std::vector<TKemXmlTag*>& Made) {
  FMakingAll = true;
  bool any = false, left = false;
  for (const TKemXmlTag* group : ListGroups(Groups)) {
    for (TKemXmlTag* icon : ListIcons(group)) {
      if (icon->Attributes.IndexOfName("cacheindex") >= 0) continue;
      if (any && TickCount() >= Deadline) {
        left = true;
        break;
      }
      AddEntry(*icon);
      Made.push_back(icon);
      any = true;
    }
    if (left) break;
  }
  FMakingAll = false;
  FLibraries.clear();
  return left;
}

void TIconCache::Rebuild(const TKemXmlTag* Groups) {
  RetireItems();
  FNextIndex = 0;
  FMakingAll = true;
  for (const TKemXmlTag* group : ListGroups(Groups))
    for (TKemXmlTag* icon : ListIcons(group)) AddEntry(*icon);
  FMakingAll = false;
  FLibraries.clear();
}

std::unique_ptr<TBitmap> DrawUnknownIconPicture(int Size) {
  // A question mark on a 7 x 9 grid.
  static const char* const kMark[9] = {" ##### ", "##   ##", "     ##", "    ## ", "   ##  ",
                                       "   ##  ", "       ", "   ##  ", "   ##  "};
  auto bitmap = NewPicture(Size);
  const int margin = Size / 16, corner = Size / 6;
  const int cell = std::max(1, Size * 5 / 8 / 9);
  const int left = (Size - 7 * cell) / 2, top = (Size - 9 * cell) / 2;
  for (int y = 0; y < Size; ++y) {
    auto* row = static_cast<TRGBQuad*>(bitmap->ScanLine(y));
    for (int x = 0; x < Size; ++x) {
      const int dx = std::max({0, margin + corner - x, x - (Size - 1 - margin - corner)});
      const int dy = std::max({0, margin + corner - y, y - (Size - 1 - margin - corner)});
      if (x < margin || y < margin || x >= Size - margin || y >= Size - margin || dx * dx + dy * dy > corner * corner)
        continue;
      const bool edge = x == margin || y == margin || x == Size - 1 - margin || y == Size - 1 - margin ||
                        (dx * dx + dy * dy > (corner - 1) * (corner - 1) && (dx > 0 && dy > 0));
      const int gx = (x - left) / cell, gy = (y - top) / cell;
      const bool mark = x >= left && y >= top && gx < 7 && gy < 9 && kMark[gy][gx] == '#';
      const std::uint8_t v = mark ? 0x50 : edge ? 0x70 : 0xD8;
      row[x] = TRGBQuad{v, v, v, 255};
    }
  }
  return bitmap;
}
