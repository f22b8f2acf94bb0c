// Key-name table and hotkey texts.
#include "launcher/ov3hotkeytext.h"

#include <array>

#include "kem3/framework/kemlan.h"
#include "kem3/framework/kemutil.h"
#include "platform/sysutils.h"
#include "platform/unicode_convert.h"

namespace {

std::vector<TOvKeyName> GKeyNames;

// The modifiers' choices in English, until a language gives its own.
constexpr std::array<const char16_t*, 4> kModifierChoices = {
    u"No Ctrl|Ctrl|Left Ctrl|Right Ctrl", u"No Alt|Alt|Left Alt|Right Alt", u"No Shift|Shift|Left Shift|Right Shift",
    u"No Windows|Windows|Left Windows|Right Windows"};
WideString ModifierChoicesText(size_t Modifier) {
  return TranslateIndex(kCtrlNamesTextId + static_cast<int>(Modifier), kModifierChoices.at(Modifier));
}

struct TNamedKey {
  const char* Name;
  int Code;
};
// In the order the language text names them.
constexpr std::array<TNamedKey, 16> kNamedKeys = {{{"backspace", 8},
                                                   {"tabulator", 9},
                                                   {"space", 32},
                                                   {"return", 13},
                                                   {"insert", 45},
                                                   {"escape", 27},
                                                   {"delete", 46},
                                                   {"pause", 19},
                                                   {"home", 36},
                                                   {"left", 37},
                                                   {"end", 35},
                                                   {"right", 39},
                                                   {"pageup", 33},
                                                   {"up", 38},
                                                   {"pagedown", 34},
                                                   {"down", 40}}};

constexpr std::array<TNamedKey, 14> kKeypadKeys = {{{"0", 96},
                                                    {"1", 97},
                                                    {"2", 98},
                                                    {"3", 99},
                                                    {"4", 100},
                                                    {"5", 101},
                                                    {"6", 102},
                                                    {"7", 103},
                                                    {"8", 104},
                                                    {"9", 105},
                                                    {"+", 107},
                                                    {"-", 109},
                                                    {"*", 106},
                                                    {"/", 111}}};

TOvModSide FindModifier(const String& Rest, const String& Word) {
  if (Rest.find(Word + "-right") != String::npos) return modRight;
  if (Rest.find(Word + "-left") != String::npos) return modLeft;
  if (Rest.find(Word) != String::npos) return modAny;
  return modNone;
}

void AppendModifier(String& Out, const char* Word, TOvModSide Side) {
  if (Side == modNone) return;
  if (!Out.empty()) Out += '+';
  Out += Word;
  if (Side == modLeft) Out += "-left";
  if (Side == modRight) Out += "-right";
}

std::uint16_t SideFlags(TOvModSide Side, std::uint16_t Any, std::uint16_t Left, std::uint16_t Right) {
  switch (Side) {
    case modAny:
      return Any;
    case modLeft:
      return Left;
    case modRight:
      return Right;
    default:
      return 0;
  }
}

}  // namespace

void ReadKeyNames(std::string_view Text) {
  std::vector<TOvKeyName> Table;
  Table.reserve(89);
  for (char C = 'A'; C <= 'Z'; ++C) Table.push_back({String(1, C), C, String(1, C)});
  for (char C = '0'; C <= '9'; ++C) Table.push_back({String(1, C), C, String(1, C)});
  for (int N = 1; N <= 23; ++N) Table.push_back({"F" + IntToStr(N), 111 + N, "f" + IntToStr(N)});
  std::vector<String> Pieces;
  for (String Rest(Text); !Rest.empty();) Pieces.push_back(CutToken(Rest, '|'));
  auto Piece = [&](size_t I) { return I < Pieces.size() ? Pieces[I] : String(); };
  for (size_t I = 0; I < kNamedKeys.size(); ++I) Table.push_back({Piece(I), kNamedKeys[I].Code, kNamedKeys[I].Name});
  const String Keypad = Piece(kNamedKeys.size());
  for (const TNamedKey& K : kKeypadKeys) Table.push_back({Keypad + " " + K.Name, K.Code, String("numpad") + K.Name});
  GKeyNames = std::move(Table);
}

const std::vector<TOvKeyName>& KeyNames() {
  if (GKeyNames.empty()) ReadKeyNames(kDefaultKeyNamesText);
  return GKeyNames;
}

TShortCutNames ShortCutNamesOf(const std::vector<TOvKeyName>& Keys, std::string_view CtrlChoices,
                               std::string_view AltChoices, std::string_view ShiftChoices) {
  const auto plain = [](std::string_view Choices) {
    String rest(Choices);
    CutToken(rest, '|');
    return Utf8ToWide(Trim(CutToken(rest, '|')));
  };
  TShortCutNames names;
  names.Ctrl = plain(CtrlChoices);
  names.Alt = plain(AltChoices);
  names.Shift = plain(ShiftChoices);
  // Letters, digits and function keys read the same in every language: the
  // keyboard layout names the first two.
  for (const TOvKeyName& key : Keys) {
    const bool typed = (key.Code >= 'A' && key.Code <= 'Z') || (key.Code >= '0' && key.Code <= '9');
    const bool function = key.Code >= 0x70 && key.Code <= 0x87;
    if (!typed && !function && !key.DisplayName.empty())
      names.Keys[static_cast<unsigned>(key.Code)] = Utf8ToWide(key.DisplayName);
  }
  return names;
}

std::vector<WideString> ModifierChoices(size_t Modifier) { return SplitWideText(ModifierChoicesText(Modifier), u'|'); }

void ReadLanguageKeyNames() {
  ReadKeyNames(WideToUtf8(TranslateIndex(kKeyNamesTextId, Utf8ToWide(kDefaultKeyNamesText))));
  const auto text = [](size_t Modifier) { return WideToUtf8(ModifierChoicesText(Modifier)); };
  SetShortCutNames(ShortCutNamesOf(KeyNames(), text(0), text(1), text(2)));
}

int FollowLanguageKeyNames() {
  ReadLanguageKeyNames();
  return RegisterLanguageListener(ReadLanguageKeyNames);
}

TOvHotkey ParseHotkeyText(std::string_view Text) {
  TOvHotkey Result;
  const size_t Comma = Text.find(',');
  const std::string_view Key = Text.substr(0, Comma);
  const std::vector<TOvKeyName>& Table = KeyNames();
  for (int I = static_cast<int>(Table.size()) - 1; I >= 0; --I)
    if (SameText(Table[I].Name, Key)) {
      Result.KeyIndex = I;
      break;
    }
  const String Rest = Comma == std::string_view::npos ? String() : LowerCase(Text.substr(Comma + 1));
  Result.Ctrl = FindModifier(Rest, "ctrl");
  Result.Alt = FindModifier(Rest, "alt");
  Result.Shift = FindModifier(Rest, "shift");
  Result.Windows = FindModifier(Rest, "windows");
  Result.Apps = FindModifier(Rest, "apps");
  return Result;
}

String FormatHotkeyText(const TOvHotkey& Hotkey) {
  const std::vector<TOvKeyName>& Table = KeyNames();
  if (Hotkey.KeyIndex < 0 || Hotkey.KeyIndex >= static_cast<int>(Table.size())) return "none,none";
  String Mods;
  AppendModifier(Mods, "ctrl", Hotkey.Ctrl);
  AppendModifier(Mods, "alt", Hotkey.Alt);
  AppendModifier(Mods, "shift", Hotkey.Shift);
  AppendModifier(Mods, "windows", Hotkey.Windows);
  AppendModifier(Mods, "apps", Hotkey.Apps);
  return Table[Hotkey.KeyIndex].Name + "," + (Mods.empty() ? String("none") : Mods);
}

std::uint16_t HotkeyHookFlags(const TOvHotkey& Hotkey) {
  return static_cast<std::uint16_t>(SideFlags(Hotkey.Ctrl, 0x400, 0x200, 0x100) |
                                    SideFlags(Hotkey.Alt, 0x40, 0x20, 0x10) | SideFlags(Hotkey.Shift, 0x4, 0x2, 0x1) |
                                    SideFlags(Hotkey.Windows, 0x4000, 0x2000, 0x1000) |
                                    (Hotkey.Apps == modAny ? 0x8000 : 0));
}

TOvBarKey ParseBarKey(std::string_view Text) {
  const TOvHotkey Hotkey = ParseHotkeyText(Text);
  TOvBarKey Result;
  if (Hotkey.KeyIndex >= 0) Result.Code = KeyNames()[Hotkey.KeyIndex].Code;
  if (Hotkey.Ctrl != modNone) Result.Shift |= 4;
  if (Hotkey.Alt != modNone) Result.Shift |= 2;
  if (Hotkey.Shift != modNone) Result.Shift |= 1;
  return Result;
}
