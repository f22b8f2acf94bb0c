// Keys and mouse clicks as a user gives them (SendInput): they reach whatever
// window has the focus or lies under the pointer, as real input does.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace ov3test {

inline void SendKey(WORD Key, bool Up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = Key;
  input.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

// The key with the modifiers held.
inline void Press(WORD Key, std::vector<WORD> Modifiers = {}) {
  for (WORD m : Modifiers) SendKey(m, false);
  SendKey(Key, false);
  SendKey(Key, true);
  for (auto m = Modifiers.rbegin(); m != Modifiers.rend(); ++m) SendKey(*m, true);
}

inline void Type(const std::wstring& Text) {
  for (wchar_t c : Text)
    for (bool up : {false, true}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      SendInput(1, &input, sizeof(input));
    }
}

// The left button pressed and released at a screen point.
inline void Click(POINT At) {
  SetCursorPos(At.x, At.y);
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

}  // namespace ov3test
