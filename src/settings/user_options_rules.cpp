// Text rules of the user's options file and of the Java download.
#include "settings/user_options_rules.h"

#include <algorithm>
#include <cmath>

#include "util/output_decoder.h"
#include "util/utf8_text.h"

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// "-Xmx2g": digits and at most one unit, as Java reads sizes.
bool IsSize(const std::string& text) {
    size_t digits = text.find_first_not_of("0123456789");
    if (digits == 0 || text.empty()) return false;
    return digits == std::string::npos ||
           (digits + 1 == text.size() && std::string("kKmMgGtT").find(text[digits]) != std::string::npos);
}

// An option and its own value after ':', or nothing after it.
bool OptionWithColon(const std::string& option, const char* name) {
    return option == name || StartsWith(option, (std::string(name) + ":").c_str());
}

// Heap and stack sizes by their prefix; the rest by their whole name, with an optional ":…".
const char* const kSized[] = {"-Xms", "-Xmx", "-Xss"};
const char* const kFlags[] = {"-Xlog",
                              "-ea",
                              "-da",
                              "-enableassertions",
                              "-disableassertions",
                              "-esa",
                              "-dsa",
                              "-enablesystemassertions",
                              "-disablesystemassertions",
                              "-verbose"};
// Options whose value must follow "=" on the same line.
const char* const kModuleOptions[] = {"--add-opens", "--add-exports", "--add-reads",
                                      "--enable-native-access"};

}  // namespace

OptionRefusal CheckUserOption(const std::string& option) {
    for (char c : option) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return OptionRefusal::kControl;
    }
    for (const char* sized : kSized) {
        if (StartsWith(option, sized))
            return IsSize(option.substr(4)) ? OptionRefusal::kNone : OptionRefusal::kBadSize;
    }
    for (const char* flag : kFlags) {
        if (OptionWithColon(option, flag)) return OptionRefusal::kNone;
    }
    for (const char* module : kModuleOptions) {
        if (!StartsWith(option, module)) continue;
        std::string rest = option.substr(std::string(module).size());
        if (rest.size() > 1 && rest[0] == '=') return OptionRefusal::kNone;
        if (rest.empty() || rest == "=" || rest[0] == ' ' || rest[0] == '\t')
            return OptionRefusal::kNeedsEquals;
    }
    if (StartsWith(option, "-D") && option.size() > 2 && option[2] != '=') return OptionRefusal::kNone;
    if (StartsWith(option, "-XX:") && option.size() > 4) {
        // The flag's name, after a '+' or '-', up to its '='.
        std::string name = option.substr(option[4] == '+' || option[4] == '-' ? 5 : 4);
        name.erase(std::min(name.find('='), name.size()));
        if (name == "VMOptionsFile" || name == "Flags") return OptionRefusal::kOtherFile;
        return name.empty() ? OptionRefusal::kNotAllowed : OptionRefusal::kNone;
    }
    return OptionRefusal::kNotAllowed;
}

std::string DecodeOptionsFile(const std::string& bytes, std::string (*fromAnsi)(const std::string&)) {
    bool utf8 = StartsWith(bytes, "\xEF\xBB\xBF"), little = StartsWith(bytes, "\xFF\xFE"),
         big = StartsWith(bytes, "\xFE\xFF");
    if (!utf8 && !little && !big) return IsValidUtf8(bytes) ? bytes : fromAnsi(bytes);
    std::u16string units = utf8 ? Utf16FromUtf8(bytes.substr(3)) : u"";
    for (size_t i = 2; !utf8 && i + 1 < bytes.size(); i += 2) {
        auto low = static_cast<unsigned char>(bytes[i + (big ? 1 : 0)]);
        auto high = static_cast<unsigned char>(bytes[i + (big ? 0 : 1)]);
        units += static_cast<char16_t>(high << 8 | low);
    }
    // A lone half of a surrogate pair is no character (a file name may hold one; a text, never).
    for (size_t i = 0; i < units.size(); ++i) {
        bool lead = units[i] >= 0xD800 && units[i] < 0xDC00, trail = units[i] >= 0xDC00 && units[i] < 0xE000;
        if (lead && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            ++i;
        } else if (lead || trail) {
            units[i] = 0xFFFD;
        }
    }
    return Utf8FromUtf16(units);
}

UserOptions ParseUserOptions(const std::string& text, bool (*passes)(const std::string&)) {
    UserOptions options;
    unsigned number = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        std::string line = text.substr(at, end - at);
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        ++number;
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        line = line.substr(first, line.find_last_not_of(" \t") + 1 - first);
        OptionRefusal why = CheckUserOption(line);
        if (why == OptionRefusal::kNone && passes != nullptr && !passes(line)) why = OptionRefusal::kCodePage;
        if (why == OptionRefusal::kNone) {
            options.accepted.push_back(line);
        } else {
            options.refused.push_back({number, line, why});
        }
    }
    return options;
}

std::string Fingerprint(const std::string& bytes) {
    unsigned long long hash = 14695981039346656037ULL;
    for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    std::string text;
    for (int shift = 60; shift >= 0; shift -= 4) text += "0123456789abcdef"[(hash >> shift) & 15];
    return text;
}

namespace {
// The feature version of a bound: its text's first part ("1.8.0" is 8), else its number's (1.8 is
// 8, 17.02 is 17); 0 for none.
unsigned Feature(const std::string& text, double number) {
    if (!text.empty()) {
        std::vector<unsigned long> parts = VersionParts(text);
        return parts.empty() ? 0 : static_cast<unsigned>(std::min(parts[0], 999UL));
    }
    if (number < 1.0) return 0;
    return number < 2.0 ? static_cast<unsigned>(std::lround((number - 1.0) * 10))
                        : static_cast<unsigned>(std::min(number, 999.0));
}
}  // namespace

unsigned DownloadVersion(unsigned wanted, const VersionBounds& bounds, bool x86) {
    unsigned version = wanted, max = Feature(bounds.maxText, bounds.max),
             min = Feature(bounds.minText, bounds.min);
    // "17.0.2" admits no later update of 17, which the newest 17 would be.
    if (max != 0 && max <= version && VersionParts(bounds.maxText).size() > 2) return 0;
    if (max != 0 && max < version) version = max;
    if (min > version) version = min;
    if (x86 && version >= 24) return 0;
    return version;
}

std::string DownloadAddress(std::string pattern, unsigned version, const std::string& arch) {
    for (auto [mark, value] :
         {std::pair<std::string, std::string>{"{version}", std::to_string(version)}, {"{arch}", arch}}) {
        for (size_t at = 0; (at = pattern.find(mark, at)) != std::string::npos; at += value.size())
            pattern.replace(at, mark.size(), value);
    }
    return pattern;
}
