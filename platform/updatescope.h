// TUpdateScope: BeginUpdate for the length of a block, EndUpdate however it
// ends, for anything that batches its changes that way (string lists, tree
// nodes, the INI file).
#pragma once
#include <exception>

template <class T>
class TUpdateScope {
 public:
  explicit TUpdateScope(T& Target) : FTarget(Target), FUnwinding(std::uncaught_exceptions()) { FTarget.BeginUpdate(); }
  // A fault of the last EndUpdate (a change handler, a save) reaches the
  // caller; while an earlier fault unwinds the block, that one is told and
  // the closing one dropped, as two cannot leave a destructor at once.
  ~TUpdateScope() noexcept(false) {
    if (std::uncaught_exceptions() == FUnwinding) {
      FTarget.EndUpdate();
      return;
    }
    try {
      FTarget.EndUpdate();
    } catch (...) {
    }
  }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  T& FTarget;
  int FUnwinding;
};
