// Path text rules over Windows paths (backslash separators), free of any system call.
#pragma once
#include <string>

// In a double-byte code page (Japanese, Chinese) the second byte of a character may be 0x5C,
// a backslash: only a walk from the start with the code page's lead bytes can tell.
using LeadByteTest = bool (*)(unsigned char);
// The program's own text is UTF-8, where no byte of a longer character is a backslash: false.
bool IsUtf8LeadByte(unsigned char c);

void AddTrailingBackslash(std::string& path, LeadByteTest isLeadByte);    // "" stays ""
void StripTrailingBackslash(std::string& path, LeadByteTest isLeadByte);  // removes one only

// Index of the last backslash that is a character of its own, not the trail byte of a
// double-byte character; std::string::npos when there is none.
size_t FindLastBackslash(const std::string& path, LeadByteTest isLeadByte);

// A file name whose extension is exactly `extension` (lower case, ".jar"), in any case:
// "tessaly.jar_old" has no ".jar".
bool HasExtension(const std::string& name, const std::string& extension);
