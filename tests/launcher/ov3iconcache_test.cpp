// The icon cache: pictures made from icon files, libraries and picture files
// at the icon size, the cache file's round trip, every kind of damaged cache
// discarded whole, and keeping the cache in line with the contents (a picture
// that failed is tried again only once its file changed).
#include "launcher/ov3iconcache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "kem3/framework/kemstreamfmt.h"
#include "kem3/graphics/icon_pixels.h"
#include "kem3/pictures/pngimage.h"
#include "launcher/ov3contents.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "support/temp_dir.h"
#include "tools/common/iconwriter.h"

using namespace iconwriter;

namespace {

bool Near(std::uint32_t A, std::uint32_t B) {
  if ((A >> 24) == 0 && (B >> 24) == 0) return true;  // transparent: the colour says nothing
  for (int shift : {0, 8, 16, 24})
    if (std::abs(static_cast<int>(A >> shift & 255) - static_cast<int>(B >> shift & 255)) > 3) return false;
  return true;
}

// A folder with a program beside its pictures: a 16 and 32 pixel icon file
// (blue), a 64 pixel PNG (green), a library whose second icon is red, a
// damaged PNG and a text file.
class IconCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Write("app.ico", IcoFile({SolidIcoEntry(16, 0xFF0000FFu), SolidIcoEntry(32, 0xFF0000FFu)}));
    // Its 32 pixel image is a PNG that cannot be decoded: the 16 pixel one stands in.
    TPNGImage broken;
    broken.SetSize(32, 32);
    TMemoryStream stream;
    broken.SaveToStream(stream);
    std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
    bytes[bytes.size() - 20] ^= 0x55;
    Write("damaged.ico", IcoFile({SolidIcoEntry(16, 0xFF00FF00u), {32, 32, 0, 1, 32, bytes}}));
    Write("lib.icl", NeLibrary({{{SolidIcoEntry(32, 0xFF0000FFu)}}, {{SolidIcoEntry(32, 0xFFFF0000u)}}}, {"A", "B"}));
    TPNGImage png;
    png.SetPixelFormat(pf24bit);
    png.SetSize(64, 64);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) png.SetPixelColor(x, y, 0x00FF00);
    png.SaveToFile(dir.file("pic.png"));
    Write("bad.png", "\x89PNG\r\n\x1a\n broken");
    Write("notes.txt", "text");
  }
  void Write(const std::string& Name, const std::string& Bytes) { WriteFileAtomic(dir.file(Name), Bytes); }
  std::unique_ptr<TIconCache> NewCache() {
    return std::make_unique<TIconCache>(dir.file("ov3.icc"), dir.path().string() + "/", nullptr);
  }
  // A document with one group holding icons of these image files (and indexes).
  void MakeDocument(const std::vector<std::pair<std::string, std::string>>& Images) {
    doc = std::make_unique<TKemXml>();
    CreateDefaultContents(*doc);
    TKemXmlTag* icons = GroupIcons(ListGroups(ContentsGroups(*doc))[0], true);
    for (const auto& [file, index] : Images)
      icons->AddTag("icon")->AddTag("image", "filename=" + file + ";index=" + index);
  }
  std::vector<String> CacheIndexes() {
    std::vector<String> out;
    for (TKemXmlTag* icon : ListIcons(ListGroups(ContentsGroups(*doc))[0])) out.push_back(icon->ReadAttr("cacheindex"));
    return out;
  }

  TempDir dir;
  std::unique_ptr<TKemXml> doc;
};

}  // namespace

TEST_F(IconCacheTest, PicturesOfEveryKindAtTheIconSize) {
  struct Case {
    const char* File;
    const char* Index;
    int Size, Stretch;
    bool Valid;
    std::uint32_t Centre, Corner;  // pixel colours at the middle and at (0, 0)
  };
  const Case cases[] = {
      {"app.ico", "0", 32, isAlways, true, 0xFF0000FFu, 0xFF0000FFu},
      {"app.ico", "0", 16, isNever, true, 0xFF0000FFu, 0xFF0000FFu},   // the exact 16 pixel image
      {"app.ico", "0", 48, isNever, true, 0xFF0000FFu, 0},             // 32 centred in 48
      {"app.ico", "0", 48, isWhenLarger, true, 0xFF0000FFu, 0},        // smaller: not stretched
      {"app.ico", "0", 48, isAlways, true, 0xFF0000FFu, 0xFF0000FFu},  // stretched
      {"lib.icl", "1", 32, isAlways, true, 0xFFFF0000u, 0xFFFF0000u},
      {"damaged.ico", "0", 32, isNever, true, 0xFF00FF00u, 0},
      {"lib.icl", "7", 32, isAlways, true, 0xFF0000FFu, 0xFF0000FFu},  // beyond the library: icon 0
      {"pic.png", "0", 32, isWhenLarger, true, 0xFF00FF00u, 0xFF00FF00u},
      {"pic.png", "0", 32, isNever, true, 0xFF00FF00u, 0xFF00FF00u},  // 64 centred in 32: cut
      {"pic.png", "0", 100, isNever, true, 0xFF00FF00u, 0},
      {"bad.png", "0", 32, isAlways, false, 0, 0},
      {"notes.txt", "0", 32, isAlways, false, 0, 0},
      {"missing.ico", "0", 32, isAlways, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.File) + " " + c.Index + " " + std::to_string(c.Size) + "/" + std::to_string(c.Stretch));
    auto cache = NewCache();
    cache->IconSize = c.Size;
    cache->Stretch = c.Stretch;
    MakeDocument({{c.File, c.Index}});
    TKemXmlTag& icon = *ListIcons(ListGroups(ContentsGroups(*doc))[0])[0];
    EXPECT_EQ(cache->AddEntry(icon), c.Valid);
    EXPECT_EQ(icon.ReadAttr("cacheindex"), c.Valid ? "0" : "-1");
    TBitmap* picture = cache->GetBitmap(c.Valid ? 0 : -1);
    ASSERT_EQ(picture->Width(), c.Size);
    ASSERT_EQ(picture->Height(), c.Size);
    if (!c.Valid) continue;
    // Resampled flat pictures come out within a few steps (the filter's weights are not normalised).
    EXPECT_PRED2(Near, Argb(*picture, c.Size / 2, c.Size / 2), c.Centre);
    EXPECT_PRED2(Near, Argb(*picture, 0, 0), c.Corner);
  }
}

TEST_F(IconCacheTest, SyncRebuildAndTheFileRoundTrip) {
  MakeDocument({{"app.ico", "0"}, {"missing.ico", "0"}, {"pic.png", "0"}});
  auto cache = NewCache();
  EXPECT_EQ(cache->Count(), 0);
  EXPECT_TRUE(cache->Sync(ContentsGroups(*doc)));  // entries added: saved
  EXPECT_EQ(CacheIndexes(), (std::vector<String>{"0", "-1", "1"}));
  EXPECT_TRUE(FileExists(cache->FileName()));

  // The next start reads the file and makes nothing anew.
  auto again = NewCache();
  ASSERT_EQ(again->Count(), 2);
  EXPECT_EQ(again->NextIndex(), 2);
  // Items read are not valid before a sync: the unknown picture stands in.
  EXPECT_NE(again->GetBitmap(0), again->Find(0)->Bitmap.get());
  WriteFileAtomic(dir.file("app.ico"), "gone");
  const std::string saved = ReadFileBytes(cache->FileName());
  EXPECT_FALSE(again->Sync(ContentsGroups(*doc)));  // the icon without a picture adds nothing: not saved
  EXPECT_EQ(ReadFileBytes(cache->FileName()), saved);
  EXPECT_EQ(CacheIndexes()[0], "0");
  EXPECT_EQ(Argb(*again->GetBitmap(0), 16, 16), 0xFF0000FFu);  // from the file, not the source
  for (int i : {0, 1}) {
    const TBitmap* a = cache->Find(i)->Bitmap.get();
    const TBitmap* b = again->Find(i)->Bitmap.get();
    for (int y = 0; y < 32; ++y) ASSERT_EQ(std::memcmp(a->ScanLine(y), b->ScanLine(y), 32 * 4), 0) << i << " row " << y;
  }

  // A rebuild numbers from 0 again; the pictures handed out before stay alive.
  TBitmap* handedOut = again->GetBitmap(1);
  again->Rebuild(ContentsGroups(*doc));
  EXPECT_EQ(CacheIndexes(), (std::vector<String>{"-1", "-1", "0"}));
  EXPECT_EQ(handedOut->Width(), 32);
  EXPECT_EQ(again->NextIndex(), 1);
}

// A cache made at 83 pixels opened for a 32 pixel bar (the size edited by
// hand while the bar was closed): every picture comes at 32, remade from its
// source, or scaled from the cache when the source is gone; indexes stay.
TEST_F(IconCacheTest, PicturesCachedAtAnotherSizeAreRemadeAtTheIconSize) {
  MakeDocument({{"app.ico", "0"}, {"pic.png", "0"}});
  auto big = NewCache();
  big->IconSize = 83;
  big->Sync(ContentsGroups(*doc));
  WriteFileAtomic(dir.file("pic.png"), "gone");

  auto cache = NewCache();
  cache->IconSize = 32;
  EXPECT_TRUE(cache->Sync(ContentsGroups(*doc)));  // remade: saved
  EXPECT_EQ(CacheIndexes(), (std::vector<String>{"0", "1"}));
  const std::uint32_t colours[] = {0xFF0000FFu, 0xFF00FF00u};
  for (int i : {0, 1}) {
    TBitmap* picture = cache->GetBitmap(i);
    ASSERT_EQ(picture->Width(), 32) << i;
    ASSERT_EQ(picture->Height(), 32) << i;
    EXPECT_PRED2(Near, Argb(*picture, 16, 16), colours[i]) << i;
    EXPECT_PRED2(Near, Argb(*picture, 2, 2), colours[i]) << i << ": the whole cell, not an 83 pixel corner";
  }
  auto again = NewCache();
  again->IconSize = 32;
  ASSERT_EQ(again->Count(), 2);
  for (int i : {0, 1}) EXPECT_EQ(again->Find(i)->Size, 32);
  EXPECT_FALSE(again->Sync(ContentsGroups(*doc)));
}

TEST_F(IconCacheTest, APictureThatFailedIsTriedAgainOnlyOnceItsFileChanged) {
  // A library that costs much and gives no picture cost it at every start.
  const std::string good = IcoFile({SolidIcoEntry(32, 0xFF0000FFu)}), bad(good.size(), 'x');
  const std::filesystem::path path(dir.file("later.ico"));
  struct Case {
    const char* Name;
    bool Before;                   // the file is there at the first start (not an icon)
    std::function<void()> Change;  // between the starts
    bool Made;                     // at the next start
  };
  const Case cases[] = {
      {"same size and time", true,
       [&] {
         const auto time = std::filesystem::last_write_time(path);
         Write("later.ico", good);
         std::filesystem::last_write_time(path, time);
       },
       false},
      {"written again", true,
       [&] {
         const auto time = std::filesystem::last_write_time(path);
         Write("later.ico", good);
         std::filesystem::last_write_time(path, time + std::chrono::seconds(2));
       },
       true},
      {"still missing", false, [] {}, false},
      {"there now", false, [&] { Write("later.ico", good); }, true},
      {"contents of an older bar", true,
       [&] {
         Write("later.ico", good);
         ListIcons(ListGroups(ContentsGroups(*doc))[0])[0]->DeleteAttr(String(kIconCacheFailedAttr));
         std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) - std::chrono::hours(1));
       },
       true},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(path);
    if (c.Before) {
      Write("later.ico", bad);
      // In whole seconds: the time set back again is the same on every file system.
      std::filesystem::last_write_time(
          path, std::chrono::floor<std::chrono::seconds>(std::filesystem::last_write_time(path)));
    }
    MakeDocument({{"later.ico", "0"}});
    NewCache()->Sync(ContentsGroups(*doc));
    ASSERT_EQ(CacheIndexes(), (std::vector<String>{"-1"})) << c.Name;
    const TKemXmlTag& icon = *ListIcons(ListGroups(ContentsGroups(*doc))[0])[0];
    EXPECT_NE(icon.ReadAttr(String(kIconCacheFailedAttr)), "") << c.Name;
    c.Change();
    auto next = NewCache();
    EXPECT_EQ(next->Sync(ContentsGroups(*doc)), c.Made) << c.Name;
    EXPECT_EQ(CacheIndexes()[0] != "-1", c.Made) << c.Name;
    EXPECT_EQ(icon.ReadAttr(String(kIconCacheFailedAttr)).empty(), c.Made) << c.Name;
    // A rebuild tries every icon.
    next->Rebuild(ContentsGroups(*doc));
    EXPECT_EQ(CacheIndexes()[0] != "-1", FileExists(path.string())) << c.Name;
    std::filesystem::remove(dir.file("ov3.icc"));
  }
}

TEST_F(IconCacheTest, DamagedCacheFilesAreDiscardedWhole) {
  MakeDocument({{"app.ico", "0"}, {"pic.png", "0"}});
  NewCache()->Sync(ContentsGroups(*doc));
  const std::string good = ReadFileBytes(dir.file("ov3.icc"));
  const std::size_t item = 12;  // the first item's index
  auto patched = [&](std::size_t at, const std::string& bytes) {
    return std::string(good).replace(at, bytes.size(), bytes);
  };
  struct Case {
    const char* Name;
    std::string Bytes;
    int Count;
  };
  const Case cases[] = {
      {"good", good, 2},
      {"wrong magic", patched(0, "OV3ICCG"), 0},
      {"twelve bytes", good.substr(0, 12), 0},
      {"count beyond the file", patched(8, LE32(1000)), 0},
      {"negative count", patched(8, LE32(0xFFFFFFFF)), 0},
      {"negative index", patched(item, LE32(0xFFFFFFFE)), 0},
      {"absurd size", patched(item + 5, LE32(100000)), 0},
      {"block size beyond the file", patched(item + 13, LE32(0x7FFFFFFF)), 0},
      {"picture missing", patched(item + 9, LE32(0)), 0},
      {"bad BMP", patched(item + 17, "XX"), 0},
      {"absurd picture width", patched(item + 17 + 18, LE32(5000)), 0},
      {"cut short", good.substr(0, good.size() - 7), 0},
      {"size byte ignored", patched(item + 4, std::string(1, '\x99')), 2},
  };
  for (const Case& c : cases) {
    WriteFileAtomic(dir.file("ov3.icc"), c.Bytes);
    auto cache = NewCache();
    EXPECT_EQ(cache->Count(), c.Count) << c.Name;
    // A damaged cache is made again at the next sync and written back.
    MakeDocument({{"app.ico", "0"}, {"pic.png", "0"}});
    ListIcons(ListGroups(ContentsGroups(*doc))[0])[0]->WriteAttr("cacheindex", "0");
    ListIcons(ListGroups(ContentsGroups(*doc))[0])[1]->WriteAttr("cacheindex", "1");
    EXPECT_EQ(cache->Sync(ContentsGroups(*doc)), c.Count == 0) << c.Name;
    EXPECT_EQ(NewCache()->Count(), 2) << c.Name;
  }
}

TEST_F(IconCacheTest, ACacheOfSeventyMegabytesIsReadBack) {
  // 1,100 icons of 128 pixels: more than any icon file may be, still our own cache.
  auto picture = NewPicture(128);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x)
      static_cast<TRGBQuad*>(picture->ScanLine(y))[x] = TRGBQuad{static_cast<std::uint8_t>(x), 0x20, 0x40, 0xFF};
  TMemoryStream block;
  WriteImageBlock(block, *picture);
  const std::string blockBytes(static_cast<const char*>(block.Memory()), static_cast<std::size_t>(block.Size()));
  const int count = 1100;
  std::string file = std::string(kIconCacheMagic) + LE32(count);
  file.reserve(file.size() + static_cast<std::size_t>(count) * (blockBytes.size() + 9));
  for (int i = 0; i < count; ++i)
    file += LE32(static_cast<std::uint32_t>(i)) + std::string(1, '\x80') + LE32(128) + blockBytes;
  ASSERT_GT(static_cast<std::int64_t>(file.size()), kMaxIconFileBytes);
  Write("ov3.icc", file);
  auto cache = NewCache();
  ASSERT_EQ(cache->Count(), count);
  EXPECT_EQ(cache->NextIndex(), count);
  EXPECT_EQ(Argb(*cache->Find(count - 1)->Bitmap, 7, 100), 0xFF402007u);
}

TEST_F(IconCacheTest, MissingEntriesAreMadeASliceAtATime) {
  MakeDocument({{"app.ico", "0"}, {"missing.ico", "0"}, {"pic.png", "0"}});
  auto cache = NewCache();
  TKemXmlTag* group = ListGroups(ContentsGroups(*doc))[0];
  cache->AddEntry(*ListIcons(group)[0]);
  TFakeClock clock(1000);
  TClock* previous = SetClock(&clock);
  // A slice whose time is up still makes one picture; those that had a try are passed over.
  std::vector<TKemXmlTag*> made;
  EXPECT_TRUE(cache->AddMissingEntries(ContentsGroups(*doc), 1000, made));
  EXPECT_EQ(made, (std::vector<TKemXmlTag*>{ListIcons(group)[1]}));
  EXPECT_FALSE(cache->AddMissingEntries(ContentsGroups(*doc), 1001, made));
  EXPECT_EQ(made.back(), ListIcons(group)[2]);
  EXPECT_EQ(CacheIndexes(), (std::vector<String>{"0", "-1", "1"}));
  made.clear();
  EXPECT_FALSE(cache->AddMissingEntries(ContentsGroups(*doc), 1001, made));
  EXPECT_TRUE(made.empty());
  SetClock(previous);
}
