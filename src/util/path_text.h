// Path text rules over Windows paths (backslash separators), free of any system call.
#pragma once
#include <string>

void AddTrailingBackslash(std::string& path);    // "" stays ""
void StripTrailingBackslash(std::string& path);  // removes one backslash only

// Index of the last backslash that is a character of its own, not the trail byte of a
// double-byte character; std::string::npos when there is none.
size_t FindLastBackslash(const std::string& path, bool (*isLeadByte)(unsigned char));
