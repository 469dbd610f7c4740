// Running a built program as a process, the way a user's shortcut would.
#pragma once
#include <windows.h>
#include <string>

namespace testproc {

// Directory of the running test program (the build folder, beside tessaly.exe).
std::string BuildDir();
std::string TessalyExe();   // the twin built with the tests, which Wine here can run
std::string ShippedExe();   // the 32-bit program from build/win32, for checks that only read it

struct Outcome {
    bool started = false;
    bool finished = false;  // false: still running at the time limit (then it is killed)
    DWORD exitCode = 0;
    DWORD milliseconds = 0;
};

// Runs "<program>" <arguments> with no window and waits for it.
Outcome Run(const std::string& program, const std::string& arguments, DWORD timeoutMs = 20000);

// A fresh, empty directory under the Wine prefix's temporary folder.
std::string MakeTempDir(const std::string& name);
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);  // "" when missing
bool Exists(const std::string& path);
// Waits for a file that a started program leaves behind; its content, or "" at the limit.
std::string WaitForFile(const std::string& path, DWORD timeoutMs = 10000);

// A copy of the stand-in java.exe at dir\java.exe (folders made as needed) that answers
// -version with `versionText`, printed the way `mode` says (err, out, both, chunks, huge,
// none, slow). Returns the path of the copy.
std::string PlaceFakeJava(const std::string& dir, const std::string& versionText,
                          const std::string& mode = "err");

}  // namespace testproc
