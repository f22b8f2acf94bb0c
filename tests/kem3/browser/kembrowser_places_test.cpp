// The file browser's named places kept by the process and its favourites.
#include <gtest/gtest.h>

#include "kem3/browser/kembrowser_places.h"
#include "platform/sysutils.h"

TEST(BrowserPlaces, EntryZeroFollowsTheIconFolderAndEmptyOnesHide) {
  TStringList places;
  EnsureBrowserPlaces(places, 1);
  SetBrowserIconsPlace(places, "Icons");
  places.Add("Other=D:\\Data");
  SetBrowserIconsPlace(places, "E:\\Pics");  // a later change replaces entry 0 only
  EnsureBrowserPlaces(places, 1);
  ASSERT_EQ(places.Count(), 2);
  EXPECT_EQ(places.Get(0), "BROWSERIMAGE,Icons=E:\\Pics");

  // Rows as "image|caption|folder|favourite".
  std::vector<String> rows;
  for (const auto& r : BrowserPlaceRows(places, "C:\\Orv", {"C:\\Work\\Docs", "C:\\", "\\\\srv\\share\\"}))
    rows.push_back(r.Image + "|" + r.Caption + "|" + r.Folder + "|" + (r.Favourite ? "1" : "0"));
  EXPECT_EQ(rows,
            (std::vector<String>{"BROWSERIMAGE|Icons|E:\\Pics\\|0", "|Other|D:\\Data\\|0", "|Docs|C:\\Work\\Docs\\|1",
                                 "|C:\\|C:\\|1", "|\\\\srv\\share|\\\\srv\\share\\|1"}));
}

TEST(BrowserPlaces, FavouritesAddOnceRemoveAndStayBounded) {
  std::vector<String> favs;
  struct {
    bool Add;
    const char* Folder;
    bool Changed;
  } steps[] = {{true, "C:\\Work\\", true},  {true, "c:\\work", false}, {true, "", false},
               {true, "D:\\Ä\\", true},     {true, "d:\\ä", false},    {false, "C:\\WORK", true},
               {false, "C:\\Work\\", false}};
  for (const auto& s : steps)
    EXPECT_EQ(s.Add ? AddBrowserFavourite(favs, s.Folder) : RemoveBrowserFavourite(favs, s.Folder), s.Changed)
        << s.Folder;
  EXPECT_EQ(favs, std::vector<String>{"D:\\Ä\\"});

  favs.clear();
  for (int i = 0; i < TBrowserState::MaxFavourites; ++i) EXPECT_TRUE(AddBrowserFavourite(favs, "C:\\F" + IntToStr(i)));
  EXPECT_FALSE(AddBrowserFavourite(favs, "C:\\OneTooMany"));
}
