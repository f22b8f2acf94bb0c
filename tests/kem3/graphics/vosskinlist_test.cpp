// The skin list: which definitions a scan takes and in what order, the
// selection rules, and the selection kept in the settings file.
#include "kem3/graphics/vosskinlist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "kem3/framework/kemexe.h"
#include "platform/inifile.h"
#include "vosskin_fixture.h"

namespace {

using namespace vosskintest;

std::string Definition(const std::string& Title, const std::string& Layouts) {
  return "<?xml version=\"1.0\"?><vosskindefinition title=\"" + Title + "\">" + Layouts +
         "<layout><a mode=\"verticalup\"><textures><texture name=\"t\"><color value=\"010203\"/></texture></textures>"
         "</a><b/></layout></vosskindefinition>";
}

class VosSkinListTest : public testing::Test {
 protected:
  void Add(const std::string& Folder, const std::string& Xml) {
    const auto dir = Dir.path() / "Skins" / Folder;
    std::filesystem::create_directories(dir);
    WriteText((dir / "skin.xml").string(), Xml);
  }
  std::string Skins() const { return (Dir.path() / "Skins").string(); }
  void TearDown() override {
    FreeSkinList();
    SetProgramFileName("");
  }
  TempDir Dir;
};

TEST_F(VosSkinListTest, AScanTakesTheRootDefinitionFirstAndSkipsWhatIsNoSkin) {
  Add("", Definition("Root", "<layouts><l id=\"a\" title=\"A\"/></layouts>"));
  Add("broken", "\x01\x02 no xml here <<<");
  Add("foreign", "<?xml version=\"1.0\"?><other title=\"X\"/>");
  Add("bare", Definition("Bare", "<layouts></layouts>"));
  Add("two",
      Definition("Two", "<layouts><x id=\"a\" title=\"First\"/><!-- c --><y id=\"b\" title=\"Second\"/></layouts>"));
  std::filesystem::create_directories(Dir.path() / "Skins" / "empty");
  WritePicture((Dir.path() / "Skins" / "bare" / "skin.png").string(), 8, 6, false,
               [](int, int) { return 0xFF336699u; });

  ScanSkinsIn(Skins());
  ASSERT_EQ(GetSkinCount(), 3);
  EXPECT_EQ(GetSkinTitle(0), "Root");
  std::vector<std::pair<String, String>> found;  // title, layout lines
  for (int i = 1; i < GetSkinCount(); ++i) found.emplace_back(GetSkinTitle(i), GetSkinLayouts(i)->CommaText());
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::pair<String, String>>{{"Bare", "default=Default"}, {"Two", "a=First,b=Second"}}));
  for (int i = 0; i < GetSkinCount(); ++i) EXPECT_EQ(GetSkinPreview(i)->Width(), GetSkinTitle(i) == "Bare" ? 8 : 0);
  // Found but not loaded yet; the getters check their index.
  EXPECT_EQ(GetSelectedSkinIndex(), 0);
  EXPECT_EQ(GetSelectedLayoutIndex(), -1);
  EXPECT_EQ(GetSkinTitle(3), "");
  EXPECT_EQ(GetSkinLayouts(-1), nullptr);
  EXPECT_EQ(GetSkinPreview(9), nullptr);
}

TEST_F(VosSkinListTest, SelectionLoadsALayoutOnceAndNamesFindTheirSkin) {
  // Two skins of one title: the root one has layout "a" only, the other "a" and "b".
  Add("", Definition("Twin", "<layouts><l id=\"a\" title=\"A\"/></layouts>"));
  Add("1", Definition("Twin", "<layouts><l id=\"a\" title=\"A\"/><l id=\"b\" title=\"B\"/></layouts>"));
  ScanSkinsIn(Skins());
  ASSERT_EQ(GetSkinCount(), 2);
  struct Step {
    const char* what;
    std::function<bool()> call;
    bool result;
    int skin, layout;
  };
  const Step steps[] = {
      {"bad skin", [] { return SelectSkin(-1, 0); }, false, 0, -1},
      {"bad skin", [] { return SelectSkin(2, 0); }, false, 0, -1},
      {"bad layout", [] { return SelectSkin(0, 1); }, false, 0, -1},
      {"first", [] { return SelectSkin(0, 0); }, true, 0, 0},
      {"same again", [] { return SelectSkin(0, 0); }, false, 0, 0},
      {"other skin", [] { return SelectSkin(1, 1); }, true, 1, 1},
      {"by name, the first has it", [] { return SelectSkinByName("TWIN", "A"); }, true, 0, 0},
      {"by name, only the second has it", [] { return SelectSkinByName("twin", "b"); }, true, 1, 1},
      {"by name, unknown", [] { return SelectSkinByName("Twin", "zz"); }, false, 1, 1},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    EXPECT_EQ(s.call(), s.result);
    EXPECT_EQ(GetSelectedSkinIndex(), s.skin);
    EXPECT_EQ(GetSelectedLayoutIndex(), s.layout);
  }
  // Layout "b" is empty; "a" has the texture and the mode.
  EXPECT_EQ(CurrentSkin()->TextureCount(), 0);
  EXPECT_EQ(ReadSkinLayoutValue("mode"), "");
  SelectSkin(1, 0);
  EXPECT_EQ(CurrentSkin()->TextureCount(), 1);
  EXPECT_EQ(ReadSkinLayoutValue("mode"), "verticalup");
}

TEST_F(VosSkinListTest, TheSettingsFileKeepsTheSelection) {
  SetProgramFileName(Dir.file("ov3.exe"));
  Add("one", Definition("One", "<layouts><l id=\"a\" title=\"A\"/><l id=\"b\" title=\"B\"/></layouts>"));
  const struct {
    const char* title;
    const char* layout;
    int skin, selected;
  } cases[] = {{"One", "B", 0, 1}, {"One", "nosuch", 0, 0}, {"Gone", "a", 0, 0}, {"", "", 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.title) + "/" + c.layout);
    GetIniFile()->WriteString("Skin", "Current", c.title);
    GetIniFile()->WriteString("Skin", "Layout", c.layout);
    ScanSkinsIn(Skins());
    LoadSkinSelection("Skin", "Current", "Layout");
    EXPECT_EQ(GetSelectedSkinIndex(), c.skin);
    EXPECT_EQ(GetSelectedLayoutIndex(), c.selected);
    SaveSkinSelection("Skin", "Current", "Layout");
    EXPECT_EQ(GetIniFile()->ReadString("Skin", "Current", ""), "One");
    EXPECT_EQ(GetIniFile()->ReadString("Skin", "Layout", ""), c.selected ? "b" : "a");
  }
  // No skins: nothing selected, nothing written.
  std::filesystem::remove_all(Dir.path() / "Skins");
  GetIniFile()->WriteString("Skin", "Current", "kept");
  ScanSkinsIn(Skins());
  LoadSkinSelection("Skin", "Current", "Layout");
  EXPECT_EQ(GetSelectedSkinIndex(), -1);
  SaveSkinSelection("Skin", "Current", "Layout");
  EXPECT_EQ(GetIniFile()->ReadString("Skin", "Current", ""), "kept");
  EXPECT_NE(CurrentSkin(), nullptr);
}

}  // namespace
