// Running a program and reading what it prints.
#include "javafind/run_capture.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "framework/unique_handle.h"
#include "util/wide_text.h"

namespace {

constexpr DWORD kChunkBytes = 100;
constexpr DWORD kPollMs = 5;

void AppendChunk(std::string& output, const char* chunk, DWORD length) {
    // Text ends at a zero byte, as it always has for this output.
    const void* zero = std::memchr(chunk, '\0', length);
    if (zero != nullptr) length = static_cast<DWORD>(static_cast<const char*>(zero) - chunk);
    size_t room = kCaptureKeepBytes - output.size();
    output.append(chunk, length < room ? length : room);
}

}  // namespace

std::string RunAndCapture(const std::string& program, const std::string& arguments, unsigned timeLimitMs) {
    // Quoted: unquoted, "C:\Program Files\Java\bin\java.exe" would first run C:\Program.exe.
    std::string commandLine = "\"" + program + "\" " + arguments;
    if (commandLine.size() + 1 > kCommandLineBytes) return std::string();

    UniqueHandle readEnd, writeEnd;
    SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (!CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0)) return std::string();
    // Only the child's end is inherited; a child holding the read end too could keep it open.
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();

    // CreateProcessW may write into the command line it is given.
    std::wstring wide = Widen(commandLine);
    std::vector<wchar_t> buffer(wide.c_str(), wide.c_str() + wide.size() + 1);
    PROCESS_INFORMATION info = {};
    BOOL started =
        CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE,
                       CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info);
    UniqueHandle process(started ? info.hProcess : nullptr);
    UniqueHandle thread(started ? info.hThread : nullptr);
    // Our copy of the write end goes at once: the pipe ends when the child's copies close,
    // and never while we hold one.
    writeEnd.Close();
    if (!started) return std::string();

    std::string output;
    // Unsigned difference of tick counts: right across the counter's wrap after 49 days.
    DWORD start = GetTickCount();
    char chunk[kChunkBytes];
    for (;;) {
        if (GetTickCount() - start >= timeLimitMs) {
            TerminateProcess(process.Get(), 1);
            return std::string();
        }
        DWORD available = 0;
        // Polled rather than a blocking read, so that a silent child cannot hold us past the
        // limit. Peeking fails once every writer has closed and the pipe is drained.
        if (!PeekNamedPipe(readEnd.Get(), nullptr, 0, nullptr, &available, nullptr)) break;
        if (available == 0) {
            Sleep(kPollMs);
            continue;
        }
        DWORD read = 0;
        if (!ReadFile(readEnd.Get(), chunk, available < kChunkBytes ? available : kChunkBytes, &read,
                      nullptr)) {
            break;
        }
        AppendChunk(output, chunk, read);
    }
    return output;
}
