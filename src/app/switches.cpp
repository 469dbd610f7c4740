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

namespace {
// Index of the argument that decides the road; args.size() when none does.
size_t DecidingSwitch(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        for (const char* road : {"-install", "-uninstall", "-user-options"}) {
            if (EqualsIgnoringAsciiCase(args[i], road)) return i;
        }
    }
    return args.size();
}
}  // namespace

Road ChooseRoad(const std::vector<std::string>& args) {
    size_t i = DecidingSwitch(args);
    if (i == args.size()) return Road::Launch;
    if (EqualsIgnoringAsciiCase(args[i], "-install")) return Road::Install;
    return EqualsIgnoringAsciiCase(args[i], "-uninstall") ? Road::Uninstall : Road::UserOptions;
}

bool AsksQuiet(const std::vector<std::string>& args) {
    size_t i = DecidingSwitch(args);
    if (i == args.size() || !EqualsIgnoringAsciiCase(args[i], "-install")) return false;
    for (++i; i < args.size(); ++i) {
        if (EqualsIgnoringAsciiCase(args[i], "-quiet")) return true;
    }
    return false;
}
