// TdBrowser: the file browser dialog. A folder's entries (folders first, then
// the files of the chosen type) or the drives in a list beside the preview of
// the selected file (a strip shown only while it has one); OK chooses by the
// rules of kembrowser_model_execute.h.
// The workers list on their own threads into the OS-free list model; the
// session calls the preview handler in its order; the shown folder is watched
// and listed again when it changes.
// Its model is kembrowser_model.h; its parts lie beside it in kem3/browser/:
// places, search, network, tools, columns, icons, preview (kembrwprev), the
// workers (kembrwork), the folder monitor (kemfldnt) and the drive names.
#pragma once
#include <map>
#include <memory>
#include <vector>

#include "kem3/browser/kembrowser_model.h"
#include "kem3/browser/kembrowser_model_order.h"
#include "kem3/browser/kembrowser_state.h"
#include "kem3/browser/kembrwork.h"
#include "kem3/browser/kembrwprev.h"
#include "kem3/controls/kemform_win.h"

class TBrowserPreviewPages;
class TImageList;
class TPopupMenu;
class TKemButton;
class TKemDropDownList;
class TKemEdit;
class TKemFolderMonitor;
class TKemLabel;
class TKemListView;
class TKemNotebook;
class TKemPanel;
class TKemSplitter;
class TTimer;

// The group (and first id) of the browser's actions in the register of action
// descriptions; their tool bitmaps are the resource library's.
inline constexpr int BrowserToolGroup = 100000;

class TdBrowser : public TKemForm, public TBrowserHost, private TBrowserListView, private TBrowserDialogSide {
 public:
  explicit TdBrowser(TComponent* AOwner);
  ~TdBrowser() override;

  // Shows the browser modally; true when the user chose. PreviewIndex picks
  // the registry's handler (an unknown one: the base handler); FilterIndex
  // -1 keeps the handler's choice of file type.
  bool Execute(int Mode, int PreviewIndex, bool MultiSelect, const String& InitialPath, int FilterIndex);
  // The first chosen name, and all of them (more only with MultiSelect).
  const String& FileName() const { return FFileName; }
  const std::vector<String>& Files() const { return FFiles; }

  int Mode() const override { return FMode; }
  void ShowPreviewPage(int Index) override;

  // Lists Folder ("" for the drives), selecting the entry named Select.
  void ShowFolder(const String& Folder, const String& Select);
  // The folder shown, ending in "\"; "" while the drives show.
  const String& Folder() const { return FFolder; }
  void GoUp();
  // Enter in the address: lists the typed folder (full, or within the one
  // shown); one that does not exist is named in a message, the list stays.
  void GoToAddress();
  // OK: opens a typed or selected folder, else chooses and closes.
  void Accept();
  // Opens the selected entry when it is a folder or drive, else accepts.
  void OpenSelected();
  // Large icons instead of the detail columns.
  void SetIconView(bool Icons);
  // Selects the entry (only it) by its index in the list.
  void SelectEntry(int Index);
  const TBrowserListModel& Model() const { return FModel; }
  // Whether the list workers have nothing more to do.
  bool Idle() const { return FWorkers.Idle(); }

  TKemPanel *pTop = nullptr, *pBottom = nullptr;  // the toolbar and the path in pTop
  TKemEdit* ePath = nullptr;
  TKemListView* lvFiles = nullptr;
  TKemSplitter* Splitter = nullptr;
  TKemNotebook* nbPreview = nullptr;
  TKemLabel *lName = nullptr, *lType = nullptr;
  TKemEdit* eName = nullptr;
  TKemDropDownList* dlTypes = nullptr;
  TKemButton *bOk = nullptr, *bCancel = nullptr;

  // The toolbar's commands (kembrowser_tools_win.cpp builds the toolbar; each
  // group of commands lives in its own file, named beside it).
  void RefreshFolder();  // lists the shown folder (or the drives) again
  void ShowDrives();
  // Network (kembrowser_network_win.cpp): servers of the checked workgroups.
  void ShowNetwork();
  TPopupMenu* WorkgroupMenu();
  // The system the network listing asks (null: the real one; tests put a fake in place).
  void SetNetworkSystem(TBrowserSystem* System);
  // Named places and favourites (kembrowser_places_win.cpp).
  void AddFavourite();
  void RemoveFavourite();
  TPopupMenu* FavouritesMenu();
  // Search (kembrowser_search_win.cpp): ShowSearchPage shows the page or hides
  // it; what a search finds replaces the list, named by the paths below the
  // folder searched; StopSearch cancels at once.
  void ShowSearchPage();
  void StartSearch();
  void StopSearch();
  bool Searching() const;
  // The tool pictures the main window hands over at its first show.
  void SetToolImages(TImageList* Images);

  void LanguageUpdated() override;
  // The form's caption (also the session's way to set it).
  void SetCaption(const WideString& Caption) override;

 private:
  class TListControl;
  class THandlerBridge;
  // The search page (kembrowser_search_win.cpp); each use gives it the handler's fields.
  class TSearchPart;
  void SearchFieldsChanged();

  // TBrowserListView
  void ItemsChanged(int First) override;
  void ItemRefreshed(int Index) override;
  // TBrowserDialogSide
  TdBrowser* Browser() override { return this; }
  int NewPreviewPage() override;
  void SetFileTypes(const TBrowserTypeChoice& Types) override;
  void SetInitialNames(const String& Folder, const String& Name) override;
  void SetFieldColumns(const std::vector<WideString>& Names, int Width) override;
  void ListAgain() override;

  friend struct TBrowserToolbarPart;
  // Each group of features keeps its controls and state in a part of its own,
  // made by its Create function from the constructor and freed with the dialog.
  struct TPart {
    virtual ~TPart() = default;
    virtual void LanguageUpdated() {}
    virtual void Layout() {}
    // The stored state is read (before the dialog shows) / about to be saved.
    virtual void Opened() {}
    virtual void Closing() {}
  };
  friend class TPlacesPart;
  void CreateToolbar();     // kembrowser_tools_win.cpp
  void CreatePlaces();      // kembrowser_places_win.cpp
  void CreateNetwork();     // kembrowser_network_win.cpp
  void CreateSearch();      // kembrowser_search_win.cpp
  void CreateColumnDrag();  // kembrowser_coldrag_win.cpp
  std::unique_ptr<TPart> FToolbarPart, FPlacesPart, FNetworkPart, FSearchPart, FColumnDragPart;
  void ForEachPart(void (TPart::*Call)());
  // Column drags (kembrowser_coldrag_win.cpp): a header notification, true
  // when it was answered; and the columns SetColumns shows (the first Used filled).
  class TColumnDragPart;
  bool ColumnDragNotify(TMessage& Message);
  void ColumnsShown(int Used, bool Changed);

  friend class TBrowserNetworkPart;
  // Every listing starts here: it cancels the network's workers and lists the
  // network or a server's shares (true) when Folder names them.
  bool ShowNetworkPlace(const String& Folder, const String& Select);
  // The network's columns (true) while it shows.
  bool SetNetworkColumns();

  THandlerBridge& Bridge(TBrowserPreview& Preview);
  void LayoutPanels();
  // The preview strip and its splitter, shown only while the handler shows a page of its own.
  void ShowPreviewStrip(bool Show);
  std::vector<int> MeasuredColumnWidths(bool Drives, const std::vector<WideString>& Captions);
  // Whether the columns still have the widths the dialog gave them (FOwnWidths).
  bool OwnColumnWidths() const;
  void FitNameColumn();
  void LoadPlacement();
  void SetColumns(bool Drives);
  void StartColumnFiller(const WideString& FolderPath);
  String EntryPath(int Index) const;
  String SelectedName() const;
  // The shown folder listed again as it changed, quietly (ListQuietly): the
  // list keeps its top row; while a listing or its column filling still
  // runs, once more after they end instead.
  void RelistQuietly();
  void StartListing(const String& Folder, const String& Select);
  void ReadSelection();
  // Show: the first selected entry scrolled into view.
  void ApplySelection(bool Show = true);
  void SelectionChanged();
  void PreviewSelected();
  int IconIndex(const TBrowserEntry& Entry);

  TBrowserListModel FModel{*this};
  TBrowserSession FSession{*this};
  TBrowserWorkers FWorkers;
  TBrowserPreview FBasePreview;
  std::map<TBrowserPreview*, std::unique_ptr<THandlerBridge>> FBridges;
  THandlerBridge* FBridge = nullptr;
  std::unique_ptr<TBrowserPreviewPages> FPages;
  TKemFolderMonitor* FMonitor = nullptr;
  TTimer* FPreviewTimer = nullptr;
  std::map<WideString, int> FIcons;  // system image index by extension
  String FFolder, FHandlerFolder, FHandlerName, FFileName;
  std::vector<String> FFiles;
  std::vector<WideString> FFieldNames;
  TBrowserState FState;  // kept between uses, with what the dialog does not touch
  std::vector<int> FKeptWidths;
  // The widths the dialog gave the columns itself; empty while a user's show.
  std::vector<int> FOwnWidths;
  int FNameMinimum = 0;
  int FFieldWidth = 0;
  int FMode = 0;
  bool FMultiSelect = false, FDrives = false, FApplying = false, FResetWidths = false;
  // A quiet listing and its column filling leave the list's view where it is;
  // a change seen while they run lists again after them.
  bool FKeepView = false, FRelist = false;
};
