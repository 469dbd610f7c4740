// Path text rules.
#include "util/path_text.h"

void AddTrailingBackslash(std::string& path) {
    if (!path.empty() && path.back() != '\\') path += '\\';
}

void StripTrailingBackslash(std::string& path) {
    if (!path.empty() && path.back() == '\\') path.pop_back();
}

size_t FindLastBackslash(const std::string& path, bool (*isLeadByte)(unsigned char)) {
    // Walk forward: in a double-byte code page a 0x5C byte may be the second half of a
    // character, which only a walk from the start can tell.
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
