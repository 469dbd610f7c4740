// How version texts become numbers, and how numbers are judged against the bounds.
#pragma once
#include <string>
#include <vector>

// Digits and the first point are kept, everything else dropped, then read as a decimal
// number: "1.6.0_02" gives 1.6002, "11.0.2" gives 11.02. No digits give 0.0.
double ParseVersionText(const std::string& text);

// Both bounds inclusive; an upper bound below 1.0 means there is none.
double EffectiveMaxVersion(double maxVersion);
bool IsVersionAccepted(double version, double minVersion, double maxVersion);

// The bounds a runtime must lie within: the string table's as numbers, each one replaced by an
// administrator's version text where one is set ("17", "1.8"), which is compared part by part (a
// leading 1 dropped), a maximum admitting every update of the version it names.
struct VersionBounds {
    double min = 0.0, max = 0.0;
    std::string minText, maxText;
};
// versionText: the version as its source names it; "" when only the number is known.
bool IsVersionAccepted(const VersionBounds& bounds, double version, const std::string& versionText);
// Parts of digits split at single '.', '_' or '-', each of at most nine digits.
bool IsVersionText(const std::string& text);
// The JAVA_VERSION="..." of a runtime's `release` file; "" when it names none.
std::string ReleaseVersion(const std::string& releaseFile);

// A version's numbers, for ordering runtimes found by key name: the runs of digits (parts
// split at ".", "_", "-", "+"), a leading 1 dropped when more follow, so that "1.8.0_392" and
// "8.0.392.8" compare alike. A part too big for the type counts as its largest value.
std::vector<unsigned long> VersionParts(const std::string& text);
// Negative, zero or positive as a is below, equal to or above b; missing parts count as 0.
int CompareVersionParts(const std::vector<unsigned long>& a, const std::vector<unsigned long>& b);

// The machine a program's PE header names (0x14C x86, 0x8664 x64, 0xAA64 ARM64), from the
// file's first bytes; 0 when they are no PE header.
unsigned PeMachine(const std::string& firstBytes);
constexpr unsigned kMachineArm64 = 0xAA64;
// Which of two runtimes found goes first: the higher version, except that on ARM64 Windows a
// native ARM64 runtime goes before an emulated one of the same feature version (the first part).
// Negative, zero or positive as a goes after, equal to or before b.
int CompareRuntimes(const std::vector<unsigned long>& a, unsigned machineA,
                    const std::vector<unsigned long>& b, unsigned machineB, bool arm64Windows);

// The text strictly between the first two double quotes of `java -version` output. False
// when there is no pair, or the output starts with the quote.
bool ExtractQuotedVersion(const std::string& output, std::string& versionText);
