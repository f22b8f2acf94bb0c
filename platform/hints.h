// The two parts of a hint: "short|long". The short part shows in the hint
// window, the long part goes to the application's Hint (a status line).
#pragma once
#include "platform/types.h"

// The part before the first "|"; the whole hint when there is none.
WideString GetShortHint(const WideString& Hint);
// The part after the first "|"; the whole hint when there is none.
WideString GetLongHint(const WideString& Hint);
