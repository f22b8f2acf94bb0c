// The edit's buttons and completion free of any window: the stored lines the
// buttons are built from, the face of one button, their layout, and which
// known entry a typed text completes to.
#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/types.h"

// One stored button line: the face in double quotes, a comma, the id.
struct TEditButtonLine {
  String Face;
  int Id = -1;
  friend bool operator==(const TEditButtonLine&, const TEditButtonLine&) = default;
};

// Splits at the last "," (a caption may hold commas; the id never does); the
// face loses one enclosing pair of double quotes; an id that is no number is -1.
TEditButtonLine ParseEditButtonLine(std::string_view Line);
String FormatEditButtonLine(std::string_view Face, int Id);

// A face: [font name ":"] caption ["|" width in units].
struct TEditButtonFace {
  String FontName = "Tahoma";
  String Caption;
  int Units = 1;
  friend bool operator==(const TEditButtonFace&, const TEditButtonFace&) = default;
};
TEditButtonFace ParseEditButtonFace(std::string_view Face);

// A button's width: 15 pixels a unit when flat, 17 otherwise.
int EditButtonWidth(int Units, bool Flat);

struct TEditLayout {
  std::vector<TRect> Buttons;  // in list order: the first at the right end
  TRect Holder;
};
TEditLayout EditLayout(int Width, int Height, const std::vector<int>& ButtonWidths);

// A key after which a changed text completes: none of the editing, moving,
// function and lock keys.
bool EditKeyCompletes(std::uint16_t Key);

// The first known entry that begins with Text, ignoring case, once Text is
// longer than 2 characters; -1 for none.
int EditCompletion(const WideString& Text, const std::vector<WideString>& Items);
