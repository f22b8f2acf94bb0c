// Keys as a user presses them: WM_KEYDOWN and WM_KEYUP sent to the window
// that has the focus, with modifiers held in the thread's keyboard state.
#pragma once
#include <windows.h>

#include <initializer_list>

// Holds the given keys down in the thread's keyboard state for its lifetime.
class TKeysDown {
 public:
  explicit TKeysDown(std::initializer_list<int> keys) {
    GetKeyboardState(FSaved);
    BYTE state[256] = {};
    for (int k : keys) state[k] = 0x80;
    SetKeyboardState(state);
  }
  ~TKeysDown() { SetKeyboardState(FSaved); }
  TKeysDown(const TKeysDown&) = delete;
  TKeysDown& operator=(const TKeysDown&) = delete;

 private:
  BYTE FSaved[256];
};

// One press and release of Key at the focused window (nothing without one).
inline void PressFocused(WPARAM Key, std::initializer_list<int> Held = {}) {
  TKeysDown held(Held);
  HWND target = GetFocus();
  if (!target) return;
  SendMessageW(target, WM_KEYDOWN, Key, 1);
  if (IsWindow(target)) SendMessageW(target, WM_KEYUP, Key, 0xC0000001);
}
