// The drop-down list's choices free of any window: the moves of the keys and
// the wheel, the search of typed characters, and where its popup goes and
// which screen areas close it.
#pragma once
#include <array>
#include <cstdint>
#include <functional>

#include "platform/geometry.h"
#include "platform/types.h"

enum TDropDownMove { dmPrevious, dmNext, dmPageUp, dmPageDown };

// The entry a move selects, from ItemIndex in a list of Count entries; false
// when the move does nothing (no OnChange). Previous, next and Page Up stop at
// the ends; Page Down on the last entry stays there but still counts as a move.
bool DropDownMoveTo(TDropDownMove Move, int ItemIndex, int Count, int DropDownCount, int& NewIndex);

// The characters typed for auto-completion, with the time of the last one.
class TDropDownSearch {
 public:
  static constexpr std::uint64_t kPause = 500;  // ms after which a new search begins

  // The item text of an index.
  using TItemText = std::function<WideString(int Index)>;

  // One typed character at Now: Backspace takes the last character off,
  // others are appended. The result is the entry to select: the first after
  // ItemIndex (wrapping round, ItemIndex itself not tested) that begins with
  // the search text, ignoring case; -1 when none does.
  int Type(char16_t Key, std::uint64_t Now, int ItemIndex, int Count, const TItemText& Item);
  const WideString& Text() const { return FText; }

 private:
  WideString FText;
  std::uint64_t FLast = 0;
  bool FTyped = false;
};

// The popup shows at most DropDownCount entries, with a pixel of border above and below.
int PopupHeight(int DropDownCount, int Count, int ItemHeight);

// The popup's top left on the screen for a control whose top left is at
// ControlOrigin: just below the control, overlapping its bottom edge by a
// pixel, or above it when it would pass the screen bottom.
TPoint PopupOrigin(TPoint ControlOrigin, int ControlHeight, int PopupHeight, int ScreenHeight);

// The popup's width: the control's, or wider when its longest entry (text
// width plus the list's text margins, borders and scroll bar) needs more;
// never wider than the screen.
int PopupWidth(int ControlWidth, int WidestText, int ScrollBarWidth, int ScreenWidth);

// The popup's left edge: the control's, unless the popup would pass the
// screen's right edge: then moved left, but not past the screen's left edge.
int PopupLeft(int ControlLeft, int PopupWidth, int ScreenWidth);

// The four rectangles that make area 0 of the mouse hook: the whole screen
// but the popup. The hook's rectangles include their right and bottom edges.
std::array<TRect, 4> PopupOutsideAreas(const TRect& Popup, int ScreenWidth, int ScreenHeight);
