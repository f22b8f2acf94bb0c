// Resource packages: every kind written by the tools' package writer and read
// back, the directory rules (first of two names in different case, one
// unpacking per entry), opening without ever truncating, and hostile
// directories and payloads.
#include "kem3/framework/kemres.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemstreamfmt.h"
#include "kem3/pictures/jpeg_test_encoder.h"
#include "kem3/pictures/pngimage.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "support/temp_dir.h"
#include "tools/common/drlwriter.h"

namespace {

using kempack::TPackageItem;

TPackageItem StringItem(const String& name, const String& value) {
  TKemResourceString resource;
  resource.Value = value;
  return kempack::MakePackageItem(name, resource);
}

std::string Int32(std::int32_t v) {
  TStringStream s;
  s.WriteLE<std::int32_t>(v);
  return s.DataString();
}

void WriteFile(const String& name, const std::string& bytes) { WriteFileAtomic(name, bytes); }

std::string PackageBytes(const std::vector<TPackageItem>& items) {
  TStringStream s;
  kempack::WritePackage(s, items);
  return s.DataString();
}

class KemResources : public ::testing::Test {
 protected:
  String Write(const std::vector<TPackageItem>& items, const String& name = "test.drl") {
    const String file = dir.file(name);
    WriteFile(file, PackageBytes(items));
    return file;
  }
  TempDir dir;
};

}  // namespace

TEST_F(KemResources, EveryKindRoundTrips) {
  TKemResourceStrings strings;
  strings.Strings.Add("alpha");
  strings.Strings.Add("");
  TKemResourceTable table;
  table.Values = {1, -2, 0x7FFFFFFF};
  TKemResourceBitmap image;
  image.SetImageType(ritPNG);
  auto& png = *image.SourceImage();
  png.SetPixelFormat(pf32bit);
  png.SetSize(7, 5);
  png.SetPixelColor(6, 4, 0x0000FF);
  TKemResourceFile file;
  file.Data.WriteBytes(std::string("file\0bytes", 10));
  const String name = Write({StringItem("org", "128 128"), StringItem("empty", ""),
                             kempack::MakePackageItem("list", strings), kempack::MakePackageItem("table", table),
                             kempack::MakePackageItem("back", image), kempack::MakePackageItem("data", file)});

  TKemResources package(name, true);
  EXPECT_TRUE(package.IsOpen());
  EXPECT_EQ(package.Count(), 0);  // nothing until the directory is read
  package.ReadDirectory();
  ASSERT_EQ(package.Count(), 6);
  EXPECT_EQ(package.Entry(4).Dir.Name, "back");
  EXPECT_EQ(package.Entry(4).Dir.Kind, rkImage);

  auto* org = dynamic_cast<TKemResourceString*>(package.Find("org"));
  ASSERT_NE(org, nullptr);
  EXPECT_EQ(org->Value, "128 128");
  auto* empty = dynamic_cast<TKemResourceString*>(package.Find("empty"));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->Value, "");
  auto* list = dynamic_cast<TKemResourceStrings*>(package.Find("LIST"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->Strings.Count(), 2);
  EXPECT_EQ(list->Strings[0], "alpha");
  auto* values = dynamic_cast<TKemResourceTable*>(package.Find("table"));
  ASSERT_NE(values, nullptr);
  EXPECT_EQ(values->Values, table.Values);
  auto* data = dynamic_cast<TKemResourceFile*>(package.Find("data"));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(data->Data.Memory()), 10), std::string("file\0bytes", 10));

  auto* back = dynamic_cast<TKemResourceBitmap*>(package.Find("back"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->ImageType(), ritPNG);
  EXPECT_NE(dynamic_cast<TPNGImage*>(back->SourceImage()), nullptr);
  EXPECT_EQ(back->Bitmap().Width(), 7);
  EXPECT_EQ(back->Bitmap().Height(), 5);
  TBitmap copy;
  EXPECT_TRUE(package.GetImage("Back", copy));
  EXPECT_EQ(copy.PixelColor(6, 4), 0x0000FF);
  EXPECT_FALSE(package.GetImage("org", copy));  // not an image
  EXPECT_EQ(package.Find("missing"), nullptr);
}

TEST_F(KemResources, TheFirstOfTwoNamesInDifferentCaseWins) {
  TKemResources package(Write({StringItem("Hour", "first"), StringItem("HOUR", "second")}), true);
  package.ReadDirectory();
  auto* hour = dynamic_cast<TKemResourceString*>(package.Find("hour"));
  ASSERT_NE(hour, nullptr);
  EXPECT_EQ(hour->Value, "first");
}

TEST_F(KemResources, ASecondLookupDoesNotUnpackAgain) {
  const String name = Write({StringItem("org", "100 90")});
  TKemResources package(name, true);
  package.ReadDirectory();
  TKemResource* first = package.Find("org");
  ASSERT_NE(first, nullptr);
  // Spoil the container in the file: only a new unpacking would notice.
  {
    TFileStream spoil(name, fmOpenReadWrite | fmShareDenyNone);
    spoil.SetPosition(4 + kResourceEntrySize + kLzssPackedLengthOffset);
    spoil.WriteLE<std::int32_t>(-1);
  }
  EXPECT_EQ(package.Find("ORG"), first);
  EXPECT_EQ(static_cast<TKemResourceString*>(first)->Value, "100 90");
  // Re-reading the directory frees the objects: now the damage shows.
  package.ReadDirectory();
  EXPECT_THROW(package.Find("org"), EReadError);
}

TEST_F(KemResources, ImageEntriesByTypeByte) {
  auto imagePayload = [](std::uint8_t type, const std::function<void(TStream&)>& writeBlock) {
    TStringStream s;
    s.WriteLE<std::uint8_t>(type);
    writeBlock(s);
    return TPackageItem{"", rkImage, s.DataString()};
  };
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(4, 3);
  const std::string jpeg = EncodeTestJpeg(9, 6, 3, JCS_RGB, std::vector<std::uint8_t>(9 * 6 * 3, 200));
  std::vector<TPackageItem> items = {
      imagePayload(ristBitmap, [&](TStream& s) { WriteImageBlock(s, bmp); }),
      imagePayload(ristJPEG, [&](TStream& s) { WriteImageBlock(s, true, [&](TStream& o) { o.WriteBytes(jpeg); }); }),
      imagePayload(ristPNG, [&](TStream& s) { WriteImageBlock(s, false, nullptr); }),
      imagePayload(7, [&](TStream& s) { WriteImageBlock(s, bmp); }),
  };
  const char* names[] = {"bmp", "jpg", "absent", "unknown"};
  for (size_t i = 0; i < items.size(); ++i) items[i].Name = names[i];
  TKemResources package(Write(items), true);
  package.ReadDirectory();

  auto* b = dynamic_cast<TKemResourceBitmap*>(package.Find("bmp"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->ImageType(), ritBitmap);
  EXPECT_EQ(b->Bitmap().Width(), 4);
  auto* j = dynamic_cast<TKemResourceBitmap*>(package.Find("jpg"));
  ASSERT_NE(j, nullptr);
  EXPECT_EQ(j->ImageType(), ritJPEG);
  EXPECT_EQ(j->Bitmap().Width(), 9);
  EXPECT_EQ(j->Bitmap().Height(), 6);
  TKemResourceBitmap* absent = dynamic_cast<TKemResourceBitmap*>(package.Find("absent"));
  ASSERT_NE(absent, nullptr);
  EXPECT_TRUE(absent->Bitmap().Empty());
  TBitmap target;
  target.SetSize(2, 2);
  EXPECT_FALSE(package.GetImage("absent", target));
  EXPECT_EQ(target.Width(), 2);  // unchanged
  auto* unknown = dynamic_cast<TKemResourceBitmap*>(package.Find("unknown"));
  ASSERT_NE(unknown, nullptr);
  EXPECT_TRUE(unknown->Bitmap().Empty());
  EXPECT_EQ(unknown->ImageType(), ritNone);
}

TEST_F(KemResources, ImagePayloadsWriteTheirSourceImage) {
  TKemResourceBitmap image;
  TStringStream none;
  image.SaveToStream(none);  // no source: an absent bitmap
  EXPECT_EQ(none.DataString(), std::string(1, '\0') + Int32(0) + Int32(8));
  image.SetImageType(ritBitmap);
  image.SourceImage()->SetSize(2, 2);
  TStringStream bmp;
  image.SaveToStream(bmp);
  bmp.SetPosition(0);
  TKemResourceBitmap back;
  back.LoadFromStream(bmp);
  EXPECT_EQ(back.ImageType(), ritBitmap);
  EXPECT_EQ(back.Bitmap().Width(), 2);
  none.SetPosition(0);
  back.LoadFromStream(none);  // reloaded from an absent block: the picture stays
  EXPECT_EQ(back.Bitmap().Width(), 2);
  image.SetImageType(ritJPEG);
  TStringStream jpeg;
  EXPECT_THROW(image.SaveToStream(jpeg), EInvalidGraphicOperation);
}

TEST_F(KemResources, FileEntriesWriteTheNamedFile) {
  const String source = dir.file("source.bin");
  WriteFile(source, "contents");
  TKemResourceFile file;
  file.FileName = source;
  TKemResources package(Write({kempack::MakePackageItem("f", file)}), true);
  package.ReadDirectory();
  auto* back = dynamic_cast<TKemResourceFile*>(package.Find("f"));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->Data.Size(), 8);
}

TEST_F(KemResources, OpeningNeverTruncatesAndCreatesOnlyWhenWritable) {
  const String missing = dir.file("missing.drl");
  {
    TKemResources package(missing, true);
    EXPECT_FALSE(package.IsOpen());
    package.ReadDirectory();
    EXPECT_EQ(package.Count(), 0);
    EXPECT_EQ(package.Find("x"), nullptr);
  }
  EXPECT_FALSE(FileExists(missing));
  {
    TKemResources package(missing, false);
    EXPECT_TRUE(package.IsOpen());
    package.ReadDirectory();
    EXPECT_EQ(package.Count(), 0);
  }
  EXPECT_TRUE(FileExists(missing));
  EXPECT_EQ(ReadFileBytes(missing), "");

  const String existing = Write({StringItem("a", "b")});
  const std::string before = ReadFileBytes(existing);
  {
    TKemResources writer(existing, false);
    // A second writer is refused by the share mode: empty, but the file stays.
    TKemResources second(existing, false);
    EXPECT_FALSE(second.IsOpen());
    second.ReadDirectory();
    EXPECT_EQ(second.Count(), 0);
    // Readers share with everyone, the writer denies only writing.
    TKemResources reader(existing, true);
    reader.ReadDirectory();
    EXPECT_EQ(reader.Count(), 1);
  }
  EXPECT_EQ(ReadFileBytes(existing), before);
}

TEST_F(KemResources, RelativeNamesLieInTheProgramFolder) {
  Write({StringItem("a", "b")}, "rel.drl");
  SetProgramFileName(dir.file("ov3.exe"));
  {
    TKemResources package("rel.drl", true);
    EXPECT_EQ(package.FileName(), dir.file("rel.drl"));
    package.ReadDirectory();
    EXPECT_EQ(package.Count(), 1);
  }
  SetProgramFileName("");
}

TEST_F(KemResources, APackageInMemory) {
  TKemResources package(std::make_unique<TStringStream>(PackageBytes({StringItem("a", "memory")})));
  EXPECT_TRUE(package.IsOpen());
  EXPECT_EQ(package.FileName(), "");
  package.ReadDirectory();
  auto* a = dynamic_cast<TKemResourceString*>(package.Find("A"));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->Value, "memory");
}

TEST_F(KemResources, HostileDirectoriesGiveNoEntries) {
  const std::string good = PackageBytes({StringItem("a", "b")});
  const String name = dir.file("bad.drl");
  auto countOf = [&](const std::string& bytes) {
    WriteFile(name, bytes);
    TKemResources package(name, true);
    package.ReadDirectory();
    return package.Count();
  };
  EXPECT_EQ(countOf(good), 1);
  EXPECT_EQ(countOf(""), 0);
  EXPECT_EQ(countOf("\1\0"), 0);
  EXPECT_EQ(countOf(Int32(-1) + good.substr(4)), 0);
  EXPECT_EQ(countOf(Int32(2) + good.substr(4)), 0);  // a second entry would lie past the end
  EXPECT_EQ(countOf(Int32(0x7FFFFFFF)), 0);
  EXPECT_EQ(countOf(good.substr(0, 4 + kResourceEntrySize - 1)), 0);
}

TEST_F(KemResources, NamesEndWithinTheirBytesAndBadOffsetsAreNeverRead) {
  TKemResourceDirEntry dir1;
  dir1.Name = std::string(300, 'n');
  auto bytes = dir1.ToBytes();
  EXPECT_EQ(bytes[254], 'n');
  EXPECT_EQ(bytes[255], 0);
  // A name filling all 256 bytes without a terminator is cut there.
  bytes.fill('q');
  EXPECT_EQ(TKemResourceDirEntry::FromBytes(bytes).Name, std::string(256, 'q'));

  std::string file = PackageBytes({StringItem("one", "1"), StringItem("two", "2"), StringItem("three", "3")});
  auto setOffset = [&](int index, std::int32_t offset) {
    file.replace(static_cast<size_t>(4 + index * kResourceEntrySize + 264), 4, Int32(offset));
  };
  setOffset(0, -4);
  setOffset(1, static_cast<std::int32_t>(file.size()) - kLzssHeaderSize + 1);
  WriteFile(dir.file("offsets.drl"), file);
  TKemResources package(dir.file("offsets.drl"), true);
  package.ReadDirectory();
  ASSERT_EQ(package.Count(), 3);
  EXPECT_EQ(package.Find("one"), nullptr);
  EXPECT_EQ(package.Find("two"), nullptr);
  EXPECT_NE(package.Find("three"), nullptr);
}

TEST_F(KemResources, UnknownKindsGiveNilAndBadPayloadsRaiseEachTime) {
  std::vector<TPackageItem> items = {{"odd", 9, "whatever"},
                                     {"short", rkString, Int32(50) + "abc"},
                                     {"table", rkTable, Int32(0x20000000)},
                                     {"file", rkFile, Int32(-3)},
                                     {"list", rkStrings, Int32(3) + Int32(0)}};
  TKemResources package(Write(items), true);
  package.ReadDirectory();
  EXPECT_EQ(package.Find("odd"), nullptr);
  for (const char* name : {"short", "table", "file", "list"}) {
    EXPECT_THROW(package.Find(name), EReadError) << name;
    EXPECT_THROW(package.Find(name), EReadError) << name;  // nothing half-loaded is kept
  }
}
