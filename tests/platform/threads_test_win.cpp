// Waits of the main thread against what only Windows has: messages sent to its
// windows from a worker, and waits on several handles.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/synchronize.h"
#include "platform/threads.h"
#include "platform/winapi_win.h"
#include "support/test_worker.h"

using testsupport::TWorker;

namespace {

int gSent = 0;

LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER + 1) {
    ++gSent;
    return 77;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

}  // namespace

TEST(ThreadWin, WaitForOnTheMainThreadAnswersSentMessages) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"OrvThreadTestSink";
  RegisterClassW(&wc);
  HWND sink = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(sink, nullptr);
  gSent = 0;
  LRESULT answer = 0;
  int synced = 0;
  TWorker worker([&] {
    // SendMessage blocks until the window's thread answers: the waiting main thread must.
    answer = SendMessageW(sink, WM_USER + 1, 0, 0);
    TThread::Synchronize(nullptr, [&] { ++synced; });
  });
  worker.Start();
  worker.WaitFor();
  EXPECT_EQ(answer, 77);
  EXPECT_EQ(gSent, 1);
  EXPECT_EQ(synced, 1);
  DestroyWindow(sink);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

TEST(ThreadWin, EventHandleJoinsMultipleWaits) {
  TEvent a(true, false), b(false, false);
  HANDLE both[2] = {a.Handle(), b.Handle()};
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  b.SetEvent();
  EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, INFINITE), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(b.WaitFor(0), wrTimeout);  // the wait above took the auto-reset signal
  EXPECT_EQ(a.WaitFor(0), wrTimeout);
}

TEST(ThreadWin, WakeHookCanPostToTheMessageLoop) {
  // The application's loop wakes on a posted message and then serves the queue.
  DWORD mainId = GetCurrentThreadId();
  SetWakeMainThread([mainId] { PostThreadMessageW(mainId, WM_NULL, 0, 0); });
  bool ran = false;
  std::atomic<bool> done{false};
  TWorker worker([&] {
    TThread::Synchronize(nullptr, [&] { ran = true; });
    done = true;
  });
  worker.Start();
  // Only the wake-up ends the wait for a message; a timer far beyond it ends a wake-up that never comes.
  const UINT_PTR guard = SetTimer(nullptr, 0, 15000, nullptr);
  MSG msg;
  while (!ran && GetMessageW(&msg, nullptr, 0, 0) > 0 && !(msg.message == WM_TIMER && msg.wParam == guard))
    CheckSynchronize();
  KillTimer(nullptr, guard);
  SetWakeMainThread(nullptr);
  worker.WaitFor();
  EXPECT_TRUE(ran);
  EXPECT_TRUE(done);
}
