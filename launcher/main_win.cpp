// The bar window: creation in its fixed order, contents, launching, actions.
#include "launcher/main_win.h"

#include <algorithm>
#include <utility>

#include "kem3/browser/kembrowser_places.h"
#include "kem3/browser/kembrowser_win.h"
#include "kem3/controls/kembtns_win.h"
#include "kem3/controls/kemplist_win.h"
#include "kem3/dialogs/kemabout_win.h"
#include "kem3/dialogs/kemcfgrows_win.h"
#include "kem3/framework/kemcfg.h"
#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemhi_win.h"
#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemsingle_win.h"
#include "launcher/ov3browse_win.h"
#include "launcher/ov3cfg_win.h"
#include "launcher/ov3cfgpages_win.h"
#include "launcher/ov3info_win.h"
#include "launcher/ov3modthread.h"
#include "launcher/ov3prefs.h"
#include "launcher/ov3startup_win.h"
#include "platform/application_win.h"
#include "platform/exception_handler.h"
#include "platform/format.h"
#include "platform/imglist.h"
#include "platform/inifile.h"
#include "platform/messages_win.h"
#include "platform/screen_win.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

bool MainFormCreated = false;

namespace {

// Posted to the bar: a failed save, or a contents file set aside, is shown
// once the code that saved or read is done, so the bar's creation never stops
// at the message.
constexpr UINT kReportSaveFailure = WM_APP + 1;

}  // namespace

TfMain::TfMain(TComponent* AOwner) : TKemForm(AOwner) {
  SetName("fMain");
  SetBorderStyle(bsNone);
  SetKeyPreview(true);
  Font()->SetName("Tahoma");
  Font()->SetSize(8);
  SetCaption(u"Orvanel");
  SetBounds(0, 0, OvBarDefaultSize.cx, OvBarDefaultSize.cy);

  pClient = new TPanel(this);
  pClient->SetName("pClient");
  pClient->SetBevelOuter(bvNone);
  pClient->SetParent(this);
  pClient->SetAlign(alClient);
  CreateGroupControls();
  CreateAutoHide();
  CreateDropTarget();

  for (const TOvActionInfo& a : kBarActions) AddActionText(a.Id, a.LanId, -1, String(a.ShortCut));
  OnActionExecute = [this](TKemAction* Action) { FormActionExecute(Action->Id()); };
  OnConfigUpdate = [this](int Id, const Variant& Value) { FormConfigUpdate(Id, Value); };
  OnLanguageChange = [this](TObject*) { FormLanguageChange(); };
  OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
  OnShow = [this](TObject* Sender) { FormShow(Sender); };
  OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };
  OnEndSession = [this](TObject*) { SaveAtSessionEnd(); };
  OnResize = [this](TObject* Sender) { FormResize(Sender); };
  SetMessageHandler(kReportSaveFailure, [this](TMessage&) { ReportSaveFailure(); });
}

TfMain::~TfMain() = default;

void TfMain::FormLanguageChange() {
  if (!MainFormCreated) return;
  if (bsGroups) bsGroups->RealignButtons();
  if (plIcons) plIcons->Rebuild();
}

void TfMain::FormCreate(TObject*) {
  // Centred at the top of the work area until the settings file says where.
  TRect work = Screen->WorkAreaRect();
  SetBounds(work.Left + (work.Width() - Width()) / 2, work.Top, Width(), Height());
  AddSplashStatusById(kSplashSettings);

  // Back to back, with nothing pumping messages between: a deferred save
  // must not write defaults before the file has been read.
  cfgSaveFailureHandler = [this](std::exception_ptr) { SettingsSaveFailed(); };
  CheckSettingsVersion();
  DefineSettings([this] { SavePlacementAndSettings(); });
  SetOvPreferencesModel(BuildPreferencesModel(OvPageFactories(BarPagesHost(*this))));
  LoadMainFormSettings(*this);
  FAutoHide->SetHome({Left(), Top()});

  UpdateActionStates();
  // The browser's places start with the icon library's, which ovsIconLibFolder fills in.
  EnsureBrowserPlaces(BrowserNamedPlaces(), 1);

  OpenContents();
  AddSplashStatusById(kSplashContents);
  CreateSkinner();
  ReadGroupList();
  RebuildGroupButtons();
  SaveContents(OpenIconCache());

  SelectGroup(0);
  CreateMenus();
  UpdateActionStates();

  RegisterDropTarget();
  InstallMouseHook();

  // Every setting takes effect once.
  cfgApplyAll(*this);

  MainFormCreated = true;
  FormResize(this);
  ApplyModules();
  CreateBarHints();
  // A save of the settings that failed before the bar had its window, and a
  // contents file set aside, are told now.
  if (FSettingsSaveFailure || FContentsSetAside) PostMessageW(Handle(), kReportSaveFailure, 0, 0);
}

void TfMain::FormShow(TObject*) {
  // The first show completes the bar: the file browser, the keyboard hook and
  // the hotkeys, and the group keys.
  if (FFirstShow) {
    FFirstShow = false;
    // The bar is there: the splash goes at once, without fading.
    CloseSplash(false, 2);
    // A browser put in place before (a test's) stays.
    if (!OvBrowser()) InstallFileBrowser();
    CreateFileBrowser();
    // What the bar's creation needed from kem3.dll is made: the resource
    // library lets go of its own reference (the hook binding keeps its own).
    FreeResourceLibrary();
    InitHotkeys();
    ReadGroupKeys();
    RebuildHotkeys();
    Modules().StartThreads();
  }
}

void TfMain::CreateFileBrowser() {
  auto* files = dynamic_cast<TOvFileBrowser*>(OvBrowser());
  if (!files) return;
  // The dialog registers its actions: the pictures come after it.
  TdBrowser& dialog = files->MakeDialog();
  if (!ilToolbar) ilToolbar = new TImageList(this);
  if (ilToolbar->Count() == 0) LoadActionImages(*ilToolbar, TColor(0xFF00FF), true);
  dialog.SetToolImages(ilToolbar);
}

void TfMain::FormResize(TObject*) {
  if (!MainFormCreated) return;
  bsGroups->RealignButtons();
  cfgRequestSave();
}

void TfMain::FormConfigUpdate(int Id, const Variant& Value) {
  // What the bar itself does with a changed setting; the rest take effect
  // in the code that reads them.
  SkinConfigUpdate(Id, Value);
  switch (Id) {
    case ovsIconLibFolder:
      SetBrowserIconsPlace(BrowserNamedPlaces(), cfgTextOf(Value));
      break;
    case ovsAutoHide:
    case ovsAutoHideMethod:
      AutoHideChanged();
      UpdateActionStates();
      break;
    case ovsScreenSnap:
      UpdateActionStates();
      break;
    case ovsAutoHideHideDelay:
    case ovsAutoHideShowDelay:
    case ovsAutoHideSteps:
    case ovsAutoHideSpeed:
    case ovsScreenArea:
    case ovsScreenAreas:
      ReadAutoHideSettings();
      SyncAutoHideTimers();
      break;
    case ovsScreenEdgeSize:
    case ovsScreenCornerSize:
      SetHookAreas();
      break;
    case ovsFocusShortcut:
    case ovsAutohideShortcut:
      if (MainFormCreated && FHotkeysInitialised) RebuildHotkeys();
      break;
    case ovsIconDragging: {
      TKemPanelListOptions Options = plIcons->Options();
      if (Value.AsBoolean())
        Options.Include(ploDragReorder);
      else
        Options.Exclude(ploDragReorder);
      plIcons->SetOptions(Options);
      break;
    }
    case ovsGroupDragging: {
      TKemButtonSetOptions Options = bsGroups->Options();
      if (Value.AsBoolean())
        Options.Include(bsoDragReorder);
      else
        Options.Exclude(bsoDragReorder);
      bsGroups->SetOptions(Options);
      break;
    }
    case ovsIconsTitle: {
      TKemPanelListOptions Options = plIcons->Options();
      if (cfgGetInt(ovsIconsTitle) == 0)
        Options.Exclude(ploListviewHideText);
      else
        Options.Include(ploListviewHideText);
      plIcons->SetOptions(Options);
      break;
    }
    case ovsIconsAutoAccel:
      RefreshIconCaptions(true);
      break;
    case ovsPreviousGroup:
    case ovsNextGroup:
      if (MainFormCreated) ReadGroupKeys();
      break;
    case ovsGroupsAutoAccel:
      RebuildGroupButtons();
      break;
    case ovsIconsSize:
    case ovsIconsStretch:
      if (MainFormCreated) RebuildIconCache();
      if (MainFormCreated && Id == ovsIconsSize) ReloadModules();
      break;
    default:
      break;
  }
  // An open preferences dialog shows what the bar now uses, so that its OK
  // does not undo a change made meanwhile (auto-hide by its hot key).
  if (Id == ovsAutoHide || Id == ovsAutoHideMethod) cfgRefreshControls({ovsAutoHide, ovsAutoHideMethod});
  if (Id == ovsScreenEdgeSize || Id == ovsScreenCornerSize) {
    cfgRefreshControls({ovsScreenEdgeSize, ovsScreenCornerSize});
  }
  if (Id >= ovsIconsOverrideSkin && Id <= ovsIconsFadeWidth) {
    cfgRefreshControls({ovsIconsOverrideSkin, ovsIconsSpaceLeft, ovsIconsSpaceRight, ovsIconsSpaceTop,
                        ovsIconsSpaceBottom, ovsIconsSpaceVert, ovsIconsFadeWidth});
  }
}

void TfMain::SavePlacementAndSettings() {
  // While the bar is hidden or sliding its window is off its place: keep the home position.
  const TPoint home = FAutoHide->Home();
  SaveMainFormSettings(*this, FAutoHide->Hidden() ? &home : nullptr);
}

void TfMain::FormDestroy(TObject*) {
  DestroyBarHints();
  // No module thread outlives the bar or its contents.
  StopModules();
  if (FMouseHookInstalled) mhRemoveHook(Handle());
  UnregisterDropTargets();
  // The contents are saved at every change; the last try for one that failed
  // (a save that would change nothing writes nothing). At the end of the
  // session that try has been made already, and nothing may be shown.
  const bool tell = !FSessionEnding;
  std::exception_ptr contentsFailure = tell ? TrySaveContents() : nullptr;
  // Icons still waiting for their editor point at groups that go now.
  FDropEdits.clear();
  FGroupList.clear();
  FGroupsTag = nullptr;
  FContents.reset();
  DoneHotkeys();
  // A hidden bar is put back where it belongs before its placement is kept.
  FAutoHide->RestoreHomePosition();
  SyncAutoHideTimers();
  // The one full save of shut-down, pending changes included. Its failure is
  // told below, not posted to a window that goes now.
  cfgSaveFailureHandler = nullptr;
  const bool settingsSaved = cfgSaveAtShutDown();
  SetOvPreferencesModel(nullptr);
  if (tell) TellExitSaveFailures(contentsFailure, settingsSaved);
}

void TfMain::SaveAtSessionEnd() {
  // Windows may end the process before FormDestroy runs: the contents (saved
  // at each change; this is the last try for one that failed) and the full
  // settings save happen now. FormDestroy's save then finds nothing to do.
  // Nobody is left to answer a message, so a failure goes untold.
  FSessionEnding = true;
  (void)TrySaveContents();
  cfgSaveFailureHandler = nullptr;
  (void)cfgSaveAtShutDown();
}

std::exception_ptr TfMain::TrySaveContents() {
  if (!FContents) return nullptr;
  try {
    ::SaveContents(*FContents, FContentsFileName);
    FContentsSaveFailed = false;
    return nullptr;
  } catch (const Exception&) {
    return std::current_exception();
  }
}

namespace {

// As the application's exception display shows a message. The bar is
// mostly freed with the application, which has let go of that display by
// then: the same message box, with the application's title, stands in.
void ShowExitMessage(TObject* Sender, const WideString& Text) {
  // The quit request that ended the message loop is still waiting: the
  // message's own loop would take it and close at once. It waits outside
  // until the message has been answered.
  MSG quit;
  const bool quitting = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  if (HasExceptionHandler()) {
    HandleEventException(Sender, std::make_exception_ptr(Exception(WideToUtf8(Text))));
  } else {
    WideString text = Text;
    if (!text.empty() && text.back() > u'.') text += u'.';
    MessageBoxW(nullptr, WideCStr(text), L"Orvanel", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  }
  if (quitting) PostQuitMessage(static_cast<int>(quit.wParam));
}

}  // namespace

void TfMain::TellExitSaveFailures(std::exception_ptr ContentsFailure, bool SettingsSaved) {
  // Told as a failed save during the run is, each in a message of its own.
  if (ContentsFailure) {
    String why;
    try {
      std::rethrow_exception(ContentsFailure);
    } catch (const Exception& e) {
      why = Trim(e.Message);
    }
    while (!why.empty() && why.back() == '.') why.pop_back();
    const WideString text = WideFormatOrError(
        Translate("Contents_ExitSaveFailed",
                  u"The contents cannot be saved to %s (%s). The changes since the last save that succeeded are lost."),
        {FormatArg(Utf8ToWide(FContentsFileName)), FormatArg(Utf8ToWide(why))});
    ShowExitMessage(this, text);
  }
  if (!SettingsSaved) {
    const WideString text = WideFormatOrError(
        Translate("Settings_ExitSaveFailed",
                  u"The settings cannot be saved to %s. The changes since the last save that succeeded are lost."),
        {FormatArg(Utf8ToWide(GetIniFile()->FileName()))});
    ShowExitMessage(this, text);
  }
}

void TfMain::KeyDown(std::uint16_t& Key, TShiftState Shift) {
  ResetHideCountdown();
  if (GroupKeyDown(Key, Shift)) return;
  // The bar's own shortcuts (Ins, Del, Ctrl+P…) reach their actions here.
  TKemForm::KeyDown(Key, Shift);
}

void TfMain::WndProc(TMessage& Message) {
  if (HandleInstanceMessage(Message)) return;
  TKemForm::WndProc(Message);
}

void TfMain::OpenContents() {
  // Beside the program, as the icon cache and the settings file are.
  FContentsFileName = ::ContentsFileName(ProgramFileName());
  TContentsSetAside setAside;
  FContents = OpenContentsDocument(FContentsFileName, &setAside);
  // Told as a failed save is: which file was set aside, why, and where its copy is.
  if (!setAside.Copy.empty())
    FContentsSetAside =
        std::make_exception_ptr(Exception(WideToUtf8(ContentsSetAsideText(FContentsFileName, setAside))));
  CreateDefaultContents(*FContents);
  FIconIds.OnSaveContents = [this] { SaveContents(); };
}

void TfMain::ReadGroupList() {
  FGroupsTag = ContentsGroups(*FContents);
  FGroupList = ListGroups(FGroupsTag);
  FIconIds.InitNextIconId(FGroupsTag);
  FGroupButtonCount = static_cast<int>(FGroupList.size());
}

void TfMain::SaveContents(bool WithIconCache) {
  if (std::exception_ptr failure = TrySaveContents()) {
    if (!FContentsSaveFailed) {
      FContentsSaveFailed = true;
      FSaveFailure = failure;
      PostMessageW(Handle(), kReportSaveFailure, 0, 0);
    }
  }
  // The cache only spares work at the next start: one that cannot be written
  // is made again then, so its failure stops nothing.
  if (WithIconCache && FIconCache) {
    try {
      FIconCache->Save();
    } catch (const Exception&) {
    }
  }
}

void TfMain::ReportSaveFailure() {
  if (std::exception_ptr setAside = std::exchange(FContentsSetAside, nullptr)) HandleEventException(this, setAside);
  if (std::exception_ptr failure = std::exchange(FSaveFailure, nullptr)) HandleEventException(this, failure);
  if (std::exception_ptr failure = std::exchange(FSettingsSaveFailure, nullptr)) HandleEventException(this, failure);
}

void TfMain::SettingsSaveFailed() {
  // Told as a failed save of the contents is, in the user's language: where
  // the file is (a folder without write rights, as under Program Files, is the
  // usual cause) and that nothing is lost while the bar runs.
  const WideString text = WideFormatOrError(Translate("Settings_SaveFailed",
                                                      u"The settings cannot be saved to %s. Orvanel keeps your "
                                                      u"changes and tries again with every later save."),
                                            {FormatArg(Utf8ToWide(GetIniFile()->FileName()))});
  FSettingsSaveFailure = std::make_exception_ptr(Exception(WideToUtf8(text)));
  if (HandleAllocated()) PostMessageW(Handle(), kReportSaveFailure, 0, 0);
}

void TfMain::LaunchIcon(const TKemXmlTag* Icon) {
  if (!Icon) return;
  // The window the shell's own messages about a start belong to.
  FShell.Window = Handle();
  ::LaunchIcon(Icon, false, FGroupsTag, FShell);
}

TBarActionContext TfMain::ActionContext() const {
  TBarActionContext c;
  c.Vertical = FVertical;
  c.AutoHide = cfgGetBool(ovsAutoHide);
  c.ScreenSnap = cfgGetBool(ovsScreenSnap);
  c.GroupCount = static_cast<int>(FGroupList.size());
  c.IconSelected = SelectedIcon() != nullptr;
  c.GroupSelected = CurrentGroupIndex() >= 0;
  c.RecycleBinFull = RecycleBinShownFull();
  return c;
}

TOvActionState TfMain::ActionState(int Id) const {
  const TKemAction* action = FindAction(Id);
  return action ? TOvActionState{action->Enabled(), action->Checked()} : TOvActionState{};
}

void TfMain::UpdateActionStates() {
  const TBarActionContext c = ActionContext();
  for (const TOvActionInfo& a : kBarActions) {
    if (TKemAction* action = FindAction(a.Id)) {
      const TOvActionState state = BarActionState(a.Id, c);
      action->SetEnabled(state.Enabled);
      action->SetChecked(state.Checked);
    }
  }
  RefreshMenuActions();
}

void TfMain::FormActionExecute(int Id) {
  switch (Id) {
    case ovaRebuildIconCache:
      RebuildIconCache();
      break;
    case ovaAutoHide:
      ToggleSetting(ovsAutoHide);
      break;
    case ovaPreferences:
      if (TKemConfigDlg* preferences = OvPreferencesModel()) preferences->Execute();
      break;
    case ovaInformation:
      ShowBarInformation();
      break;
    case ovaExit:
      Close();
      break;
    case ovaScreenSnap:
      ToggleSetting(ovsScreenSnap);
      break;
    case ovaAlignTop:
    case ovaAlignBottom:
    case ovaAlignLeft:
    case ovaAlignRight:
      AlignInWorkArea(Id);
      break;
    case ovaNewIcon:
    case ovaNewBatchIcon:
      NewIcon(Id == ovaNewBatchIcon);
      break;
    case ovaDeleteIcon:
      DeleteSelectedIcon();
      break;
    case ovaCopyIcon:
      CopySelectedIcon();
      break;
    case ovaEditIcon:
      EditSelectedIcon();
      break;
    case ovaNewGroup:
      NewGroup();
      break;
    case ovaDeleteGroup:
      DeleteCurrentGroup();
      break;
    case ovaEditGroup:
      EditCurrentGroup();
      break;
    default:
      // The rest are the modules' commands, each run by its module.
      ExecuteModuleAction(Id);
      break;
  }
  UpdateActionStates();
}

void TfMain::ToggleSetting(int Id) {
  cfgSetValueNotify(Id, !cfgGetBool(Id));
  cfgApplyChanges(*this);
}

void TfMain::AlignInWorkArea(int ActionId) {
  switch (ActionId) {
    case ovaAlignTop:
      DockToEdge(heTop);
      break;
    case ovaAlignBottom:
      DockToEdge(heBottom);
      break;
    case ovaAlignLeft:
      DockToEdge(heLeft);
      break;
    case ovaAlignRight:
      DockToEdge(heRight);
      break;
  }
}

TRect TfMain::BarWorkArea() {
  TMonitor* monitor = Screen->MonitorFromWindow(Handle());
  return monitor ? monitor->WorkareaRect() : Screen->WorkAreaRect();
}

void TfMain::DockToEdge(TOvHideEdge Edge) {
  const TRect work = BarWorkArea();
  const int centreX = work.Left + (work.Width() - Width()) / 2;
  const int centreY = work.Top + (work.Height() - Height()) / 2;
  switch (Edge) {
    case heTop:
      SetBounds(centreX, work.Top, Width(), Height());
      break;
    case heBottom:
      SetBounds(centreX, work.Bottom - Height(), Width(), Height());
      break;
    case heLeft:
      SetBounds(work.Left, centreY, Width(), Height());
      break;
    case heRight:
      SetBounds(work.Right - Width(), centreY, Width(), Height());
      break;
  }
  // The edge it hides behind, and so the screen areas that call it back,
  // follow from where it now stands.
  FAutoHide->SetHome({Left(), Top()});
  cfgRequestSave();
}
