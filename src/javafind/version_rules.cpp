// Version text rules.
#include "javafind/version_rules.h"

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

bool ExtractQuotedVersion(const std::string& output, std::string& versionText) {
    size_t first = output.find('"');
    if (first == std::string::npos || first == 0) return false;
    size_t second = output.find('"', first + 1);
    if (second == std::string::npos) return false;
    versionText = output.substr(first + 1, second - first - 1);
    return true;
}
