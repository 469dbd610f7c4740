// Text rules of the Install Java dialog, free of any system call.
#pragma once
#include <string>

// "Requires Java minimum version: 1.5", plus " and maximum version: X" unless X is exactly "0".
std::string BoundsText(const std::string& minText, const std::string& maxText);

// The part of a chosen java.exe path before the first "\bin\java.exe", its ASCII letters
// compared in either case. False, with home untouched, when the path has no such part.
bool HomeOfJavaExe(const std::string& javaExe, std::string& home);
