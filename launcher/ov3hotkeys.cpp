// Hotkey collection, numbering and the decisions of a press.
#include "launcher/ov3hotkeys.h"

#include <algorithm>

#include "kem3/framework/kemxml.h"
#include "launcher/ov3contents.h"
#include "launcher/ov3hotkeytext.h"
#include "platform/sysutils.h"

String NormaliseHotkeyText(std::string_view Text) {
  const TOvHotkey Hotkey = ParseHotkeyText(Text);
  if (Hotkey.KeyIndex < 0) return LowerCase(Text);
  return FormatHotkeyText(Hotkey);
}

void TOvHotkeyTable::Clear() {
  FCollected.clear();
  FDistinct.clear();
}

void TOvHotkeyTable::AddIcons(const std::vector<TKemXmlTag*>& Groups) {
  for (TKemXmlTag* Group : Groups)
    for (TKemXmlTag* Icon : ListIcons(Group))
      for (TKemXmlTag* Shortcut : Icon->FindAll("shortcut")) AddIcon(Icon, Shortcut->ReadAttr("key"));
}

void TOvHotkeyTable::AddIcon(TKemXmlTag* Icon, std::string_view Text) {
  if (Text.empty()) return;
  FCollected.push_back({NormaliseHotkeyText(Text), {Icon, 0}});
}

void TOvHotkeyTable::AddOwn(int Own, std::string_view Text) {
  if (Text.empty() || LowerCase(Text).find("none,") != String::npos) return;
  FCollected.push_back({NormaliseHotkeyText(Text), {nullptr, Own}});
}

std::vector<TOvHookKey> TOvHotkeyTable::Apply() {
  FDistinct.clear();
  for (const TEntry& E : FCollected) FDistinct.push_back(E.Text);
  // Sorted without regard to case, as the bar's string lists sort.
  auto Less = [](const String& A, const String& B) { return LowerCase(A) < LowerCase(B); };
  std::sort(FDistinct.begin(), FDistinct.end(), Less);
  FDistinct.erase(
      std::unique(FDistinct.begin(), FDistinct.end(), [](const String& A, const String& B) { return SameText(A, B); }),
      FDistinct.end());
  std::vector<TOvHookKey> Keys;
  for (size_t I = 0; I < FDistinct.size(); ++I) {
    const TOvHotkey Hotkey = ParseHotkeyText(FDistinct[I]);
    if (Hotkey.KeyIndex < 0) continue;
    Keys.push_back({static_cast<int>(I) + 1, static_cast<std::uint8_t>(KeyNames()[Hotkey.KeyIndex].Code),
                    HotkeyHookFlags(Hotkey)});
  }
  return Keys;
}

std::vector<TOvHotkeyTarget> TOvHotkeyTable::FindTargets(int N) const {
  std::vector<TOvHotkeyTarget> Targets;
  if (N < 1 || N > static_cast<int>(FDistinct.size())) return Targets;
  for (const TEntry& E : FCollected)
    if (SameText(E.Text, FDistinct[N - 1])) Targets.push_back(E.Target);
  return Targets;
}

TOvHotkeyPress SplitHotkeyTargets(const std::vector<TOvHotkeyTarget>& Targets) {
  TOvHotkeyPress Press;
  for (const TOvHotkeyTarget& T : Targets) {
    if (T.Icon)
      Press.Icons.push_back(T.Icon);
    else if (T.Own > 0 && T.Own < 32)
      Press.Own.push_back(T.Own);
  }
  return Press;
}

TOvAutoHideKeyAction AutoHideKeyAction(bool AutoHide, bool Hidden, bool AppActive, bool DesktopInFront) {
  if (AutoHide) return Hidden ? akaShowAndStop : akaHideNow;
  // The first press over another program only brings the bar forward; over
  // the bar itself or the desktop it hides the bar.
  if (!AppActive && !DesktopInFront) return akaBringToFront;
  return akaStartAndHide;
}

TOvChooserKeyResult ChooserKeyDown(int Key, int Count, int& Index) {
  constexpr int kReturn = 13, kEnd = 35, kHome = 36, kUp = 38, kDown = 40;
  const int Last = std::max(Count - 1, 0);
  switch (Key) {
    case kReturn:
      return ckrOk;
    case kHome:
      Index = 0;
      return ckrMove;
    case kEnd:
      Index = Last;
      return ckrMove;
    case kUp:
      Index = std::max(Index - 1, 0);
      return ckrMove;
    case kDown:
      Index = std::min(Index + 1, Last);
      return ckrMove;
    default:
      return ckrCancel;
  }
}

int ChooserListHeight(int Count, int ItemHeight, int Available) {
  if (ItemHeight <= 0) return 0;
  const int Rows = std::min(Count, std::max(Available / ItemHeight, 1));
  return std::max(Rows, 0) * ItemHeight;
}
