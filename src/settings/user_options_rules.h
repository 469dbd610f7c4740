// Text rules of the user's own options file (one VM option a line), and of the Java download
// that the Install Java dialog offers; free of any system call.
#pragma once
#include <string>
#include <vector>

#include "javafind/version_rules.h"

// Why a line of the file is not used.
// kCodePage: where the text must pass through the ANSI code page, and cannot.
enum class OptionRefusal { kNone, kNotAllowed, kOtherFile, kBadSize, kNeedsEquals, kControl, kCodePage };

// kNone when the option is one a user may set for himself: heap and stack sizes, logging,
// system properties, -XX: switches (other than those that read more options from another file),
// module access, assertions and -verbose. Only a whole option passes: "-Xmx 2g" (with a blank)
// or "--add-opens x" (the value as a second argument) would stop Java from starting at all.
OptionRefusal CheckUserOption(const std::string& option);

struct RefusedLine {
    unsigned number;  // from 1
    std::string text;
    OptionRefusal why;
};
struct UserOptions {
    std::vector<std::string> accepted;  // in the file's order, each one argument, as UTF-8
    std::vector<RefusedLine> refused;
};

// The file as UTF-8: UTF-8 with or without its byte-order mark, UTF-16 (either order) after its
// mark; anything else (an older Notepad's save) taken from the ANSI code page by fromAnsi.
std::string DecodeOptionsFile(const std::string& bytes, std::string (*fromAnsi)(const std::string&));
// Lines end at CR, LF or CRLF; each is trimmed of blanks and tabs; blank ones and those that begin
// with '#' are comments. passes, where given, says whether an allowed option can reach Java whole.
UserOptions ParseUserOptions(const std::string& text, bool (*passes)(const std::string&) = nullptr);
// A short fingerprint of the file's bytes (FNV-1a, 64 bits, as 16 hex digits): the user is told
// about a file once for each change of it.
std::string Fingerprint(const std::string& bytes);

// The feature version to download for this machine: `wanted` (the string table's), moved within
// the bounds; 0 when none fits (a 32-bit machine and a version after 23: Java 24 and later have
// no 32-bit Windows build).
unsigned DownloadVersion(unsigned wanted, const VersionBounds& bounds, bool x86);
// The address with each "{version}" and "{arch}" filled in.
std::string DownloadAddress(std::string pattern, unsigned version, const std::string& arch);
