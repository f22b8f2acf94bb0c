// A stroke font for the package art: capitals and digits as polylines on a
// grid four units wide and six high, drawn as round-ended strokes, so any
// size stays crisp. Only the characters the art needs are there.
#pragma once
#include <string_view>

#include "artcanvas.h"

namespace art {

// The text as one shape: its cell height is Height pixels, its strokes
// StrokeWidth pixels wide, centred on (CX, CY). Unknown characters are blank.
TShape TextShape(std::string_view Text, double CX, double CY, double Height, double StrokeWidth);
// The width of the text's strokes in pixels at that height.
double TextWidth(std::string_view Text, double Height);

}  // namespace art
