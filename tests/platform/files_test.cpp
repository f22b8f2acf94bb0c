#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/exceptions.h"
#include "support/temp_dir.h"

namespace {

// The names in a folder, as UTF-8.
std::set<std::string> Listing(const TempDir& dir, const std::string& sub = "") {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(dir.file(sub)))) {
    auto u8 = entry.path().filename().u8string();
    names.insert(std::string(u8.begin(), u8.end()));
  }
  return names;
}

const std::string kOddName = "Ünïcødé 日本.txt";

}  // namespace

TEST(Files, ExistsTellsFilesFromFolders) {
  TempDir dir;
  WriteFileAtomic(dir.file(kOddName), "x");
  ASSERT_TRUE(ForceDirectories(dir.file("sub")));
  EXPECT_TRUE(FileExists(dir.file(kOddName)));
  EXPECT_FALSE(DirectoryExists(dir.file(kOddName)));
  EXPECT_TRUE(DirectoryExists(dir.file("sub")));
  EXPECT_FALSE(FileExists(dir.file("sub")));
  EXPECT_FALSE(FileExists(dir.file("none.txt")));
  EXPECT_FALSE(DirectoryExists(dir.file("none")));
}

TEST(Files, DeleteAndRename) {
  TempDir dir;
  String a = dir.file(kOddName), b = dir.file("b.txt"), c = dir.file("c.txt");
  WriteFileAtomic(a, "A");
  WriteFileAtomic(b, "B");
  EXPECT_FALSE(RenameFile(a, b));  // never replaces
  EXPECT_EQ(ReadFileBytes(a), "A");
  EXPECT_EQ(ReadFileBytes(b), "B");
  EXPECT_TRUE(RenameFile(a, c));
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(ReadFileBytes(c), "A");
  EXPECT_FALSE(RenameFile(a, dir.file("d.txt")));  // source gone

  EXPECT_TRUE(DeleteFile(c));
  EXPECT_FALSE(FileExists(c));
  EXPECT_FALSE(DeleteFile(c));
  ASSERT_TRUE(ForceDirectories(dir.file("folder")));
  EXPECT_FALSE(DeleteFile(dir.file("folder")));  // folders are not files
  EXPECT_TRUE(DirectoryExists(dir.file("folder")));
}

TEST(Files, ForceDirectoriesMakesEveryLevel) {
  TempDir dir;
  String deep = dir.file("one/twö/日本");
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_TRUE(ForceDirectories(dir.file("one/three/")));
  EXPECT_TRUE(DirectoryExists(dir.file("one/three")));
  EXPECT_FALSE(ForceDirectories(""));
  WriteFileAtomic(dir.file("file"), "");
  EXPECT_FALSE(ForceDirectories(dir.file("file/below")));  // a file is in the way
}

TEST(Files, CopyFileToReplaces) {
  TempDir dir;
  std::string binary("a\0b\xff", 4);
  WriteFileAtomic(dir.file(kOddName), binary);
  WriteFileAtomic(dir.file("dest.bin"), "older and longer content");
  EXPECT_TRUE(CopyFileTo(dir.file(kOddName), dir.file("dest.bin")));
  EXPECT_EQ(ReadFileBytes(dir.file("dest.bin")), binary);
  EXPECT_TRUE(CopyFileTo(dir.file(kOddName), dir.file("new.bin")));
  EXPECT_EQ(ReadFileBytes(dir.file("new.bin")), binary);
  EXPECT_FALSE(CopyFileTo(dir.file("missing"), dir.file("x.bin")));
  EXPECT_FALSE(FileExists(dir.file("x.bin")));
}

TEST(Files, ReadFileBytesErrors) {
  TempDir dir;
  String missing = dir.file("missing.txt");
  try {
    ReadFileBytes(missing);
    FAIL() << "read a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message.rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << e.Message;
  }
  // A folder cannot be read as a file (the builds differ in which step refuses).
  EXPECT_THROW(ReadFileBytes(dir.file("")), EStreamError);
}

TEST(Files, WriteFileAtomicCreatesAndReplaces) {
  TempDir dir;
  String name = dir.file(kOddName);
  WriteFileAtomic(name, "first version, rather long");
  EXPECT_EQ(ReadFileBytes(name), "first version, rather long");
  WriteFileAtomic(name, "second");
  EXPECT_EQ(ReadFileBytes(name), "second");
  WriteFileAtomic(name, "");
  EXPECT_EQ(ReadFileBytes(name), "");
  std::string big(3 * 1024 * 1024 + 17, '\0');  // more than one write of the Windows build
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i % 251);
  WriteFileAtomic(name, big);
  EXPECT_EQ(ReadFileBytes(name), big);
  EXPECT_EQ(Listing(dir), std::set<std::string>{kOddName});  // no temporary files behind
}

TEST(Files, WriteFileAtomicFailureLeavesNoTrace) {
  TempDir dir;
  EXPECT_THROW(WriteFileAtomic(dir.file("no/such/folder/a.txt"), "x"), EFCreateError);
  EXPECT_TRUE(Listing(dir).empty());

  // The replace itself fails when a folder has the name.
  ASSERT_TRUE(ForceDirectories(dir.file("taken")));
  WriteFileAtomic(dir.file("taken/inside.txt"), "kept");
  EXPECT_THROW(WriteFileAtomic(dir.file("taken"), "x"), EStreamError);
  EXPECT_TRUE(DirectoryExists(dir.file("taken")));
  EXPECT_EQ(ReadFileBytes(dir.file("taken/inside.txt")), "kept");
  EXPECT_EQ(Listing(dir), std::set<std::string>{"taken"});
}
