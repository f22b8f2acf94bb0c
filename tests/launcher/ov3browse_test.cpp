// The browser call: the file types each preview handler offers, with the
// setting that keeps its choice.
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
    for (const TOvFileType& type : BrowseFileTypes(c.Preview)) patterns.push_back(type.Patterns);
    EXPECT_EQ(patterns, c.Patterns);
    EXPECT_EQ(BrowseFileTypeSetting(c.Preview), c.Setting);
  }
}
