// The launcher's settings table and the loading and saving around it.
#include "launcher/ov3cfg.h"

#include <algorithm>
#include <limits>

#include "kem3/framework/kemexe.h"
#include "kem3/framework/kemutil.h"
#include "platform/inifile.h"
#include "platform/mathutils.h"
#include "platform/sysutils.h"

TPerModule<bool> ModuleHints = DefaultModuleHints();
std::function<bool(const String& Start, String& Folder)> OvFolderChooser;

namespace {

constexpr int kRowHeight = 21;

TcfgDbItem* Add(int Id, std::uint8_t Type, const Variant& Default, const char* Section, const char* Key,
                const char* TextName, int Group, int LabelPercent, int ControlPercent, TUnit Unit = unNone) {
  return cfgAddItem(Id, Type, Default, Section, Key, TextName, Unit, Group, LabelPercent, ControlPercent, kRowHeight);
}

bool IsDelimiter(char C) { return C == '\\' || C == '/'; }

}  // namespace

void DefineSettings(std::function<void()> SaveHandler) {
  Add(ovsFocusShortcut, cfgtString, "f10,ctrl", "General", "Focus shortcut", "", -1, 30, 30);
  Add(ovsAutohideShortcut, cfgtString, "f12,none", "General", "Autohide shortcut", "", -1, 30, 30);
  Add(ovsIconLibFolder, cfgtBrowse2, "c:\\", "General", "Icon lib folder", "IconLibraryFolder", ovgGeneral, 25, 75);

  Add(ovsAutoHide, cfgtBoolean, false, "Window", "Auto hide", "AutoHide", -1, 25, 25);
  cfgAddGroup(ovgAutoHide, cfgGroupFitsRows, "144", ovgWindow, 1, ovsAutoHide);
  Add(ovsAutoHideMethod, cfgtValueList, "0", "Window", "Auto hide method", "AutoHideMethod", ovgAutoHide, 25, 25)
      ->SetValueList("0|1", "TdPreferences_AutoHideMethods");
  Add(ovsAutoHideHideDelay, cfgtFloat, 2000, "Window", "Auto hide hidedelay", "AutoHideHideDelay", ovgAutoHide, 25, 25,
      unMillisecond)
      ->SetLimits(100, 50000, 100, 1000);
  Add(ovsAutoHideShowDelay, cfgtFloat, 500, "Window", "Auto hide showdelay", "AutoHideShowDelay", ovgAutoHide, 25, 25,
      unMillisecond)
      ->SetLimits(100, 50000, 100, 1000);
  Add(ovsAutoHideSteps, cfgtInteger, 10, "Window", "Auto hide steps", "AutoHideStepLength", ovgAutoHide, 25, 25)
      ->SetLimits(1, 20, 1, 2);
  Add(ovsAutoHideSpeed, cfgtFloat, 10, "Window", "Auto hide speed", "AutoHideStepSpeed", ovgAutoHide, 25, 25,
      unMillisecond)
      ->SetLimits(1, 100, 1, 10);
  Add(ovsScreenArea, cfgtInteger, 0, "Window", "Screen area", "", -1, 30, 30);
  Add(ovsScreenAreas, cfgtString, "0,4,5", "Window", "Screen areas", "", -1, 30, 30);
  // A negative size gives areas the pointer can never enter; the screen-area
  // page offers these same ranges.
  Add(ovsScreenEdgeSize, cfgtInteger, 3, "Window", "Screen edge size", "", -1, 30, 30)->SetLimits(0, 20, 1, 2);
  Add(ovsScreenCornerSize, cfgtInteger, 5, "Window", "Screen corner size", "", -1, 30, 30)->SetLimits(0, 30, 1, 2);
  Add(ovsScreenSnap, cfgtBoolean, true, "Window", "Screen snap", "ScreenSnap", ovgWindowOptions, 25, 75);
  Add(ovsIconDragging, cfgtBoolean, true, "Window", "Icon dragging", "IconDragReorder", ovgWindowOptions, 25, 75);
  Add(ovsGroupDragging, cfgtBoolean, true, "Window", "Group dragging", "GroupDragReorder", ovgWindowOptions, 25, 75);
  Add(ovsWindowMove, cfgtBoolean, false, "Window", "Window move", "WindowMove", ovgWindowOptions, 25, 75);
  Add(ovsWindowSize, cfgtBoolean, false, "Window", "Window size", "WindowSize", ovgWindowOptions, 25, 75);

  Add(ovsHintShowDelay, cfgtFloat, 500, "Hints", "Hint show delay", "HintShowDelay", ovgHintDelays, 25, 25,
      unMillisecond)
      ->SetLimits(0, 1000, 10, 100);
  Add(ovsHintHideDelay, cfgtFloat, 1000, "Hints", "Hint hide delay", "HintHideDelay", ovgHintDelays, 25, 25,
      unMillisecond)
      ->SetLimits(100, 5000, 10, 100);
  Add(ovsShowHints, cfgtString, "", "Hints", "Show hints", "", -1, 30, 30);
  Add(ovsHintPosition, cfgtTracker, 100, "Hints", "Position", "HintPosition", ovgHints, 25, 75)
      ->SetLimits(0, 150, 1, 10)
      ->SetLegend(1.0, 0.0);
  Add(ovsFadeHints, cfgtBoolean, true, "Hints", "Fade hints", "FadeHints", ovgHints, 25, 75);

  Add(ovsWheelScroll, cfgtValueList, "0", "Wheel", "Scroll", "WheelScroll", ovgWheel, 25, 75)
      ->SetValueList("0|1|2", "TdPreferences_WheelScrolls");
  Add(ovsWheelToggle, cfgtValueList, "0", "Wheel", "Toggle", "WheelToggle", ovgWheel, 25, 75)
      ->SetValueList("0|1|2|3", "TdPreferences_WheelToggles");
  Add(ovsWheelWrapGroups, cfgtBoolean, false, "Wheel", "Wrap groups", "WheelWrapGroups", ovgWheel, 25, 25);
  Add(ovsWheelWrapIcons, cfgtBoolean, false, "Wheel", "Wrap icons", "WheelWrapIcons", ovgWheel, 25, 25);

  Add(ovsIconsSize, cfgtTracker, 32, "Icons", "Size", "IconsSize", ovgIcons, 25, 75)
      ->SetLimits(16, 128, 1, 4)
      ->SetLegend(1.0, 0.0);
  Add(ovsIconsStretch, cfgtValueList, "0", "Icons", "Stretch", "IconsStretch", ovgIcons, 25, 25)
      ->SetValueList("0|1|2", "TdPreferences_IconStretchs");
  Add(ovsIconsTitle, cfgtValueList, "0", "Icons", "Title", "IconsTitle", ovgIcons, 25, 25)
      ->SetValueList("0|1|2", "TdPreferences_IconsTitles");
  Add(ovsIconsComment, cfgtValueList, "0", "Icons", "Comment", "IconsComment", ovgIcons, 25, 25)
      ->SetValueList("0|1", "TdPreferences_IconsComments");
  Add(ovsIconsOverrideSkin, cfgtBoolean, false, "Icons", "OverrideSkin", "IconsOverrideSkin", -1, 25, 25);
  cfgAddGroup(ovgIconSpaces, cfgGroupFitsRows, "168", ovgIcons, 1, ovsIconsOverrideSkin);
  Add(ovsIconsSpaceLeft, cfgtInteger, 24, "Icons", "SpaceLeft", "IconsSpaceLeft", ovgIconSpaces, 25, 25)
      ->SetLimits(0, 100, 1, 2);
  Add(ovsIconsSpaceRight, cfgtInteger, 24, "Icons", "SpaceRight", "IconsSpaceRight", ovgIconSpaces, 25, 25)
      ->SetLimits(0, 100, 1, 2);
  Add(ovsIconsSpaceTop, cfgtInteger, 4, "Icons", "SpaceTop", "IconsSpaceTop", ovgIconSpaces, 25, 25)
      ->SetLimits(0, 100, 1, 2);
  Add(ovsIconsSpaceBottom, cfgtInteger, 4, "Icons", "SpaceBottom", "IconsSpaceBottom", ovgIconSpaces, 25, 25)
      ->SetLimits(0, 100, 1, 2);
  Add(ovsIconsSpaceVert, cfgtInteger, 4, "Icons", "SpaceVert", "IconsSpaceVert", ovgIconSpaces, 25, 25)
      ->SetLimits(0, 100, 1, 2);
  Add(ovsIconsFadeWidth, cfgtInteger, 12, "Icons", "FadeWidth", "IconsFadeWidth", ovgIconSpaces, 25, 25)
      ->SetLimits(0, 100, 1, 2);
  Add(ovsShowDropDialog, cfgtBoolean, true, "Icons", "Show drop dialog", "ShowDropDialog", ovgIcons, 25, 75);
  Add(ovsSingleClick, cfgtBoolean, false, "Icons", "Single click", "SingleClick", ovgIcons, 25, 75);
  Add(ovsIconsAutoAccel, cfgtBoolean, true, "Icons", "Auto accel", "IconsAutoAccel", ovgIcons, 25, 75);

  Add(ovsPreviousGroup, cfgtString, "tabulator,ctrl", "Groups", "Previous group", "", -1, 30, 30);
  Add(ovsNextGroup, cfgtString, "tabulator,ctrl+shift", "Groups", "Next group", "", -1, 30, 30);
  Add(ovsGroupsAutoAccel, cfgtBoolean, true, "Groups", "Auto accel", "GroupsAutoAccel", ovgGroups, 25, 75);
  Add(ovsShowDragHint, cfgtBoolean, true, "Misc", "Show drag hint", "", -1, 30, 30);
  Add(ovsBrowserFltPrograms, cfgtInteger, 0, "Browser", "Flt programs", "", -1, 30, 30);
  Add(ovsBrowserFltIcons, cfgtInteger, 0, "Browser", "Flt icons", "", -1, 30, 30);

  cfgSaveHandler = std::move(SaveHandler);
  cfgBrowseHandler2 = PickFolderSetting;
}

void CheckSettingsVersion() {
  if (cfgReadString("Version", "Current", "3.0.1") == OvSettingsVersion) return;
  // Recording the version at once makes this happen once, even when the
  // program ends before its first save.
  cfgBatchWrites([] {
    GetIniFile()->EraseSection("Browser");
    cfgWriteString("Version", "Current", OvSettingsVersion);
  });
}

String CompleteModuleHints(const String& Text, TPerModule<bool>& Flags) {
  String result = Text;
  while (result.size() < Flags.size()) result += kModules[result.size()].Hints ? '1' : '0';
  for (size_t i = 0; i < Flags.size(); ++i) Flags[i] = result[i] == '1';
  return result;
}

void LoadSettingsValues() {
  cfgReadAll();
  // Tidying what was read is no change of the user's, so no save is counted.
  // Value lists hold an index as text; text that is no number is the first entry.
  for (int id : {ovsAutoHideMethod, ovsWheelScroll, ovsWheelToggle, ovsIconsStretch, ovsIconsTitle, ovsIconsComment}) {
    if (TcfgDbItem* item = cfgFindItem(id)) item->Value = IntToStr(StrToIntDef(Trim(cfgGetStr(id)), 0));
  }
  if (TcfgDbItem* hints = cfgFindItem(ovsShowHints)) {
    hints->Value = CompleteModuleHints(cfgGetStr(ovsShowHints), ModuleHints);
  }
}

void SaveSettingsValues(const TcfgWindowPlacement& MainForm) {
  cfgBatchWrites([&] {
    cfgSavePlacement("MainForm", MainForm, false);
    cfgWriteString("Version", "Current", OvSettingsVersion);
    cfgWriteAll();
  });
}

int SettingMs(int Id) {
  const TcfgDbItem* item = cfgFindItem(Id);
  if (!item) return 0;
  double fallback = 0.0;
  try {
    fallback = item->Default.AsDouble();
  } catch (const Exception&) {
  }
  const double ms = cfgGetFloatInUnit(Id, unMillisecond, fallback);
  // Timer intervals: whole milliseconds within int.
  const std::int64_t whole = Round(ms);
  return static_cast<int>(
      std::clamp<std::int64_t>(whole, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

String FolderSettingStart(const String& Value, const String& ProgramDir) {
  return ExpandRelativePath(Value, ProgramDir);
}

String FolderSettingStored(const String& Chosen, const String& ProgramDir) {
  String dir = ProgramDir;
  while (!dir.empty() && IsDelimiter(dir.back())) dir.pop_back();
  if (dir.empty() || Chosen.size() <= dir.size() || !IsDelimiter(Chosen[dir.size()])) return Chosen;
  if (!AnsiSameText(Chosen.substr(0, dir.size()), dir)) return Chosen;
  return Chosen.substr(dir.size() + 1);
}

bool PickFolderSetting(String& Text) {
  if (!OvFolderChooser) return false;
  String chosen;
  if (!OvFolderChooser(FolderSettingStart(Text, GetExeDir()), chosen)) return false;
  Text = FolderSettingStored(chosen, GetExeDir());
  return true;
}

std::unique_ptr<TKemConfigDlg> BuildPreferencesModel(const TOvPageFactories& Pages) {
  auto Dialog = std::make_unique<TKemConfigDlg>();
  auto AddPart = [](TKemConfigDlgPage* Page, int Group) { Page->AddPart(Group, 8, 1, 0, 100); };

  TKemConfigDlgPage* General = Dialog->AddPage(173);
  General->AddLanguageSelector(25);
  General->AddSkinSelector(25);
  General->AddCustomPage(Pages.Hotkey, 0);
  General->AddCustomPage(Pages.Hotkey, 1);
  AddPart(General, ovgGeneral);

  TKemConfigDlgPage* Window = Dialog->AddPage(174);
  AddPart(Window, ovgWindow);
  Window->AddCustomPage(Pages.ScreenArea, 0);
  AddPart(Window, ovgWindowOptions);

  TKemConfigDlgPage* Hints = Dialog->AddPage(175);
  AddPart(Hints, ovgHintDelays);
  Hints->AddCustomPage(Pages.Hints, 0);
  AddPart(Hints, ovgHints);

  AddPart(Dialog->AddPage(176), ovgWheel);
  AddPart(Dialog->AddPage(177), ovgIcons);

  TKemConfigDlgPage* Groups = Dialog->AddPage(178);
  Groups->AddCustomPage(Pages.Hotkey, 2);
  Groups->AddCustomPage(Pages.Hotkey, 3);
  AddPart(Groups, ovgGroups);

  Dialog->AddPage(179)->AddCustomPage(Pages.Modules, 0);
  return Dialog;
}

TRect OvHoldBarToWorkArea(const TRect& Bounds, const TRect& WorkArea) {
  TRect held = Bounds;
  const std::int64_t roomX = WorkArea.Width(), roomY = WorkArea.Height();
  // What the bar would take of the room once fitted into it.
  const std::int64_t width = std::min<std::int64_t>(Bounds.Width(), roomX);
  const std::int64_t height = std::min<std::int64_t>(Bounds.Height(), roomY);
  if (roomX > 0 && roomY > 0 && 2 * width > roomX && 2 * height > roomY) {
    const int thickness = std::min(OvBarDefaultSize.cx, OvBarDefaultSize.cy);
    // The thinner side is the one that takes the smaller share of its room.
    if (width * roomY < height * roomX)
      held.Right = held.Left + std::max(thickness, OvBarMinSize.cx);
    else
      held.Bottom = held.Top + std::max(thickness, OvBarMinSize.cy);
  }
  return cfgFitPlacement(held, WorkArea, bsNone, poDesigned, false, OvBarMinSize);
}
