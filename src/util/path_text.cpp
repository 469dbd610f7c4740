// Path text rules.
#include "util/path_text.h"

namespace {
bool EndsWithBackslash(const std::string& path, LeadByteTest isLeadByte) {
    return !path.empty() && FindLastBackslash(path, isLeadByte) == path.size() - 1;
}
}  // namespace

bool IsUtf8LeadByte(unsigned char) { return false; }

void AddTrailingBackslash(std::string& path, LeadByteTest isLeadByte) {
    if (!path.empty() && !EndsWithBackslash(path, isLeadByte)) path += '\\';
}

void StripTrailingBackslash(std::string& path, LeadByteTest isLeadByte) {
    if (EndsWithBackslash(path, isLeadByte)) path.pop_back();
}

bool HasExtension(const std::string& name, const std::string& extension) {
    if (name.size() < extension.size()) return false;
    std::string end = name.substr(name.size() - extension.size());
    for (char& c : end) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return end == extension;
}

size_t FindLastBackslash(const std::string& path, LeadByteTest isLeadByte) {
    // Walk forward: a 0x5C byte may be the second half of a character.
    size_t found = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (isLeadByte(c) && i + 1 < path.size()) {
            ++i;
        } else if (c == '\\') {
            found = i;
        }
    }
    return found;
}
