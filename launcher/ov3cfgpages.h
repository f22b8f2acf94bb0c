// What the launcher's own preference pages decide without a window: the
// shortcut rows, the screen-area picture, the list of resource packages and
// the edits of the modules page on the contents document.
#pragma once
#include <array>
#include <string_view>
#include <vector>

#include "launcher/ov3autohide.h"
#include "launcher/ov3hotkeytext.h"
#include "platform/geometry.h"
#include "platform/types.h"

class TKemXmlTag;

// ---- Shortcut rows

struct TOvHotkeyKind {
  const char* Caption;  // language name of the row caption
  int Setting;
  bool Global;  // a global shortcut (four modifier lists) or a key of the bar (three)
};
// Kinds 0-3: focus, auto-hide, previous group, next group.
const TOvHotkeyKind& HotkeyKind(int Kind);

// What a row shows: the key list's entry (0 = no key, else key index + 1) and
// the modifier lists' entries (ctrl, alt, shift, windows). The stored hotkey
// is kept for what the row does not show, so a row left alone writes back
// the text it read, sides of a bar key and the apps modifier included.
struct TOvHotkeyRow {
  int KeyItem = 0;
  std::array<int, 4> Modifiers{};
  TOvHotkey Stored;
};
TOvHotkeyRow HotkeyRowFromText(std::string_view Text, bool Global);
String HotkeyRowText(const TOvHotkeyRow& Row, bool Global);

// ---- Screen areas

using TOvAreaFlags = std::array<bool, kScreenAreaCount>;
// Area n is on when the text holds the digit n; other characters do not count.
TOvAreaFlags AreasFromText(std::string_view Text);
// The numbers of the areas that are on, ascending, joined by ",".
String AreasText(const TOvAreaFlags& Flags);
// The areas the bar's hide edge calls it back from (the automatic set).
TOvAreaFlags AutomaticAreas(bool Vertical, TPoint BarPos, int ScreenWidth, int ScreenHeight);

// The area picture of Width x Height: edge bands EdgeSize * 2 + 2 thick,
// corner squares CornerSize * 2 + 2 wide, drawn in area order.
TRect AreaPictureRect(int Area, int Width, int Height, int EdgeSize, int CornerSize);
// The area drawn last at (X, Y) (the hit map), or -1.
int AreaAt(int X, int Y, int Width, int Height, int EdgeSize, int CornerSize);

struct TOvAreaView {
  TOvAreaFlags Custom{};
  TOvAreaFlags Automatic{};
  bool Enabled = false;  // the custom set is chosen
  int Pressed = -1;
  bool PressedInside = false;
};
// The colour (red in the low byte) the picture fills an area with.
int AreaColor(const TOvAreaView& View, int Area);

// The monitor and area pictures' widths on a screen of that size.
int MonitorPictureWidth(int ScreenWidth, int ScreenHeight);
int AreaPictureWidth(int ScreenWidth, int ScreenHeight);

// ---- Resource packages

// "libid=name;file" for every package of ResourceDir (with its delimiter)
// matching "*.drl" that names its library and itself, sorted; a package that
// cannot be read is left out like one without a library id.
std::vector<String> ReadPackageList(const String& ResourceDir);

// ---- The modules page

enum TOvParamType { optOther, optInteger, optBoolean, optResource };

struct TOvModuleParam {
  TKemXmlTag* Element = nullptr;
  String Title, List;
  TOvParamType Type = optOther;
  String Value;  // the value to write, in the element's form
};

// The modules page's help as layout paragraphs: a rule in the "hintline"
// style (its end is the layout's picture 0), then each text in "hinttext" (language texts keep their mark-up).
std::vector<WideString> ModulesHelpMarkup(const WideString& DragText, const WideString& DeactivateText);

struct TOvModuleRecord {
  TKemXmlTag* Element = nullptr;
  bool Active = true;
  bool Changed = false;
  std::vector<TOvModuleParam> Params;
};

struct TOvModulesApply {
  std::vector<String> Reload;  // active changed modules, by element name
  bool Rearrange = false;      // the order or an active state changed
};

class TOvModulesModel {
 public:
  // Modules: the "modules" element of the contents (may be nil).
  TOvModulesModel(TKemXmlTag* Modules, std::vector<String> Packages);

  // Document order.
  std::vector<TOvModuleRecord> Records;
  // The panel list's order, as indexes into Records.
  std::vector<int> Order;
  bool OrderChanged = false;
  bool ActiveChanged = false;

  // The icon panel is placed like a module but always shown.
  bool CanDeactivate(int Record) const;
  void Toggle(int Record);
  // The panel list moved its item From to To.
  void Move(int From, int To);
  // The values a module's controls show, in parameter order and in the
  // element's form; a module whose shown value differs from its element
  // becomes changed.
  void StoreShown(int Record, const std::vector<String>& Values);

  // The names of the packages of library List, and the entry showing Value (else 0).
  std::vector<String> ResourceNames(const String& List) const;
  int ResourceIndex(const String& List, const String& Value) const;
  // The file name behind entry Index; Stored when the library has no package.
  String ResourceValue(const String& List, int Index, const String& Stored) const;

  // Writes the changed modules and the order into the document.
  TOvModulesApply Apply();

 private:
  // The names (or file names) of the packages of library List.
  std::vector<String> PackagesOf(const String& List, bool FileNames) const;
  std::vector<String> FPackages;
};
