// The configuration database: the process-wide table of the program's
// settings. The program registers every setting once (id, type, default,
// section and key of the settings file, caption, unit, page and layout) and
// afterwards reads and writes settings by id. Changes are saved by a deferred
// save 2,500 ms after the last one. The same unit reads and writes window
// placements and ad-hoc keys of the settings file.
#pragma once
#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "kem3/framework/kemunits.h"
#include "platform/controls_types.h"
#include "platform/geometry.h"
#include "platform/object.h"
#include "platform/stringlist.h"
#include "platform/variant.h"

class TTimer;

// Value types, with their form in the settings file.
enum TcfgType : std::uint8_t {
  cfgtSpacer = 0,      // an empty row; not stored
  cfgtInteger = 1,     // decimal integer
  cfgtFloat = 2,       // float with "." plus the key "<Key> (Unit)" holding the unit's short name
  cfgtBoolean = 3,     // "yes" / "no"
  cfgtTracker = 4,     // integer shown as a tracker
  cfgtString = 5,      // the text
  cfgtColor = 6,       // six hexadecimal digits
  cfgtValueList = 7,   // stored value of a drop-down choice
  cfgtUnitList = 8,    // stored value of a unit choice
  cfgtCheckList = 9,   // "value=1;value=0;…" for each stored value in order
  cfgtPanelList = 10,  // stored value of a panel-list choice
  cfgtBrowse1 = 11,    // text with a browse button (cfgBrowseHandler1)
  cfgtBrowse2 = 12,    // text with a browse button (cfgBrowseHandler2)
};

// Common base of the registration list's entries.
class TcfgDb : public TObject {
 public:
  explicit TcfgDb(int AId) : Id(AId) {}
  int Id;
};

// A framed group on a preference page.
class TcfgDbGroup : public TcfgDb {
 public:
  using TcfgDb::TcfgDb;
  // Language text name of the frame caption; a name made of digits stands
  // for a text index.
  String CaptionTextName;
  int Page = -1;   // the page (or enclosing group) the group stands on
  int Height = 0;  // of its frame; 0 (cfgGroupFitsRows): from its rows
  int Columns = 1;
  int CheckItemId = -1;  // Boolean item shown as a check box in the caption line, -1 none
};

// One setting.
class TcfgDbItem : public TcfgDb {
 public:
  using TcfgDb::TcfgDb;

  std::uint8_t Type = cfgtSpacer;
  Variant Value;
  Variant Default;
  String Section;
  String Key;
  String TextName;  // caption's language text name; "" gives no generated control
  int Page = -1;    // page or group showing it; -1 = no generated page
  // Set when a page read-back or cfgSetValueNotify changed the value and the
  // change has not been delivered yet.
  bool Changed = false;
  TUnitCategory UnitCategory = ucNone;
  TUnit BaseUnit = unNone;     // unit of the default
  TUnit ValueUnit = unNone;    // unit of Value (float items)
  TUnit DisplayUnit = unNone;  // unit chosen on the page; becomes ValueUnit at the next write
  Variant MinValue = -1;       // -1 in MinValue or MaxValue: no limit on that side
  Variant MaxValue = -1;
  Variant Step = 1;
  Variant BigStep = 10;
  double LegendScale = 1.0;
  double LegendOffset = 0.0;
  TStringList Values;                    // stored values of a choice item
  std::vector<WideString> DisplayTexts;  // texts shown for them
  String ValueListText;                  // "0|1|2"
  String ValueListTextName;              // language text name of the "|"-separated display texts
  int LabelPercent = 0;
  int ControlPercent = 0;
  int Height = 0;
  int ColorEditIndex = -1;

  TcfgDbItem* SetLimits(const Variant& AMin, const Variant& AMax, const Variant& AStep, const Variant& ABigStep);
  TcfgDbItem* SetLegend(double AScale, double AOffset);
  // Stores both and refreshes Values and DisplayTexts.
  TcfgDbItem* SetValueList(const String& AValueListText, const String& ADisplayTextName);
  // Values from the value-list text, display texts from the language (the
  // value-list text itself when the language has none).
  void RefreshValueList();
};

// ---- Unit start and end. The program's start-up calls cfgInit, its shut-down
// cfgSaveAtShutDown (while the windows the save handler reads still exist)
// and, at the very end, cfgDone.

// Opens the settings file object, creates the registration list and the
// deferred save, which is armed at once: one save runs 2,500 ms after start-up.
void cfgInit();
// The full save, once: the save handler (or cfgWriteAll) and the language and
// skin selection, with the deferred save stopped for good first, so a change
// made just before the end is not lost and nothing is written twice. Later
// calls do nothing. False when the file could not be written: what changed
// since the last save that reached it is lost, and only the caller can say so.
bool cfgSaveAtShutDown();
// Frees every entry and the deferred save (writing nothing) and clears the hooks.
void cfgDone();
bool cfgInitialized();

// ---- Registration: appends to the registration list and returns the entry.
TcfgDbItem* cfgAddItem(int Id, std::uint8_t Type, const Variant& Default, const String& Section, const String& Key,
                       const String& TextName, TUnit Unit, int Page, int LabelPercent, int ControlPercent, int Height);
// A group of Height cfgGroupFitsRows is as tall as the rows laid out in it.
inline constexpr int cfgGroupFitsRows = 0;
TcfgDbGroup* cfgAddGroup(int Id, int Height, const String& CaptionTextName, int Page, int Columns, int CheckItemId);
// The registration list in order (groups and items).
const std::vector<std::unique_ptr<TcfgDb>>& cfgEntries();

// ---- Access by id. Unknown ids are ignored.
TcfgDbItem* cfgFindItem(int Id);
// Conversions that never throw: a value that does not convert gives the
// fallback's conversion, and 0 (false, "") when that fails too.
std::int64_t cfgIntOf(const Variant& Value, const Variant& Fallback);
double cfgFloatOf(const Variant& Value, const Variant& Fallback);
bool cfgBoolOf(const Variant& Value, const Variant& Fallback);
String cfgTextOf(const Variant& Value);
// Copies Value into Out; an unknown id leaves Out unchanged.
void cfgGetValue(int Id, Variant& Out);
// A float item's value converted from its ValueUnit into Unit; other types as cfgGetValue.
void cfgGetValueInUnit(int Id, TUnit Unit, Variant& Out);
// Typed reads: a value that does not convert (or an unknown id) gives Default.
int cfgGetInt(int Id, int Default = 0);
bool cfgGetBool(int Id, bool Default = false);
String cfgGetStr(int Id, const String& Default = String());
double cfgGetFloatInUnit(int Id, TUnit Unit, double Default = 0.0);
// Stores a value; a value that differs counts one change for the deferred save.
void cfgSetValue(int Id, const Variant& Value);
// As cfgSetValue, and sets Changed to whether the value differed.
void cfgSetValueNotify(int Id, const Variant& Value);

// Receives a setting's value; returns false when no handler took it.
using TcfgConfigTarget = std::function<bool(int Id, const Variant& Value)>;
// Delivers every item with Changed set, in registration order, clearing the
// flag; stops at the first one the target does not take (and at once when
// there is no target).
void cfgApplyChanges(const TcfgConfigTarget& Target);
// Marks every item changed, then cfgApplyChanges.
void cfgApplyAll(const TcfgConfigTarget& Target);
void cfgClearChanged(std::initializer_list<int> Ids);

// ---- The settings file. Numbers read from it (integer, tracker and float
// items) are held to their registered MinValue and MaxValue, a float's
// converted from its base unit to the unit the file names.
void cfgReadAll();
void cfgWriteAll();
void cfgReadItem(TcfgDbItem& Item);
void cfgWriteItem(TcfgDbItem& Item);
// Runs Write with the file's saves held back, then saves once (one replace of
// the file). A failed save goes to cfgSaveFailureHandler (the first of a run
// only) instead of the caller: the changes stay in the INI object and go out
// with the next save.
void cfgBatchWrites(const std::function<void()>& Write);
// Counts one change, so the deferred save runs 2,500 ms from now.
void cfgRequestSave();
// Refreshes the value lists of every item (after a language change).
void cfgRefreshValueLists();
// Frees every registered group and item.
void cfgFreeAll();

// ---- The deferred save: a timer of 2,500 ms and a change counter.
class TTimerController : public TObject {
 public:
  static constexpr unsigned SaveInterval = 2500;
  // Armed at creation: the save that follows start-up counts as one pending
  // change, so a setter that changes nothing does not cancel it.
  TTimerController();
  ~TTimerController() override;
  TTimerController(const TTimerController&) = delete;
  TTimerController& operator=(const TTimerController&) = delete;

  void Stop();
  void Count() { ++FChanges; }
  // Runs the countdown again when changes are pending (never after Close).
  void Restart();
  // Stops for good: after the save at shut-down nothing arms it again.
  void Close();
  bool Closed() const { return FClosed; }
  int Changes() const { return FChanges; }
  bool Armed() const;
  // The save itself (what the timer runs): the counter goes to 0, then the
  // save handler or cfgWriteAll, then the language and skin selection.
  void SaveNow();

 private:
  std::unique_ptr<TTimer> FTimer;
  int FChanges = 1;
  bool FClosed = false;
};
// The process-wide instance (nullptr outside cfgInit … cfgDone).
TTimerController* cfgTimer();

// ---- Hooks the program sets (empty by default).
// Browse buttons of type 11 and 12 rows: true when the text was changed.
extern std::function<bool(String& Text)> cfgBrowseHandler1;
extern std::function<bool(String& Text)> cfgBrowseHandler2;
// Replaces cfgWriteAll in the deferred save.
extern std::function<void()> cfgSaveHandler;
// Told of the first save of the settings file that fails in a run (cfgInit to
// cfgDone), with its failure, so the program can tell the user once. Whether
// told or not, the values stay in the settings object and every later save
// writes them again, so they reach the file once it can be written.
extern std::function<void(std::exception_ptr Failure)> cfgSaveFailureHandler;
// Language texts by name (a name of digits is an index); empty when unknown.
extern std::function<WideString(const String& Name)> cfgTranslateHook;
// Store the selected language ([Language] Current) and skin ([Skin] Current
// and Layout) at each save.
extern std::function<void(const String& Section, const String& Key)> cfgLanguageSaver;
extern std::function<void(const String& Section, const String& SkinKey, const String& LayoutKey)> cfgSkinSaver;

// ---- Typed operations on ad-hoc keys of the settings file. Reads of
// numbers and Booleans give Default for a missing key or bad text.
double cfgReadFloat(const String& Section, const String& Key, double Default);
void cfgWriteFloat(const String& Section, const String& Key, double Value);
int cfgReadInt(const String& Section, const String& Key, int Default);
void cfgWriteInt(const String& Section, const String& Key, int Value);
bool cfgReadBool(const String& Section, const String& Key, bool Default);
void cfgWriteBool(const String& Section, const String& Key, bool Value);
String cfgReadStr(const String& Section, const String& Key);
String cfgReadString(const String& Section, const String& Key, const String& Default);
void cfgWriteString(const String& Section, const String& Key, const String& Value);

// ---- Window placement, the arithmetic (the form side is in kemcfg_win.h).

// A window as the placement code sees it.
struct TcfgWindowPlacement {
  // Left, top, width and height; a maximised or minimised window gives its
  // restored bounds here.
  TRect Bounds;
  TFormBorderStyle BorderStyle = bsSizeable;
  TPosition Position = poDesigned;
  TWindowState State = wsNormal;
  // The smallest size at which the window can still be seen and grabbed:
  // neither a stored size nor fitting into the work area goes below it.
  TSize MinSize{1, 1};
};

// Window messages carry positions and sizes in 16 bits (WM_MOVE, WM_SIZE): a
// stored value beyond that is damage or a hand edit, never a real window.
inline constexpr int cfgPlacementLimit = 32767;

// What loading decided: the bounds to set, and the state unless SetState is false.
struct TcfgPlacementResult {
  TRect Bounds;
  bool SetState = false;
  TWindowState State = wsNormal;
};

// The work area of the monitor nearest a rectangle.
using TcfgWorkAreaOf = std::function<TRect(const TRect& Rect)>;

// Whether the size of a window of this border style is stored and fitted.
bool cfgSizeableStyle(TFormBorderStyle Style);
// Whether the position mode places the window itself (the centred ones).
bool cfgCentredPosition(TPosition Position);
// Reads section's placement over Window (Bounds, when given, first): size
// unless KeepSize (sizeable styles only), position unless centred, each held
// to what a window can be (cfgPlacementLimit, Window.MinSize), then fits the
// result into the work area of the monitor nearest it, and reads "State"
// (default 1 for a maximised DefaultState).
TcfgPlacementResult cfgLoadPlacement(const String& Section, const TcfgWindowPlacement& Window, bool KeepSize,
                                     const TRect* Bounds, TWindowState DefaultState, const TcfgWorkAreaOf& WorkAreaOf);
// Fits bounds into a work area, whose edges need not start at 0: a sizeable
// window (unless KeepSize) larger than the work area is first made as large as
// it, never below MinSize; then the window is moved inside. One still larger
// than the work area keeps its left or top part on screen. Centred windows are
// left alone. The arithmetic runs in 64 bits, so no rectangle can overflow it.
TRect cfgFitPlacement(TRect Bounds, const TRect& WorkArea, TFormBorderStyle BorderStyle, TPosition Position,
                      bool KeepSize, TSize MinSize = {1, 1});
// Writes "Left"/"Top" (not centred), "Width"/"Height" (unless KeepSize, sizeable
// styles only) and "State" (1 maximised, else 0).
void cfgSavePlacement(const String& Section, const TcfgWindowPlacement& Window, bool KeepSize);
