// Drives the file browser dialog while it shows modally: steps run one after
// the other on a timer of the modal loop.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <vector>

#include "kem3/browser/kembrowser_win.h"
#include "kem3/controls/kemlview_win.h"
#include "support/modal_answer_win.h"

namespace browser_steps {

// Runs the steps one after the other on the modal loop's timer: a step that
// returns false is tried again at the next beat; a step that takes longer
// than Limit ends the dialog, failing.
struct TSteps {
  using TStep = std::function<bool(TdBrowser&)>;
  std::vector<TStep> Steps;
  size_t Next = 0;
  std::chrono::steady_clock::time_point Since = std::chrono::steady_clock::now();
  bool TimedOut = false;
};
inline TSteps* RunningSteps = nullptr;

inline void CALLBACK StepTick(HWND, UINT, UINT_PTR Id, DWORD) {
  if (!RunningSteps) return;
  TSteps& s = *RunningSteps;
  TdBrowser* dialog = nullptr;
  for (int i = 0; Screen && i < Screen->FormCount(); ++i)
    if (auto* form = dynamic_cast<TdBrowser*>(Screen->Forms(i)); form && form->Visible() && form->Modal())
      dialog = form;
  if (!dialog) return;
  if (s.Next >= s.Steps.size()) {
    KillTimer(nullptr, Id);
    return;
  }
  if (s.Steps[s.Next](*dialog)) {
    ++s.Next;
    s.Since = std::chrono::steady_clock::now();
  } else if (std::chrono::steady_clock::now() - s.Since > std::chrono::seconds(5)) {
    s.TimedOut = true;
    KillTimer(nullptr, Id);
    dialog->SetModalResult(mrCancel);
  }
}

// Runs Show (which shows the browser modally) with the steps; false when a step timed out.
inline int RunSteps(std::vector<TSteps::TStep> Steps, const std::function<void()>& Show) {
  TSteps steps{std::move(Steps)};
  RunningSteps = &steps;
  // A thread timer outlives the dialog: it must end here, not at a later tick
  // that would find no dialog (and no steps) to drive.
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, StepTick);
  Show();
  KillTimer(nullptr, timer);
  RunningSteps = nullptr;
  return steps.TimedOut ? -1 - static_cast<int>(steps.Next) : static_cast<int>(steps.Next);
}

inline std::vector<WideString> Names(const TdBrowser& D) {
  std::vector<WideString> names;
  for (int i = 0; i < D.Model().Count(); ++i) names.push_back(D.Model().Entry(i).Name);
  return names;
}

// Waits until the listing ended with these names.
inline TSteps::TStep Listed(std::vector<WideString> Expected) {
  return [Expected](TdBrowser& D) { return D.Idle() && Names(D) == Expected; };
}

// Selects the entry (-1: leaves the selection) and presses the key (0: none) in the list.
inline TSteps::TStep Press(int Entry, WPARAM Key) {
  return [Entry, Key](TdBrowser& D) {
    D.lvFiles->SetFocus();
    if (Entry >= 0) D.SelectEntry(Entry);
    if (Key) modal_answer::PressKey(D, Key);
    return true;
  };
}

}  // namespace browser_steps
