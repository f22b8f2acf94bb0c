// The combo box's auto-complete as a state machine without windows: given a
// typed character and the box's state it says what becomes of the key, the
// item index, the edit text and its selection, and the drop-down. The window
// side (TUcCustomComboBox) feeds it and carries the answer out.
//
// Edit styles (simple, drop-down): a character typed with the selection
// reaching the text's end completes the text before the selection plus the
// character to the first item beginning with it; the typed part stays as typed
// and the completed rest is selected. Drop-down-list styles: the characters
// typed less than 1250 ms apart form a prefix that selects the first item
// beginning with it.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/clock.h"
#include "platform/types.h"

// The items as the auto-complete sees them: the first item from Start on whose
// text begins with Prefix (case-insensitively), -1 when none; and an item's text.
struct TComboItemLookup {
  std::function<int(const WideString& Prefix, int Start)> FindPrefix;
  std::function<WideString(int Index)> ItemText;
};

// The edit part: its text and selection (in UTF-16 units).
struct TComboEditState {
  WideString Text;
  int SelStart = 0;
  int SelLength = 0;
  bool operator==(const TComboEditState&) const = default;
};

struct TComboKeyResult {
  bool Handled = false;   // the key is used up: it goes no further
  int ItemIndex = -1;     // the item found (with Handled), else -1
  TComboEditState Edit;   // the edit part afterwards (edit styles)
  bool DropDown = false;  // open the drop-down
  bool CloseUp = false;   // close it
};

class TComboAutoComplete {
 public:
  // Characters this far apart (ms) or more begin a new prefix in a drop-down list.
  static constexpr std::uint64_t kResetDelay = 1250;

  // Clock: the time of the keys (nullptr: the program's clock).
  explicit TComboAutoComplete(TClock* Clock = nullptr) : FClock(Clock) {}

  bool AutoDropDown = false;  // a typed character opens the drop-down
  bool AutoCloseUp = false;   // a typed text equal to an item closes it

  // A character for a simple or drop-down combo box.
  TComboKeyResult EditKey(WideChar Key, const TComboEditState& Edit, bool DroppedDown,
                          const TComboItemLookup& Items) const;
  // A character for a drop-down-list combo box; remembers the typed characters.
  TComboKeyResult ListKey(WideChar Key, bool DroppedDown, const TComboItemLookup& Items);

  const WideString& Typed() const { return FTyped; }
  void ResetTyped() { FTyped.clear(); }

 private:
  std::uint64_t Now() const;

  TClock* FClock;
  WideString FTyped;
  std::uint64_t FLastKey = 0;
  bool FHaveLastKey = false;
};

// Whether Text and Item are the same text but for the case of their letters,
// as the list's search compares (a full match closes the drop-down).
bool SameItemText(const WideString& Text, const WideString& Item);
// Whether Item begins with Prefix so compared.
bool StartsWithItemText(const WideString& Item, const WideString& Prefix);
