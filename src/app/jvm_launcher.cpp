// The class path from a folder of .jar files, and the start of java.exe.
#include "app/jvm_launcher.h"

#include <windows.h>

#include <vector>

#include "app/launch_params.h"
#include "app/passable_text.h"
#include "framework/run_log.h"
#include "framework/unique_handle.h"
#include "util/ansi_text.h"
#include "util/module_files.h"
#include "util/path_text.h"
#include "util/wide_text.h"

namespace {

// Often enough that the launcher ends soon after Java's window shows, seldom enough to cost nothing.
constexpr DWORD kPollMs = 250;
// Of Java's output, read back for the message: more than a dozen lines of a stack trace.
constexpr size_t kTailBytes = 8192;

BOOL CALLBACK IsVisibleWindowOf(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // FALSE ends the enumeration: found.
    return owner == static_cast<DWORD>(processId) && IsWindowVisible(window) ? FALSE : TRUE;
}

bool HasVisibleWindow(DWORD processId) {
    return !EnumWindows(IsVisibleWindowOf, static_cast<LPARAM>(processId));
}

// The attribute that limits what a child inherits to one handle, made inheritable for as long as
// this owner lives. Windows before Vista have no such attribute: there the child inherits every
// inheritable handle, as it did before.
class InheritOnly {
public:
    explicit InheritOnly(HANDLE handle) : m_handle(handle) {
        if (handle == nullptr) return;
        SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        auto initialize = reinterpret_cast<decltype(&InitializeProcThreadAttributeList)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "InitializeProcThreadAttributeList")));
        auto update = reinterpret_cast<decltype(&UpdateProcThreadAttribute)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "UpdateProcThreadAttribute")));
        m_delete = reinterpret_cast<decltype(&DeleteProcThreadAttributeList)>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "DeleteProcThreadAttributeList")));
        SIZE_T size = 0;
        if (initialize == nullptr || update == nullptr || m_delete == nullptr) return;
        initialize(nullptr, 1, 0, &size);
        m_buffer.resize(size);
        auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_buffer.data());
        if (!initialize(list, 1, 0, &size)) return;
        m_list = list;
        if (!update(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &m_handle, sizeof m_handle, nullptr,
                    nullptr)) {
            m_delete(list);
            m_list = nullptr;
        }
    }
    ~InheritOnly() {
        if (m_list != nullptr) m_delete(m_list);
        if (m_handle != nullptr) SetHandleInformation(m_handle, HANDLE_FLAG_INHERIT, 0);
    }
    InheritOnly(const InheritOnly&) = delete;
    InheritOnly& operator=(const InheritOnly&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST List() const { return m_list; }

private:
    HANDLE m_handle;
    std::vector<char> m_buffer;
    LPPROC_THREAD_ATTRIBUTE_LIST m_list = nullptr;
    decltype(&DeleteProcThreadAttributeList) m_delete = nullptr;
};

}  // namespace

std::string JvmLauncher::BuildJarClassPath(std::string directory) const {
    StripTrailingBackslash(directory, IsUtf8LeadByte);
    std::string classPath;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(Widen(directory + "\\*.jar").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return classPath;
    do {
        std::string name = Narrow(entry.cFileName, wcslen(entry.cFileName));
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // The pattern also matches short 8.3 names: tessaly.jar_old is TESSAL~1.JAR.
        if (!HasJarExtension(name)) continue;
        std::string jar;
        if (!PassableText(directory + "\\" + name, jar))
            LogLine("not passed whole: " + directory + "\\" + name);
        AppendClassPathEntry(classPath, jar);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return classPath;
}

JavaStart JvmLauncher::StartJava(const std::string& javaExe, const std::string& parameters) const {
    JavaStart result;
    // Quoted as the shell quoted it: unquoted, C:\Program Files\... would first run C:\Program.exe.
    std::string commandLine = "\"" + javaExe + "\" " + parameters;
    RunLog* log = RunLog::Current();
    LogLine("starting: " + commandLine);
    unsigned long long outputStart = log != nullptr ? log->Size() : 0;

    // As the shell started it: with a console of its own (programs that Java starts share it
    // rather than each opening one), hidden.
    STARTUPINFOEXA startup = {};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    // Every piece was made passable, so the whole converts exactly.
    std::string ansi;
    Utf8ToAnsi(commandLine, ansi);
    std::vector<char> buffer(ansi.begin(), ansi.end());
    buffer.push_back('\0');
    PROCESS_INFORMATION info = {};
    BOOL started = FALSE;
    {
        // Java inherits the log and nothing else of the launcher's: not the pipes of whoever
        // started the launcher, which would otherwise stay open for as long as Java runs.
        InheritOnly only(log != nullptr ? log->Handle() : nullptr);
        if (log != nullptr) {
            startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
            startup.StartupInfo.hStdOutput = log->Handle();
            startup.StartupInfo.hStdError = log->Handle();
            startup.lpAttributeList = only.List();
        }
        DWORD flags =
            CREATE_NEW_CONSOLE | (startup.lpAttributeList != nullptr ? EXTENDED_STARTUPINFO_PRESENT : 0);
        started = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, log != nullptr, flags, nullptr,
                                 nullptr, &startup.StartupInfo, &info);
        if (!started) result.error = GetLastError();
    }
    UniqueHandle process(started ? info.hProcess : nullptr);
    UniqueHandle thread(started ? info.hThread : nullptr);
    if (!started) return result;
    // Wine starts a Linux program (a java.exe linked to the machine's own) without a process
    // handle: there is nothing to watch.
    if (!process.IsValid()) {
        result.outcome = JavaStart::kUnwatched;
        return result;
    }

    DWORD begin = GetTickCount();
    for (;;) {
        if (WaitForSingleObject(process.Get(), kPollMs) == WAIT_OBJECT_0) {
            GetExitCodeProcess(process.Get(), &result.exitCode);
            result.outcome = JavaStart::kEnded;
            if (log != nullptr && result.exitCode != 0)
                result.output = log->ReadTail(outputStart, kTailBytes);
            break;
        }
        if (HasVisibleWindow(info.dwProcessId)) {
            result.outcome = JavaStart::kWindow;
            break;
        }
        // Unsigned difference of tick counts: right across the counter's wrap.
        if (GetTickCount() - begin >= kJavaWatchMs) {
            result.outcome = JavaStart::kRunning;
            break;
        }
    }
    result.waitedMs = GetTickCount() - begin;
    return result;
}
