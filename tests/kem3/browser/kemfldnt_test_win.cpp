#include <gtest/gtest.h>

#include <fstream>

#include "kem3/browser/kemfldnt.h"
#include "platform/clock.h"
#include "platform/synchronize.h"
#include "platform/unicode_convert.h"
#include "support/temp_dir.h"

TEST(FolderMonitorWin, NewFileFiresWithinASecond) {
  TempDir dir;
  TKemFolderMonitor m(nullptr);
  int changes = 0;
  m.OnChange = [&](TObject*) { ++changes; };
  m.SetMonitorSubtree(false);
  m.SetFolderName(Utf8ToWide(dir.file("")));
  m.SetActive(true);
  ASSERT_TRUE(m.Active() && m.LastError() == 0);
  std::ofstream(dir.path() / "new.txt") << "x";
  const std::uint64_t start = TickCount();
  while (changes == 0 && TickCount() - start < 1000) CheckSynchronize(20);
  EXPECT_GT(changes, 0);
  m.SetActive(false);
}
