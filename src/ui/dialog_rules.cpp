// Text rules of the Install Java dialog.
#include "ui/dialog_rules.h"

std::string BoundsText(const std::string& minText, const std::string& maxText) {
    std::string text = "Requires Java minimum version: " + minText;
    if (maxText != "0") text += " and maximum version: " + maxText;
    return text;
}

bool HomeOfJavaExe(const std::string& javaExe, std::string& home) {
    // Windows names are case-blind: "...\BIN\JAVA.EXE" is the same file. Only ASCII letters are
    // folded, so the bytes of other UTF-8 characters stay as they are.
    std::string folded = javaExe;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    size_t marker = folded.find("\\bin\\java.exe");
    if (marker == std::string::npos) return false;
    home = javaExe.substr(0, marker);
    return true;
}
