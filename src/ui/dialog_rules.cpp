// Text rules of the Install Java dialog.
#include "ui/dialog_rules.h"

std::string BoundsText(const std::string& minText, const std::string& maxText) {
    std::string text = "Requires Java minimum version: " + minText;
    if (maxText != "0") text += " and maximum version: " + maxText;
    return text;
}

bool HomeOfJavaExe(const std::string& javaExe, std::string& home) {
    size_t marker = javaExe.find("\\bin\\java.exe");
    if (marker == std::string::npos) return false;
    home = javaExe.substr(0, marker);
    return true;
}
