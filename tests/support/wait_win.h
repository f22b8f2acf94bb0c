// Waiting in a test for the condition it is about to check, with this
// thread's messages pumped meanwhile and a deadline, so a loaded machine only
// makes a test slower, and a condition that never comes fails it instead of
// hanging it.
#pragma once
#include "platform/winapi_win.h"

namespace testproc {

inline void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Pumps (this thread's messages, or whatever Pump does) until Done holds;
// false when it still does not once the time is up. Done is asked once more
// after the last pump, so a condition met at the deadline still counts. Done
// is asked at most every Every ms: a file another program replaces
// atomically is read seldom, as each read can make its replacement fail.
template <class Done, class Pump = void (*)()>
bool WaitUntil(Done done, DWORD milliseconds = 15000, Pump pump = PumpMessages, DWORD every = 10) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    pump();
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, every, QS_ALLINPUT);
  }
}

// The time between two reads of a file another program writes.
constexpr DWORD kFilePoll = 100;

}  // namespace testproc
