// Where an exception goes that must not leave the code that raised it: a timer
// tick, a window procedure, a callback from the system. The application puts
// its handler here at its start (it shows the message or calls OnException);
// code that needs no operating system reports through here as well.
#pragma once
#include <exception>
#include <functional>

#include "platform/object.h"

using TExceptionHandler = std::function<void(TObject* Sender, std::exception_ptr Error)>;

// Installs handler (an empty one removes it) and returns the previous one.
TExceptionHandler SetExceptionHandler(TExceptionHandler handler);
bool HasExceptionHandler();

// Hands error to the installed handler. Without one the error is raised again,
// so the caller (a test, most often) sees it.
void HandleEventException(TObject* Sender, std::exception_ptr error);
