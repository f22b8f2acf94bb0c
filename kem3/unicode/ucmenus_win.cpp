// TUcMenuItem and the wide shortcut text.
#include "kem3/unicode/ucmenus_win.h"

#include "kem3/unicode/ucaccel.h"
#include "kem3/unicode/ucshortcut.h"
#include "platform/unicode_convert.h"

namespace {

bool HasFixedName(unsigned Key) {
  const bool typed =
      (Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z') || (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9);
  return !typed && !ShortCutToText(static_cast<TShortCut>(Key)).empty();
}

WideString LayoutKeyName(unsigned Key) {
  if (Key >= '0' && Key <= '9' && LOBYTE(VkKeyScanW(static_cast<WCHAR>(Key))) == Key)
    return WideString(1, WideChar(Key));
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z') || (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)) {
    const UINT typed = MapVirtualKeyW(Key, MAPVK_VK_TO_CHAR) & 0xFFFF;
    return typed ? WideString(1, static_cast<WideChar>(typed)) : WideString();
  }
  const LONG scan = static_cast<LONG>(MapVirtualKeyW(Key, MAPVK_VK_TO_VSC)) << 16;
  wchar_t name[64] = {};
  const int length = GetKeyNameTextW(scan, name, 64);
  return WideString(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(length > 0 ? length : 0));
}

}  // namespace

WideString ShortCutToWideText(TShortCut ShortCut) {
  const unsigned key = ShortCut & 0xFF;
  WideString name = ShortCutKeyName(ShortCut);
  if (name.empty() && !HasFixedName(key)) name = LayoutKeyName(key);
  // A key the layout does not name keeps the class layer's name.
  if (name.empty()) name = Utf8ToWide(ShortCutToText(static_cast<TShortCut>(key)));
  if (name.empty()) return {};
  return ShortCutModifierText(ShortCut) + name;
}

WideString TUcMenuItem::ShortCutText() const { return ShortCutToWideText(ShortCut()); }

void TUcMenuItem::InitiateAction() {
  HKL layout = GetKeyboardLayout(0);
  if (layout != FLayout) {
    FLayout = layout;
    UpdateEntryText();
  }
  TMenuItem::InitiateAction();
}

std::unique_ptr<TBasicActionLink> TUcMenuItem::CreateActionLink() { return std::make_unique<TUcMenuActionLink>(this); }

bool TUcMenuActionLink::IsCaptionLinked() const {
  return TBasicActionLink::IsCaptionLinked() && WideSameCaption(Action()->Caption(), Client()->Caption());
}
