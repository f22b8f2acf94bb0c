// The launcher's handlers: their types, the type each starts with (the one in
// its setting; one the list lacks gives the first), the type they keep, and
// the initial names from the caller's text.
#include "launcher/ov3brws.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemcfg.h"
#include "launcher/ov3cfg.h"

TEST(OvBrws, TypesTheTypeKeptAndTheInitialNames) {
  cfgInit();
  DefineSettings([] {});
  cfgSetValue(ovsBrowserFltPrograms, 1);
  cfgSetValue(ovsBrowserFltIcons, 7);
  TBPBlank blank;
  TBPPrograms programs;
  TBPFiles icons(kPreviewIcons);
  const struct {
    TBrowserPreview* Handler;
    int Preview, Chosen, Setting;
  } cases[] = {{&blank, kPreviewBlank, 0, 0},
               {&programs, kPreviewPrograms, 1, ovsBrowserFltPrograms},
               {&icons, kPreviewIcons, 0, ovsBrowserFltIcons}};
  for (const auto& c : cases) {
    TBrowserFileTypes types;
    c.Handler->FillFileTypes(types);
    EXPECT_EQ(types.Count(), static_cast<int>(BrowseFileTypes(c.Preview).size()));
    EXPECT_EQ(types.Text(types.Count() - 1), BrowseFileTypes(c.Preview).back().Text);
    EXPECT_EQ(types.ItemIndex(), c.Chosen) << c.Preview;
    types.SetItemIndex(1 - c.Chosen);
    c.Handler->FileTypeChanged(types);
    EXPECT_EQ(c.Setting ? cfgGetInt(c.Setting) : 1 - c.Chosen, 1 - c.Chosen) << c.Preview;
  }
  cfgDone();
  programs.Text = blank.Text = "C:\\Tools\\a.exe";
  EXPECT_EQ(programs.GetInitialFolder() + "|" + programs.GetInitialFileName(), "C:\\Tools|a.exe");
  EXPECT_EQ(blank.GetInitialFolder() + blank.GetInitialFileName(), "");
}
