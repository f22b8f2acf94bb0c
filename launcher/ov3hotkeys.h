// The global hotkeys as the bar numbers them: every icon's shortcut keys and
// the bar's own two keys, collected, numbered by their sorted distinct texts,
// and looked up again when the keyboard hook reports a number; plus the
// decisions that follow a press (start an icon, open the chooser, run an own
// command) and the chooser's keys.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/types.h"

class TKemXmlTag;

// The bar's own commands, as hotkey targets.
enum TOvOwnHotkey { ohkFocus = 1, ohkAutoHide = 2 };

// One text per key: parsed and formatted again, so "a,alt+ctrl" and
// "A,Ctrl+Alt" are one key. A text whose key is unknown keeps its own
// (lower-cased) text, so it still has a number of its own.
String NormaliseHotkeyText(std::string_view Text);

struct TOvHotkeyTarget {
  TKemXmlTag* Icon = nullptr;  // an icon of the contents
  int Own = 0;                 // else one of the bar's own commands
  bool operator==(const TOvHotkeyTarget&) const = default;
};

// What the keyboard hook is told for one number.
struct TOvHookKey {
  int Id = 0;  // 1-based
  std::uint8_t Code = 0;
  std::uint16_t Flags = 0;
};

class TOvHotkeyTable {
 public:
  void Clear();
  // Every "key" of every "shortcut" of every icon, in document order; empty keys skipped.
  void AddIcons(const std::vector<TKemXmlTag*>& Groups);
  void AddIcon(TKemXmlTag* Icon, std::string_view Text);
  // An own key is left out when its text holds "none,".
  void AddOwn(int Own, std::string_view Text);
  // Numbers the distinct texts (sorted) and gives the keys to hand to the
  // hook; a text with an unknown key keeps its number but is not sent.
  std::vector<TOvHookKey> Apply();
  // The targets of number N, in the order they were collected.
  std::vector<TOvHotkeyTarget> FindTargets(int N) const;
  const std::vector<String>& Distinct() const { return FDistinct; }

 private:
  struct TEntry {
    String Text;
    TOvHotkeyTarget Target;
  };
  std::vector<TEntry> FCollected;
  std::vector<String> FDistinct;
};

// A press split into icons and own commands: icons win.
struct TOvHotkeyPress {
  std::vector<TKemXmlTag*> Icons;
  std::vector<int> Own;
};
TOvHotkeyPress SplitHotkeyTargets(const std::vector<TOvHotkeyTarget>& Targets);

// The auto-hide key's effect from the bar's state.
enum TOvAutoHideKeyAction {
  akaShowAndStop,   // auto-hide off, the hidden bar comes back
  akaHideNow,       // the visible bar hides at once
  akaBringToFront,  // another program is in front: only take the foreground
  akaStartAndHide,  // auto-hide on and hide at once
};
TOvAutoHideKeyAction AutoHideKeyAction(bool AutoHide, bool Hidden, bool AppActive, bool DesktopInFront);

// The chooser's answer to a key: close with OK or Cancel, or select another row.
enum TOvChooserKeyResult { ckrNone, ckrOk, ckrCancel, ckrMove };
TOvChooserKeyResult ChooserKeyDown(int Key, int Count, int& Index);
// The list's height: whole rows, no taller than Available.
int ChooserListHeight(int Count, int ItemHeight, int Available);
