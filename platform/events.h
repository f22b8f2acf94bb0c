// Event types: std::function members named as the program names them, sender first.
#pragma once
#include <functional>

#include "platform/object.h"

using TNotifyEvent = std::function<void(TObject* Sender)>;
