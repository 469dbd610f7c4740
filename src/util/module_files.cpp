// The launcher's own file location and a file-existence test.
#include "util/module_files.h"

#include "util/path_text.h"

bool IsAnsiLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

void GetModulePath(HMODULE module, std::string& out) {
    char buffer[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    // On a path that does not fit, XP leaves the buffer unterminated; newer systems cut it.
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    out.assign(buffer, length);
}

void GetModuleDirectory(HMODULE module, std::string& out) {
    std::string path;
    GetModulePath(module, path);
    size_t slash = FindLastBackslash(path, IsAnsiLeadByte);
    out = (slash == std::string::npos) ? path : path.substr(0, slash);
}

bool FileExists(std::string path) {
    if (path.empty() || path.size() >= MAX_PATH) return false;
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return false;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(path.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}
