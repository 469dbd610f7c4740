// Version text rules.
#include "javafind/version_rules.h"

#include <climits>
#include <cstdlib>

#include "util/number_text.h"

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

bool IsVersionAccepted(const VersionBounds& bounds, double version, const std::string& versionText) {
    std::string text = versionText;
    if (text.empty()) DoubleToText(version, text);
    std::vector<unsigned long> parts = VersionParts(text);
    bool aboveMin = bounds.minText.empty() ? version >= bounds.min
                                           : CompareVersionParts(parts, VersionParts(bounds.minText)) >= 0;
    if (bounds.maxText.empty()) return aboveMin && version <= EffectiveMaxVersion(bounds.max);
    std::vector<unsigned long> max = VersionParts(bounds.maxText);
    // Only as many parts as the maximum names: "17" admits 17.0.12.
    if (parts.size() > max.size()) parts.resize(max.size());
    return aboveMin && CompareVersionParts(parts, max) <= 0;
}

bool IsVersionText(const std::string& text) {
    size_t digits = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (!digit &&
            (digits == 0 || i + 1 == text.size() || (text[i] != '.' && text[i] != '_' && text[i] != '-')))
            return false;
        digits = digit ? digits + 1 : 0;
        if (digits > 9) return false;
    }
    return !text.empty();
}

std::string ReleaseVersion(const std::string& releaseFile) {
    const std::string key = "JAVA_VERSION=\"";
    size_t at = releaseFile.find(key);
    // At the start of a line only: IMPLEMENTOR_VERSION and the like end in the same name.
    while (at != std::string::npos && at > 0 && releaseFile[at - 1] != '\n')
        at = releaseFile.find(key, at + 1);
    if (at == std::string::npos) return "";
    size_t end = releaseFile.find('"', at + key.size());
    return end == std::string::npos ? "" : releaseFile.substr(at + key.size(), end - at - key.size());
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

unsigned PeMachine(const std::string& firstBytes) {
    auto octet = [&](size_t offset) {
        return offset < firstBytes.size() ? static_cast<unsigned char>(firstBytes[offset]) : 0u;
    };
    if (firstBytes.compare(0, 2, "MZ") != 0) return 0;
    size_t pe = octet(0x3C) | octet(0x3D) << 8 | octet(0x3E) << 16 | static_cast<size_t>(octet(0x3F)) << 24;
    if (pe > firstBytes.size() || firstBytes.size() - pe < 6 ||
        firstBytes.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
        return 0;
    return octet(pe + 4) | octet(pe + 5) << 8;
}

int CompareRuntimes(const std::vector<unsigned long>& a, unsigned machineA,
                    const std::vector<unsigned long>& b, unsigned machineB, bool arm64Windows) {
    bool nativeA = machineA == kMachineArm64, nativeB = machineB == kMachineArm64;
    bool sameFeature = (a.empty() ? 0 : a[0]) == (b.empty() ? 0 : b[0]);
    if (arm64Windows && sameFeature && nativeA != nativeB) return nativeA ? 1 : -1;
    return CompareVersionParts(a, b);
}

bool ExtractQuotedVersion(const std::string& output, std::string& versionText) {
    size_t first = output.find('"');
    if (first == std::string::npos || first == 0) return false;
    size_t second = output.find('"', first + 1);
    if (second == std::string::npos) return false;
    versionText = output.substr(first + 1, second - first - 1);
    return true;
}
