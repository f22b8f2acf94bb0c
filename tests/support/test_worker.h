// A test's worker thread: runs a lambda, is started by the test, and is waited
// for when it goes out of scope so no test leaves a thread running.
#pragma once
#include <functional>
#include <utility>

#include "platform/threads.h"

namespace testsupport {

class TWorker : public TThread {
 public:
  explicit TWorker(std::function<void()> body) : TThread(true), FBody(std::move(body)) {}
  ~TWorker() override {
    if (!Suspended()) WaitFor();
  }

 protected:
  void Execute() override { FBody(); }

 private:
  std::function<void()> FBody;
};

}  // namespace testsupport
