// Staying with a started Java until it ends.
#include "app/java_watch.h"

#include "framework/run_log.h"
#include "util/bounded_output.h"

namespace {

// Of Java's output for the message: more than a dozen lines of a stack trace.
constexpr size_t kRecentBytes = 8192;
// Until its application window shows, the windows are looked at this often, then no longer.
constexpr DWORD kFirstLookMs = 100;
constexpr DWORD kLookMs = 500;
// After Java has ended: for what it wrote last to arrive. A program that Java started may hold the
// pipe for as long as it runs; the launcher does not wait for that.
constexpr DWORD kDrainMs = 1000;

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK IsApplicationWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // A splash screen has no title bar: the application may still fail to start behind it.
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    search->found =
        owner == search->processId && IsWindowVisible(window) && (style & WS_CAPTION) == WS_CAPTION;
    return search->found ? FALSE : TRUE;  // FALSE ends the enumeration
}

bool HasApplicationWindow(DWORD processId) {
    WindowSearch search = {processId, false};
    EnumWindows(IsApplicationWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void DispatchMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace

void WatchJava(HANDLE process, DWORD processId, OutputPipe* pipe, JavaStart& result) {
    RunLog* log = RunLog::Current();
    BoundedOutput output(kLogHeadBytes, kLogTailBytes, kRecentBytes);
    char lastWritten = '\n';
    bool reading = pipe != nullptr && pipe->StartRead();
    bool ended = false;
    DWORD begin = GetTickCount(), lookMs = kFirstLookMs, lookedAt = begin;
    for (;;) {
        HANDLE waited[2];
        DWORD count = 0;
        if (!ended) waited[count++] = process;
        if (reading) waited[count++] = pipe->ReadDone();
        if (count == 0) break;
        // Unsigned differences of tick counts: right across the counter's wrap.
        DWORD now = GetTickCount(), timeout = INFINITE;
        if (ended) {
            if (now - begin - result.runMs >= kDrainMs) break;
            timeout = kDrainMs - (now - begin - result.runMs);
        } else if (!result.windowShown) {
            timeout = now - lookedAt >= lookMs ? 0 : lookMs - (now - lookedAt);
        }
        DWORD woken = MsgWaitForMultipleObjects(count, waited, FALSE, timeout, QS_ALLINPUT);
        if (woken == WAIT_FAILED) break;
        if (!ended && !result.windowShown && GetTickCount() - lookedAt >= lookMs) {
            lookedAt = GetTickCount();
            lookMs = kLookMs;
            result.windowShown = HasApplicationWindow(processId);
            if (result.windowShown) result.windowMs = lookedAt - begin;
        }
        if (woken == WAIT_OBJECT_0 + count) DispatchMessages();
        if (woken >= WAIT_OBJECT_0 + count) continue;
        if (waited[woken - WAIT_OBJECT_0] == process) {
            ended = true;
            result.runMs = GetTickCount() - begin;
            continue;
        }
        std::string data;
        reading = pipe->FinishRead(data);
        std::string head = output.Add(data.data(), data.size());
        if (!head.empty() && log != nullptr) {
            log->Write(head);
            lastWritten = head.back();
        }
        if (reading) reading = pipe->StartRead();
    }
    if (pipe != nullptr) pipe->Cancel();
    if (!ended) {
        // The wait itself failed: the process is still the launcher's to report on.
        WaitForSingleObject(process, INFINITE);
        result.runMs = GetTickCount() - begin;
    }
    GetExitCodeProcess(process, &result.exitCode);
    result.outcome = JavaStart::kEnded;
    result.output = output.Recent();
    unsigned long long leftOut = 0;
    std::string ending = output.Ending(leftOut);
    if (log == nullptr) return;
    std::string rest = ending;
    if (leftOut > 0) {
        rest = std::string(lastWritten != '\n' ? "\r\n" : "") + "[... " + std::to_string(leftOut) +
               " bytes of Java's output left out here ...]\r\n" + ending;
    }
    if (!rest.empty()) lastWritten = rest.back();
    // The launcher's next line on a line of its own.
    if (lastWritten != '\n') rest += "\r\n";
    log->Write(rest);
}
