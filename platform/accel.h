// Accelerator characters of captions: "&Name" answers Alt+N.
#pragma once
#include "platform/types.h"

// The character after the first single "&" of Caption ("&&" is a plain "&",
// a trailing "&" names nothing); 0 when there is none.
WideChar AccelCharOf(const WideString& Caption);
// Whether Key is Caption's accelerator, whatever the case of either.
bool IsAccel(WideChar Key, const WideString& Caption);
