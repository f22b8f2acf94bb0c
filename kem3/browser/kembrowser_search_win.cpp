// The browser's search page: a panel under the toolbar with the name
// patterns, the folder to look in, the switches and, for a handler with
// fields, rows of criteria. The file searcher runs on its own thread; what it
// found replaces the list as a listing of the folder searched, each file named
// by its path below that folder.
#include "kem3/browser/kembrowser_win.h"

#include "platform/winapi_win.h"

#include <array>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/browser/kembrowser_search.h"
#include "kem3/browser/kemfldnt.h"
#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemchkbx_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/framework/kemlan.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {
constexpr int kMargin = 6, kLabelWidth = 64, kButtonWidth = 80, kRowHeight = 26, kCriteriaRows = 3;
constexpr int kFieldWidth = 150, kComparisonWidth = 110;

// A check box as wide as its box and caption need.
int CheckWidth(TKemCheckbox& Box) { return CaptionWidth(&Box, Box.Caption()) + 22; }

struct TComparisonText {
  const char* Name;
  const char16_t* Default;
};
constexpr TComparisonText kComparisonTexts[bcCount] = {
    {"TdBrowser_Search_Matches", u"matches"},       {"TdBrowser_Search_Equal", u"equals"},
    {"TdBrowser_Search_NotEqual", u"differs from"}, {"TdBrowser_Search_Less", u"less than"},
    {"TdBrowser_Search_AtMost", u"at most"},        {"TdBrowser_Search_Greater", u"greater than"},
    {"TdBrowser_Search_AtLeast", u"at least"}};
}  // namespace

class TdBrowser::TSearchPart : public TPart, public TBrowserSearchSink {
 public:
  explicit TSearchPart(TdBrowser& Browser);
  void LanguageUpdated() override;
  void Layout() override;

  void Toggle();
  // A new use of the browser: its handler's fields, the page hidden.
  void FieldsChanged();
  void Start();
  void Stop();
  bool Running() const { return *FSlot != nullptr; }

  void SearchPosition(const WideString& Folder) override { lPosition->SetCaption(Folder); }
  void SearchFound(int Count) override;
  void SearchEnded(const std::vector<WideString>& Found) override;

 private:
  struct TRow {
    TKemDropDownList* Field;
    TKemDropDownList* Comparison;
    TKemEdit* Value;
  };
  template <class T>
  T* Make(const String& Name);
  TKemLabel* MakeLabel(const String& Name);
  TKemCheckbox* MakeCheck(const String& Name, bool Checked);
  void ShowRunning(bool Now);
  bool CriteriaShown() const { return !FKeys.empty(); }
  void ShowResults(const std::vector<WideString>& Found);

  TdBrowser& B;
  TtBackProcess* const* FSlot;
  TKemPanel* pSearch;
  TKemLabel *lMask, *lFolder, *lCriteria, *lPosition, *lFound;
  TKemEdit *eMask, *eFolder;
  TKemCheckbox *cbRecurse, *cbHidden, *cbReadOnly, *cbMatchAll;
  TKemButton* bSearch;
  std::array<TRow, kCriteriaRows> FRows{};
  std::vector<String> FKeys;  // the handler's field keys, in the field lists' order
  String FSearched;           // the folder of the search, ending in "\"
  int FFound = -1;            // the count shown; -1 for none
};

template <class T>
T* TdBrowser::TSearchPart::Make(const String& Name) {
  T* control = new T(&B);
  control->SetName(Name);
  control->SetParent(pSearch);
  return control;
}

TKemLabel* TdBrowser::TSearchPart::MakeLabel(const String& Name) {
  auto* label = Make<TKemLabel>(Name);
  label->SetAutoSize(false);
  label->SetColor(clBtnFace);
  return label;
}

TKemCheckbox* TdBrowser::TSearchPart::MakeCheck(const String& Name, bool Checked) {
  auto* box = Make<TKemCheckbox>(Name);
  box->SetColor(clBtnFace);
  box->SetChecked(Checked);
  return box;
}

TdBrowser::TSearchPart::TSearchPart(TdBrowser& Browser) : B(Browser), FSlot(&Browser.FWorkers.Reference(bwSearch)) {
  pSearch = new TKemPanel(&B);
  pSearch->SetName("pSearch");
  pSearch->SetVisible(false);
  pSearch->SetParent(&B);
  pSearch->SetAlign(alTop);
  lMask = MakeLabel("lSearchMask");
  eMask = Make<TKemEdit>("eSearchMask");
  eMask->SetText(u"*");
  lMask->SetFocusControl(eMask);
  lFolder = MakeLabel("lSearchFolder");
  eFolder = Make<TKemEdit>("eSearchFolder");
  lFolder->SetFocusControl(eFolder);
  bSearch = Make<TKemButton>("bSearch");
  bSearch->OnClick = [this](TObject*) { Running() ? Stop() : Start(); };
  // As the searcher's switches start: subfolders and read-only files, no hidden ones.
  cbRecurse = MakeCheck("cbSearchRecurse", true);
  cbHidden = MakeCheck("cbSearchHidden", false);
  cbReadOnly = MakeCheck("cbSearchReadOnly", true);
  lCriteria = MakeLabel("lSearchCriteria");
  for (int i = 0; i < kCriteriaRows; ++i) {
    const String n = IntToStr(i + 1);
    FRows[i] = {Make<TKemDropDownList>("dlSearchField" + n), Make<TKemDropDownList>("dlSearchComparison" + n),
                Make<TKemEdit>("eSearchValue" + n)};
  }
  cbMatchAll = MakeCheck("cbSearchMatchAll", true);
  lPosition = MakeLabel("lSearchPosition");
  lFound = MakeLabel("lSearchFound");
  lFound->SetAlignment(taRightJustify);
  // Enter in the page's fields searches; it would otherwise choose in the list.
  std::vector<TKemEdit*> edits{eMask, eFolder};
  for (const TRow& row : FRows) edits.push_back(row.Value);
  for (TKemEdit* edit : edits)
    edit->Editor()->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState) {
      if (Key != VK_RETURN) return;
      Key = 0;
      if (!Running()) Start();
    };
  FieldsChanged();
}

void TdBrowser::TSearchPart::LanguageUpdated() {
  lMask->SetCaption(Translate("TdBrowser_Search_Named", u"Named"));
  lFolder->SetCaption(Translate("TdBrowser_Search_LookIn", u"Look in"));
  cbRecurse->SetCaption(Translate("TdBrowser_Search_Recurse", u"Recurse through subdirectories"));
  cbHidden->SetCaption(Translate("TdBrowser_Search_Hidden", u"Include hidden files"));
  cbReadOnly->SetCaption(Translate("TdBrowser_Search_ReadOnly", u"Include read-only files"));
  cbMatchAll->SetCaption(Translate("TdBrowser_Search_MatchAll", u"Match on all criterias"));
  lCriteria->SetCaption(Translate("TdBrowser_Search_Criteria", u"Criteria"));
  for (TRow& row : FRows) {
    const int index = row.Comparison->ItemIndex();
    row.Comparison->Items()->Clear();
    for (const TComparisonText& text : kComparisonTexts)
      row.Comparison->Items()->Add(Translate(text.Name, text.Default));
    row.Comparison->SetItemIndex(index < 0 ? bcMatches : index);
  }
  ShowRunning(Running());
  if (FFound >= 0) SearchFound(FFound);
  Layout();
}

void TdBrowser::TSearchPart::Layout() {
  const int width = B.ClientWidth();
  const int right = width - kMargin - kButtonWidth;
  const int field = 2 * kMargin + kLabelWidth;
  int y = kMargin;
  const int room = std::max(right - kMargin - field - kLabelWidth - kMargin, 120);
  const int maskWidth = room * 2 / 5;
  lMask->SetBounds(kMargin, y + 4, kLabelWidth, 15);
  eMask->SetBounds(field, y, maskWidth, 21);
  lFolder->SetBounds(field + maskWidth + kMargin, y + 4, kLabelWidth, 15);
  eFolder->SetBounds(field + maskWidth + kMargin + kLabelWidth, y, room - maskWidth, 21);
  bSearch->SetBounds(right, y - 1, kButtonWidth, 23);
  y += kRowHeight;
  int x = field;
  for (TKemCheckbox* box : {cbRecurse, cbHidden, cbReadOnly}) {
    const int boxWidth = CheckWidth(*box);
    box->SetBounds(x, y, boxWidth, 17);
    x += boxWidth + 2 * kMargin;
  }
  y += kRowHeight - 4;
  const bool criteria = CriteriaShown();
  lCriteria->SetVisible(criteria);
  cbMatchAll->SetVisible(criteria);
  lCriteria->SetBounds(kMargin, y + 4, kLabelWidth, 15);
  for (TRow& row : FRows) {
    row.Field->SetVisible(criteria);
    row.Comparison->SetVisible(criteria);
    row.Value->SetVisible(criteria);
    if (!criteria) continue;
    row.Field->SetBounds(field, y, kFieldWidth, 21);
    row.Comparison->SetBounds(field + kFieldWidth + kMargin, y, kComparisonWidth, 21);
    const int value = field + kFieldWidth + kComparisonWidth + 2 * kMargin;
    row.Value->SetBounds(value, y, std::max(right - kMargin - value, 40), 21);
    y += kRowHeight;
  }
  if (criteria) {
    cbMatchAll->SetBounds(field, y, CheckWidth(*cbMatchAll), 17);
    y += kRowHeight - 4;
  }
  lPosition->SetBounds(kMargin, y, std::max(right - 2 * kMargin, 40), 15);
  lFound->SetBounds(right - kMargin, y, kButtonWidth + kMargin, 15);
  pSearch->SetHeight(y + 15 + kMargin);
}

void TdBrowser::TSearchPart::Toggle() {
  const bool show = !pSearch->Visible();
  if (show) {
    eFolder->SetText(Utf8ToWide(B.FFolder.empty() ? String() : BrowserFolderResult(B.FFolder)));
    // Under the toolbar: aligned panels at the top stack by their places.
    pSearch->SetTop(B.pTop->Top() + B.pTop->Height());
  }
  pSearch->SetVisible(show);
  if (show && B.Visible() && eMask->CanFocus()) eMask->SetFocus();
}

void TdBrowser::TSearchPart::FieldsChanged() {
  FKeys.clear();
  for (TRow& row : FRows) {
    row.Field->Items()->Clear();
    row.Value->SetText(WideString());
  }
  for (const TBrowserField& f : B.FSession.Fields()) {
    FKeys.push_back(f.Key);
    for (TRow& row : FRows) row.Field->Items()->Add(f.Name);
  }
  for (TRow& row : FRows) row.Field->SetItemIndex(FKeys.empty() ? -1 : 0);
  pSearch->SetVisible(false);
  lPosition->SetCaption(WideString());
  lFound->SetCaption(WideString());
  FFound = -1;
  ShowRunning(Running());
  Layout();
}

void TdBrowser::TSearchPart::Start() {
  B.FWorkers.Cancel(bwSearch);
  String folder = WideToUtf8(Trim(eFolder->Text()));
  if (!folder.empty() && !BrowserIsFullPath(folder) && !B.FFolder.empty()) folder = B.FFolder + folder;
  if (!BrowserIsFullPath(folder) || !DirectoryExists(folder)) {
    lPosition->SetCaption(Translate("TdBrowser_Search_NoFolder", u"There is no such folder."));
    return;
  }
  FSearched = BrowserWithDelimiter(folder);
  TBrowserSystem& system = SystemBrowserSystem();
  auto searcher = std::make_unique<TtFileSearcher>(B.FWorkers.Reference(bwSearch), B.FModel, system, *this);
  searcher->Folder = Utf8ToWide(FSearched);
  const WideString mask = Trim(eMask->Text());
  searcher->Mask = mask.empty() ? WideString(u"*") : mask;
  searcher->Recurse = cbRecurse->Checked();
  searcher->Hidden = cbHidden->Checked();
  searcher->ReadOnly = cbReadOnly->Checked();
  searcher->MatchAll = cbMatchAll->Checked();
  searcher->DateOrder = system.ShortDateOrder();
  TBrowserPreview* preview = B.FModel.CurrentPreview();
  if (CriteriaShown() && preview) {
    std::vector<TBrowserCriterionRow> rows;
    for (const TRow& row : FRows) {
      const int field = row.Field->ItemIndex();
      if (field >= 0 && field < static_cast<int>(FKeys.size()))
        rows.push_back({FKeys[field], row.Comparison->ItemIndex(), row.Value->Text()});
    }
    searcher->Criteria = BrowserCriteriaText(rows);
    searcher->UseCriteria = !searcher->Criteria.empty();
    // The handler's values are read on the searcher's thread, as the column filler reads them.
    searcher->Reader = std::make_shared<TBrowserHandlerFields>(
        FKeys, [preview](const String& FileName, TUcStrings& Values) { preview->GetFieldValues(FileName, Values); });
  }
  lPosition->SetCaption(searcher->Folder);
  SearchFound(0);
  B.FWorkers.Start(std::move(searcher));
  ShowRunning(true);
}

void TdBrowser::TSearchPart::Stop() {
  if (!Running()) return;
  B.FWorkers.Cancel(bwSearch);
  lPosition->SetCaption(Translate("TdBrowser_Search_Stopped", u"Search stopped"));
  ShowRunning(false);
}

void TdBrowser::TSearchPart::ShowRunning(bool Now) {
  bSearch->SetCaption(Now ? Translate("TdBrowser_Search_Stop", u"Stop")
                          : Translate("TdBrowser_Search_Start", u"Search"));
}

void TdBrowser::TSearchPart::SearchFound(int Count) {
  FFound = Count;
  lFound->SetCaption(WideFormatOrError(Translate("TdBrowser_Search_Found", u"%d found"), {Count}));
}

void TdBrowser::TSearchPart::SearchEnded(const std::vector<WideString>& Found) {
  // Called under the searcher's lock just before it lets go of its reference.
  ShowRunning(false);
  lPosition->SetCaption(Utf8ToWide(FSearched));
  SearchFound(static_cast<int>(Found.size()));
  ShowResults(Found);
}

// The list shows what was found as a listing of the folder searched: Up and
// Refresh lead on from there, and the folder's own watch rests meanwhile.
void TdBrowser::TSearchPart::ShowResults(const std::vector<WideString>& Found) {
  for (TBrowserWorkerKind kind : {bwFiles, bwColumns, bwDrives, bwServers, bwShares}) B.FWorkers.Cancel(kind);
  B.FMonitor->SetActive(false);
  B.FFolder = FSearched;
  B.ePath->SetText(Utf8ToWide(B.FFolder));
  B.SetColumns(false);
  const WideString folder = Utf8ToWide(FSearched);
  TBrowserListModel& model = B.FModel;
  model.BeginListing();
  for (size_t i = 0; i < Found.size(); ++i) {
    auto data = std::make_unique<TListItemData>();
    data->Index = static_cast<int>(i);
    data->Kind = bikFile;
    // Named by their paths below the folder searched, which the list now shows.
    const WideString name = Found[i].starts_with(folder) ? Found[i].substr(folder.size()) : Found[i];
    model.QueueEntry(-1, name, false, std::move(data), FileImageIndex(name));
  }
  model.EndListing();
  B.StartColumnFiller(folder);
}

void TdBrowser::CreateSearch() { FSearchPart = std::make_unique<TSearchPart>(*this); }

void TdBrowser::SearchFieldsChanged() {
  if (FSearchPart) static_cast<TSearchPart&>(*FSearchPart).FieldsChanged();
}

void TdBrowser::ShowSearchPage() { static_cast<TSearchPart&>(*FSearchPart).Toggle(); }

void TdBrowser::StartSearch() { static_cast<TSearchPart&>(*FSearchPart).Start(); }

void TdBrowser::StopSearch() { static_cast<TSearchPart&>(*FSearchPart).Stop(); }

bool TdBrowser::Searching() const { return static_cast<const TSearchPart&>(*FSearchPart).Running(); }
