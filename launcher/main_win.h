// TfMain: the bar window. It owns the contents document, builds itself in a
// fixed order when created, starts icons, and runs the bar's actions.
#pragma once
#include <array>
#include <exception>
#include <memory>
#include <vector>

#include "kem3/controls/kemform_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemxml.h"
#include "launcher/ov3actions.h"
#include "launcher/ov3autohide.h"
#include "launcher/ov3contents.h"
#include "launcher/ov3hotkeys.h"
#include "launcher/ov3hotkeytext.h"
#include "launcher/ov3iconcache.h"
#include "launcher/ov3launch_win.h"
#include "launcher/ov3menus.h"
#include "launcher/ov3modrules.h"
#include "platform/extctrls_win.h"
#include "platform/timer.h"

class TKemButtonSet;
class TKemMenu;
class TOvBarMenus;
class TOvModuleControl;
class TKemPanelList;
class TVosContainer;
class TVosFormCaption;
class TVosFormIcon;
class TVosFormSkinner;

class TBarHintWiring;
// Defined beside the wiring (main_hints_win.cpp), so the bar needs no more of it.
struct TBarHintWiringDelete {
  void operator()(TBarHintWiring* Wiring) const;
};
class TDropTextTarget;
class TImageList;
class TDataFormatAdapter;

class TfMain : public TKemForm {
 public:
  explicit TfMain(TComponent* AOwner);
  ~TfMain() override;

  TPanel* pClient = nullptr;
  TKemPanelList* plIcons = nullptr;
  TKemButtonSet* bsGroups = nullptr;
  // Files, shortcuts and web addresses dropped from other programs (main_drop_win.cpp).
  TDropTextTarget* dtMain = nullptr;
  TDataFormatAdapter* dfaFile = nullptr;
  TDataFormatAdapter* dfaUrl = nullptr;
  // The toolbar pictures of the registered actions, handed to the file browser
  // at the first show (made then when it is not there yet).
  TImageList* ilToolbar = nullptr;

  // ---- Contents.
  TKemXml* Contents() const { return FContents.get(); }
  const String& ContentsFileName() const { return FContentsFileName; }
  // The group tags in button order.
  const std::vector<TKemXmlTag*>& GroupList() const { return FGroupList; }
  // Writes the whole contents file at once; every change to groups, icons and
  // modules ends here. A failed write leaves the file as it was and is shown
  // once the handler that saved has returned; while the file stays unwritable
  // that message is not repeated, but every change tries again. WithIconCache saves the icon cache as well.
  void SaveContents(bool WithIconCache = false);
  TIconCache* IconCache() const { return FIconCache.get(); }

  // Starts the program behind an icon element, or the icons a batch lists.
  void LaunchIcon(const TKemXmlTag* Icon);

  // ---- Group buttons and the icon panel.
  // The group buttons from the groups' titles, in the group list's order.
  void RebuildGroupButtons();
  // The icon panel shows the icons of the selected group.
  void bsGroupsChange();
  void AddIconItem(TKemXmlTag* Icon);
  // The items' captions from their icons' titles; Rebuild also lays the panel out again.
  void RefreshIconCaptions(bool Rebuild);
  bool IsCurrentGroupIcons(const TKemXmlTag* Element) const;
  int CurrentGroupIndex() const;
  TKemXmlTag* CurrentGroup() const;
  void SelectGroup(int Index);
  TKemXmlTag* SelectedIcon() const;

  // ---- Actions: the form's actions of kBarActions, found by id.
  TOvActionState ActionState(int Id) const;
  // Enables and checks the actions for the bar's state.
  void UpdateActionStates();
  // Runs an action as its menu entry or shortcut would.
  void FormActionExecute(int Id);
  // A changed setting takes effect (delivered by the configuration database).
  void FormConfigUpdate(int Id, const Variant& Value);

  // ---- Skin (ov3skin_win.cpp).
  // The skinner and its caption and icon; nil while the bar is unskinned.
  TVosFormSkinner* Skinner() const { return FSkinner; }
  bool Vertical() const { return FVertical; }
  // Puts the bar under the current skin: skinner, slots, orientation, icon metrics.
  void CreateSkinner();
  // The skin's "mode": group button direction, icon arrangement, the vertical flag.
  void ReadSkinOrientation();
  // Swaps width and height for a skin of the other orientation and docks the
  // bar to the nearest edge that orientation lies along.
  void TurnBar();
  // Item width and spaces of the icon panel from the settings
  // ovsIconsOverrideSkin to ovsIconsFadeWidth or the skin.
  void ApplyIconMetrics();
  // The group buttons across their container, less the skin's margins.
  void ArrangeGroupButtons();

  // ---- Context menus (main_menus_win.cpp).
  // One of the bar's menus is open (auto-hide waits meanwhile).
  bool MenuOpen() const;
  TKemMenu* BarMenu(TOvBarMenu Menu) const;
  // The menu a right click at the pointer opens.
  void BarRightClick(const TOvRightClick& Click);
  // A right click on a module at (X, Y): its own menu, or the main menu.
  void ModuleRightClick(TOvModuleControl* Control, int X, int Y);

  // ---- Hints (main_hints_win.cpp).
  // The hint goes at once and the target is forgotten (before a launch).
  void CloseBarHint();
  // The hint goes (fading out where it fades).
  void HideBarHint();
  // The pointer moved over or left the icons or a module: hints re-arm.
  void BarPointerMoved();

  // ---- Auto-hide, screen areas and global hotkeys (main_autohide_win.cpp).
  TTimer* tShowTimer = nullptr;
  TTimer* tHideTimer = nullptr;
  TTimer* tHideAnimate = nullptr;
  TTimer* tDropPictures = nullptr;
  bool Hidden() const { return FAutoHide->Hidden(); }
  const TOvAutoHide& AutoHide() const { return *FAutoHide; }
  // Brings the hidden bar back (sliding or at once); nothing when it shows.
  void ShowBar();
  // The hotkeys again from the icons' shortcuts and the own keys.
  void RebuildHotkeys();

  // ---- Icon and group commands and drops (main_commands_win.cpp).
  // Appends the icon to the group's icons with its picture in the icon cache,
  // shows it when the group is on show (selected with Select), then rebuilds
  // the hotkeys and saves the contents with the icon cache. The icon as it now
  // lies in the document.
  TKemXmlTag* AddIcon(TKemXmlTag* Group, TKemXmlTagPtr Icon, bool Select);
  // A drag from another program over the bar: the group button under the
  // pointer (screen coordinates) is highlighted as the drop's target.
  void DropTargetOver(const TPoint& ScreenPt);
  // The drag left the bar or ended: no button is highlighted.
  void DropTargetLeave();
  // Dropped files (in drop order) or, only when there are none, a web address
  // become icons of the group whose button lies under the pointer, else of
  // the group on show. Files by extension (any case): ".lnk" and ".pif" shell
  // links, ".url" internet shortcuts, any other file itself. Of more than
  // kMaxDroppedFiles files the first are taken, and the user is told, once
  // the drop is over, how many were left out (Unread: the files the drop
  // named after Files, not read). An address too long for an icon is told
  // in the same note. True when an icon was added or is to be: with
  // ovsShowDropDialog a single icon waits for its editor, which opens once the drop is over
  // (EditDroppedIcons). Their pictures follow a slice at a time (MakeDroppedPictures).
  bool DropItems(const TPoint& ScreenPt, const std::vector<WideString>& Files, const WideString& Url,
                 std::size_t Unread = 0);

  // ---- Bar modules (main_modules_win.cpp).
  // The module of a slot (its TOvModuleKind), or nil.
  TOvModuleControl* ModuleControl(int Index) const { return FModuleSlots.at(static_cast<size_t>(Index)); }
  void AddModule(int Index);
  void RemoveModule(int Index);
  // Pictures stand as far from the bar's edge as the icons do.
  int GetModuleMargin() const;
  int GetModuleIndent() const;
  // Modules added and removed as their elements' "active" says, and placed
  // before or behind the icon panel in the element order.
  void ApplyModules();
  // Every module reads its parameters again and draws anew.
  void ReloadModules();
  // Every module removed and every module thread ended.
  void StopModules();
  // The child of "ov3contents.modules" of that name (any case), or nil.
  TKemXmlTag* FindModuleElement(const String& Name) const;

 protected:
  // Every message first goes to the single-instance filter.
  void WndProc(TMessage& Message) override;
  // Accelerators of the icon panel and the group buttons.
  bool FormDialogChar(WideChar Key, TShiftState Shift) override;
  // A key keeps the bar a while longer; the group keys come before the actions' shortcuts.
  void KeyDown(std::uint16_t& Key, TShiftState Shift) override;

 private:
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  // The one file browser of the process, made at the first show with the
  // toolbar pictures.
  void CreateFileBrowser();
  void FormDestroy(TObject* Sender);
  // Logoff or shutdown: the saves of FormDestroy, now, and none of them told.
  void SaveAtSessionEnd();
  // The contents written once more; the error when that fails.
  std::exception_ptr TrySaveContents();
  // The last saves failed as the bar closes: nothing saves later, so what they
  // hold is lost, and the user is told at once.
  void TellExitSaveFailures(std::exception_ptr ContentsFailure, bool SettingsSaved);
  void FormResize(TObject* Sender);
  // The language changed: the key names and the bar's layout follow it.
  void FormLanguageChange();
  // What the skin does with a changed setting (snap, move and size locks,
  // icon metrics, the skin itself: -2).
  void SkinConfigUpdate(int Id, const Variant& Value);
  void ApplySkin();
  void SkinChanged();

  void CreateGroupControls();
  void plIconsClick();
  void plIconsDblClick();
  void plIconsKeyPress(WideChar& Key);
  void plIconsAccelerator(int Index, int Count);
  // Carries out what a launch rule gave for the panel's item Index.
  void RunIconPanelStep(const TIconPanelStep& Step, int Index);
  void plIconsReorder(int CurIdx, int NewIdx);
  void plIconsDropIcon(int Idx, int ButIdx);
  void bsGroupsReorder(int CurIdx, int NewIdx, bool& CanReorder);
  // The drop target and its adapters; registering the bar as a drop target
  // (after its window exists) and unregistering it (while it still exists).
  void CreateDropTarget();
  void RegisterDropTarget();
  void UnregisterDropTargets();
  // The group button at a screen point, -1 for none.
  int GroupButtonAtScreen(const TPoint& ScreenPt);
  // What a drop left out: files beyond the cap, an address too long for an icon.
  struct TDropLeftOut {
    std::size_t Taken = 0, Total = 0;  // files made icons of, of those dropped
    String LongUrlHost;                // of an address refused for its length; empty: none
    std::size_t LongUrlLength = 0;
  };
  // Posts the note on what a drop left out; the note shows when the drop is
  // over, not while the source waits for it.
  void ReportDropLeftOut(TDropLeftOut LeftOut);
  void ShowDropLeftOut();
  // An icon a drop made, waiting for its editor, and the group it goes to.
  struct TDropEdit {
    TKemXmlTag* Group;
    TKemXmlTagPtr Icon;
  };
  // Keeps the icon and posts the message that opens its editor: a modal
  // dialog inside the drop would hold the program the files came from until
  // it closed.
  void EditDroppedIconLater(TKemXmlTag& Group, TKemXmlTagPtr Icon);
  // The editors of the waiting icons, one after the other; a confirmed icon
  // joins its group when the group is still there.
  void EditDroppedIcons();
  // The icons of a drop placed: one refill, hotkey rebuild and save, and their pictures to follow.
  void DroppedIconsPlaced();
  // The pictures of dropped icons are made a slice at a time on a timer, so
  // the bar answers between slices however many files came; the icon cache
  // is saved once the last is made.
  void MakeDroppedPictures();
  // The panel's items of those icons take their pictures from the cache.
  void ShowIconPictures(const std::vector<TKemXmlTag*>& Icons);
  // AddIcon without its ending: appended, cache entry made, on the panel when its group shows.
  TKemXmlTag* PlaceIcon(TKemXmlTag& Group, TKemXmlTagPtr Icon);
  // The ending of every icon command: captions, hotkeys, save, action states.
  void IconsChanged(bool WithIconCache);
  // The icon and group actions (ovaNewIcon to ovaEditGroup).
  void NewIcon(bool Batch);
  void CopySelectedIcon();
  void EditSelectedIcon();
  void DeleteSelectedIcon();
  void NewGroup();
  void EditCurrentGroup();
  void DeleteCurrentGroup();
  // The icon and group editors: true when the user confirmed.
  bool EditIconElement(TKemXmlTag& Icon);
  bool EditGroupElement(TKemXmlTag& Group);
  // Yes or no before the icon or group (Group) of that title goes.
  bool ConfirmDeletion(bool Group, const String& Title);
  // The previous- and next-group keys; true when Key was one of them (then consumed).
  bool GroupKeyDown(std::uint16_t& Key, TShiftState Shift);
  void ReadGroupKeys();
  // Groups or icons step with the wheel as the wheel settings say; false when not handled.
  bool FormMouseWheel(TShiftState Shift, bool Up);

  void ReportSaveFailure();
  void SettingsSaveFailed();
  void SavePlacementAndSettings();
  void ToggleSetting(int Id);
  void OpenContents();
  void ReadGroupList();
  // Places the bar in the work area of its monitor for the alignment actions.
  void AlignInWorkArea(int ActionId);
  // The bar along that edge of its monitor's work area, centred along it, at
  // home there and saved: what every alignment comes to.
  void DockToEdge(TOvHideEdge Edge);
  // The work area of the monitor that holds the bar.
  TRect BarWorkArea();
  TBarActionContext ActionContext() const;
  // ---- The icon cache (main_icons_win.cpp).
  // Opens "ov3.icc" and brings it in line with the contents; true when the
  // file did not exist yet (the caller saves the cache with the contents).
  bool OpenIconCache();
  // Every picture made anew at the current icon size and stretch rule, saved
  // with the contents, and the panel refilled (ovaRebuildIconCache,
  // ovsIconsSize, ovsIconsStretch).
  void RebuildIconCache();
  void ApplyIconCacheSettings();

  // The menus after the skinner; their entries follow the action states, and
  // the skin change gives them the new skin and pictures.
  void CreateMenus();
  void AttachSkinnerMenus();
  void RefreshMenuActions();
  void MenusSkinChanged();

  void CreateAutoHide();
  void CreateBarHints();
  void DestroyBarHints();
  // A hook that cannot be installed is reported once; the bar goes on
  // without screen areas or global hotkeys.
  void InstallMouseHook();
  void SetHookAreas();
  void ReadAutoHideSettings();
  // The whole hide delay counts again from now: countdown and tick timer restart.
  void ResetHideCountdown();
  void AutoHideChanged();
  void ShowTimerTick();
  void HideTimerTick();
  void HideAnimateTick();
  // The timers run as the auto-hide machine says.
  void SyncAutoHideTimers();
  void HandleAreaMessage(TMessage& Message);
  void HandleHotkeyMessage(TMessage& Message);
  void InitHotkeys();
  void DoneHotkeys();
  void ReportHookFailure();
  // Takes the foreground for the bar (releasing F24 first) and shows it when hidden.
  void FocusBar();

  // A module's command (kModules says whose) through that module; the
  // contents are saved after. Nothing for an action no module has.
  void ExecuteModuleAction(int Id);
  // A module's thread found a new picture (run on the GUI thread).
  void ModuleChanged(TOvModuleControl* Control);
  bool RecycleBinShownFull() const;

  TPerModule<TOvModuleControl*> FModuleSlots{};  // owned as components
  std::unique_ptr<TKemXml> FContents;
  String FContentsFileName;
  TKemXmlTag* FGroupsTag = nullptr;
  std::vector<TKemXmlTag*> FGroupList;
  TOvIconIds FIconIds;
  bool FVertical = false;
  std::unique_ptr<TOvBarPlace> FBarPlace;
  std::unique_ptr<TOvAutoHide> FAutoHide;
  TOvHotkeyTable FHotkeys;
  bool FHotkeysInitialised = false;
  std::uint16_t FForegroundAtom = 0;
  bool FChooserOpen = false;
  bool FMouseHookInstalled = false;
  bool FKeyboardHookInstalled = false;
  bool FHookFailureReported = false;
  std::exception_ptr FHookFailure;
  int FGroupButtonCount = 0;
  TOvBarKey FPrevGroupKey;
  TOvBarKey FNextGroupKey;
  // Made with the form: whatever fails while the bar is created, its icons start.
  TShellLauncherWin FShell;
  bool FFirstShow = true;
  // The last save of the contents failed (and was reported).
  bool FContentsSaveFailed = false;
  // Windows ends the session: the last saves are made and nothing may be shown.
  bool FSessionEnding = false;
  std::exception_ptr FSaveFailure;
  // A failed save of the settings file, told once a run (the configuration
  // database hands on only the first).
  std::exception_ptr FSettingsSaveFailure;
  // The contents file read at creation was set aside: told once the bar is made.
  std::exception_ptr FContentsSetAside;
  std::unique_ptr<TIconCache> FIconCache;
  // What the last drop left out, until its note shows.
  TDropLeftOut FDropLeftOut;
  std::vector<TDropEdit> FDropEdits;
  bool FEditingDrops = false;
  TVosFormSkinner* FSkinner = nullptr;  // owned as components
  TVosFormCaption* FCaption = nullptr;
  TVosFormIcon* FFormIcon = nullptr;
  TVosContainer* FGroupBox = nullptr;
  TOvBarMenus* FMenus = nullptr;  // owned as a component
  std::unique_ptr<TBarHintWiring, TBarHintWiringDelete> FHintWiring;
};

// Sent before the bar or a program takes the foreground: lets go of the F24
// key that the foreground hotkey may hold.
void ReleaseForegroundKey();

// False until the end of the bar's FormCreate: handlers that need the whole
// bar do nothing before.
extern bool MainFormCreated;
