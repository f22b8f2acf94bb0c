// The queue behind TThread::Synchronize: calls that worker threads hand to the
// main (GUI) thread, which runs them in CheckSynchronize.
//
// The main thread is the one that called InitMainThread(), which the program
// calls first thing at its start. Until then it is the thread that ran the
// static initialisers, which is the thread that started the program.
#pragma once
#include <functional>

#include "platform/threads.h"

void InitMainThread();
TThreadID MainThreadID();
bool IsMainThread();

// Runs method on the main thread and waits until it has run; at once when
// called on the main thread. An exception of the method is raised again here.
void RunInMainThread(std::function<void()> method);
// Hands method to the main thread and returns; at once on the main thread.
// An exception of a queued method leaves CheckSynchronize on the main thread.
void QueueInMainThread(std::function<void()> method);

// On the main thread: runs every call handed over so far and returns whether
// any ran. With a timeout above 0 it first waits up to that many milliseconds
// for a call to arrive (below 0: without limit). EThread on any other thread.
bool CheckSynchronize(int timeoutMs = 0);

// Called (from the worker) whenever a call is handed over, so that the main
// thread's message loop wakes up and calls CheckSynchronize. The application
// sets it at its start.
void SetWakeMainThread(std::function<void()> hook);

namespace synchronize_detail {
// Signalled while calls wait; waits of the main thread include it.
TEvent& SyncEvent();
}  // namespace synchronize_detail
