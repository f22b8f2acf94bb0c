// The spin edit's value, free of any window: the value lives only in the
// editor's text, so every read parses the text again and every write formats
// it anew, clamped to the limits (-1 in a limit means there is none).
#pragma once
#include <string_view>

#include "platform/geometry.h"
#include "platform/types.h"

enum TNumberMode { nmInteger, nmFloat };

struct TSpinSettings {
  TNumberMode NumberMode = nmInteger;
  String FormatStr = "%g";
  double MinValue = 0.0;
  double MaxValue = 100.0;
};

// x pulled into the limits; a limit of -1 does not apply.
double SpinClamp(const TSpinSettings& Settings, double X);

// The text a written value shows: clamped, then rounded (halves to even) in
// nmInteger mode, or through FormatStr with one floating argument in nmFloat
// mode. A pattern that does not take exactly one float (a language file may
// hold anything) shows as "%g" would.
String SpinText(const TSpinSettings& Settings, double X);

// Number text as users type it: blanks round it, "." or "," as the decimal
// point. False when it is no number.
bool TryReadSpinNumber(std::string_view Text, double& Value);

// The value the text holds: rounded in nmInteger mode; a text that is no
// number reads as MinValue, or 0 when there is no lower limit.
double SpinValue(const TSpinSettings& Settings, std::string_view Text);

// On leaving the field: the text to show instead of Text, when the value it
// holds is out of the limits or is no number; false when it stays as it is.
bool SpinExitText(const TSpinSettings& Settings, std::string_view Text, String& NewText);

// A typed character the editor takes: control characters except Enter, "+",
// "-", digits, and in nmFloat mode "." and ",". A disabled editor takes no
// Backspace and nothing from 32 up.
bool SpinCharAccepted(char16_t Key, TNumberMode Mode, bool EditorEnabled);
// A refused character beeps, unless it is Enter or Escape.
bool SpinCharBeeps(char16_t Key);

// Where the parts go on a Width x Height spin edit.
struct TSpinLayout {
  TRect Holder;  // the editor's holder
  TRect Up;
  TRect Down;
};
TSpinLayout SpinLayout(int Width, int Height, int ButtonWidth);
