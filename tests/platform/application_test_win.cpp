// The application: its hidden window, the message loop, exception handling,
// calls from worker threads, and the system's timers behind TTimer.
#include "platform/application_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "app_scope_win.h"
#include "platform/sysutils.h"
#include "platform/threads.h"
#include "platform/timer.h"
#include "support/test_worker.h"

using testsupport::TWorker;

TEST(ApplicationWin, HiddenWindowTitleAndProgramName) {
  TAppScope app;
  EXPECT_NE(Application->Handle(), nullptr);
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  EXPECT_EQ(LowerCase(ExtractFileName(Application->ExeName())), "orv_tests_win.exe");
  EXPECT_EQ(Application->Title(), u"orv_tests_win");
  Application->SetTitle(u"Orvanel \u00dc");
  wchar_t text[32] = {};
  GetWindowTextW(Application->Handle(), text, 32);
  EXPECT_EQ(std::wstring(text), L"Orvanel \u00dc");
}

TEST(ApplicationWin, RunEndsWhenTheMainFormClosesOrOnTerminate) {
  TAppScope app;
  auto* main = Application->CreateForm<TForm>();
  Application->ShowMainForm = false;
  PostMessageW(main->Handle(), WM_CLOSE, 0, 0);
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(main->Visible());

  TAppScope again;
  auto* other = Application->CreateForm<TQuietForm>();
  other->SetMessageHandler(WM_USER + 1, [](TMessage&) { Application->Terminate(); });
  PostMessageW(other->Handle(), WM_USER + 1, 0, 0);
  Application->Run();  // shows the main form first
  EXPECT_TRUE(other->Visible());
  EXPECT_TRUE(Application->Terminated());
}

TEST(ApplicationWin, LoopGoesOnAfterExceptionsInHandlersAndTimers) {
  TAppScope app;
  auto* main = Application->CreateForm<TForm>();
  Application->ShowMainForm = false;
  main->SetMessageHandler(WM_USER + 2, [](TMessage&) { throw std::runtime_error("handler failed"); });
  PostMessageW(main->Handle(), WM_USER + 2, 0, 0);
  // The system's timer: it ticks whenever the loop gets to it; nothing here waits for a time.
  int ticks = 0;
  TTimer timer(nullptr);
  timer.SetInterval(1);
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 1) throw Exception("tick failed");
    timer.SetEnabled(false);
    Application->Terminate();
  };
  Application->Run();
  EXPECT_EQ(ticks, 2);
  ASSERT_EQ(app.Errors.size(), 2u);
  EXPECT_EQ(app.Errors[0], "handler failed");
  EXPECT_EQ(app.Errors[1], "tick failed");
  EXPECT_EQ(app.Senders[1], &timer);
}

TEST(ApplicationWin, SynchronizeFromAWorkerRunsInTheMessageLoop) {
  TAppScope app;
  Application->CreateForm<TForm>();
  Application->ShowMainForm = false;
  const TThreadID mainThread = CurrentThreadID();
  TThreadID ranOn = 0;
  TWorker worker([&] {
    TThread::Synchronize(nullptr, [&] {
      ranOn = CurrentThreadID();
      Application->Terminate();
    });
  });
  worker.Start();
  Application->Run();
  worker.WaitFor();
  EXPECT_EQ(ranOn, mainThread);

  // Queued calls are served by ProcessMessages as well.
  TAppScope again;
  std::atomic<bool> handed{false};
  int ran = 0;
  TWorker queuer([&] {
    TThread::Queue(nullptr, [&] { ++ran; });
    handed = true;
  });
  queuer.Start();
  queuer.WaitFor();
  EXPECT_TRUE(handed);
  Application->ProcessMessages();
  EXPECT_EQ(ran, 1);
}

TEST(ApplicationWin, HandleExceptionGivesEveryKindOfErrorAMessage) {
  TAppScope app;
  try {
    throw std::runtime_error("plain");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  try {
    throw 42;
  } catch (...) {
    Application->HandleException(nullptr);
  }
  Application->HandleException(nullptr, nullptr);  // nothing in hand: nothing happens
  EXPECT_EQ(app.Errors, (std::vector<std::string>{"plain", "Unknown exception"}));
}

TEST(ApplicationWin, ReleasedComponentsWaitForTheLoop) {
  TAppScope app;
  auto* form = NewForm<TForm>(Application);
  bool freed = false;
  form->OnDestroy = [&](TObject*) { freed = true; };
  form->Release();
  EXPECT_FALSE(freed);
  Application->ProcessMessages();
  EXPECT_TRUE(freed);
}
