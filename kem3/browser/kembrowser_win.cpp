// The file browser dialog: its controls, the list the model drives, the
// workers it starts and the preview handler it serves.
#include "kem3/browser/kembrowser_win.h"

#include "platform/winapi_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>

#include "kem3/browser/kembrowser_model_execute.h"
#include "kem3/browser/kembrowser_network.h"
#include "kem3/browser/kembrowser_state.h"
#include "kem3/browser/kembrwprev_win.h"
#include "kem3/browser/kemfldnt.h"
#include "kem3/controls/kembase_win.h"
#include "kem3/controls/kembut_win.h"
#include "kem3/controls/kemdlist_win.h"
#include "kem3/controls/kemedit_win.h"
#include "kem3/controls/kemlabel_win.h"
#include "kem3/controls/kemlout.h"
#include "kem3/controls/kemlview_win.h"
#include "kem3/controls/kemnote_win.h"
#include "kem3/controls/kempanel_win.h"
#include "kem3/controls/kemsplit_win.h"
#include "kem3/framework/kemcfg_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "kem3/framework/kemutil_win.h"
#include "kem3/unicode/ucaccel.h"
#include "platform/files.h"
#include "platform/format.h"
#include "platform/screen_win.h"
#include "platform/sysutils.h"
#include "platform/timer.h"
#include "platform/unicode_convert.h"

namespace {

// The first size, at a font scale of 1: the dialog grows with the language's font.
constexpr int kWidth = 780, kHeight = 460, kMargin = 6;
constexpr int kMinWidth = 400, kMinHeight = 260;
constexpr int kTopHeight = 33, kBottomHeight = 64, kButtonWidth = 80, kButtonHeight = 23;
constexpr int kPreviewWidth = 180;
// Files never pass this filter: a folder chooser lists folders only.
constexpr char16_t kNoFiles[] = u"*.\x01";
// The name column is never narrower than this many average characters.
constexpr int kNameChars = 16;
// A date as wide as dates come: two-digit day and month, late in the day.
constexpr double kWideDate = 46384 + 23.0 / 24 + 58.0 / 1440;

TBrowserFileCheck FileCheck() {
  return {[](const String& Path) { return DirectoryExists(Path); },
          [](const String& Path) { return FileExists(Path); }};
}

int SystemIcon(const WideString& Name, DWORD Attributes, bool UseAttributes) {
  SHFILEINFOW info{};
  const UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (UseAttributes ? SHGFI_USEFILEATTRIBUTES : 0);
  if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(Name.c_str()), Attributes, &info, sizeof(info), flags)) return -1;
  return info.iIcon;
}

// The system's shared image list of the size (never freed by its users).
LPARAM SystemImages(UINT Size) {
  SHFILEINFOW info{};
  return static_cast<LPARAM>(SHGetFileInfoW(L"file", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                                            SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | Size));
}

void SetItemState(HWND List, int Index, UINT State, UINT Mask) {
  LVITEMW item{};
  item.state = State;
  item.stateMask = Mask;
  SendMessageW(List, LVM_SETITEMSTATE, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

// The list as the browser needs it: owner data from the model, and the
// notifications the class layer leaves alone.
class TdBrowser::TListControl : public TKemListView {
 public:
  TListControl(TdBrowser& Browser) : TKemListView(&Browser), FBrowser(Browser) {}

 protected:
  void DispatchDefault(TMessage& Message) override {
    if (Message.Msg == CN_NOTIFY && Message.LParam) {
      const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
      switch (header->code) {
        case NM_DBLCLK:
          FBrowser.OpenSelected();
          return;
        case LVN_COLUMNCLICK:
          FBrowser.FModel.SortBy(reinterpret_cast<const NMLISTVIEW*>(Message.LParam)->iSubItem);
          return;
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED:
          TKemListView::DispatchDefault(Message);
          if (!FBrowser.FApplying) FBrowser.SelectionChanged();
          return;
        default:
          break;
      }
    }
    TKemListView::DispatchDefault(Message);
  }
  void HeaderNotify(TMessage& Message) override {
    if (!FBrowser.ColumnDragNotify(Message)) TKemListView::HeaderNotify(Message);
  }

 private:
  TdBrowser& FBrowser;
};

// The registry's handler as the session calls it.
class TdBrowser::THandlerBridge : public TBrowserHandler {
 public:
  THandlerBridge(TdBrowser& Browser, TBrowserPreview& Preview) : FBrowser(Browser), FPreview(Preview) {}
  TBrowserPreview& Preview() { return FPreview; }

  void SetBrowser(TdBrowser* Browser) override { FPreview.Browser = Browser; }
  // The page the session asked for is the one Prepare makes.
  void CreatePreview(int) override { FBrowser.FPages->Prepare(FPreview); }
  void FillFileTypes(TBrowserTypeChoice& Types) override {
    TBrowserFileTypes types;
    FPreview.FillFileTypes(types);
    Take(types, Types);
  }
  void FileTypeChanged(TBrowserTypeChoice& Types) override {
    TBrowserFileTypes types;
    for (const WideString& text : Types.Items) types.Add(text);
    types.SetItemIndex(Types.ItemIndex);
    FPreview.FileTypeChanged(types);
    Take(types, Types);
  }
  void Prepare() override { FPreview.Prepare(); }
  void Closed() override {
    FPreview.Closed();
    FPreview.Browser = nullptr;
  }
  void ClearPreview() override { FPreview.ClearPreview(); }
  void ShowPreview(const String& FileName) override { FPreview.ShowPreview(FileName); }
  void RefreshPreview() override { FPreview.RefreshPreview(); }
  void PreviewResized() override { FPreview.PreviewResized(); }
  String GetInitialFolder() override { return FPreview.GetInitialFolder(); }
  void SetResult() override { FPreview.SetResult(); }
  String GetInitialFileName() override { return FPreview.GetInitialFileName(); }
  WideString GetCaption(int) override { return FPreview.GetCaption(); }
  int GetFieldCount() override { return FPreview.GetFieldCount(); }
  WideString GetFieldName(int Index) override { return FPreview.GetFieldName(Index); }
  String GetFieldKey(int Index) override { return FPreview.GetFieldKey(Index); }
  int GetFieldWidth() override { return FPreview.GetFieldWidth(); }

 private:
  static void Take(const TBrowserFileTypes& From, TBrowserTypeChoice& To) {
    To.Items.clear();
    for (int i = 0; i < From.Count(); ++i) To.Items.push_back(From.Text(i));
    To.ItemIndex = From.ItemIndex();
  }
  TdBrowser& FBrowser;
  TBrowserPreview& FPreview;
};

TdBrowser::TdBrowser(TComponent* AOwner) : TKemForm(AOwner) {
  SetName("dBrowser");
  SetColor(clBtnFace);
  SetPosition(poScreenCenter);
  SetBounds(Left(), Top(), kWidth, kHeight);

  pTop = new TKemPanel(this);
  pTop->SetParent(this);
  pTop->SetAlign(alTop);
  pTop->SetHeight(kTopHeight);
  ePath = new TKemEdit(this);
  ePath->SetParent(pTop);
  // Enter in the address goes to the typed folder; it would otherwise press OK.
  ePath->Editor()->OnKeyDown = [this](TObject*, std::uint16_t& Key, TShiftState) {
    if (Key != VK_RETURN) return;
    Key = 0;
    GoToAddress();
  };

  pBottom = new TKemPanel(this);
  pBottom->SetParent(this);
  pBottom->SetAlign(alBottom);
  pBottom->SetHeight(kBottomHeight);
  lName = new TKemLabel(this);
  lName->SetParent(pBottom);
  lName->SetAutoSize(false);
  lName->SetColor(clBtnFace);
  eName = new TKemEdit(this);
  eName->SetParent(pBottom);
  lName->SetFocusControl(eName);
  lType = new TKemLabel(this);
  lType->SetParent(pBottom);
  lType->SetAutoSize(false);
  lType->SetColor(clBtnFace);
  dlTypes = new TKemDropDownList(this);
  dlTypes->SetParent(pBottom);
  dlTypes->OnChange = [this](TObject*) { FSession.FileTypeChanged(dlTypes->ItemIndex()); };
  bOk = new TKemButton(this);
  bOk->SetParent(pBottom);
  bOk->SetActionType(atOk);
  // OK opens folders as well: it closes the dialog only through Accept.
  bOk->SetModalResult(mrNone);
  bOk->OnClick = [this](TObject*) { Accept(); };
  bCancel = new TKemButton(this);
  bCancel->SetParent(pBottom);
  bCancel->SetActionType(atCancel);

  nbPreview = new TKemNotebook(this);
  nbPreview->SetParent(this);
  nbPreview->SetAlign(alRight);
  nbPreview->SetWidth(kPreviewWidth);
  // The strip shows only while it has something to show (ShowPreviewPage).
  nbPreview->SetVisible(false);
  FPages = std::make_unique<TBrowserPreviewPages>(*nbPreview);
  Splitter = new TKemSplitter(this);
  Splitter->SetParent(this);
  Splitter->SetAlign(alRight);
  Splitter->SetSplitSize(4);
  Splitter->SetLeft(kWidth - kPreviewWidth - 4);
  Splitter->SetVisible(false);
  Splitter->OnMoved = [this](TObject*) { FSession.PreviewResized(); };

  lvFiles = new TListControl(*this);
  lvFiles->SetParent(this);
  lvFiles->SetAlign(alClient);
  lvFiles->SetReadOnly(true);
  lvFiles->SetOwnerData(true);
  lvFiles->OnResize = [this](TObject*) { FitNameColumn(); };
  lvFiles->OnData = [this](TObject*, TListItem* Item) {
    const int index = Item->Index();
    if (index < 0 || index >= FModel.Count()) return;
    TBrowserEntry& entry = FModel.Entry(index);
    Item->SetCaption(entry.Name);
    std::vector<WideString> columns;
    for (int i = 0; i < entry.Data->Columns.Count(); ++i) columns.push_back(entry.Data->Columns.Strings(i));
    Item->SetSubItems(std::move(columns));
    Item->SetImageIndex(IconIndex(entry));
  };
  lvFiles->OnDataFind = [this](TObject*, const WideString& Text, bool, int Start, int& Index) {
    for (int n = 0; n < FModel.Count(); ++n) {
      const int i = (std::max(Start, 0) + n) % FModel.Count();
      if (WideLowerCase(FModel.Entry(i).Name).starts_with(WideLowerCase(Text))) {
        Index = i;
        return;
      }
    }
  };
  FModel.OnStartColumnFilling = [this](const WideString& Path) { StartColumnFiller(Path); };
  FModel.OnColumnFilling = [this](bool Filling) {
    if (!Filling) FKeepView = false;
  };
  SetColumns(false);

  FMonitor = new TKemFolderMonitor(this);
  FMonitor->SetMonitorSubtree(false);
  FMonitor->SetDelayTime(500);
  FMonitor->OnChange = [this](TObject*) {
    if (!FDrives) RelistQuietly();
  };
  FPreviewTimer = new TTimer(this);
  FPreviewTimer->SetInterval(50);
  FPreviewTimer->SetEnabled(false);
  FPreviewTimer->OnTimer = [this](TObject*) {
    FSession.Tick();
    // A selection that moved on to nothing to preview leaves the strip empty.
    if (nbPreview->Visible() && FPages->Shown() == 0 && FSession.NextTick() < 0) ShowPreviewStrip(false);
    if (FRelist) RelistQuietly();
  };

  // The toolbar last: its drop-down buttons take the menus of the parts before it.
  CreatePlaces();
  CreateNetwork();
  CreateSearch();
  CreateToolbar();
  CreateColumnDrag();

  OnResize = [this](TObject*) { LayoutPanels(); };
  LayoutPanels();
}

void TdBrowser::ForEachPart(void (TPart::*Call)()) {
  for (TPart* part :
       {FToolbarPart.get(), FPlacesPart.get(), FNetworkPart.get(), FSearchPart.get(), FColumnDragPart.get()})
    if (part) (part->*Call)();
}

// Every use ends in the handler's Closed, which lets go of the browser.
TdBrowser::~TdBrowser() { FWorkers.CancelAll(); }

void TdBrowser::LanguageUpdated() {
  lName->SetCaption(Translate("TdBrowser_FileName", u"File name"));
  lType->SetCaption(Translate("TdBrowser_FileType", u"File type"));
  // Widths of the dialog's own follow the new texts and font.
  if (OwnColumnWidths()) FResetWidths = true;
  SetColumns(FDrives);
  ForEachPart(&TPart::LanguageUpdated);
  LayoutPanels();
}

void TdBrowser::LayoutPanels() {
  const int width = ClientWidth();
  // The labels as wide as their captions in the language's font, at least 70.
  TFontTextMeasure measure(*lName->Font());
  const int captions = measure.WidestText({StripWideHotKey(lName->Caption()), StripWideHotKey(lType->Caption())});
  const int labelWidth = std::max(70, captions + 6);
  const int right = width - kMargin - kButtonWidth;
  const int field = std::max(right - kMargin - labelWidth - kMargin, 40);
  lName->SetBounds(kMargin, kMargin + 4, labelWidth, 15);
  eName->SetBounds(kMargin + labelWidth, kMargin, field, 21);
  lType->SetBounds(kMargin, kMargin + 35, labelWidth, 15);
  dlTypes->SetBounds(kMargin + labelWidth, kMargin + 31, field, 21);
  bOk->SetBounds(right, kMargin - 1, kButtonWidth, kButtonHeight);
  bCancel->SetBounds(right, kMargin + 30, kButtonWidth, kButtonHeight);
  ForEachPart(&TPart::Layout);
}

void TdBrowser::SetColumns(bool Drives) {
  if (SetNetworkColumns()) return;
  struct TColumn {
    const char* Name;
    const char16_t* Default;
    TBrowserColumnKind Kind;
  };
  static const TColumn files[] = {{"TdBrowser_ColSize", u"Size", bckSize},
                                  {"TdBrowser_ColType", u"Type", bckText},
                                  {"TdBrowser_ColDate", u"Modified", bckDate},
                                  {"TdBrowser_ColAttributes", u"Attributes", bckText}};
  static const TColumn drives[] = {{"TdBrowser_ColTotal", u"Total size", bckTotal},
                                   {"TdBrowser_ColFree", u"Free space", bckFree},
                                   {"TdBrowser_ColType", u"Type", bckText},
                                   {"TdBrowser_ColFileSystem", u"File system", bckText}};
  bool changed = Drives != FDrives || lvFiles->ColumnCount() == 0 || FResetWidths;
  const bool own = OwnColumnWidths();
  FResetWidths = false;
  FDrives = Drives;
  std::vector<WideString> captions{Translate("TdBrowser_ColName", u"Name")};
  std::vector<TBrowserColumnKind> kinds;
  for (const TColumn& c : Drives ? drives : files) {
    captions.push_back(Translate(c.Name, c.Default));
    kinds.push_back(c.Kind);
  }
  if (!Drives)
    for (const WideString& name : FFieldNames) {
      captions.push_back(name);
      kinds.push_back(bckText);
    }
  while (lvFiles->ColumnCount() < static_cast<int>(captions.size())) lvFiles->AddColumn();
  // The dialog's own widths are measured for the columns as they now are.
  if (own && FOwnWidths.size() != captions.size()) changed = true;
  // The files' widths a user left last time, when they fit these columns;
  // else the dialog's own, measured in the list's font.
  const bool kept = !Drives && FKeptWidths.size() == captions.size();
  if (changed) FOwnWidths = kept ? std::vector<int>() : MeasuredColumnWidths(Drives, captions);
  for (int i = 0; i < lvFiles->ColumnCount(); ++i) {
    TListColumn* column = lvFiles->Columns(i);
    const bool used = i < static_cast<int>(captions.size());
    column->SetCaption(used ? captions[i] : WideString());
    if (changed || !used) column->SetWidth(used ? (kept ? FKeptWidths[i] : FOwnWidths[static_cast<size_t>(i)]) : 0);
  }
  ColumnsShown(static_cast<int>(captions.size()), changed);
  FModel.SetColumns(std::move(kinds));
  FitNameColumn();
}

// Each column as wide as its caption and the widest text it will show, with
// room for the list's margins; the name column takes what is left of the
// list (FitNameColumn).
std::vector<int> TdBrowser::MeasuredColumnWidths(bool Drives, const std::vector<WideString>& Captions) {
  TFontTextMeasure measure(*lvFiles->Font());
  const int average = measure.AverageCharWidth();
  const int margin = 2 * average + 6;
  const TBrowserTexts texts = BrowserTexts();
  std::vector<std::vector<WideString>> samples;
  if (Drives) {
    const WideString size = Utf8ToWide(FormatByteSize(std::int64_t{1500} << 30));
    samples = {{size}, {size}, {std::begin(texts.DriveTypes), std::end(texts.DriveTypes)}, {u"NTFS", u"FAT32"}};
  } else {
    samples = {{Utf8ToWide(FormatByteSize(std::int64_t{1500} << 20))},
               {texts.TypeFolder, u"jpeg"},
               {BrowseDateText(kWideDate, SystemBrowserSystem().ShortDateOrder())},
               {AttributeText(0xFFFFFFFF)}};
  }
  std::vector<int> widths;
  for (size_t i = 0; i < Captions.size(); ++i) {
    std::vector<WideString> shown{Captions[i]};
    if (i >= 1 && i <= samples.size()) shown.insert(shown.end(), samples[i - 1].begin(), samples[i - 1].end());
    widths.push_back(i > samples.size() && FFieldWidth > 0 ? FFieldWidth : measure.WidestText(shown) + margin);
  }
  // The name: its caption, a small icon beside it and a name of some length.
  widths[0] = std::max(widths[0] + GetSystemMetrics(SM_CXSMICON), kNameChars * average);
  FNameMinimum = widths[0];
  return widths;
}

bool TdBrowser::OwnColumnWidths() const {
  if (FOwnWidths.empty() || lvFiles->ColumnCount() < static_cast<int>(FOwnWidths.size())) return false;
  for (size_t i = 0; i < FOwnWidths.size(); ++i)
    if (lvFiles->Columns(static_cast<int>(i))->Width() != FOwnWidths[i]) return false;
  return true;
}

// While the widths are the dialog's own, the name column fills the list's
// width (a vertical scroll bar's room left free), so no column hides behind
// horizontal scrolling; a width a user gave stays.
void TdBrowser::FitNameColumn() {
  if (!OwnColumnWidths() || !lvFiles->HandleAllocated()) return;
  const HWND list = lvFiles->Handle();
  RECT client{};
  GetClientRect(list, &client);
  int room = client.right - client.left;
  if (!(GetWindowLongPtrW(list, GWL_STYLE) & WS_VSCROLL)) room -= GetSystemMetrics(SM_CXVSCROLL);
  for (size_t i = 1; i < FOwnWidths.size(); ++i) room -= FOwnWidths[i];
  const int name = std::max(room, FNameMinimum);
  if (name == FOwnWidths[0]) return;
  FOwnWidths[0] = name;
  lvFiles->Columns(0)->SetWidth(name);
}

TdBrowser::THandlerBridge& TdBrowser::Bridge(TBrowserPreview& Preview) {
  auto& bridge = FBridges[&Preview];
  if (!bridge) bridge = std::make_unique<THandlerBridge>(*this, Preview);
  return *bridge;
}

bool TdBrowser::Execute(int Mode, int PreviewIndex, bool MultiSelect, const String& InitialPath, int FilterIndex) {
  FMode = Mode;
  FMultiSelect = MultiSelect;
  FFileName.clear();
  FFiles.clear();
  FHandlerFolder.clear();
  FHandlerName.clear();
  HandleNeeded();
  const HWND list = lvFiles->Handle();
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, SystemImages(SHGFI_SMALLICON));
  SendMessageW(list, LVM_SETIMAGELIST, LVSIL_NORMAL, SystemImages(SHGFI_LARGEICON));
  const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
  SetWindowLongPtrW(list, GWL_STYLE, MultiSelect ? style & ~LVS_SINGLESEL : style | LVS_SINGLESEL);

  auto lookup = [this](int Index) -> TBrowserHandler* {
    TBrowserPreview* preview =
        Index >= 0 && Index <= 0xFFFF ? GetBrowserPreview(static_cast<std::uint16_t>(Index)) : nullptr;
    return preview ? &Bridge(*preview) : nullptr;
  };
  FBridge = static_cast<THandlerBridge*>(&TBrowserSession::HandlerFor(PreviewIndex, lookup, Bridge(FBasePreview)));
  // What the last use previewed is no file of this one.
  ShowPreviewPage(0);
  ShowPreviewStrip(false);
  FSession.Open(*FBridge, Mode, FilterIndex);
  FModel.SetPreview(&FBridge->Preview());
  FState = LoadBrowserState();
  FModel.SetSort(FState.SortColumn, FState.SortDescending);
  FKeptWidths = FState.ColumnWidths;
  FResetWidths = true;

  const TBrowserStart start = BrowserStartPlace(FHandlerFolder, FHandlerName, InitialPath, FileCheck());
  eName->SetText(Mode == brmFolder ? WideString() : Utf8ToWide(start.Name));
  ShowFolder(start.Folder, start.Name);
  LoadPlacement();
  ForEachPart(&TPart::Opened);
  // The list window outlives a use: where the last one left it scrolled
  // sideways is no place to start the next.
  if (const int across = GetScrollPos(list, SB_HORZ); across > 0) SendMessageW(list, LVM_SCROLL, -across, 0);
  FPreviewTimer->SetEnabled(true);
  OnShow = [this](TObject*) {
    ForceForegroundWindow(Handle());
    lvFiles->SetFocus();
  };
  const bool chosen = ShowModal() == mrOk;
  FPreviewTimer->SetEnabled(false);
  FMonitor->SetActive(false);
  FWorkers.CancelAll();
  cfgSaveFormPlacement(BrowserSection, this, false);
  // The dialog's own widths are measured anew at each use (in the language's
  // font then); only those a user gave are kept.
  if (!FDrives) {
    FState.ColumnWidths.clear();
    for (int i = 0; !OwnColumnWidths() && i < lvFiles->ColumnCount() && lvFiles->Columns(i)->Width() > 0; ++i)
      FState.ColumnWidths.push_back(lvFiles->Columns(i)->Width());
  }
  FState.SortColumn = FModel.SortColumn();
  FState.SortDescending = FModel.SortDescending();
  ForEachPart(&TPart::Closing);
  SaveBrowserState(FState);
  FSession.Close(chosen);
  FModel.SetPreview(nullptr);
  return chosen;
}

// The dialog shows centred: what it keeps is the size the user left it at,
// at least what its controls need and at most the work area; until then its
// first size grows with the language's font.
void TdBrowser::LoadPlacement() {
  const TRect work = Screen ? Screen->WorkAreaRect() : TRect{};
  const double scale = CurrentLanguageFontScale();
  TRect first = Bounds(Left(), Top(), static_cast<int>(std::lround(kWidth * scale)),
                       static_cast<int>(std::lround(kHeight * scale)));
  if (!IsRectEmpty(work))
    first =
        Bounds(first.Left, first.Top, std::min(first.Width(), work.Width()), std::min(first.Height(), work.Height()));
  cfgLoadFormPlacement(BrowserSection, this, false, &first, wsNormal, {kMinWidth, kMinHeight});
  if (WindowState() == wsNormal && !IsRectEmpty(work) && (Width() > work.Width() || Height() > work.Height()))
    SetBounds(Left(), Top(), std::max(std::min(Width(), work.Width()), kMinWidth),
              std::max(std::min(Height(), work.Height()), kMinHeight));
}

void TdBrowser::ShowFolder(const String& Folder, const String& Select) {
  FKeepView = FRelist = false;
  FModel.ListQuietly(false);
  StartListing(Folder, Select);
}

void TdBrowser::RelistQuietly() {
  // Listing a big folder may take longer than the folder takes to change
  // again: a listing cut off by each change would never end.
  if (FWorkers.Reference(bwFiles) || FWorkers.Reference(bwColumns)) {
    FRelist = true;
    return;
  }
  FRelist = false;
  FKeepView = true;
  FModel.ListQuietly(true);
  StartListing(FFolder, SelectedName());
}

void TdBrowser::StartListing(const String& Folder, const String& Select) {
  if (ShowNetworkPlace(Folder, Select)) return;
  FWorkers.Cancel(bwFiles);
  FWorkers.Cancel(bwColumns);
  FWorkers.Cancel(bwDrives);
  FFolder = Folder.empty() ? String() : BrowserWithDelimiter(Folder);
  ePath->SetText(Utf8ToWide(FFolder));
  FMonitor->SetActive(false);
  SetColumns(FFolder.empty());
  TBrowserSystem& system = SystemBrowserSystem();
  if (FFolder.empty()) {
    auto finder = std::make_unique<TtDriveFinder>(FWorkers.Reference(bwDrives), FModel, system);
    finder->Texts = BrowserTexts();
    finder->SelectPath = Utf8ToWide(BrowserWithDelimiter(Select));
    FWorkers.Start(std::move(finder));
    return;
  }
  FMonitor->SetFolderName(Utf8ToWide(FFolder));
  FMonitor->SetActive(true);
  auto finder = std::make_unique<TtFileFinder>(FWorkers.Reference(bwFiles), FModel, system);
  finder->Folder = Utf8ToWide(FFolder);
  finder->Filter = FMode == brmFolder ? WideString(kNoFiles) : FSession.TypeFilter();
  finder->SelectName = Utf8ToWide(Select);
  FWorkers.Start(std::move(finder));
}

void TdBrowser::StartColumnFiller(const WideString& FolderPath) {
  FWorkers.Cancel(bwColumns);
  auto filler = std::make_unique<TtColumnFiller>(FWorkers.Reference(bwColumns), FModel, SystemBrowserSystem());
  for (int i = 0; i < FModel.Count(); ++i) {
    TBrowserEntry& entry = FModel.Entry(i);
    TColumnEntry column{FolderPath + entry.Name, entry.Data.get(), i};
    (entry.Data->Kind == bikOpenable ? filler->Folders : filler->Files).push_back(std::move(column));
  }
  filler->TypeFolder = BrowserTexts().TypeFolder;
  filler->DateOrder = SystemBrowserSystem().ShortDateOrder();
  if (FSession.HasCriteria() && FBridge) {
    TBrowserPreview* preview = &FBridge->Preview();
    filler->FieldValues = [preview](const WideString& Path, TUcStringList& Values) {
      preview->GetFieldValues(WideToUtf8(Path), Values);
    };
  }
  FWorkers.Start(std::move(filler));
}

String TdBrowser::EntryPath(int Index) const {
  const TBrowserEntry& entry = FModel.Entry(Index);
  if (!FFolder.empty()) return FFolder + WideToUtf8(entry.Name);
  // The drives' view: special folders sort as "1 …" and "2 …", drives as "9 X: …".
  const WideString& sort = entry.Data->SortText;
  WideString path;
  if (sort.starts_with(u"1 ") || sort.starts_with(u"2 ")) {
    if (!SystemBrowserSystem().SpecialFolder(sort[0] == u'1' ? bsfDesktop : bsfPersonal, path)) return String();
    return BrowserWithDelimiter(WideToUtf8(path));
  }
  return entry.Name.size() >= 2 ? WideToUtf8(entry.Name.substr(0, 2)) + "\\" : String();
}

String TdBrowser::SelectedName() const {
  const int index = FModel.SelectedIndex();
  return index < 0 ? String() : WideToUtf8(FModel.Entry(index).Name);
}

void TdBrowser::ReadSelection() {
  if (!lvFiles->HandleAllocated()) return;
  const HWND list = lvFiles->Handle();
  for (int i = 0; i < FModel.Count(); ++i)
    FModel.Entry(i).Selected = SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_SELECTED) != 0;
}

void TdBrowser::ApplySelection(bool Show) {
  if (!lvFiles->HandleAllocated()) return;
  const HWND list = lvFiles->Handle();
  FApplying = true;
  // Only the entries that have a state lose it: changing all of them walks
  // every entry of a big folder.
  for (int i = -1; (i = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
    SetItemState(list, i, 0, LVIS_SELECTED);
  const int focused = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused >= 0) SetItemState(list, focused, 0, LVIS_FOCUSED);
  int first = -1;
  for (int i = 0; i < FModel.Count(); ++i) {
    if (!FModel.Entry(i).Selected) continue;
    SetItemState(list, i, LVIS_SELECTED, LVIS_SELECTED);
    if (first < 0) first = i;
  }
  if (first >= 0) {
    SetItemState(list, first, LVIS_FOCUSED, LVIS_FOCUSED);
    if (Show) SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(first), FALSE);
  }
  FApplying = false;
}

void TdBrowser::SelectEntry(int Index) {
  for (int i = 0; i < FModel.Count(); ++i) FModel.Entry(i).Selected = i == Index;
  ApplySelection();
  SelectionChanged();
}

void TdBrowser::SelectionChanged() {
  ReadSelection();
  const int index = FModel.SelectedIndex();
  const bool file = index >= 0 && FModel.Entry(index).Data->Kind == bikFile;
  if (FMode != brmFolder && !FMultiSelect && index >= 0) eName->SetText(file ? FModel.Entry(index).Name : u"");
  PreviewSelected();
}

void TdBrowser::PreviewSelected() {
  const int index = FModel.SelectedIndex();
  const bool file = index >= 0 && FModel.Entry(index).Data->Kind == bikFile;
  FSession.SelectionChanged(file ? EntryPath(index) : String());
}

void TdBrowser::ItemsChanged(int) {
  if (!lvFiles->HandleAllocated()) return;
  const HWND list = lvFiles->Handle();
  const int top = FKeepView ? static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)) : -1;
  FApplying = true;
  // A sort keeps the count: the list only paints anew.
  if (lvFiles->ItemCount() != FModel.Count()) lvFiles->SetItemCount(FModel.Count());
  FApplying = false;
  ApplySelection(!FKeepView);
  if (const int now = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); top >= 0 && now != top) {
    RECT row{};
    row.left = LVIR_BOUNDS;
    if (SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)))
      SendMessageW(list, LVM_SCROLL, 0, (top - now) * (row.bottom - row.top));
  }
  // A listing selects by itself (the start's name, the one kept): its preview follows too.
  PreviewSelected();
  ::InvalidateRect(lvFiles->Handle(), nullptr, FALSE);
}

void TdBrowser::ItemRefreshed(int Index) {
  if (lvFiles->HandleAllocated()) SendMessageW(lvFiles->Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(Index), Index);
}

int TdBrowser::IconIndex(const TBrowserEntry& Entry) {
  WideString key;
  DWORD attributes = FILE_ATTRIBUTE_NORMAL;
  bool useAttributes = true;
  if (FFolder.empty()) {
    key = Entry.Name.substr(0, 2) + u"\\";
    attributes = 0;
    useAttributes = Entry.Data->SortText.starts_with(u"9 ") ? false : true;
    if (useAttributes) attributes = FILE_ATTRIBUTE_DIRECTORY;
  } else if (Entry.Data->Kind == bikOpenable) {
    key = u"\\folder";
    attributes = FILE_ATTRIBUTE_DIRECTORY;
  } else {
    size_t dot = Entry.Name.rfind(u'.');
    if (dot != WideString::npos && Entry.Name.find(u'\\', dot) != WideString::npos) dot = WideString::npos;
    key = u"file" + (dot == WideString::npos ? WideString() : WideLowerCase(Entry.Name.substr(dot)));
  }
  auto found = FIcons.find(key);
  if (found != FIcons.end()) return found->second;
  const int icon = SystemIcon(key, attributes, useAttributes);
  FIcons.emplace(key, icon);
  return icon;
}

void TdBrowser::SetIconView(bool Icons) {
  const HWND list = lvFiles->Handle();
  const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE) & ~LVS_TYPEMASK;
  SetWindowLongPtrW(list, GWL_STYLE, style | (Icons ? LVS_ICON : LVS_REPORT));
  SendMessageW(list, LVM_ARRANGE, LVA_DEFAULT, 0);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// The user asks for the folder as it is now: the preview follows the file too.
void TdBrowser::RefreshFolder() {
  ShowFolder(FFolder, SelectedName());
  FSession.RefreshPreview();
}

void TdBrowser::ShowDrives() { ShowFolder("", ""); }

void TdBrowser::GoUp() {
  if (FFolder.empty()) return;
  if (String parent, select; BrowserNetworkUp(FFolder, parent, select)) return ShowFolder(parent, select);
  const String bare = BrowserFolderResult(FFolder);
  const String parent = BrowserParentFolder(FFolder);
  ShowFolder(parent, parent.empty() ? bare.substr(0, 2) + "\\" : ExtractFileName(bare));
}

void TdBrowser::OpenSelected() {
  ReadSelection();
  const int index = FModel.SelectedIndex();
  if (index < 0) return;
  if (FModel.Entry(index).Data->Kind == bikOpenable) {
    const String path = EntryPath(index);
    if (!path.empty()) ShowFolder(path, String());
    return;
  }
  Accept();
}

void TdBrowser::Accept() {
  ReadSelection();
  std::vector<TBrowserPick> picks;
  for (int i = 0; i < FModel.Count(); ++i)
    if (FModel.Entry(i).Selected) picks.push_back({EntryPath(i), FModel.Entry(i).Data->Kind == bikOpenable});
  const TBrowserAccept accept =
      BrowserAcceptChoice(FMode, FMultiSelect, FFolder, WideToUtf8(eName->Text()), picks, FileCheck());
  if (accept.Kind == bakOpen) {
    eName->SetText(WideString());
    ShowFolder(accept.Folder, String());
  } else if (accept.Kind == bakChoose) {
    FFiles = accept.Files;
    FFileName = FFiles.front();
    SetModalResult(mrOk);
  } else if (!accept.Missing.empty()) {
    // As a file dialog does: OK that finds nothing says so and stays.
    ShowBrowserMessage(
        Translate("TdBrowser_Msg_NotFound_Caption", u"Not found"),
        WideFormatOrError(Translate("TdBrowser_Msg_NotFound_Body",
                                    u"%s\nThere is no such file or folder. Check the name and try again."),
                          {KemLiteralText(Utf8ToWide(accept.Missing))}));
    eName->SetFocus();
  }
}

void TdBrowser::ShowPreviewPage(int Index) {
  FPages->Show(Index);
  // The empty page while another file's preview is on its way keeps the strip
  // where it is: moving through pictures does not make the list jump.
  if (FPages->Shown() > 0 || FSession.NextTick() < 0) ShowPreviewStrip(FPages->Shown() > 0);
}

void TdBrowser::ShowPreviewStrip(bool Show) {
  if (nbPreview->Visible() == Show) return;
  // Aligned once both are placed: the strip at the right edge, the splitter
  // left of it (a control aligned on its own would go to the edge first).
  DisableAlign();
  const int left = ClientWidth() - nbPreview->Width();
  nbPreview->SetLeft(left);
  Splitter->SetLeft(left - Splitter->Width());
  Splitter->SetVisible(Show);
  nbPreview->SetVisible(Show);
  EnableAlign();
  FSession.PreviewResized();
}

void TdBrowser::GoToAddress() {
  const TBrowserAddress address = BrowserAddressTarget(FFolder, WideToUtf8(ePath->Text()), FileCheck());
  if (address.Found) return ShowFolder(address.Folder, String());
  ShowBrowserMessage(Translate("TdBrowser_Msg_NotFound_Caption", u"Not found"),
                     WideFormatOrError(Translate("TdBrowser_Msg_NoFolder_Body",
                                                 u"%s\nThere is no such folder. Check the name and try again."),
                                       {KemLiteralText(ePath->Text())}));
  if (ePath->Editor()->CanFocus()) ePath->Editor()->SetFocus();
}

int TdBrowser::NewPreviewPage() { return nbPreview->PageCount(); }

void TdBrowser::SetCaption(const WideString& Caption) { TKemForm::SetCaption(Caption); }

void TdBrowser::SetFileTypes(const TBrowserTypeChoice& Types) {
  dlTypes->Items()->Clear();
  for (const WideString& text : Types.Items) dlTypes->Items()->Add(text);
  dlTypes->SetItemIndex(Types.ItemIndex);
  dlTypes->SetEnabled(FMode != brmFolder && !Types.Items.empty());
}

void TdBrowser::SetInitialNames(const String& Folder, const String& Name) {
  FHandlerFolder = Folder;
  FHandlerName = Name;
}

void TdBrowser::SetFieldColumns(const std::vector<WideString>& Names, int Width) {
  FFieldNames = Names;
  FFieldWidth = Width;
  SetColumns(FDrives);
  SearchFieldsChanged();
}

void TdBrowser::ListAgain() {
  if (!FDrives) ShowFolder(FFolder, SelectedName());
}
