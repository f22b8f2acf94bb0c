// Answers a modal form the code under test shows itself: a thread timer of
// the GUI thread, run by the modal loop, hands the first visible form of the
// type to the answer (on the GUI thread, so it may read the form), which then
// presses keys on it.
#pragma once
#include <windows.h>

#include <functional>

#include "platform/forms_win.h"
#include "platform/screen_win.h"

namespace modal_answer {

inline std::function<bool()>& Pending() {
  static std::function<bool()> pending;
  return pending;
}

inline void CALLBACK Tick(HWND, UINT, UINT_PTR Id, DWORD) {
  if (!Pending() || !Pending()()) return;
  KillTimer(nullptr, Id);
  Pending() = nullptr;
}

// A key pressed where the form's focus is.
inline void PressKey(TCustomForm& Form, WPARAM Key) {
  HWND target = GetFocus();
  if (!target || (target != Form.Handle() && !IsChild(Form.Handle(), target))) target = Form.Handle();
  PostMessageW(target, WM_KEYDOWN, Key, 1);
  PostMessageW(target, WM_KEYUP, Key, 0xC0000001);
}

// Answer runs once, as soon as a form of type T shows.
template <class T>
void AnswerWhenShown(std::function<void(T&)> Answer) {
  Pending() = [Answer] {
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
      if (auto* form = dynamic_cast<T*>(Screen->Forms(i)); form && form->Visible() && form->Modal()) {
        Answer(*form);
        return true;
      }
    return false;
  };
  SetTimer(nullptr, 0, 20, Tick);
}

}  // namespace modal_answer
