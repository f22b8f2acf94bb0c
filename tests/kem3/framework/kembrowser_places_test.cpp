// The file browser's named places kept by the process and its favourites.
#include <gtest/gtest.h>

#include "kem3/framework/kembrowser_places.h"
#include "platform/stringlist.h"
#include "platform/sysutils.h"

TEST(BrowserPlaces, EntryZeroFollowsTheIconFolderAndEmptyOnesHide) {
  TStringList places;
  EnsureBrowserPlaces(places, 1);
  ASSERT_EQ(places.Count(), 1);
  EXPECT_TRUE(BrowserPlaceRows(places, "C:\\Orv", {}).empty());  // an empty entry shows nothing
  SetBrowserIconsPlace(places, "Icons");
  places.Add("Other=D:\\Data");
  SetBrowserIconsPlace(places, "E:\\Pics");  // a later change replaces entry 0 only
  EnsureBrowserPlaces(places, 1);
  ASSERT_EQ(places.Count(), 2);
  EXPECT_EQ(places.Get(0), "BROWSERIMAGE,Icons=E:\\Pics");

  const auto rows = BrowserPlaceRows(places, "C:\\Orv", {"C:\\Work\\Docs", "C:\\", "\\\\srv\\share\\"});
  struct {
    const char *Image, *Caption, *Folder;
    bool Favourite;
  } expected[] = {{"BROWSERIMAGE", "Icons", "E:\\Pics\\", false},
                  {"", "Other", "D:\\Data\\", false},
                  {"", "Docs", "C:\\Work\\Docs\\", true},
                  {"", "C:\\", "C:\\", true},
                  {"", "\\\\srv\\share", "\\\\srv\\share\\", true}};
  ASSERT_EQ(rows.size(), std::size(expected));
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].Image, expected[i].Image) << i;
    EXPECT_EQ(rows[i].Caption, expected[i].Caption) << i;
    EXPECT_EQ(rows[i].Folder, expected[i].Folder) << i;
    EXPECT_EQ(rows[i].Favourite, expected[i].Favourite) << i;
  }
}

TEST(BrowserPlaces, FavouritesAddOnceRemoveAndStayBounded) {
  std::vector<String> favs;
  struct {
    bool Add;
    const char* Folder;
    bool Changed;
  } steps[] = {{true, "C:\\Work\\", true}, {true, "c:\\work", false},  // the same folder
               {true, "", false},          {true, "D:\\Ä\\", true},     {true, "d:\\ä", false},
               {false, "C:\\WORK", true},  {false, "C:\\Work\\", false}};
  for (const auto& s : steps)
    EXPECT_EQ(s.Add ? AddBrowserFavourite(favs, s.Folder) : RemoveBrowserFavourite(favs, s.Folder), s.Changed)
        << s.Add << " " << s.Folder;
  EXPECT_EQ(favs, std::vector<String>{"D:\\Ä\\"});

  favs.clear();
  for (int i = 0; i < TBrowserState::MaxFavourites; ++i) EXPECT_TRUE(AddBrowserFavourite(favs, "C:\\F" + IntToStr(i)));
  EXPECT_FALSE(AddBrowserFavourite(favs, "C:\\OneTooMany"));
  EXPECT_EQ(favs.size(), static_cast<size_t>(TBrowserState::MaxFavourites));
  EXPECT_EQ(favs.back(), "C:\\F" + IntToStr(TBrowserState::MaxFavourites - 1) + "\\");
}
