// TfMain: the bar window. It owns the contents document, builds itself in a
// fixed order when created, starts icons, and runs the bar's actions.
#pragma once
#include <memory>
#include <vector>

#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemxml.h"
#include "launcher/ov3actions.h"
#include "launcher/ov3contents.h"
#include "launcher/ov3hotkeytext.h"
#include "launcher/ov3iconcache.h"
#include "launcher/ov3launch_win.h"
#include "platform/extctrls_win.h"
#include "platform/forms_win.h"

class TKemButtonSet;
class TKemPanelList;

class TfMain : public TForm {
 public:
  explicit TfMain(TComponent* AOwner);
  ~TfMain() override;

  TPanel* pClient = nullptr;
  TKemPanelList* plIcons = nullptr;
  TKemButtonSet* bsGroups = nullptr;

  // ---- Contents.
  TKemXml* Contents() const { return FContents.get(); }
  const String& ContentsFileName() const { return FContentsFileName; }
  // The group tags in button order.
  const std::vector<TKemXmlTag*>& GroupList() const { return FGroupList; }
  // Writes the whole contents file at once; every change to groups, icons and
  // modules ends here. WithIconCache saves the icon cache as well.
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

  // ---- Actions.
  TOvActionState ActionState(int Id) const;
  void UpdateActionStates();
  // Runs an action as its menu entry or shortcut would.
  void FormActionExecute(int Id);
  // A changed setting takes effect (delivered by the configuration database).
  void FormConfigUpdate(int Id, const Variant& Value);

 protected:
  // Every message first goes to the single-instance filter.
  void WndProc(TMessage& Message) override;
  // Accelerators of the icon panel and the group buttons.
  bool FormDialogChar(WideChar Key, TShiftState Shift) override;

 private:
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void FormKeyDown(TObject* Sender, std::uint16_t& Key, TShiftState Shift);
  // The language changed: the bar's font and the key names follow it.
  void FormLanguageChange();

  void CreateGroupControls();
  void plIconsClick();
  void plIconsDblClick();
  void plIconsKeyPress(WideChar& Key);
  void plIconsAccelerator(int Index, int Count);
  void plIconsReorder(int CurIdx, int NewIdx);
  void plIconsDropIcon(int Idx, int ButIdx);
  void bsGroupsReorder(int CurIdx, int NewIdx, bool& CanReorder);
  void LaunchSelected();
  // The previous- and next-group keys; true when Key was one of them (then consumed).
  bool GroupKeyDown(std::uint16_t& Key, TShiftState Shift);
  void ReadGroupKeys();
  // Groups or icons step with the wheel as the wheel settings say; false when not handled.
  bool FormMouseWheel(TShiftState Shift, bool Up);

  TcfgConfigTarget ConfigTarget();
  void SavePlacementAndSettings();
  void ToggleSetting(int Id);
  void OpenContents();
  void ReadGroupList();
  // Places the bar in the work area of its monitor for the alignment actions.
  void AlignInWorkArea(int ActionId);
  TBarActionContext ActionContext() const;
  // ---- The icon cache (main_icons_win.cpp).
  // Opens "ov3.icc" and brings it in line with the contents; true when the
  // file did not exist yet (the caller saves the cache with the contents).
  bool OpenIconCache();
  // Every picture made anew at the current icon size and stretch rule, saved
  // with the contents, and the panel refilled (action 103, settings 201, 202).
  void RebuildIconCache();
  void ApplyIconCacheSettings();

  std::unique_ptr<TKemXml> FContents;
  String FContentsFileName;
  TKemXmlTag* FGroupsTag = nullptr;
  std::vector<TKemXmlTag*> FGroupList;
  TOvIconIds FIconIds;
  bool FVertical = false;
  bool FHidden = false;
  int FHomeLeft = 0;
  int FHomeTop = 0;
  int FGroupButtonCount = 0;
  int FLanguageListener = -1;
  TOvBarKey FPrevGroupKey;
  TOvBarKey FNextGroupKey;
  std::unique_ptr<TShellLauncherWin> FShell;
  std::unique_ptr<TIconCache> FIconCache;
  std::array<TOvActionState, kBarActions.size()> FActionStates{};
};

// False until the end of the bar's FormCreate: handlers that need the whole
// bar do nothing before.
extern bool MainFormCreated;
