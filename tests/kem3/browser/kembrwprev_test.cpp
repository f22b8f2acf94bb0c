// The handlers' registry and what a handler that overrides nothing gives the
// browser; a type index the list lacks selects the first.
#include "kem3/browser/kembrwprev.h"

#include <gtest/gtest.h>

#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemlan_test_support.h"
#include "kem3/unicode/ucwidestrings.h"

namespace {

struct TFakeHost : TBrowserHost {
  int Mode() const override { return FMode; }
  void ShowPreviewPage(int Index) override { Pages.push_back(Index); }
  int FMode = 0;
  std::vector<int> Pages;
};

}  // namespace

TEST(BrowserPreview, TheRegistryAndAHandlerThatOverridesNothing) {
  ClearBrowserPreviews();
  EXPECT_EQ(GetBrowserPreview(0), nullptr);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(TBrowserPreview::Register(std::make_unique<TBrowserPreview>()), i);
  EXPECT_NE(GetBrowserPreview(1), nullptr);
  EXPECT_EQ(GetBrowserPreview(2), nullptr);
  TBrowserPreview& handler = *GetBrowserPreview(1);
  LanguageManager().AddLanguage(lantest::Open(lantest::Lan3Bytes(lantest::Catalogue(
      "US", "English", "540 TdBrowser_CaptionOpen = Open\n546 TdBrowser_CaptionFolder = Choose folder\n"))));
  LanguageManager().SelectLanguage(0);
  EXPECT_EQ(handler.GetCaption(), u"") << "no browser";
  handler.ClearPreview();
  TFakeHost host;
  handler.Browser = &host;
  const std::pair<int, WideString> modes[] = {{0, u"Open"}, {6, u"Choose folder"}, {7, u""}, {-1, u""}};
  for (const auto& [mode, caption] : modes) {
    host.FMode = mode;
    EXPECT_EQ(handler.GetCaption(), caption) << mode;
  }
  DoneLanguages(false);
  TBrowserFileTypes types;
  TUcStringList values;
  handler.FillFileTypes(types);
  handler.GetFieldValues("C:\\a.exe", values);
  handler.ShowPreview("C:\\a.exe");
  EXPECT_EQ(types.Count() + values.Count() + handler.GetFieldCount() + handler.GetFieldWidth(), 50);
  EXPECT_EQ(handler.GetInitialFolder() + handler.GetInitialFileName() + handler.GetFieldKey(0), "");
  handler.ClearPreview();
  EXPECT_EQ(host.Pages, std::vector<int>{0}) << "only clearing shows a page: the empty one";
  types.SetItemIndex(0);
  EXPECT_EQ(types.ItemIndex(), -1) << "no types, no choice";
  types.Add(u"Programs (*.exe)");
  types.Add(u"All files (*.*)");
  types.SetItemIndex(1);
  types.SetItemIndex(2);
  EXPECT_EQ(types.ItemIndex(), 0) << "the first, not the nearest";
  ClearBrowserPreviews();
}
