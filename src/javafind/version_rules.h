// How version texts become numbers, and how numbers are judged against the bounds.
#pragma once
#include <string>

// Digits and the first point are kept, everything else dropped, then read as a decimal
// number: "1.6.0_02" gives 1.6002, "11.0.2" gives 11.02. No digits give 0.0.
double ParseVersionText(const std::string& text);

// Both bounds inclusive; an upper bound below 1.0 means there is none.
double EffectiveMaxVersion(double maxVersion);
bool IsVersionAccepted(double version, double minVersion, double maxVersion);

// The text strictly between the first two double quotes of `java -version` output. False
// when there is no pair, or the output starts with the quote.
bool ExtractQuotedVersion(const std::string& output, std::string& versionText);
