// Saving the XML document over a file that another handle holds without sharing.
#include <gtest/gtest.h>

#include "kem3/framework/kemxml.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/win_util_win.h"
#include "support/temp_dir.h"

TEST(KemXmlWin, FailedSaveOverAHeldFileKeepsTheOldFile) {
  TempDir dir;
  const String name = dir.file("held \xe6\x97\xa5.xml");
  TKemXml old;
  old.FindPath("old", true);
  old.SaveToFile(name);
  const String before = ReadFileBytes(name);

  HANDLE held =
      CreateFileW(WidePath(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  TKemXml doc;
  doc.FindPath("new", true);
  EXPECT_THROW(doc.SaveToFile(name), Exception);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(name), before);
  doc.SaveToFile(name);
  EXPECT_EQ(ReadFileBytes(name), doc.SaveToString());
}
