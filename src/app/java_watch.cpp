// Staying with a started Java until it ends.
#include "app/java_watch.h"

#include "app/message_text.h"
#include "framework/run_log.h"
#include "util/ansi_text.h"
#include "util/bounded_output.h"
#include "util/output_decoder.h"

namespace {

// Of Java's output for the message: more than a dozen lines of a stack trace.
constexpr size_t kRecentBytes = 8192;
// Until its application window shows, the windows are looked at this often, then no longer.
constexpr DWORD kFirstLookMs = 100;
constexpr DWORD kLookMs = 500;
// After Java has ended: for what it wrote last to arrive. A program that Java started may hold the
// pipe for as long as it runs; the launcher does not wait for that.
constexpr DWORD kDrainMs = 1000;
// Later than Java's default (0x280) and than every ordinary program: at a logoff the launcher
// is asked last, and sees how Java ended.
constexpr DWORD kShutdownLevel = 0x100;

std::string FromAnsi(const std::string& ansi) { return AnsiToUtf8(ansi); }

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

// What the log holds of Java's output: the beginning and then the rest as it comes, so that a
// launcher ended without warning (Task Manager, a logoff) leaves a log up to that moment. Once
// more than half as much again as the end it keeps has piled up after the beginning, that part is
// written again in place as the end alone: the log stays bounded, and each byte of Java's output
// is written about three times at most.
class LoggedOutput {
public:
    LoggedOutput() : m_log(RunLog::Current()), m_output(kLogHeadBytes, kLogTailBytes, kRecentBytes) {}

    void Add(const std::string& data) { Take(m_decoder.Add(data.data(), data.size())); }
    // The launcher's own line, after what Java wrote so far.
    void Note(const std::string& line) {
        WriteThrough(LineBreak() + line + "\r\n");
        if (m_tailAt != kNowhere) m_notes += line + "\r\n";
    }
    // Once the output is over: what was held, and the line that says how much was left out.
    void Finish() {
        Take(m_decoder.Flush());
        unsigned long long leftOut = 0;
        m_output.Ending(leftOut);
        if (leftOut > 0) Compact(true);
        // The launcher's next line on a line of its own.
        WriteThrough(LineBreak());
    }
    std::string Recent() const { return m_output.Recent(); }

private:
    static constexpr unsigned long long kNowhere = ~0ULL;

    void Take(const std::string& decoded) {
        std::string head = m_output.Add(decoded.data(), decoded.size());
        WriteThrough(head);
        if (head.size() == decoded.size() || m_log == nullptr) return;
        if (m_tailAt == kNowhere) {
            m_tailAt = m_log->End();
            m_headLast = m_lastWritten;
        }
        WriteThrough(decoded.substr(head.size()));
        m_region += decoded.size() - head.size();
        if (m_region > kLogTailBytes + kLogTailBytes / 2) Compact(false);
    }
    // Everything after the beginning, written again as the end kept, after a line that says how
    // much was left out, and the launcher's lines of the meantime.
    void Compact(bool final) {
        unsigned long long leftOut = 0;
        std::string text = m_output.Ending(leftOut);
        if (leftOut > 0) {
            text = std::string(m_headLast != '\n' ? "\r\n" : "") + "[... " + std::to_string(leftOut) +
                   " bytes of Java's output left out " + (final ? "here" : "so far") + " ...]\r\n" + text;
        }
        if (!m_notes.empty() && !text.empty() && text.back() != '\n') text += "\r\n";
        text += m_notes;
        m_log->Rewrite(m_tailAt, text);
        m_region = text.size();
        m_lastWritten = text.empty() ? m_headLast : text.back();
    }
    void WriteThrough(const std::string& text) {
        if (m_log == nullptr || text.empty()) return;
        m_log->Write(text);
        m_lastWritten = text.back();
    }
    std::string LineBreak() const { return m_lastWritten != '\n' ? "\r\n" : ""; }

    RunLog* m_log;
    OutputDecoder m_decoder{FromAnsi};
    BoundedOutput m_output;
    unsigned long long m_tailAt = kNowhere;  // where the part after the beginning starts
    size_t m_region = 0;                     // its size
    std::string m_notes;
    char m_lastWritten = '\n', m_headLast = '\n';
};

// What the session's end reaches, through the launcher's one window.
struct SessionWatch {
    LoggedOutput* output;
    JavaStart* result;
    HANDLE process;
    bool stop;
};
SessionWatch* g_watch = nullptr;

// Java's end as the log says it at the session's end: the launcher may be ended before it says more.
std::string JavaEnd(HANDLE process) {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code == STILL_ACTIVE ? "while Java ran"
                                : "after Java had ended with exit code " + ExitCodeText(code);
}

LRESULT CALLBACK SessionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Yes at once: the launcher holds up no logoff and no installer.
    if (g_watch == nullptr || message == WM_QUERYENDSESSION) {
        return message == WM_QUERYENDSESSION ? TRUE : DefWindowProcW(window, message, wParam, lParam);
    }
    bool closeApp = (lParam & ENDSESSION_CLOSEAPP) != 0;
    if ((message == WM_ENDSESSION && wParam) || message == WM_CLOSE) {
        const char* what =
            message == WM_CLOSE ? "the launcher was told to close "
            : closeApp ? "the launcher closes for an installer that replaces files (the Restart Manager) "
                       : "the session ended (logoff, restart or shutdown) ";
        g_watch->output->Note(what + JavaEnd(g_watch->process));
        g_watch->result->sessionEnded = true;
        // At a logoff Windows ends the launcher itself, after Java; told to close, it ends now.
        g_watch->stop = message == WM_CLOSE || closeApp;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A hidden top-level window, the only kind that hears the session end: a program without one is
// ended at a logoff without a word, in no defined order with Java.
class SessionWindow {
public:
    explicit SessionWindow(SessionWatch* watch) {
        g_watch = watch;
        SetProcessShutdownParameters(kShutdownLevel, 0);
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = SessionProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TessalySession";
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, windowClass.lpszClassName, L"Tessaly", WS_OVERLAPPED, 0, 0, 0, 0,
                                   nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~SessionWindow() { Close(); }
    void Close() {
        if (m_window != nullptr) DestroyWindow(m_window);
        m_window = nullptr;
        g_watch = nullptr;
    }
    SessionWindow(const SessionWindow&) = delete;
    SessionWindow& operator=(const SessionWindow&) = delete;

private:
    HWND m_window = nullptr;
};

// Unsigned differences of tick counts: right across the counter's wrap.
DWORD Left(DWORD since, DWORD period) {
    DWORD gone = GetTickCount() - since;
    return gone >= period ? 0 : period - gone;
}

}  // namespace

void WatchJava(HANDLE process, DWORD processId, OutputPipe* pipe, JavaStart& result) {
    LoggedOutput output;
    SessionWatch watch = {&output, &result, process, false};
    SessionWindow window(&watch);
    bool reading = pipe != nullptr && pipe->StartRead();
    bool ended = false;
    DWORD begin = GetTickCount(), lookMs = kFirstLookMs, lookedAt = begin;
    while (!watch.stop) {
        HANDLE waited[2];
        DWORD count = 0;
        if (!ended) waited[count++] = process;
        if (reading) waited[count++] = pipe->ReadDone();
        if (count == 0) break;
        DWORD timeout = INFINITE;
        if (ended) {
            timeout = Left(begin + result.runMs, kDrainMs);
            if (timeout == 0) break;
        } else if (!result.windowShown) {
            timeout = Left(lookedAt, lookMs);
        }
        DWORD woken = MsgWaitForMultipleObjects(count, waited, FALSE, timeout, QS_ALLINPUT);
        if (woken == WAIT_FAILED) break;
        if (!ended && !result.windowShown && Left(lookedAt, lookMs) == 0) {
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
            // Java ended by the session's end, which reaches the launcher only after it, if at all
            // before the launcher is ended too: that is no failure to tell anyone of.
            if (!result.sessionEnded && GetSystemMetrics(SM_SHUTTINGDOWN)) {
                output.Note("the session is ending (logoff, restart or shutdown) " + JavaEnd(process));
                result.sessionEnded = true;
            }
            continue;
        }
        std::string data;
        reading = pipe->FinishRead(data);
        output.Add(data);
        if (reading) reading = pipe->StartRead();
    }
    if (pipe != nullptr) pipe->Cancel();
    if (!ended && !watch.stop) {
        // The wait itself failed: the process is still the launcher's to report on. No window of
        // its own is left to keep a broadcast waiting meanwhile.
        window.Close();
        WaitForSingleObject(process, INFINITE);
    }
    if (!ended) result.runMs = GetTickCount() - begin;
    // Told to close while Java runs: STILL_ACTIVE, which the launcher does not pass on.
    GetExitCodeProcess(process, &result.exitCode);
    result.outcome = JavaStart::kEnded;
    output.Finish();
    result.output = output.Recent();
}
