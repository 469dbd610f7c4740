// Running a built program as a process.
#include "support/test_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace testproc {

std::string BuildDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

std::string TessalyExe() { return BuildDir() + "\\tessaly.exe"; }

std::string ShippedExe() {
    std::string build = BuildDir();
    return build.substr(0, build.find_last_of('\\')) + "\\win32\\tessaly.exe";
}

Outcome Run(const std::string& program, const std::string& arguments, DWORD timeoutMs) {
    Outcome outcome;
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    DWORD begin = GetTickCount();
    if (!CreateProcessA(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return outcome;
    }
    outcome.started = true;
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        outcome.finished = true;
        GetExitCodeProcess(info.hProcess, &outcome.exitCode);
    } else {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    outcome.milliseconds = GetTickCount() - begin;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return outcome;
}

namespace {
void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = dir + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}
}  // namespace

std::string MakeTempDir(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string dir = std::string(temp) + "tessaly-tests";
    CreateDirectoryA(dir.c_str(), nullptr);
    dir += "\\" + name;
    RemoveTree(dir);
    EXPECT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << dir;
    return dir;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
    ASSERT_TRUE(out.good()) << path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WaitForFile(const std::string& path, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        std::string content = Exists(path) ? ReadFile(path) : std::string();
        if (!content.empty()) return content;
        Sleep(20);
    }
    return std::string();
}

std::string PlaceFakeJava(const std::string& dir, const std::string& versionText, const std::string& mode) {
    for (size_t slash = dir.find('\\', 3); ; slash = dir.find('\\', slash + 1)) {
        CreateDirectoryA(dir.substr(0, slash).c_str(), nullptr);
        if (slash == std::string::npos) break;
    }
    std::string exe = dir + "\\java.exe";
    EXPECT_TRUE(CopyFileA((BuildDir() + "\\fixtures\\java.exe").c_str(), exe.c_str(), FALSE)) << exe;
    WriteFile(dir + "\\version.txt", versionText);
    WriteFile(dir + "\\mode.txt", mode);
    DeleteFileA((dir + "\\launched.txt").c_str());
    return exe;
}

}  // namespace testproc
