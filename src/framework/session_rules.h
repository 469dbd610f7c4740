// Rules of the session the launcher runs in: whether anyone can see its windows, whether it may
// keep a log, how its logs are named and which old ones go, and what keeps its pipe its own.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Since Vista, session 0 belongs to services, and no one sits in front of it whatever its window
// station claims (an interactive service, psexec -s -i 0). On XP the console user works there.
bool CanBeSeen(bool vistaOrLater, unsigned long sessionId, bool stationVisible);

// TOKEN_ELEVATION_TYPE: 1 default (no split token: UAC off, the system account), 2 full (the
// elevated half of a split token), 3 limited. Only the full kind keeps no log: that user's
// unelevated processes could have planted a link where it writes.
bool MayKeepLog(int elevationType);

struct LogTime {
    unsigned year, month, day, hour, minute, second, milliseconds;
};
// stem-YYYYMMDD-HHMMSS-mmm-NN.log in UTC: starts within one second stay apart and in order, the
// counter (1 to 99) parting those within one millisecond.
std::string LogFileName(const std::string& stem, const LogTime& utc, unsigned counter);

struct LogEntry {
    std::string name;
    uint64_t lastWrite;  // in 100 ns units, as FILETIME
};
// The logs to remove: every one but the `keep` written last and those written within `recent` of
// `now`; one written more than `recent` after `now` counts as the oldest. By age, not by name:
// with the clock set back, new names sort before old ones.
std::vector<std::string> OldLogs(std::vector<LogEntry> logs, uint64_t now, size_t keep, uint64_t recent);

// \\.\pipe\Tessaly-<32 hex digits>: 128 random bits, a name that no other program can take first.
std::string PipeName(const unsigned char (&random)[16]);
// A protected DACL in SDDL that lets the user with this SID, and no one else, use the pipe.
std::string OwnerOnlySecurity(const std::string& userSid);
