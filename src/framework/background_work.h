// Work that takes long, done on a worker thread while the caller's windows stay alive.
#pragma once
#include <windows.h>

// Runs work(context) on a worker thread and, until it has ended, dispatches this thread's
// messages (a dialog's keyboard messages through the dialog, as its own loop would), so that the
// windows keep painting and answering. Returns once the work has ended; when no thread can be
// started, the work runs on this thread instead, as it did before.
void RunWhileDispatching(HWND dialog, void (*work)(void*), void* context);
