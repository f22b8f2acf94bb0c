// The file browser's list model: the queue on a virtual clock, sorting by
// data, the patterns of a file type, and the handler's call order.
#include <gtest/gtest.h>

#include "kem3/browser/kembrowsefilter.h"
#include "kem3/browser/kembrowser_model.h"
#include "kem3/browser/kembrowser_model_order.h"
#include "platform/clock.h"

namespace {

struct TClockScope {
  TFakeClock Clock{1000};
  TClock* Previous;
  TClockScope() : Previous(SetClock(&Clock)) {}
  ~TClockScope() { SetClock(Previous); }
};

struct TRecordingView : TBrowserListView {
  std::vector<int> Changes;
  std::vector<int> Refreshed;
  void ItemsChanged(int First) override { Changes.push_back(First); }
  void ItemRefreshed(int Index) override { Refreshed.push_back(Index); }
};

std::unique_ptr<TListItemData> Data(int Kind, std::int64_t Size = 0, double Date = 0, const char16_t* Column = u"",
                                    const char16_t* SortText = u"") {
  auto d = std::make_unique<TListItemData>();
  d->Kind = Kind;
  d->Size = Size;
  d->Date = Date;
  d->SortText = SortText;
  d->Columns.Add(Column);
  return d;
}

std::u16string Names(const TBrowserListModel& M) {
  std::u16string s;
  for (int i = 0; i < M.Count(); ++i) s += (i ? u"," : u"") + M.Entry(i).Name;
  return s;
}

}  // namespace

TEST(BrowserListModel, QueueMovesEvery250msFoldersKeepTheirPlace) {
  TClockScope clock;
  TRecordingView view;
  TBrowserListModel m(view);
  m.SetSort(0, false);
  m.BeginListing();
  // {advance before queueing, place, name, list count after, queued after}
  struct {
    int Advance, Index;
    const char16_t* Name;
    int Count, Queued;
  } steps[] = {
      {0, -1, u"f1", 0, 1},   {249, -1, u"f2", 0, 2}, {1, 0, u"d1", 3, 0},  // the 250th ms moves all three
      {100, -1, u"f3", 3, 1}, {100, 1, u"d2", 3, 2},  {49, -1, u"f4", 3, 3}, {1, -1, u"f5", 7, 0},
  };
  for (const auto& s : steps) {
    clock.Clock.Advance(s.Advance);
    m.QueueEntry(s.Index, s.Name, false, Data(s.Index < 0 ? bikFile : bikOpenable), 0);
    EXPECT_EQ(m.Count(), s.Count) << std::string(s.Name, s.Name + 2);
    EXPECT_EQ(m.QueuedCount(), s.Queued);
  }
  EXPECT_EQ(Names(m), u"d1,d2,f1,f2,f3,f4,f5");
  m.QueueEntry(-1, u"f0", true, nullptr, 9);  // the rest moves at the end, then the sort
  m.EndListing();
  EXPECT_EQ(Names(m), u"d1,d2,f0,f1,f2,f3,f4,f5");
  EXPECT_EQ(m.SelectedIndex(), 2);
  // The last move and the sort tell the list once.
  EXPECT_EQ(view.Changes, (std::vector<int>{0, 0, 1, 0}));
  m.RefreshColumns(3);
  m.RefreshColumns(8);  // past the end: nothing
  EXPECT_EQ(view.Refreshed, std::vector<int>{3});
  // An empty list takes its first screenful at once, then waits again.
  m.BeginListing();
  for (int i = 1; i <= TBrowserListModel::FirstMoveCount + 1; ++i) {
    m.QueueEntry(-1, u"e", false, nullptr, 0);
    EXPECT_EQ(m.Count(), i < TBrowserListModel::FirstMoveCount ? 0 : TBrowserListModel::FirstMoveCount);
  }
  // Places out of order, or past the end of a list cleared under a worker.
  m.BeginListing();
  for (auto [index, name] : {std::pair{-1, u"x"}, {5, u"y"}, {0, u"z"}, {0, u"w"}})
    m.QueueEntry(index, name, false, nullptr, 0);
  m.MoveQueue();
  EXPECT_EQ(Names(m), u"w,z,x,y");
}

TEST(BrowserListModel, SortsByDataOpenableFirst) {
  TRecordingView view;
  TBrowserListModel m(view);
  m.SetColumns({bckSize, bckText, bckDate});
  m.SetSort(5, false);  // out of range: the name
  EXPECT_EQ(m.SortColumn(), 0);
  m.BeginListing();
  m.QueueEntry(-1, u"b.txt", false, Data(bikFile, 10, 3, u"txt"), 0);
  m.QueueEntry(-1, u"A.exe", false, Data(bikFile, 9, 1, u"exe"), 0);
  m.QueueEntry(-1, u"c.txt", false, Data(bikFile, 100, 2, u"TXT"), 0);
  m.QueueEntry(-1, u"zeta", false, Data(bikOpenable, 0, 9, u""), 0);
  m.QueueEntry(-1, u"Desktop", false, Data(bikOpenable, 0, 0, u"", u"0 Desktop"), 0);
  m.QueueEntry(-1, u"Alpha", false, Data(bikOpenable, 0, 1, u""), 0);
  m.EndListing();
  struct {
    int Column;  // SortBy: the same column again turns the direction
    const char16_t* Expected;
  } cases[] = {
      {0, u"zeta,Alpha,Desktop,c.txt,b.txt,A.exe"},  // descending: the name, sort text "0 Desktop"
      {0, u"Desktop,Alpha,zeta,A.exe,b.txt,c.txt"},
      {1, u"Desktop,Alpha,zeta,A.exe,b.txt,c.txt"},  // sizes by value, not "100" < "9"
      {1, u"zeta,Alpha,Desktop,c.txt,b.txt,A.exe"},
      {2, u"Desktop,Alpha,zeta,A.exe,b.txt,c.txt"},  // text without case, then the name
      {3, u"Desktop,Alpha,zeta,A.exe,c.txt,b.txt"},  // dates by value
  };
  for (const auto& c : cases) {
    m.SortBy(c.Column);
    EXPECT_EQ(Names(m), c.Expected) << c.Column;
    m.RefreshColumns(5);  // the column filler names c.txt by its row when the listing ended
    EXPECT_EQ(m.Entry(view.Refreshed.back()).Name, u"c.txt");
  }
  // A listing with fewer columns brings the sort column back into range.
  m.SetSort(3, false);
  m.SetColumns({bckTotal});
  m.BeginListing();
  m.EndListing();
  EXPECT_EQ(m.SortColumn(), 0);
}

// A quiet listing leaves the shown entries alone until it ends; then the new
// ones replace them at once, sorted, with the selection the user has then and
// their namesakes' columns.
TEST(BrowserListModel, AQuietListingReplacesTheEntriesAtItsEnd) {
  TClockScope clock;
  TRecordingView view;
  TBrowserListModel m(view);
  m.SetColumns({bckText});
  m.SetSort(1, false);
  m.BeginListing();
  m.QueueEntry(-1, u"a", false, Data(bikFile, 0, 0, u"zip"), 0);
  m.QueueEntry(-1, u"b", false, Data(bikFile, 0, 0, u"dat"), 0);
  m.EndListing();
  m.Entry(1).Selected = true;  // "a", as the user chose it
  view.Changes.clear();
  m.ListQuietly(true);
  m.BeginListing();
  for (const char16_t* name : {u"c", u"b", u"a"}) {
    clock.Clock.Advance(300);
    auto data = std::make_unique<TListItemData>();
    m.QueueEntry(-1, name, name[0] == u'b', std::move(data), 0);
  }
  EXPECT_EQ(Names(m), u"b,a");
  EXPECT_TRUE(view.Changes.empty());
  m.EndListing();
  // By type, "c" (no type yet) first; "a" selected, not "b".
  EXPECT_EQ(Names(m), u"c,b,a");
  EXPECT_EQ(m.SelectedIndex(), 2);
  EXPECT_EQ(view.Changes, std::vector<int>{0});
  // The next listing is an ordinary one again.
  m.BeginListing();
  EXPECT_EQ(m.Count(), 0);
}

// Types are known only once the columns are filled: a list sorted by one
// sorts again then.
TEST(BrowserListModel, SortsAgainWhenTheColumnsAreFilled) {
  TRecordingView view;
  TBrowserListModel m(view);
  m.SetColumns({bckText});
  m.SetSort(1, false);
  m.BeginListing();
  m.QueueEntry(-1, u"a", false, Data(bikFile), 0);
  m.QueueEntry(-1, u"b", true, Data(bikFile), 0);
  m.EndListing();
  m.ColumnFillingBegun();
  for (auto [row, type] : {std::pair{0, u"zip"}, {1, u"dat"}}) {
    m.Entry(row).Data->Columns.Clear();
    m.Entry(row).Data->Columns.Add(type);
    m.RefreshColumns(row);
  }
  EXPECT_EQ(Names(m), u"a,b");
  m.ColumnFillingEnded();
  EXPECT_EQ(Names(m), u"b,a");
  EXPECT_EQ(m.SelectedIndex(), 0);
}

TEST(BrowserListModel, TypePatterns) {
  struct {
    const char16_t* Text;
    std::vector<std::u16string> Patterns;
  } cases[] = {
      {u"Programs (*.exe;*.com;*.bat)", {u"*.exe", u"*.com", u"*.bat"}},
      {u"Icons (v2) (*.ico; *.;;)", {u"*.ico", u"*."}},
      {u"All files (*.*)", {u"*.*"}},
      {u"*.txt", {u"*.txt"}},
      {u"Broken (", {u"Broken ("}},
      {u"", {u"*.*"}},
  };
  for (const auto& c : cases) EXPECT_EQ(BrowserTypePatterns(c.Text), c.Patterns);
  // The icon types list extensionless Mac icon files, and only those, by "*.".
  const WideString icons = BrowserTypeFilter(u"Icons (*.ico; *.icns;*.)");
  EXPECT_EQ(icons, u"*.ico;*.icns;*.");
  struct {
    const char16_t* Name;
    bool Listed;
  } names[] = {{u"Folder", true}, {u"a.ICO", true}, {u"a.icon", false}, {u"readme.txt", false}};
  for (const auto& n : names) EXPECT_EQ(BrowseFilterMatches(n.Name, icons), n.Listed) << (n.Name[0] == u'a');
}

namespace {

struct TRecordingHandler : TBrowserHandler {
  std::string Calls;
  int Fields = 0;
  template <class T>
  T Log(const std::string& Call, T Result) {
    Calls += (Calls.empty() ? "" : "|") + Call;
    return Result;
  }
  void Log(const std::string& Call) { Log(Call, 0); }
  void SetBrowser(TdBrowser* B) override { Log(B ? "Browser" : "Browser nil"); }
  void CreatePreview(int Page) override { Log("CreatePreview " + std::to_string(Page)); }
  void FillFileTypes(TBrowserTypeChoice& T) override {
    T = {{u"Programs (*.exe)", u"All files (*.*)"}, Log("FillFileTypes", 1)};
  }
  void FileTypeChanged(TBrowserTypeChoice& T) override { Log("FileTypeChanged " + std::to_string(T.ItemIndex)); }
  void Prepare() override { Log("Prepare"); }
  void Closed() override { Log("Closed"); }
  void ClearPreview() override { Log("ClearPreview"); }
  void ShowPreview(const String& F) override { Log("ShowPreview " + F); }
  void SetResult() override { Log("SetResult"); }
  String GetInitialFolder() override { return Log<String>("GetInitialFolder", "C:\\"); }
  String GetInitialFileName() override { return Log<String>("GetInitialFileName", "a.exe"); }
  WideString GetCaption(int) override { return Log<WideString>("GetCaption", u"Pick"); }
  int GetFieldCount() override { return Log("GetFieldCount", Fields); }
  String GetFieldKey(int I) override { return "K" + std::to_string(I); }
};

struct TFakeDialog : TBrowserDialogSide {
  TRecordingHandler& H;
  TBrowserTypeChoice Types;
  int Pages = 0;
  explicit TFakeDialog(TRecordingHandler& Handler) : H(Handler) {}
  TdBrowser* Browser() override { return reinterpret_cast<TdBrowser*>(this); }
  int NewPreviewPage() override { return ++Pages; }
  void SetCaption(const WideString&) override {}
  void SetFileTypes(const TBrowserTypeChoice& T) override { Types = T; }
  void SetInitialNames(const String& F, const String& N) override { H.Log("names " + F + N); }
  void SetFieldColumns(const std::vector<WideString>& N, int) override { H.Log("fields " + std::to_string(N.size())); }
  void ListAgain() override { H.Log("list"); }
};

}  // namespace

TEST(BrowserSession, HandlerCallOrder) {
  TClockScope clock;
  TRecordingHandler h;
  TFakeDialog dialog(h);
  TBrowserSession s(dialog);
  // {filter index, chosen, the expected type, calls}
  struct {
    int FilterIndex;
    bool Chosen;
    int Type;
    const char* Calls;
  } uses[] = {
      {-1, true, 1,
       "Browser|CreatePreview 1|GetCaption|FillFileTypes|GetInitialFolder|GetInitialFileName|names C:\\a.exe|"
       "GetFieldCount|fields 0|Prepare|SetResult|Closed|Browser nil"},
      {0, false, 0,
       "Browser|GetCaption|FillFileTypes|GetInitialFolder|GetInitialFileName|names C:\\a.exe|GetFieldCount|"
       "fields 0|Prepare|Closed|Browser nil"},
      {7, false, 1,  // an index the handler does not offer keeps its choice
       "Browser|GetCaption|FillFileTypes|GetInitialFolder|GetInitialFileName|names C:\\a.exe|GetFieldCount|"
       "fields 0|Prepare|Closed|Browser nil"},
  };
  for (const auto& u : uses) {
    h.Calls.clear();
    s.Open(h, 0, u.FilterIndex);
    EXPECT_EQ(dialog.Types.ItemIndex, u.Type);
    EXPECT_EQ(s.TypeFilter(), u.Type == 0 ? u"*.exe" : u"*.*");
    s.Close(u.Chosen);
    EXPECT_EQ(h.Calls, u.Calls) << u.FilterIndex;
  }
  // The preview follows a file that stays selected for 200 ms.
  h.Fields = 2;
  s.Open(h, 0, -1);
  EXPECT_TRUE(s.HasCriteria());
  EXPECT_EQ(s.Fields()[1].Key, "K1");
  h.Calls.clear();
  s.SelectionChanged("C:\\a.exe");
  clock.Clock.Advance(150);
  s.Tick();
  s.SelectionChanged("C:\\b.exe");  // moved on before the preview: nothing to clear
  EXPECT_EQ(s.NextTick(), 200);
  clock.Clock.Advance(199);
  s.Tick();
  clock.Clock.Advance(1);
  s.Tick();
  s.Tick();  // once
  EXPECT_EQ(s.NextTick(), -1);
  s.SelectionChanged("");
  s.FileTypeChanged(0);
  s.Close(false);
  EXPECT_EQ(h.Calls, "ShowPreview C:\\b.exe|ClearPreview|FileTypeChanged 0|list|Closed|Browser nil");
  // An index no handler has gives the base handler.
  TBrowserHandler base;
  const auto lookup = [&](int I) { return I == 1 ? &h : nullptr; };
  EXPECT_EQ(&TBrowserSession::HandlerFor(9, lookup, base), &base);
  EXPECT_EQ(&TBrowserSession::HandlerFor(1, lookup, base), &h);
}
