// The class path from a folder of .jar files, and the start of java.exe.
#include "app/jvm_launcher.h"

#include <windows.h>
#include <versionhelpers.h>

#include "app/java_watch.h"
#include "app/launch_params.h"
#include "app/passable_text.h"
#include "framework/output_pipe.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "framework/unique_handle.h"
#include "res/resource.h"
#include "util/ansi_text.h"
#include "util/path_text.h"
#include "util/wide_text.h"

namespace {

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

// From the launcher's process start until now.
unsigned long OwnMilliseconds() {
    FILETIME created = {}, ended, kernel, user, now = {};
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<unsigned long>((ticks(now) - ticks(created)) / 10000);
}

}  // namespace

std::string JvmLauncher::BuildJarClassPath(std::string directory,
                                           std::vector<std::string>& unpassable) const {
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
        if (!HasExtension(name, ".jar")) continue;
        std::string jar;
        if (!PassableText(directory + "\\" + name, jar)) unpassable.push_back(directory + "\\" + name);
        AppendClassPathEntry(classPath, jar);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return classPath;
}

JavaStart JvmLauncher::StartJava(const std::string& javaExe, const std::string& parameters) const {
    JavaStart result;
    // Quoted as the shell quoted it: unquoted, C:\Program Files\... would first run C:\Program.exe.
    std::string commandLine = "\"" + javaExe + "\" " + parameters;
    LogLine("starting: " + commandLine);

    // With a console of its own that has no window (programs that Java starts share it rather
    // than each opening one), and no show state: a console hidden by SW_HIDE may still show where
    // a terminal program hosts consoles, and with no console window to take the show state,
    // Windows would apply it to the application's first window.
    STARTUPINFOEXA startup = {};
    startup.StartupInfo.cb = sizeof startup;
    // The taskbar groups Java's windows under the launcher's identity, and pins the shortcut that
    // carries it, not java.exe. Windows before 7 know no such flag.
    std::string identity = LoadText(IDS_APP_ID);
    if (IsWindows7OrGreater() && !identity.empty()) {
        startup.StartupInfo.dwFlags |= STARTF_TITLEISAPPID;
        startup.StartupInfo.lpTitle = &identity[0];
    }
    // Every piece was made passable, so the whole converts exactly.
    std::string ansi;
    Utf8ToAnsi(commandLine, ansi);
    std::vector<char> buffer(ansi.begin(), ansi.end());
    buffer.push_back('\0');
    OutputPipe pipe;
    bool piped = pipe.Create();
    if (!piped) LogLine("no pipe for Java's output: it goes nowhere");
    PROCESS_INFORMATION info = {};
    BOOL started = FALSE;
    {
        // Java inherits its end of the pipe and nothing else of the launcher's: not the pipes of
        // whoever started the launcher, which would otherwise stay open for as long as Java runs.
        InheritOnly only(piped ? pipe.ChildEnd() : nullptr);
        if (piped) {
            startup.StartupInfo.dwFlags |= STARTF_USESTDHANDLES;
            startup.StartupInfo.hStdOutput = pipe.ChildEnd();
            startup.StartupInfo.hStdError = pipe.ChildEnd();
            startup.lpAttributeList = only.List();
        }
        DWORD flags =
            CREATE_NO_WINDOW | (startup.lpAttributeList != nullptr ? EXTENDED_STARTUPINFO_PRESENT : 0);
        started = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, piped, flags, nullptr, nullptr,
                                 &startup.StartupInfo, &info);
        if (!started) result.error = GetLastError();
    }
    LogLine("the launcher's own time to Java's start: " + std::to_string(OwnMilliseconds()) + " ms");
    // Without this copy the pipe ends when Java's copies close; with it, never.
    pipe.CloseChildEnd();
    UniqueHandle process(started ? info.hProcess : nullptr);
    UniqueHandle thread(started ? info.hThread : nullptr);
    if (!started) return result;
    // Wine starts a Linux program (a java.exe linked to the machine's own) without a process
    // handle: there is nothing to stay with.
    if (!process.IsValid()) {
        result.outcome = JavaStart::kUnwatched;
        return result;
    }
    if (RunLog* log = RunLog::Current()) log->RemoveOld();
    WatchJava(process.Get(), info.dwProcessId, piped ? &pipe : nullptr, result);
    return result;
}
