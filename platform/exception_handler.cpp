// The process-wide handler of exceptions raised in events.
#include "platform/exception_handler.h"

#include <utility>

namespace {

TExceptionHandler& Handler() {
  static TExceptionHandler handler;
  return handler;
}

}  // namespace

TExceptionHandler SetExceptionHandler(TExceptionHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

bool HasExceptionHandler() { return static_cast<bool>(Handler()); }

void HandleEventException(TObject* Sender, std::exception_ptr error) {
  // A copy: the handler may install another one while it runs.
  TExceptionHandler handler = Handler();
  if (!handler) std::rethrow_exception(error);
  handler(Sender, error);
}
