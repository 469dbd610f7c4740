// A worker thread for long work, and this thread's messages dispatched meanwhile.
#include "framework/background_work.h"

#include "framework/unique_handle.h"

namespace {

struct Job {
    void (*work)(void*);
    void* context;
};

DWORD WINAPI RunJob(void* parameter) {
    auto* job = static_cast<Job*>(parameter);
    job->work(job->context);
    return 0;
}

}  // namespace

void RunWhileDispatching(HWND dialog, void (*work)(void*), void* context) {
    // CreateThread, not std::thread: the shipped program uses mingw's win32 thread model, which
    // has no std::thread, and it is built without exceptions.
    Job job = {work, context};
    UniqueHandle thread(CreateThread(nullptr, 0, RunJob, &job, 0, nullptr));
    if (!thread.IsValid()) {
        work(context);
        return;
    }
    HANDLE waited = thread.Get();
    // Woken by the thread's end or by any new message; each wake empties the queue, since a wait
    // only reports messages that arrived after the last look.
    while (MsgWaitForMultipleObjects(1, &waited, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (dialog != nullptr && IsDialogMessageW(dialog, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // Should the wait itself fail, the job on this stack must still outlive the thread.
    WaitForSingleObject(waited, INFINITE);
}
