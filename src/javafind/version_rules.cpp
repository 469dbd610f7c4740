// Version text rules.
#include "javafind/version_rules.h"

#include <climits>
#include <cstdlib>

double ParseVersionText(const std::string& text) {
    std::string kept;
    bool pointSeen = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            kept += c;
        } else if (c == '.' && !pointSeen) {
            kept += c;
            pointSeen = true;
        }
    }
    // Thousands of digits overflow to infinity, which no bound accepts.
    return std::atof(kept.c_str());
}

double EffectiveMaxVersion(double maxVersion) { return maxVersion < 1.0 ? 9999.0 : maxVersion; }

bool IsVersionAccepted(double version, double minVersion, double maxVersion) {
    return minVersion <= version && version <= EffectiveMaxVersion(maxVersion);
}

std::vector<unsigned long> VersionParts(const std::string& text) {
    std::vector<unsigned long> parts;
    bool inPart = false;
    for (char c : text) {
        bool digit = c >= '0' && c <= '9';
        if (digit && !inPart) parts.push_back(0);
        if (digit) {
            unsigned long& part = parts.back();
            unsigned long d = static_cast<unsigned long>(c - '0');
            part = part > (ULONG_MAX - d) / 10 ? ULONG_MAX : part * 10 + d;
        }
        inPart = digit;
    }
    if (parts.size() > 1 && parts[0] == 1) parts.erase(parts.begin());
    return parts;
}

int CompareVersionParts(const std::vector<unsigned long>& a, const std::vector<unsigned long>& b) {
    for (size_t i = 0; i < a.size() || i < b.size(); ++i) {
        unsigned long x = i < a.size() ? a[i] : 0, y = i < b.size() ? b[i] : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

bool ExtractQuotedVersion(const std::string& output, std::string& versionText) {
    size_t first = output.find('"');
    if (first == std::string::npos || first == 0) return false;
    size_t second = output.find('"', first + 1);
    if (second == std::string::npos) return false;
    versionText = output.substr(first + 1, second - first - 1);
    return true;
}
