// The preview handlers' registry and what a handler that overrides nothing
// gives the browser: captions by mode, no types, names or columns, page 0 on
// clearing; and the type list's choice of an index it lacks.
#include "kem3/framework/kembrwprev.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemlan_test_support.h"
#include "kem3/unicode/ucwidestrings.h"
#include "support/temp_dir.h"

namespace {

// The browser as a handler sees it: a mode, and the preview pages it was asked for.
class TFakeHost : public TBrowserHost {
 public:
  int Mode() const override { return FMode; }
  void ShowPreviewPage(int Index) override { Pages.push_back(Index); }
  int FMode = 0;
  std::vector<int> Pages;
};

}  // namespace

TEST(BrowserPreview, TheRegistryOwnsItsHandlersInRegistrationOrder) {
  ClearBrowserPreviews();
  for (std::uint16_t index : {0, 1, 65535}) EXPECT_EQ(GetBrowserPreview(index), nullptr) << index;
  std::vector<TBrowserPreview*> made;
  for (int i = 0; i < 3; ++i) {
    auto handler = std::make_unique<TBrowserPreview>();
    made.push_back(handler.get());
    EXPECT_EQ(TBrowserPreview::Register(std::move(handler)), i);
  }
  for (std::uint16_t i = 0; i < 3; ++i) EXPECT_EQ(GetBrowserPreview(i), made[i]);
  EXPECT_EQ(GetBrowserPreview(3), nullptr);
  EXPECT_EQ(BrowserPreviewCount(), 3);
  ClearBrowserPreviews();
  EXPECT_EQ(GetBrowserPreview(0), nullptr);
}

TEST(BrowserPreview, AHandlerThatOverridesNothing) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() / "Language");
  SetProgramFileName(dir.file("ov3.exe"));
  lantest::WriteFile(dir.file("Language/ov3a.lan"),
                     lantest::Lan3Bytes(lantest::Catalogue("US", "English",
                                                           "540 TdBrowser_CaptionOpen = Open\n"
                                                           "541 TdBrowser_CaptionInsert = Insert\n"
                                                           "542 TdBrowser_CaptionBrowse = Browse\n"
                                                           "543 TdBrowser_CaptionSave = Save as\n"
                                                           "544 TdBrowser_CaptionImport = Import\n"
                                                           "545 TdBrowser_CaptionExport = Export\n"
                                                           "546 TdBrowser_CaptionFolder = Choose folder\n")));
  InitLanguages();
  TBrowserPreview handler;
  // Without a browser: no caption, and clearing reaches nothing.
  EXPECT_EQ(handler.GetCaption(), u"");
  handler.ClearPreview();

  TFakeHost host;
  handler.Browser = &host;
  const struct {
    int Mode;
    WideString Caption;
  } modes[] = {{0, u"Open"},   {1, u"Insert"},        {2, u"Browse"}, {3, u"Save as"}, {4, u"Import"},
               {5, u"Export"}, {6, u"Choose folder"}, {7, u""},       {-1, u""}};
  for (const auto& m : modes) {
    host.FMode = m.Mode;
    EXPECT_EQ(handler.GetCaption(), m.Caption) << m.Mode;
  }
  TBrowserFileTypes types;
  handler.FillFileTypes(types);
  EXPECT_EQ(types.Count(), 0);
  EXPECT_EQ(handler.GetInitialFolder(), "");
  EXPECT_EQ(handler.GetInitialFileName(), "");
  EXPECT_EQ(handler.GetFieldCount(), 0);
  EXPECT_EQ(handler.GetFieldWidth(), 50);
  EXPECT_EQ(handler.GetFieldName(0), u"");
  EXPECT_EQ(handler.GetFieldKey(0), "");
  TUcStringList values;
  handler.GetFieldValues(dir.file("ov3.exe"), values);
  EXPECT_EQ(values.Count(), 0);
  handler.ShowPreview(dir.file("ov3.exe"));
  handler.ClearPreview();
  EXPECT_EQ(host.Pages, std::vector<int>{0}) << "only clearing shows a page: the empty one";
  DoneLanguages(false);
  SetProgramFileName("");
}

TEST(BrowserPreview, ATypeIndexOutOfRangeSelectsTheFirst) {
  TBrowserFileTypes types;
  types.SetItemIndex(0);
  EXPECT_EQ(types.ItemIndex(), -1) << "no types, no choice";
  types.Add(u"Programs (*.exe)");
  types.Add(u"All files (*.*)");
  const struct { int Index, Chosen; } cases[] = {{0, 0}, {1, 1}, {2, 0}, {-1, 0}, {30, 0}};
  for (const auto& c : cases) {
    types.SetItemIndex(1 - c.Chosen);
    types.SetItemIndex(c.Index);
    EXPECT_EQ(types.ItemIndex(), c.Chosen) << c.Index;
  }
  types.Clear();
  EXPECT_EQ(types.ItemIndex(), -1);
}
