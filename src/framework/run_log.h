// The log of one run, for whoever supports the user: what the launcher read, looked at, chose
// and started, then Java's own output.
#pragma once
#include <windows.h>

#include <string>

#include "framework/unique_handle.h"

// Appends text and a line end to the open log; does nothing while none is open (the tests).
void LogLine(const std::string& text);

// Owner of the run's log file. At most one is open at a time; lower layers reach it through
// LogLine and RunLog::Current.
class RunLog {
public:
    RunLog() = default;
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Replaces the log at %LOCALAPPDATA%\<relativePath>.log, creating the folders. A log that
    // another run's Java still writes to is left whole: the next free name "<relativePath>-2.log",
    // "-3" ... is taken instead. False, and no log, when none can be written.
    bool Open(const std::string& relativePath);
    static RunLog* Current();

    const std::string& Path() const { return m_path; }
    HANDLE Handle() const { return m_file.Get(); }  // for Java's output
    unsigned long long Size() const;
    // Up to the last maxBytes of what the file holds beyond offset.
    std::string ReadTail(unsigned long long offset, size_t maxBytes) const;
    void Write(const std::string& text) const;

private:
    UniqueHandle m_file;
    std::string m_path;
};
