// The layer's menu item: its entry shows the shortcut under the names the
// keyboard layout gives its keys, refreshed when the layout changes, and an
// action's caption counts as shown while the item shows it with the marks
// placed elsewhere or in other case.
#pragma once
#include "platform/menus_win.h"

// The shortcut's text: the modifiers and the keys the language names (Enter,
// Insert, arrows…) under the language's names (ShortCutNames); other keys
// as the current keyboard layout names them: letters and digits as the
// characters they type, the rest by the system's key names; keys with fixed
// names (function keys…) as the class layer writes them.
WideString ShortCutToWideText(TShortCut ShortCut);

class TUcMenuItem : public TMenuItem {
 public:
  using TMenuItem::TMenuItem;
  WideString ShortCutText() const override;
  // A keyboard layout other than at the last update writes every entry's text anew first.
  void InitiateAction() override;

 protected:
  std::unique_ptr<TBasicActionLink> CreateActionLink() override;

 private:
  HKL FLayout = nullptr;
};

class TUcMenuActionLink : public TMenuActionLink {
 public:
  using TMenuActionLink::TMenuActionLink;
  // Compared as shown: without accelerator marks, case-insensitively.
  bool IsCaptionLinked() const override;
};
