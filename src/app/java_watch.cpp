// Staying with a started Java until it ends.
#include "app/java_watch.h"

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
// How often the end of the output is written again as it grows: a launcher ended without warning
// (Task Manager, a logoff) loses at most this much of it.
constexpr DWORD kRewriteMs = 1000;
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

// What the log holds of Java's output: the beginning written through as it comes, then the end,
// written again in place as it grows, and after it the launcher's own lines of the meantime.
class LoggedOutput {
public:
    LoggedOutput() : m_log(RunLog::Current()), m_output(kLogHeadBytes, kLogTailBytes, kRecentBytes) {}

    void Add(const std::string& data) { Take(m_decoder.Add(data.data(), data.size())); }
    // The launcher's own line, after what Java wrote so far, in the log at once.
    void Note(const std::string& line) {
        if (m_tailAt == kNowhere) return WriteThrough(LineBreak() + line + "\r\n");
        m_notes += line + "\r\n";
        m_changed = true;
        Rewrite(false);
    }
    // Whether the end has grown since it was last written.
    bool Changed() const { return m_changed; }
    // The end as it stands, in its place in the log; `final` once the output is over.
    void Rewrite(bool final) {
        if (final) Take(m_decoder.Flush());
        if (m_log == nullptr) return;
        if (m_tailAt == kNowhere) {
            // The launcher's next line on a line of its own.
            if (final) WriteThrough(LineBreak());
            return;
        }
        if (!m_changed && !final) return;
        unsigned long long leftOut = 0;
        std::string ending = m_output.Ending(leftOut), text;
        if (leftOut > 0) {
            text = LineBreak() + "[... " + std::to_string(leftOut) + " bytes of Java's output left out " +
                   (final ? "here" : "so far") + " ...]\r\n";
        }
        text += ending;
        if (text.empty() ? m_lastWritten != '\n' : text.back() != '\n') text += "\r\n";
        m_log->Rewrite(m_tailAt, text + m_notes);
        m_changed = false;
    }
    std::string Recent() const { return m_output.Recent(); }

private:
    static constexpr unsigned long long kNowhere = ~0ULL;

    void Take(const std::string& decoded) {
        std::string head = m_output.Add(decoded.data(), decoded.size());
        WriteThrough(head);
        m_changed |= head.size() < decoded.size();
        if (m_output.PastHead() && m_tailAt == kNowhere && m_log != nullptr) m_tailAt = m_log->End();
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
    unsigned long long m_tailAt = kNowhere;
    std::string m_notes;
    char m_lastWritten = '\n';
    bool m_changed = false;
};

// What the session's end reaches, through the launcher's one window.
struct SessionWatch {
    LoggedOutput* output;
    JavaStart* result;
    bool stop;
};
SessionWatch* g_watch = nullptr;

LRESULT CALLBACK SessionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_watch == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    // Yes at once: the launcher holds up no logoff and no installer. What it holds is in the log
    // before it answers.
    if (message == WM_QUERYENDSESSION) {
        g_watch->output->Rewrite(false);
        return TRUE;
    }
    bool closeApp = (lParam & ENDSESSION_CLOSEAPP) != 0;
    if ((message == WM_ENDSESSION && wParam) || message == WM_CLOSE) {
        g_watch->output->Note(message == WM_CLOSE ? "the launcher was told to close while Java ran"
                              : closeApp ? "the launcher closes for an installer that replaces files (the "
                                           "Restart Manager) while Java runs"
                                         : "the session ended (logoff, restart or shutdown) while Java ran");
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
    ~SessionWindow() {
        if (m_window != nullptr) DestroyWindow(m_window);
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
    SessionWatch watch = {&output, &result, false};
    SessionWindow window(&watch);
    bool reading = pipe != nullptr && pipe->StartRead();
    bool ended = false;
    DWORD begin = GetTickCount(), lookMs = kFirstLookMs, lookedAt = begin, rewrittenAt = begin;
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
        if (output.Changed() && Left(rewrittenAt, kRewriteMs) < timeout)
            timeout = Left(rewrittenAt, kRewriteMs);
        DWORD woken = MsgWaitForMultipleObjects(count, waited, FALSE, timeout, QS_ALLINPUT);
        if (woken == WAIT_FAILED) break;
        if (!ended && !result.windowShown && Left(lookedAt, lookMs) == 0) {
            lookedAt = GetTickCount();
            lookMs = kLookMs;
            result.windowShown = HasApplicationWindow(processId);
            if (result.windowShown) result.windowMs = lookedAt - begin;
        }
        if (Left(rewrittenAt, kRewriteMs) == 0) {
            output.Rewrite(false);
            rewrittenAt = GetTickCount();
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
        output.Add(data);
        if (reading) reading = pipe->StartRead();
    }
    if (pipe != nullptr) pipe->Cancel();
    if (!ended && !watch.stop) {
        // The wait itself failed: the process is still the launcher's to report on.
        WaitForSingleObject(process, INFINITE);
    }
    if (!ended) result.runMs = GetTickCount() - begin;
    // Told to close while Java runs: STILL_ACTIVE, which the launcher does not pass on.
    GetExitCodeProcess(process, &result.exitCode);
    result.outcome = JavaStart::kEnded;
    output.Rewrite(true);
    result.output = output.Recent();
}
