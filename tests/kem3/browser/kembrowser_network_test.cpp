#include "kem3/browser/kembrowser_network.h"

#include <gtest/gtest.h>

TEST(BrowserNetwork, PlacesAndTheWayUp) {
  struct {
    const char* Folder;
    TBrowserNetKind Kind;
    const char *Server, *Share, *Parent, *Select;
  } const cases[] = {
      {"\\\\", bnkNetwork, "", "", "", ""},
      {"\\\\SRV\\", bnkServer, "SRV", "", "\\\\", "SRV"},
      {"\\\\SRV\\Data\\", bnkShare, "SRV", "Data", "\\\\SRV\\", "Data"},
      {"\\\\SRV/Data", bnkShare, "SRV", "Data", "\\\\SRV\\", "Data"},
      // Inside a share, on a drive, or no name where one belongs: no place of the network.
      {"\\\\SRV\\Data\\Sub\\", bnkNone, "", "", nullptr, nullptr},
      {"\\\\\\x", bnkNone, "", "", nullptr, nullptr},
      {"\\\\SRV\\\\x", bnkNone, "", "", nullptr, nullptr},
      {"\\SRV\\", bnkNone, "", "", nullptr, nullptr},
      {"C:\\", bnkNone, "", "", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const TBrowserNetPlace place = BrowserNetworkPlace(c.Folder);
    EXPECT_EQ(place.Kind, c.Kind) << c.Folder;
    EXPECT_EQ(place.Server, c.Server) << c.Folder;
    EXPECT_EQ(place.Share, c.Share) << c.Folder;
    String parent = "unchanged", select = "unchanged";
    EXPECT_EQ(BrowserNetworkUp(c.Folder, parent, select), c.Parent != nullptr) << c.Folder;
    EXPECT_EQ(parent, c.Parent ? c.Parent : "unchanged") << c.Folder;
    EXPECT_EQ(select, c.Select ? c.Select : "unchanged") << c.Folder;
  }
}

TEST(BrowserNetwork, CheckedWorkgroupsToggleWithoutRegardToCase) {
  std::vector<String> checked{"OFFICE", "Home"};
  EXPECT_TRUE(BrowserWorkgroupChecked(checked, "home") && !BrowserWorkgroupChecked(checked, "HOMES"));
  for (const char* name : {"office", "Lab", "", "HOME"}) BrowserToggleWorkgroup(checked, name);
  EXPECT_EQ(BrowserWorkgroupList(checked), "Lab");
}
