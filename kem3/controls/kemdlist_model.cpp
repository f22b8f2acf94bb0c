// The drop-down list's moves, typed search and popup place.
#include "kem3/controls/kemdlist_model.h"

#include <algorithm>

#include "kem3/unicode/ucsystem.h"
#include "platform/sysutils.h"

bool DropDownMoveTo(TDropDownMove Move, int ItemIndex, int Count, int DropDownCount, int& NewIndex) {
  switch (Move) {
    case dmPrevious:
      if (ItemIndex <= 0) return false;
      NewIndex = ItemIndex - 1;
      return true;
    case dmNext:
      if (ItemIndex >= Count - 1) return false;
      NewIndex = std::max(ItemIndex, -1) + 1;
      return true;
    case dmPageUp:
      if (ItemIndex <= 0) return false;
      NewIndex = std::max(ItemIndex - DropDownCount, 0);
      return true;
    case dmPageDown:
      if (Count <= 0 || ItemIndex >= Count) return false;
      NewIndex = std::min(ItemIndex + DropDownCount, Count - 1);
      return true;
  }
  return false;
}

int TDropDownSearch::Type(char16_t Key, std::uint64_t Now, int ItemIndex, int Count, const TItemText& Item) {
  if (FTyped && Now - FLast >= kPause) FText.clear();
  FLast = Now;
  FTyped = true;
  if (Key == 8) {
    // A pair of surrogates goes as one character.
    if (!FText.empty()) FText.resize(WholeCharsLength(FText, FText.size() - 1));
  } else {
    FText.push_back(Key);
  }
  if (FText.empty() || Count <= 0) return -1;
  if (ItemIndex < -1 || ItemIndex >= Count) ItemIndex = -1;
  for (int k = 0; k < Count; ++k) {
    const int i = (ItemIndex + 1 + k) % Count;
    if (i == ItemIndex) break;
    const WideString text = Item(i);
    if (text.size() >= FText.size() && WideSameText(std::u16string_view(text).substr(0, FText.size()), FText)) return i;
  }
  return -1;
}

int PopupHeight(int DropDownCount, int Count, int ItemHeight) {
  return std::max(std::min(DropDownCount, Count), 0) * ItemHeight + 2;
}

TPoint PopupOrigin(TPoint ControlOrigin, int ControlHeight, int PopupHeight, int ScreenHeight) {
  int y = ControlOrigin.Y + ControlHeight - 1;
  if (ScreenHeight < y + PopupHeight) y = y - ControlHeight - PopupHeight + 2;
  return {ControlOrigin.X, y};
}

int PopupWidth(int ControlWidth, int WidestText, int ScrollBarWidth, int ScreenWidth) {
  // The list writes its entries 2 pixels in from its 1-pixel border; a few
  // more keep the last letter off the edge.
  constexpr int kTextMargins = 2 * (1 + 2) + 4;
  const int needed = WidestText + kTextMargins + ScrollBarWidth;
  return std::min(std::max(ControlWidth, needed), std::max(ControlWidth, ScreenWidth));
}

int PopupLeft(int ControlLeft, int PopupWidth, int ScreenWidth) {
  if (ControlLeft + PopupWidth <= ScreenWidth) return ControlLeft;
  return std::max(0, ScreenWidth - PopupWidth);
}

std::array<TRect, 4> PopupOutsideAreas(const TRect& Popup, int ScreenWidth, int ScreenHeight) {
  return {Rect(0, 0, ScreenWidth, Popup.Top - 1), Rect(0, Popup.Bottom, ScreenWidth, ScreenHeight),
          Rect(0, 0, Popup.Left - 1, ScreenHeight), Rect(Popup.Right, 0, ScreenWidth, ScreenHeight)};
}
