// The launcher's own file location and a file-existence test.
#include "util/module_files.h"

#include <shlobj.h>

#include "util/path_text.h"
#include "util/wide_text.h"

void GetModulePath(HMODULE module, std::string& out) {
    wchar_t buffer[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(module, buffer, MAX_PATH);
    // On a path that does not fit, XP leaves the buffer unterminated; newer systems cut it.
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    out = Narrow(buffer, length);
}

void GetModuleDirectory(HMODULE module, std::string& out) {
    std::string path;
    GetModulePath(module, path);
    size_t slash = FindLastBackslash(path, IsUtf8LeadByte);
    out = (slash == std::string::npos) ? path : path.substr(0, slash);
}

bool FileExists(std::string path) {
    std::wstring wide = Widen(path);
    if (wide.empty() || wide.size() >= MAX_PATH) return false;
    wchar_t full[MAX_PATH] = {};
    DWORD length = GetFullPathNameW(wide.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return false;
    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(wide.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

std::string ReadSmallFile(const std::string& path, size_t bytes) {
    HANDLE file =
        CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    std::string content(bytes, '\0');
    DWORD read = 0;
    if (!ReadFile(file, &content[0], static_cast<DWORD>(content.size()), &read, nullptr)) read = 0;
    CloseHandle(file);
    content.resize(read);
    return content;
}

std::string UserFolder(const wchar_t* variable, int csidl) {
    wchar_t base[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(variable, base, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return Narrow(base, length);
    if (SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, base) != S_OK) return "";
    return Narrow(base, wcslen(base));
}
