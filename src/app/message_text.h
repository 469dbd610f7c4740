// Text rules of the launcher's messages: the inserts of a string-table text, and the last lines
// of what Java wrote.
#pragma once
#include <string>
#include <vector>

// "%1" to "%9" replaced by the inserts (one that is missing by nothing); any other text verbatim.
std::string FillText(const std::string& text, const std::vector<std::string>& inserts);

// The last `count` lines that are not blank, joined by "\n"; CR, LF and CRLF each end a line.
// A line longer than `width` bytes is cut there, never inside a UTF-8 sequence, and ends in "...".
std::string LastLines(const std::string& text, size_t count, size_t width);

// Exit codes as their users know them: an exception code (0xC0000005) in hexadecimal, the rest
// as the number that ExitProcess or System.exit was given (-1 for 0xFFFFFFFF).
std::string ExitCodeText(unsigned long code);

// Whether the output holds the JVM's fatal-error report; reportFile receives the file it says it
// saved the full report in (hs_err_pid*.log), "" when it names none.
bool FindFatalErrorReport(const std::string& output, std::string& reportFile);

// What the user is told when Java has ended. Until its application window showed, any exit code
// but 0 means it could not start, unless it ran for kLongRunMs or more (a tray application, an
// undecorated window): then it just ended, after that long. After the window showed, an
// application that ended itself has told its user already, and only a crash (an exception code,
// the JVM's fatal-error report) is news.
enum class JavaEndMessage { kNone, kCouldNotStart, kCrashed, kEndedAfter };
constexpr unsigned long kLongRunMs = 60000;
JavaEndMessage MessageForJavaEnd(unsigned long exitCode, bool windowShown, bool fatalErrorReport,
                                 unsigned long runMs);

// "59 seconds", "1 minute 5 seconds", "2 hours 1 minute": the two largest units.
std::string DurationText(unsigned long milliseconds);

// Java's exit code passed on as the launcher's, but for STILL_ACTIVE (259): a caller that polls
// GetExitCodeProcess would take it for a launcher still running, and wait for ever.
unsigned long LauncherExitCode(unsigned long javaExitCode);
