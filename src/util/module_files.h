// The launcher's own file location and a file-existence test.
#pragma once
#include <windows.h>
#include <string>

// Full path of the module's file (nullptr: the running program); cut to 259 characters.
void GetModulePath(HMODULE module, std::string& out);
// Directory of the module's file, without trailing backslash.
void GetModuleDirectory(HMODULE module, std::string& out);
// True for an existing file or directory; false for "" and for 260 characters or more.
bool FileExists(std::string path);
// The first `bytes` of a file (64 KB unless told); "" when it cannot be read.
std::string ReadSmallFile(const std::string& path, size_t bytes = 65536);
// A folder of the user's (CSIDL_APPDATA, CSIDL_LOCAL_APPDATA): the environment's variable, else
// the shell's (a start may come without an environment); "" when neither names one.
std::string UserFolder(const wchar_t* variable, int csidl);
