// File calls against what only Windows enforces: files held open by others.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "platform/streams.h"
#include "platform/win_util_win.h"
#include "support/temp_dir.h"

namespace {

size_t EntryCount(const TempDir& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++n;
  return n;
}

}  // namespace

TEST(FilesWin, WriteFileAtomicOverAFileHeldWithoutSharing) {
  TempDir dir;
  String name = dir.file("Ünïcødé 日本.txt");
  WriteFileAtomic(name, "old content");
  HANDLE held =
      CreateFileW(WidePath(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_THROW(WriteFileAtomic(name, "new content"), EWriteError);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(name), "old content");
  EXPECT_EQ(EntryCount(dir), 1u);  // the temporary file is gone
}

TEST(FilesWin, WriteFileAtomicOverAnOpenStream) {
  // Our streams never share deletion, so even a deny-none reader blocks the replace.
  TempDir dir;
  String name = dir.file("held.txt");
  WriteFileAtomic(name, "old content");
  {
    TFileStream reader(name, fmOpenRead | fmShareDenyNone);
    EXPECT_THROW(WriteFileAtomic(name, "new content"), EWriteError);
    EXPECT_FALSE(DeleteFile(name));
  }
  EXPECT_EQ(ReadFileBytes(name), "old content");
  EXPECT_EQ(EntryCount(dir), 1u);
  WriteFileAtomic(name, "new content");  // released with the stream
  EXPECT_EQ(ReadFileBytes(name), "new content");
}
