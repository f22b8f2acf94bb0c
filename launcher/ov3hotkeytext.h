// The key-name table and the text form of a hotkey ("f10,ctrl"), as stored in
// the contents and settings files: parsing, formatting, the hook's flags and
// the bar's own group keys.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "kem3/unicode/ucshortcut.h"
#include "platform/types.h"

struct TOvKeyName {
  String DisplayName;  // shown in the hotkey editors, from the language
  int Code = 0;        // virtual-key code
  String Name;         // internal name, stored in files
};

// The language text that names the sixteen named keys and the keypad word,
// and its English names, used until a language gives its own.
inline constexpr int kKeyNamesTextId = 282;
inline constexpr std::string_view kDefaultKeyNamesText =
    "Backspace|Tab|Space|Enter|Insert|Escape|Delete|Pause|Home|Left|End|Right|"
    "Page Up|Up|Page Down|Down|Num";

// Rebuilds the process-wide table of 89 keys; the sixteen named keys and the
// numeric-keypad word take their display names from the "|"-separated pieces
// of Text (missing pieces give empty names).
void ReadKeyNames(std::string_view Text);
const std::vector<TOvKeyName>& KeyNames();

// The language texts listing a modifier's choices in the hotkey editors
// ("No Ctrl|Ctrl|Left Ctrl|Right Ctrl"): Ctrl's, then Alt's, Shift's and
// Windows' (284 to 286); the second choice is the modifier's plain name.
inline constexpr int kCtrlNamesTextId = 283;
// The choices of modifier 0 to 3 (Ctrl, Alt, Shift, Windows) in the current
// language, the English ones until a language gives its own: none, either
// side, left, right.
std::vector<WideString> ModifierChoices(size_t Modifier);
// What menus and hints call keys and modifiers in their shortcut texts: the
// key table's display names of the named and keypad keys, and the plain
// names from the modifier choices (an empty one keeps the English name).
TShortCutNames ShortCutNamesOf(const std::vector<TOvKeyName>& Keys, std::string_view CtrlChoices,
                               std::string_view AltChoices, std::string_view ShiftChoices);
// The key table and the shortcut names from the current language, so that
// the hotkey editors, the menus and the hints name keys alike.
void ReadLanguageKeyNames();
// ReadLanguageKeyNames now and at every language switch, before the forms
// hear of it when called before they exist; the listener's id.
int FollowLanguageKeyNames();

// A modifier's side: absent, either side, left only, right only.
enum TOvModSide : std::uint8_t { modNone = 0, modAny = 1, modLeft = 2, modRight = 3 };

struct TOvHotkey {
  int KeyIndex = -1;  // index into KeyNames(), -1 when the key is unknown
  TOvModSide Ctrl = modNone, Alt = modNone, Shift = modNone, Windows = modNone, Apps = modNone;
};

TOvHotkey ParseHotkeyText(std::string_view Text);
String FormatHotkeyText(const TOvHotkey& Hotkey);
// The keyboard hook's flags for the modifiers.
std::uint16_t HotkeyHookFlags(const TOvHotkey& Hotkey);

// A key of the bar itself (previous/next group): virtual-key code and the
// modifiers as ctrl = 4, alt = 2, shift = 1; sides do not matter. Code 0 is
// no key.
struct TOvBarKey {
  int Code = 0;
  int Shift = 0;
  bool operator==(const TOvBarKey&) const = default;
};
TOvBarKey ParseBarKey(std::string_view Text);
