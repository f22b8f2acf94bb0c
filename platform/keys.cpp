// Shortcut codes and their texts.
#include "platform/keys.h"

#include "platform/sysutils.h"

namespace {

// The fixed English key names of shortcut texts; other keys have none.
String KeyName(unsigned key) {
  switch (key) {
    case VK_BACK:
      return "BkSp";
    case VK_TAB:
      return "Tab";
    case VK_ESCAPE:
      return "Esc";
    case VK_RETURN:
      return "Enter";
    case VK_SPACE:
      return "Space";
    case VK_PRIOR:
      return "PgUp";
    case VK_NEXT:
      return "PgDn";
    case VK_END:
      return "End";
    case VK_HOME:
      return "Home";
    case VK_LEFT:
      return "Left";
    case VK_UP:
      return "Up";
    case VK_RIGHT:
      return "Right";
    case VK_DOWN:
      return "Down";
    case VK_INSERT:
      return "Ins";
    case VK_DELETE:
      return "Del";
    default:
      break;
  }
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, static_cast<char>(key));
  // Appended rather than concatenated: GCC 12 warns wrongly about "x" + String&&.
  String name;
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
    name = "Num ";
    name += IntToStr(key - VK_NUMPAD0);
  } else if (key >= VK_F1 && key <= VK_F24) {
    name = "F";
    name += IntToStr(key - VK_F1 + 1);
  }
  return name;
}

// Removes a leading "Name+" (any case) from text and says whether it was there.
bool TakePrefix(std::string_view& text, std::string_view name) {
  if (text.size() <= name.size() || text[name.size()] != '+') return false;
  if (!SameText(text.substr(0, name.size()), name)) return false;
  text.remove_prefix(name.size() + 1);
  return true;
}

}  // namespace

TShortCut ShortCut(std::uint16_t Key, TShiftState Shift) {
  TShortCut result = Key & 0xFF;
  if (Shift.Contains(ssShift)) result |= scShift;
  if (Shift.Contains(ssCtrl)) result |= scCtrl;
  if (Shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut ShortCut, std::uint16_t& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = TShiftState();
  if (ShortCut & scShift) Shift.Include(ssShift);
  if (ShortCut & scCtrl) Shift.Include(ssCtrl);
  if (ShortCut & scAlt) Shift.Include(ssAlt);
}

String ShortCutPrefix(TShortCut ShortCut) {
  String prefix;
  if (ShortCut & scShift) prefix += "Shift+";
  if (ShortCut & scCtrl) prefix += "Ctrl+";
  if (ShortCut & scAlt) prefix += "Alt+";
  return prefix;
}

String ShortCutToText(TShortCut ShortCut) {
  String name = KeyName(ShortCut & 0xFF);
  if (name.empty()) return "";
  return ShortCutPrefix(ShortCut) + name;
}

TShortCut TextToShortCut(std::string_view Text) {
  TShortCut modifiers = 0;
  for (;;) {
    if (TakePrefix(Text, "Shift")) {
      modifiers |= scShift;
    } else if (TakePrefix(Text, "Ctrl")) {
      modifiers |= scCtrl;
    } else if (TakePrefix(Text, "Alt")) {
      modifiers |= scAlt;
    } else {
      break;
    }
  }
  if (Text.empty()) return 0;
  for (unsigned key = 1; key <= 0xFF; ++key) {
    const String name = KeyName(key);
    if (!name.empty() && SameText(name, Text)) return static_cast<TShortCut>(key | modifiers);
  }
  return 0;
}
