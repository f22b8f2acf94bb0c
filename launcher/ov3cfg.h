// The launcher's settings: the table it registers in the configuration
// database, the version check of the settings file, and loading and saving the
// values with the bar's placement.
#pragma once
#include <functional>
#include <memory>

#include "kem3/dialogs/kemcfgdlg.h"
#include "kem3/framework/kemcfg.h"
#include "launcher/ov3modrules.h"

// Setting ids.
enum TOvSetting : int {
  ovsFocusShortcut = 101,
  ovsAutohideShortcut = 102,
  ovsIconLibFolder = 103,
  ovsAutoHide = 121,
  ovsAutoHideMethod = 122,
  ovsAutoHideHideDelay = 123,  // ms
  ovsAutoHideShowDelay = 124,  // ms
  ovsAutoHideSteps = 125,
  ovsAutoHideSpeed = 126,  // ms
  ovsScreenArea = 127,
  ovsScreenAreas = 128,
  ovsScreenEdgeSize = 129,
  ovsScreenCornerSize = 130,
  ovsScreenSnap = 131,
  ovsIconDragging = 132,
  ovsGroupDragging = 133,
  ovsWindowMove = 134,
  ovsWindowSize = 135,
  ovsHintShowDelay = 151,  // ms
  ovsHintHideDelay = 152,  // ms
  ovsShowHints = 153,
  ovsHintPosition = 154,
  ovsFadeHints = 155,
  ovsWheelScroll = 170,
  ovsWheelToggle = 171,
  ovsWheelWrapGroups = 172,
  ovsWheelWrapIcons = 173,
  ovsIconsSize = 201,
  ovsIconsStretch = 202,
  ovsIconsTitle = 203,
  ovsIconsComment = 204,
  ovsIconsOverrideSkin = 205,
  ovsIconsSpaceLeft = 206,
  ovsIconsSpaceRight = 207,
  ovsIconsSpaceTop = 208,
  ovsIconsSpaceBottom = 209,
  ovsIconsSpaceVert = 210,
  ovsIconsFadeWidth = 211,
  ovsShowDropDialog = 212,
  ovsSingleClick = 213,
  ovsIconsAutoAccel = 214,
  ovsPreviousGroup = 301,
  ovsNextGroup = 302,
  ovsGroupsAutoAccel = 303,
  ovsShowDragHint = 1001,
  ovsBrowserFltPrograms = 5001,
  ovsBrowserFltIcons = 5002,
};

// Groups of the preference pages that the table places items in.
enum TOvSettingGroup : int {
  ovgGeneral = 100,
  ovgWindow = 200,
  ovgWindowOptions = 201,
  ovgAutoHide = 202,
  ovgHintDelays = 300,
  ovgHints = 301,
  ovgWheel = 400,
  ovgIcons = 500,
  ovgIconSpaces = 501,
  ovgGroups = 600,
};

// The program's version as the settings file records it.
inline constexpr const char* OvSettingsVersion = "3.3.9";

// The bar's smallest usable size, one icon cell across and the group buttons
// with the top of an icon row down: enough to see it and grab it. A stored
// placement never makes it smaller.
inline constexpr TSize OvBarMinSize{64, 48};
// The bar's size until its placement gives it one, and its thickness (the
// smaller side) where a placement has none that a bar can have.
inline constexpr TSize OvBarDefaultSize{560, 96};

// The bar's bounds held to the work area. A bar is a strip along an edge: it
// may reach across the whole work area one way, but one that also takes more
// than half of it the other way (a size damaged or edited by hand) covers
// the screen and leaves nothing to click beside it. Such a bar gets back the
// default thickness on its thinner side (the height when both are alike);
// then the bounds are fitted into the work area as any placement is.
TRect OvHoldBarToWorkArea(const TRect& Bounds, const TRect& WorkArea);

// Whether each bar module shows hints (ovsShowHints), in slot order.
extern TPerModule<bool> ModuleHints;

// The file browser's folder chooser: opens on Start and gives the chosen
// folder; false when nothing was chosen. Empty until the browser exists.
extern std::function<bool(const String& Start, String& Folder)> OvFolderChooser;

// Registers the table in order, with its two sub-groups, value lists, limits
// and legends; SaveHandler becomes the deferred save's handler (the bar's
// SaveMainFormSettings) and the folder picker the handler of folder rows.
void DefineSettings(std::function<void()> SaveHandler);

// A settings file of another version loses its "Browser" section (the file
// browser's remembered state) and is marked as this version's.
void CheckSettingsVersion();

// Reads every setting, then tidies what was read: value lists hold their index
// as text ("0" for text that is no number), "Show hints" is completed and
// sets ModuleHints.
void LoadSettingsValues();
// Writes the bar's placement to [MainForm], [Version] Current and every
// setting, in one save of the file.
void SaveSettingsValues(const TcfgWindowPlacement& MainForm);

// "Show hints" completed to one character per module from the modules' hint
// defaults; Flags are on where the character is "1".
String CompleteModuleHints(const String& Text, TPerModule<bool>& Flags);

// A time setting in milliseconds, whatever unit the user shows it in.
int SettingMs(int Id);

// The folder setting's paths. A value without "\\" (a network path) or ":\"
// lies in the program folder; a chosen folder inside the program folder
// (compared without regard to case, and only where the program folder's name
// ends at a path delimiter) is stored relative to it.
String FolderSettingStart(const String& Value, const String& ProgramDir);
String FolderSettingStored(const String& Chosen, const String& ProgramDir);
// The browse handler of the folder setting: opens the chooser on the
// absolute folder and stores the choice; true when a folder was chosen.
bool PickFolderSetting(String& Text);

// The makers of the launcher's own preference pages (the Windows side fills
// them); the hotkey page takes its kind (0-3) as its parameter.
struct TOvPageFactories {
  TKemCustomPageFactory Hotkey, ScreenArea, Hints, Modules;
};
// The preferences dialog's seven pages: general, window, hints, mouse wheel,
// icons, groups and modules.
std::unique_ptr<TKemConfigDlg> BuildPreferencesModel(const TOvPageFactories& Pages);
