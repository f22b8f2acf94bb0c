// The browser's search page on a test folder tree, driven while the dialog
// shows modally: files found in subfolders and OK on one, criteria rows that
// only a handler with fields gets, and a search stopped while it runs.
#include <gtest/gtest.h>

#include "platform/winapi_win.h"

#include <atomic>
#include <filesystem>
#include <fstream>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/browser/kembrowser_search.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/framework/kemexe.h"
#include "kem3/unicode/ucwidestrings.h"
#include "launcher/window_shot_win.h"
#include "platform/app_scope_win.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"
#include "support/browser_steps_win.h"
#include "support/temp_dir.h"

namespace {

using namespace browser_steps;

// A handler whose one field is a file's size; with a gate, reading it waits for the gate.
class TSizeField : public TBrowserPreview {
 public:
  int GetFieldCount() override { return 1; }
  WideString GetFieldName(int) override { return u"Bytes"; }
  String GetFieldKey(int) override { return "bytes"; }
  void GetFieldValues(const String& FileName, TUcStrings& Values) override {
    if (Gate) Reading = true, WaitForSingleObject(Gate, 10000);
    Values.Add(
        Utf8ToWide(IntToStr(static_cast<std::int64_t>(std::filesystem::file_size(std::filesystem::u8path(FileName))))));
  }
  std::atomic<bool> Reading{false};
  HANDLE Gate = nullptr;
};

template <class T>
T& Find(TdBrowser& D, const char* Name) {
  auto* found = dynamic_cast<T*>(D.FindComponent(Name));
  EXPECT_NE(found, nullptr) << Name;
  return *found;
}

// Opens the page on the folder listed and searches it for Mask: Enter in the mask's field.
TSteps::TStep Search(const char16_t* Mask) {
  return [Mask](TdBrowser& D) {
    if (!D.Idle() || D.Model().Count() == 0) return false;
    D.ShowSearchPage();
    TKemEdit& mask = Find<TKemEdit>(D, "eSearchMask");
    mask.SetText(Mask);
    EXPECT_EQ(GetFocus(), mask.Editor()->Handle());
    modal_answer::PressKey(D, VK_RETURN);
    return true;
  };
}

// Waits for the search to end with these names, then takes a picture.
TSteps::TStep Found(std::vector<WideString> Expected, const char* Shot) {
  return [Expected, Shot](TdBrowser& D) {
    if (D.Searching() || !D.Idle() || Names(D) != Expected) return false;
    D.Update();
    SaveShot(D.Handle(), Shot);
    return true;
  };
}

class BrowserSearchWin : public testing::Test {
 protected:
  BrowserSearchWin() {
    Plain = TBrowserPreview::Register(std::make_unique<TBrowserPreview>());
    WithField = TBrowserPreview::Register(std::unique_ptr<TBrowserPreview>(Field));
    std::filesystem::create_directories(Dir.path() / "Sub" / "Deep");
    for (const char* name : {"a.exe", "notes.txt", "Sub/inner.txt", "Sub/Deep/deep.txt", "Sub/x.exe"})
      std::ofstream(Dir.path() / name) << name;  // so the deeper, the larger
    Root = BrowserWithDelimiter(StringReplace(Dir.file(""), "/", "\\", {rfReplaceAll}));
    SetProgramFileName(Dir.file("browser.exe"));
    Dialog = NewForm<TdBrowser>(nullptr);
  }
  ~BrowserSearchWin() override {
    Dialog->Free();
    WaitForRetiredBrowserWorkers();
    ClearBrowserPreviews();
    FreeIniFile();
    SetProgramFileName("");
  }
  bool Run(int Handler, std::vector<TSteps::TStep> Steps) {
    const size_t count = Steps.size();
    bool chosen = false;
    const int done = RunSteps(std::move(Steps), [&] { chosen = Dialog->Execute(brmOpen, Handler, false, Root, -1); });
    EXPECT_EQ(done, static_cast<int>(count)) << "a negative count: that step timed out";
    return chosen;
  }

  TAppScope App;
  TempDir Dir;
  String Root;
  TSizeField* Field = new TSizeField;
  int Plain = 0, WithField = 0;
  TdBrowser* Dialog = nullptr;
};

}  // namespace

TEST_F(BrowserSearchWin, FindsInSubfoldersAndOkChoosesAFoundFile) {
  const TSteps::TStep page = [this](TdBrowser& D) {
    // The page looks in the folder shown; no criteria without fields.
    D.ShowSearchPage();
    EXPECT_EQ(Find<TKemEdit>(D, "eSearchFolder").Text(), Utf8ToWide(BrowserFolderResult(Root)));
    EXPECT_FALSE(Find<TKemDropDownList>(D, "dlSearchField1").Visible());
    D.ShowSearchPage();
    return true;
  };
  const std::vector<WideString> found{u"notes.txt", u"Sub\\Deep\\deep.txt", u"Sub\\inner.txt"};
  EXPECT_TRUE(Run(Plain, {page, Search(u"*.txt"), Found(found, "browser_search"), Press(2, VK_RETURN)}));
  EXPECT_EQ(Dialog->FileName(), Root + "Sub\\inner.txt");
}

TEST_F(BrowserSearchWin, CriteriaOfTheHandlersFieldsAndASearchStopped) {
  const std::vector<WideString> found{u"Sub\\Deep\\deep.txt", u"Sub\\inner.txt"};
  const TSteps::TStep atLeast = [](TdBrowser& D) {
    D.ShowSearchPage();
    EXPECT_TRUE(Find<TKemDropDownList>(D, "dlSearchField1").Visible());
    Find<TKemDropDownList>(D, "dlSearchComparison1").SetItemIndex(bcAtLeast);
    Find<TKemEdit>(D, "eSearchValue1").SetText(u"13");
    D.ShowSearchPage();  // hidden, the rows stay
    return true;
  };
  const TSteps::TStep again = [this](TdBrowser& D) {
    // This search holds in the handler's field until the gate opens.
    Field->Gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    D.StartSearch();
    // It ends on this thread, so it cannot have ended yet.
    EXPECT_TRUE(D.Searching());
    return true;
  };
  const TSteps::TStep stop = [this](TdBrowser& D) {
    if (!Field->Reading) return false;
    D.StopSearch();
    EXPECT_FALSE(D.Searching());
    SetEvent(Field->Gate);
    return true;
  };
  const TSteps::TStep after = [&found](TdBrowser& D) {
    if (!D.Idle()) return false;
    // Nothing of the stopped search replaces the list.
    EXPECT_EQ(Names(D), found);
    EXPECT_EQ(Find<TKemLabel>(D, "lSearchPosition").Caption(), u"Search stopped");
    D.SetModalResult(mrCancel);
    return true;
  };
  EXPECT_FALSE(
      Run(WithField, {atLeast, Search(u"*.txt"), Found(found, "browser_search_criteria"), again, stop, after}));
  CloseHandle(Field->Gate);
}
