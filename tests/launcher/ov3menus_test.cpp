// The bar's menus: every entry is a bar action, and the menu a right click opens.
#include "launcher/ov3menus.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "launcher/ov3actions.h"
#include "platform/bitmap.h"
#include "platform/files.h"
#include "support/temp_dir.h"
#include "tools/common/iconwriter.h"

TEST(BarMenus, EntriesAreBarActionsAndAlignOpensFromMain) {
  for (int m = 0; m < kBarMenuCount; ++m)
    for (int id : BarMenuEntries(static_cast<TOvBarMenu>(m))) {
      if (id == kMenuSeparator) continue;
      EXPECT_TRUE(std::any_of(kBarActions.begin(), kBarActions.end(), [id](const auto& a) { return a.Id == id; }))
          << id;
    }
  const auto main = BarMenuEntries(obmMain);
  EXPECT_EQ(std::count(main.begin(), main.end(), kAlignMenuAction), 1);
  EXPECT_EQ(main.back(), ovaExit);
  EXPECT_EQ(BarMenuEntries(obmGroups).size(), 4u);
}

TEST(BarMenus, RightClickPicksTheMenu) {
  struct Case {
    TOvRightClick Click;
    TOvBarMenu Want;
  } cases[] = {
      {{true, true, false}, obmIcons},
      {{true, false, false}, obmMain},  // empty spot of the panel
      {{false, false, true}, obmGroups},
      {{false, true, true}, obmGroups},  // a selected icon matters only over the panel
      {{false, false, false}, obmMain},
  };
  for (const Case& c : cases) EXPECT_EQ(BarMenuForRightClick(c.Click), c.Want);
  EXPECT_EQ(MenuPictureFile("C:\\Skins\\Slate\\", ovaExit), "C:\\Skins\\Slate\\Icons\\108.ico");
}

TEST(BarMenus, PicturesBecome16PixelsWithAlpha) {
  using namespace iconwriter;
  TempDir dir;
  // Opaque red on the left half, see-through on the right.
  auto half = [](int Size) {
    return DibImage(
        Size, Size, 32, [Size](int X, int) { return X < Size / 2 ? 0xFFFF0000u : 0u; }, [](int, int) { return false; });
  };
  WriteFileAtomic(dir.file("big.ico"), IcoFile({{32, 32, 0, 1, 32, half(32)}}));
  WriteFileAtomic(dir.file("small.ico"), IcoFile({{8, 8, 0, 1, 32, half(8)}}));
  WriteFileAtomic(dir.file("bad.ico"), "not an icon");
  TBitmap p;
  ASSERT_TRUE(LoadMenuPicture(dir.file("big.ico"), p));
  EXPECT_EQ(p.Width(), 16);
  EXPECT_EQ(p.Height(), 16);
  // Scaled with its alpha (the filter may ring a little at the edge).
  EXPECT_GE(static_cast<const std::uint8_t*>(p.ScanLine(8))[4 * 2 + 2], 240);  // red
  EXPECT_GE(static_cast<const std::uint8_t*>(p.ScanLine(8))[4 * 2 + 3], 240);
  EXPECT_LE(static_cast<const std::uint8_t*>(p.ScanLine(8))[4 * 13 + 3], 15);
  ASSERT_TRUE(LoadMenuPicture(dir.file("small.ico"), p));
  EXPECT_EQ(p.Width(), 16);
  EXPECT_EQ(static_cast<const std::uint8_t*>(p.ScanLine(8))[4 * 5 + 3], 255);  // centred: 4..11
  EXPECT_EQ(static_cast<const std::uint8_t*>(p.ScanLine(8))[4 * 2 + 3], 0);
  EXPECT_FALSE(LoadMenuPicture(dir.file("bad.ico"), p));
  EXPECT_FALSE(LoadMenuPicture(dir.file("none.ico"), p));
}
