// A contents file that cannot be read while another handle holds it.
#include <gtest/gtest.h>

#include "launcher/ov3contents.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/win_util_win.h"
#include "support/temp_dir.h"

TEST(Ov3ContentsWin, AFileThatCannotBeReadIsNeverReplacedByDefaults) {
  TempDir dir;
  const String name = dir.file("ov3.xml");
  WriteFileAtomic(name, "<?xml version=\"1.0\"?><ov3contents/>");
  HANDLE held =
      CreateFileW(WidePath(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  // Neither read nor copied: opening refuses instead of handing out defaults that a save would write.
  EXPECT_THROW(OpenContentsDocument(name), EFCreateError);
  CloseHandle(held);
  EXPECT_FALSE(FileExists(name + ".bad"));
  auto doc = OpenContentsDocument(name);
  EXPECT_NE(doc->FindPath("ov3contents"), nullptr);
}
