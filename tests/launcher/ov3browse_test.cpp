// The browser call: the file types each preview handler offers, with the
// setting that keeps its choice, and the browser in place.
#include "launcher/ov3browse.h"

#include <gtest/gtest.h>

#include "launcher/ov3cfg.h"

TEST(Ov3Browse, FileTypesOfEachHandler) {
  const struct {
    int Preview;
    std::vector<String> Patterns;
    int Setting;
  } cases[] = {
      {kPreviewBlank, {"*.*"}, 0},
      {kPreviewPrograms, {"*.exe;*.com;*.bat", "*.*"}, ovsBrowserFltPrograms},
      // "*." offers Mac icon files, which have no extension.
      {kPreviewIcons, {"*.bmp;*.png;*.jpg;*.ico;*.icl;*.dll;*.exe;*.icns;*.icontainer;*.", "*.*"}, ovsBrowserFltIcons},
  };
  for (const auto& c : cases) {
    std::vector<String> patterns;
    for (const TOvFileType& type : BrowseFileTypes(c.Preview)) {
      patterns.push_back(type.Patterns);
      // The text names its patterns, as the system's dialogs show them.
      EXPECT_NE(type.Text.find(u"(" + std::u16string(type.Patterns.begin(), type.Patterns.end()) + u")"),
                std::u16string::npos);
    }
    EXPECT_EQ(patterns, c.Patterns);
    EXPECT_EQ(BrowseFileTypeSetting(c.Preview), c.Setting);
  }
}

TEST(Ov3Browse, TheBrowserInPlaceCanBeExchanged) {
  class TFake : public TOvBrowser {
   public:
    bool Execute(int, int, bool, const String&, int) override { return true; }
    String FileName() const override { return "x"; }
  };
  auto first = std::make_unique<TFake>();
  TFake* fake = first.get();
  std::unique_ptr<TOvBrowser> before = SetOvBrowser(std::move(first));
  EXPECT_EQ(OvBrowser(), fake);
  EXPECT_EQ(SetOvBrowser(std::move(before)).get(), fake);
}
