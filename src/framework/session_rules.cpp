// Rules of the session the launcher runs in.
#include "framework/session_rules.h"

#include <utility>

bool CanBeSeen(bool vistaOrLater, unsigned long sessionId, bool stationVisible) {
    return stationVisible && !(vistaOrLater && sessionId == 0);
}

bool MayKeepLog(int elevationType) { return elevationType != 2; }

std::string LogFileName(const std::string& stem, const LogTime& utc, unsigned counter) {
    std::string name = stem;
    // Each field in a fixed number of digits, so that the names sort as the times do.
    auto digits = [&name](unsigned value, int count, const char* before) {
        name += before;
        for (int place = count - 1; place >= 0; --place) {
            unsigned power = 1;
            for (int i = 0; i < place; ++i) power *= 10;
            name += static_cast<char>('0' + value / power % 10);
        }
    };
    digits(utc.year, 4, "-");
    digits(utc.month, 2, "");
    digits(utc.day, 2, "");
    digits(utc.hour, 2, "-");
    digits(utc.minute, 2, "");
    digits(utc.second, 2, "");
    digits(utc.milliseconds, 3, "-");
    digits(counter, 2, "-");
    return name + ".log";
}

std::vector<std::string> OldLogs(std::vector<LogEntry> logs, uint64_t now, size_t keep, uint64_t recent) {
    // Written "in the future" (the clock has been set back since): the oldest of all, or those
    // would stay for ever while every new log went.
    for (LogEntry& log : logs) {
        if (log.lastWrite > now && log.lastWrite - now > recent) log.lastWrite = 0;
    }
    // Newest first; of equal times, the later name. A few dozen at most: sorted by insertion.
    for (size_t i = 1; i < logs.size(); ++i) {
        for (size_t j = i; j > 0; --j) {
            const LogEntry &a = logs[j - 1], &b = logs[j];
            if (a.lastWrite > b.lastWrite || (a.lastWrite == b.lastWrite && a.name > b.name)) break;
            std::swap(logs[j - 1], logs[j]);
        }
    }
    std::vector<std::string> old;
    for (size_t i = keep; i < logs.size(); ++i) {
        if (logs[i].lastWrite < now && now - logs[i].lastWrite > recent) old.push_back(logs[i].name);
    }
    return old;
}

std::string PipeName(const unsigned char (&random)[16]) {
    std::string name = "\\\\.\\pipe\\Tessaly-";
    for (unsigned char octet : random) {
        name += "0123456789abcdef"[octet >> 4];
        name += "0123456789abcdef"[octet & 15];
    }
    return name;
}

std::string OwnerOnlySecurity(const std::string& userSid) { return "D:P(A;;GA;;;" + userSid + ")"; }
