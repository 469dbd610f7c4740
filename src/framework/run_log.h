// The log of one start, for whoever supports the user: what the launcher read, looked at, chose
// and started, then Java's own output.
#pragma once
#include <windows.h>

#include <string>

#include "framework/unique_handle.h"

// Logs of this many starts are kept; older ones are removed as a new one begins.
constexpr int kKeptLogs = 10;

// Appends text and a line end to the open log; does nothing while none is open (the tests).
void LogLine(const std::string& text);

// Owner of the start's log file. At most one is open at a time; lower layers reach it through
// LogLine and RunLog::Current.
class RunLog {
public:
    RunLog() = default;
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // A new file of this start's own, %LOCALAPPDATA%\<relativeStem>-<UTC time>-<process id>.log,
    // its folders made where missing, however many starts run at once; then of all the starts'
    // logs there only the newest kKeptLogs stay (a log still being written stays too). Never
    // through a link, and never for an elevated run: false then, and WhyNone() says why.
    bool Open(const std::string& relativeStem);
    static RunLog* Current();
    // Why this start has no log, as a sentence for the user.
    static const std::string& WhyNone();

    const std::string& Path() const { return m_path; }
    void Write(const std::string& text) const;

private:
    bool Refuse(const std::string& why);

    UniqueHandle m_file;
    std::string m_path;
};
