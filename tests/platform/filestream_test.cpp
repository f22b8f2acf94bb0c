#include <gtest/gtest.h>

#include <memory>

#include "platform/files.h"
#include "platform/streams.h"
#include "support/temp_dir.h"

namespace {

std::string Slurp(const String& name) { return ReadFileBytes(name); }

bool Opens(const String& name, std::uint16_t mode) {
  try {
    TFileStream s(name, mode);
    return true;
  } catch (const EFOpenError&) {
    return false;
  }
}

}  // namespace

TEST(FileStream, CreateWriteReadBack) {
  TempDir dir;
  String name = dir.file("Ünïcødé 日本.dat");
  {
    TFileStream s(name, fmCreate);
    s.WriteLE<std::uint32_t>(0x01020304);
    s.WriteBytes("payload");
    EXPECT_EQ(s.Size(), 11);
    EXPECT_EQ(s.Position(), 11);
    EXPECT_EQ(s.FileName(), name);
  }
  TFileStream s(name, fmOpenRead | fmShareDenyWrite);
  EXPECT_EQ(s.Size(), 11);
  EXPECT_EQ(s.ReadLE<std::uint32_t>(), 0x01020304u);
  EXPECT_EQ(s.ReadBytes(7), "payload");
  char c;
  EXPECT_EQ(s.Read(&c, 1), 0);
  EXPECT_THROW(s.ReadBuffer(&c, 1), EReadError);
  EXPECT_EQ(s.Write("x", 1), 0);  // opened for reading only
  EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
}

TEST(FileStream, CreateTruncatesButOpenForWriteDoesNot) {
  TempDir dir;
  String name = dir.file("a.txt");
  WriteFileAtomic(name, "0123456789");
  {
    TFileStream s(name, fmOpenWrite);
    s.WriteBytes("ab");
  }
  EXPECT_EQ(Slurp(name), "ab23456789");
  { TFileStream s(name, fmCreate); }
  EXPECT_EQ(Slurp(name), "");
}

TEST(FileStream, SeekPastEndWriteAndSetSize) {
  TempDir dir;
  String name = dir.file("b.bin");
  TFileStream s(name, fmCreate);
  s.WriteBytes("abc");
  EXPECT_EQ(s.Seek(2, soEnd), 5);
  s.WriteBytes("z");
  EXPECT_EQ(s.Size(), 6);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadBytes(6), std::string("abc\0\0z", 6));

  s.SetSize(2);  // like the class library, the position follows the new end
  EXPECT_EQ(s.Size(), 2);
  EXPECT_EQ(s.Position(), 2);
  s.SetSize(4);
  s.SetPosition(0);
  EXPECT_EQ(s.ReadBytes(4), std::string("ab\0\0", 4));
  EXPECT_EQ(s.Seek(-1, soBeginning), -1);
}

TEST(FileStream, PositionsBeyondFourGigabytes) {
  TempDir dir;
  TFileStream s(dir.file("sparse.bin"), fmCreate);
  const std::int64_t far = (std::int64_t{1} << 32) + 16;
  EXPECT_EQ(s.Seek(far, soBeginning), far);
  s.WriteLE<std::uint16_t>(0xCAFE);
  EXPECT_EQ(s.Size(), far + 2);
  EXPECT_EQ(s.Seek(-2, soEnd), far);
  EXPECT_EQ(s.ReadLE<std::uint16_t>(), 0xCAFE);
  s.SetSize(10);
  EXPECT_EQ(s.Size(), 10);
}

TEST(FileStream, OpenErrorsName) {
  TempDir dir;
  String missing = dir.file("missing.txt");
  try {
    TFileStream s(missing, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message.rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << e.Message;
    EXPECT_GT(e.Message.size(), ("Cannot open file \"" + missing + "\". ").size());  // the system's reason follows
  }
  String nowhere = dir.file("no/such/folder/new.txt");
  try {
    TFileStream s(nowhere, fmCreate);
    FAIL() << "created a file in a missing folder";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message.rfind("Cannot create file \"" + nowhere + "\". ", 0), 0u) << e.Message;
  }
  // A folder is not a file, on either build.
  EXPECT_FALSE(Opens(dir.file(""), fmOpenRead | fmShareDenyNone));
  EXPECT_FALSE(FileExists(missing));
}

TEST(FileStreamShare, TheCasesCallersRelyOn) {
  TempDir dir;
  String name = dir.file("shared.txt");
  WriteFileAtomic(name, "data");
  {
    TFileStream reader(name, fmOpenRead | fmShareDenyWrite);
    EXPECT_FALSE(Opens(name, fmOpenWrite | fmShareDenyNone));
    EXPECT_FALSE(Opens(name, fmOpenReadWrite | fmShareDenyNone));
    EXPECT_TRUE(Opens(name, fmOpenRead | fmShareDenyWrite));
    EXPECT_TRUE(Opens(name, fmOpenRead | fmShareDenyNone));
    // A second reader that denies reading conflicts with the first.
    EXPECT_FALSE(Opens(name, fmOpenRead | fmShareDenyRead));
    // Creating (which empties the file) is refused too, and leaves it alone.
    try {
      TFileStream s(name, fmCreate);
      FAIL() << "created over a file held with deny-write";
    } catch (const EFCreateError& e) {
      EXPECT_NE(e.Message.find(name), String::npos);
    }
  }
  EXPECT_EQ(Slurp(name), "data");
  {
    TFileStream a(name, fmOpenReadWrite | fmShareDenyNone);
    TFileStream b(name, fmOpenReadWrite | fmShareDenyNone);
    b.WriteBytes("DA");
    EXPECT_EQ(a.ReadBytes(4), "DAta");
  }
  {
    TFileStream exclusive(name, fmOpenRead | fmShareExclusive);
    EXPECT_FALSE(Opens(name, fmOpenRead | fmShareDenyNone));
    EXPECT_FALSE(Opens(name, fmOpenRead | fmShareCompat));
  }
  {
    TFileStream compat(name, fmOpenRead | fmShareCompat);  // compat shares nothing
    EXPECT_FALSE(Opens(name, fmOpenRead | fmShareDenyNone));
  }
  // Every stream above is closed again: nothing is held any more.
  EXPECT_TRUE(Opens(name, fmOpenReadWrite | fmShareExclusive));
  {
    auto held = std::make_unique<TFileStream>(name, fmOpenReadWrite | fmShareExclusive);
    EXPECT_FALSE(Opens(name, fmOpenRead | fmShareDenyNone));
    held.reset();
    EXPECT_TRUE(Opens(name, fmOpenRead | fmShareDenyNone));
  }
}

// Every pair of modes. The Windows build checks this against the system, so
// the native table that emulates it is held to the same rules.
TEST(FileStreamShare, FullMatrix) {
  TempDir dir;
  String name = dir.file("matrix.txt");
  WriteFileAtomic(name, "x");
  const std::uint16_t accesses[] = {fmOpenRead, fmOpenWrite, fmOpenReadWrite};
  const std::uint16_t shares[] = {fmShareCompat, fmShareExclusive, fmShareDenyWrite, fmShareDenyRead, fmShareDenyNone};
  struct Rights {
    bool read, write, shareRead, shareWrite;
  };
  auto rights = [](std::uint16_t access, std::uint16_t share) {
    return Rights{access != fmOpenWrite, access != fmOpenRead, share == fmShareDenyWrite || share == fmShareDenyNone,
                  share == fmShareDenyRead || share == fmShareDenyNone};
  };
  for (auto a1 : accesses)
    for (auto s1 : shares) {
      TFileStream first(name, a1 | s1);
      Rights r1 = rights(a1, s1);
      for (auto a2 : accesses)
        for (auto s2 : shares) {
          Rights r2 = rights(a2, s2);
          bool allowed = (!r2.read || r1.shareRead) && (!r2.write || r1.shareWrite) && (!r1.read || r2.shareRead) &&
                         (!r1.write || r2.shareWrite);
          EXPECT_EQ(Opens(name, a2 | s2), allowed) << "first " << std::hex << (a1 | s1) << ", second " << (a2 | s2);
        }
    }
}
