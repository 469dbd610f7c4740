// Text rules of the launcher's messages.
#include "app/message_text.h"

std::string FillText(const std::string& text, const std::vector<std::string>& inserts) {
    std::string filled;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            size_t index = static_cast<size_t>(text[++i] - '1');
            if (index < inserts.size()) filled += inserts[index];
        } else {
            filled += text[i];
        }
    }
    return filled;
}

std::string LastLines(const std::string& text, size_t count, size_t width) {
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(begin, end - begin);
        begin = end + 1;
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (line.size() > width) {
            size_t cut = width;
            // Continuation bytes (10xxxxxx) belong to the character before them.
            while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
            line = line.substr(0, cut) + "...";
        }
        lines.push_back(line);
    }
    std::string joined;
    for (size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i)
        joined += (joined.empty() ? "" : "\n") + lines[i];
    return joined;
}

namespace {
// NTSTATUS codes of severity "error": what Windows reports as the exit code of a process that an
// exception ended (0xC0000005, 0xC00000FD, 0xC0000409 ...).
bool IsExceptionCode(unsigned long code) { return (code & 0xF0000000UL) == 0xC0000000UL; }
}  // namespace

std::string ExitCodeText(unsigned long code) {
    if (IsExceptionCode(code)) {
        const char digits[] = "0123456789ABCDEF";
        std::string text = "0x";
        for (int shift = 28; shift >= 0; shift -= 4) text += digits[(code >> shift) & 0xF];
        return text;
    }
    code &= 0xFFFFFFFFUL;
    return code > 0x7FFFFFFFUL ? "-" + std::to_string(0x100000000ULL - code) : std::to_string(code);
}

bool FindFatalErrorReport(const std::string& output, std::string& reportFile) {
    reportFile.clear();
    size_t at = output.rfind("A fatal error has been detected by the Java Runtime Environment");
    if (at == std::string::npos) return false;
    const std::string saved = "An error report file with more information is saved as:";
    at = output.find(saved, at);
    if (at == std::string::npos) return true;
    // The next line: "# C:\...\hs_err_pid1234.log".
    size_t line = output.find('\n', at);
    if (line == std::string::npos) return true;
    size_t begin = output.find_first_not_of("# \t", line + 1);
    size_t end = output.find_first_of("\r\n", line + 1);
    if (begin != std::string::npos && begin < end) reportFile = output.substr(begin, end - begin);
    return true;
}

JavaEndMessage MessageForJavaEnd(unsigned long exitCode, bool windowShown, bool fatalErrorReport,
                                 unsigned long runMs) {
    if (exitCode == 0) return JavaEndMessage::kNone;
    bool crashed = IsExceptionCode(exitCode) || fatalErrorReport;
    if (!windowShown && runMs < kLongRunMs) return JavaEndMessage::kCouldNotStart;
    if (crashed) return JavaEndMessage::kCrashed;
    return windowShown ? JavaEndMessage::kNone : JavaEndMessage::kEndedAfter;
}

std::string DurationText(unsigned long milliseconds) {
    unsigned long seconds = milliseconds / 1000;
    auto count = [](unsigned long n, const char* unit) {
        return std::to_string(n) + " " + unit + (n == 1 ? "" : "s");
    };
    if (seconds < 60) return count(seconds, "second");
    if (seconds < 3600) return count(seconds / 60, "minute") + " " + count(seconds % 60, "second");
    return count(seconds / 3600, "hour") + " " + count(seconds / 60 % 60, "minute");
}

unsigned long LauncherExitCode(unsigned long javaExitCode) { return javaExitCode == 259 ? 1 : javaExitCode; }
