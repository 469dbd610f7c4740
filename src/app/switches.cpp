// Command-line switches.
#include "app/switches.h"

namespace {
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

Road ChooseRoad(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        if (EqualsIgnoringAsciiCase(args[i], "-install")) return Road::Install;
        if (EqualsIgnoringAsciiCase(args[i], "-uninstall")) return Road::Uninstall;
    }
    return Road::Launch;
}
