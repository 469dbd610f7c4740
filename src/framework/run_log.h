// The log of one start, for whoever supports the user: what the launcher read, looked at, chose
// and started, then Java's own output.
#pragma once
#include <windows.h>

#include <string>

#include "framework/unique_handle.h"

// Logs of this many starts are kept, and any written in the last kKeptLogMinutes; older ones are
// removed as a new one begins.
constexpr int kKeptLogs = 10;
constexpr int kKeptLogMinutes = 10;

// Whether this process is the elevated half of a split token (an elevation prompt's "Yes"):
// what the same user's unelevated processes could have planted is not to be trusted then.
bool RunsElevated();

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

    // A new file of this start's own, <local app data>\<relativeStem>-<UTC time>-<counter>.log,
    // its folders made where missing, however many starts run at once. Never through a link, and
    // never for the elevated half of a split token: false then, and WhyNone() says why.
    bool Open(const std::string& relativeStem);
    // Of all the starts' logs there, only the newest stay (see kKeptLogs), and this start's own.
    // Once a start: off the way to Java's start, which it would only delay.
    void RemoveOld();
    static RunLog* Current();
    // Why this start has no log, as a sentence for the user.
    static const std::string& WhyNone();

    // Where the log is, as the user would find it.
    const std::string& Path() const { return m_path; }
    void Write(const std::string& text) const;
    // The end of what has been written: the place from which Rewrite replaces the rest.
    unsigned long long End() const;
    // Replaces everything from `offset` on with text: a part that changes as the output grows.
    void Rewrite(unsigned long long offset, const std::string& text) const;

private:
    bool Refuse(const std::string& why);

    UniqueHandle m_file;
    std::string m_path;
    std::string m_folder, m_prefix;
};
