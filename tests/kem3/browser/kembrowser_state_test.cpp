// Where the file browser starts and what OK chooses; its named places and
// its stored state.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/browser/kembrowser_state.h"
#include "platform/stringlist.h"

namespace {

// A file system of a few folders and files.
TBrowserFileCheck FakeDisk() {
  static const std::set<String> folders = {
      "C:\\", "C:\\Prog\\", "C:\\Prog", "C:\\Prog\\Sub", "C:\\Prog\\Sub\\", "\\\\srv\\share\\", "\\\\srv\\share"};
  static const std::set<String> files = {"C:\\Prog\\a.exe", "C:\\Prog\\b.ico"};
  return {[](const String& P) { return folders.count(P) > 0; }, [](const String& P) { return files.count(P) > 0; }};
}

}  // namespace

TEST(BrowserExecute, StartPlace) {
  struct {
    const char *HandlerFolder, *HandlerName, *Initial, *Folder, *Name;
  } cases[] = {
      {"", "", "C:\\Prog\\a.exe", "C:\\Prog\\", "a.exe"},
      {"", "", "C:\\Prog\\Sub", "C:\\Prog\\Sub\\", ""},                // an existing folder
      {"", "C:\\Prog\\b.ico", "C:\\Other\\x", "C:\\Prog\\", "b.ico"},  // the handler's names win
      {"C:\\Prog\\Sub\\", "a.exe", "C:\\", "C:\\Prog\\Sub\\", "a.exe"},
      {"", "", "C:\\Prog\\Gone\\Deeper\\x.txt", "C:\\Prog\\", "x.txt"},  // nearest existing parent
      {"", "", "\\\\srv\\share\\gone\\x", "\\\\srv\\share\\", "x"},
      {"", "", "D:\\missing\\x.txt", "", "x.txt"},  // else the drives
      {"", "", "\\\\other\\share\\x", "", "x"},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    const TBrowserStart s = BrowserStartPlace(c.HandlerFolder, c.HandlerName, c.Initial, FakeDisk());
    EXPECT_EQ(s.Folder, c.Folder) << c.Initial;
    EXPECT_EQ(s.Name, c.Name) << c.Initial;
  }
}

TEST(BrowserExecute, AcceptRules) {
  const TBrowserPick sub{"C:\\Prog\\Sub\\", true}, a{"C:\\Prog\\a.exe", false}, b{"C:\\Prog\\b.ico", false};
  using F = std::vector<String>;
  struct {
    int Mode;
    bool Multi;
    const char* Typed;
    std::vector<TBrowserPick> Selected;
    TBrowserAcceptKind Kind;
    const char* Folder;
    F Files;
    const char* Missing = "";  // named to the user
  } cases[] = {
      {brmOpen, false, "a.exe", {}, bakChoose, "", {"C:\\Prog\\a.exe"}},
      {brmOpen, false, "new.exe", {}, bakNone, "", {}, "C:\\Prog\\new.exe"},  // must exist to open
      {brmSave, false, "new.exe", {}, bakChoose, "", {"C:\\Prog\\new.exe"}},  // a new name to save
      {brmExport, false, "C:\\Prog\\Sub\\n.txt", {}, bakChoose, "", {"C:\\Prog\\Sub\\n.txt"}},
      {brmSave, false, "Gone\\n.txt", {}, bakNone, "", {}, "C:\\Prog\\Gone\\n.txt"},  // not in a missing folder
      {brmOpen, false, "Sub", {}, bakOpen, "C:\\Prog\\Sub\\", {}},                    // a typed folder opens
      {brmFolder, false, "Sub", {}, bakOpen, "C:\\Prog\\Sub\\", {}},
      {brmFolder, false, "a.exe", {}, bakNone, "", {}, "C:\\Prog\\a.exe"},
      {brmOpen, true, "", {a, b}, bakChoose, "", {"C:\\Prog\\a.exe", "C:\\Prog\\b.ico"}},
      {brmOpen, false, "", {a, b}, bakChoose, "", {"C:\\Prog\\a.exe"}},
      {brmOpen, false, "", {sub, a}, bakOpen, "C:\\Prog\\Sub\\", {}},
      {brmOpen, false, "", {}, bakNone, "", {}},
      {brmFolder, false, "", {a, sub}, bakChoose, "", {"C:\\Prog\\Sub"}},  // no trailing "\"
      {brmFolder, false, "", {}, bakChoose, "", {"C:\\Prog"}},             // the shown folder
  };
  for (const auto& c : cases) {
    const TBrowserAccept r = BrowserAcceptChoice(c.Mode, c.Multi, "C:\\Prog\\", c.Typed, c.Selected, FakeDisk());
    EXPECT_EQ(r.Kind, c.Kind) << c.Mode << " " << c.Typed;
    EXPECT_EQ(r.Folder, c.Folder) << c.Typed;
    EXPECT_EQ(r.Files, c.Files) << c.Typed;
    EXPECT_EQ(r.Missing, c.Missing) << c.Typed;
  }
  // A root keeps its "\" in mode 6; the drives list has nothing to choose.
  EXPECT_EQ(BrowserAcceptChoice(brmFolder, false, "C:\\", "", {}, FakeDisk()).Files, F{"C:\\"});
  EXPECT_EQ(BrowserAcceptChoice(brmFolder, false, "", "", {}, FakeDisk()).Kind, bakNone);
  EXPECT_EQ(BrowserAcceptChoice(brmOpen, false, "", "a.exe", {}, FakeDisk()).Kind, bakNone);
  // The network and a server are no folders to choose: OK opens a server.
  EXPECT_EQ(BrowserAcceptChoice(brmFolder, false, "\\\\", "", {}, FakeDisk()).Kind, bakNone);
  EXPECT_EQ(BrowserAcceptChoice(brmFolder, false, "\\\\", "", {{"\\\\SRV", true}}, FakeDisk()).Folder, "\\\\SRV\\");
}

TEST(BrowserState, PlacesAndStateRoundTrip) {
  TStringList places;
  places.Add(BrowserIconsPlace("Icons"));
  places.Add("FOLDER,Programs=C:\\Program Files");
  places.Add("Empty=");
  places.Add("");
  places.Add("Plain=\\\\srv\\share\\");
  const auto shown = BrowserPlaces(places, "C:\\Orvanel");
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].Image, "BROWSERIMAGE");
  EXPECT_EQ(shown[0].Caption, "Icons");
  EXPECT_EQ(shown[0].Folder, "C:\\Orvanel\\Icons\\");
  EXPECT_EQ(shown[1].Folder, "C:\\Program Files\\");
  EXPECT_EQ(shown[2].Image, "");
  EXPECT_EQ(shown[2].Caption, "Plain");

  TBrowserState state;
  state.Splitter = 222;
  state.ColumnWidths = {120, 60, 0};
  state.ColumnOrder = {2, 0, 1};
  state.SortColumn = 2;
  state.SortDescending = true;
  state.Workgroups = {"WORKGROUP", "Home Net"};
  state.Favourites = {"C:\\a, b\\", "D:\\\"q\"\\"};
  std::map<String, String> section;
  WriteBrowserState(state, [&](const String& K, const String& V) { section[K] = V; });
  EXPECT_EQ(section["FAVList"], "\"C:\\a, b\\\",\"D:\\\"\"q\"\"\\\"");
  const auto read = [&](const String& K) { return section.count(K) ? section[K] : String(); };
  EXPECT_EQ(ReadBrowserState(read), state);

  // Bad values give their defaults, one key at a time.
  const TBrowserState defaults;
  struct {
    const char *Key, *Value;
  } bad[] = {{"Splitter", "9"},         {"Splitter", "x"},        {"Splitter", "99999999999"}, {"Columns", "10,-1,5"},
             {"Columns", "1,,2,a"},     {"ColumnOrder", "0,0,1"}, {"ColumnOrder", "1,2"},      {"SortColumn", "-3"},
             {"SortDescending", "yes"}, {"FAVList", ",,"}};
  for (const auto& b : bad) {
    std::map<String, String> one{{b.Key, b.Value}};
    const TBrowserState s = ReadBrowserState([&](const String& K) { return one.count(K) ? one[K] : String(); });
    EXPECT_EQ(s, defaults) << b.Key << "=" << b.Value;
  }
}
