// Every include between the source folders runs one way: no folder reaches
// itself again through the folders it includes.
#include <gtest/gtest.h>

#include <fstream>

#include "include_order.h"
#include "support/temp_dir.h"

TEST(IncludeOrder, SourceFoldersIncludeEachOtherOneWay) {
  auto order = CheckIncludeOrder(ORV_SOURCE_DIR);
  // A wrong root would find nothing and pass: the tree has hundreds of files.
  EXPECT_GT(order.files, 500);
  EXPECT_GT(order.includes, 500);
  EXPECT_EQ(order.loop, "");
}

TEST(IncludeOrder, NamesTheIncludeThatClosesALoop) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> files;  // path, contents
    std::string loop;
  };
  const Case cases[] = {
      {{{"kem3/controls/a.h", "#include \"kem3/framework/b.h\"\n"},
        {"kem3/framework/b.h", "#include \"platform/c.h\"\n"},
        {"platform/c.h", "#include <vector>\n"}},
       ""},
      {{{"kem3/controls/a.h", "#include \"kem3/framework/b.h\"\n"},
        {"kem3/framework/b.cpp", "// b\n#include \"kem3/framework/b.h\"\n  #  include \"kem3/graphics/d.h\"\n"},
        {"kem3/graphics/d.h", "#include \"platform/c.h\"\n#include \"kem3/controls/a.h\"\n"}},
       "kem3/controls -> kem3/framework -> kem3/graphics -> kem3/controls closed by "
       "kem3/graphics/d.h:2 <kem3/controls/a.h>"},
      {{{"launcher/x.cpp", "#include \"hooklib/y.h\"\n"}, {"hooklib/y.h", "#include \"launcher/x.h\"\n"}},
       "hooklib -> launcher -> hooklib closed by launcher/x.cpp:1 <hooklib/y.h>"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    for (const auto& [path, contents] : c.files) {
      std::filesystem::create_directories((dir.path() / path).parent_path());
      std::ofstream(dir.path() / path) << contents;
    }
    EXPECT_EQ(CheckIncludeOrder(dir.path()).loop, c.loop) << c.files[0].first;
  }
}
