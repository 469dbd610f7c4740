// Measures, under one Wine server: the size of tessaly.exe, its start-to-Java time against a
// program that only calls ShellExecuteA, and the class-path build time for 500 against 5,000 jars.
// Both programs come from the build of the launcher under test: the shipped 32-bit one where this
// machine runs 32-bit programs (scripts/bench sets TESSALY_TARGET=win32), else the x86_64 twin.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/jvm_launcher.h"

namespace {

const bool kShipped = std::getenv("TESSALY_TARGET") && std::string(std::getenv("TESSALY_TARGET")) == "win32";
// A 32-bit program on 64-bit Windows reads the 32-bit registry view; this bench is 64-bit.
const REGSAM kView = kShipped ? KEY_WOW64_32KEY : 0;

std::string Dir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir = path;
    return dir.substr(0, dir.find_last_of('\\'));
}

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The launcher's key for the bench's runs, left as it was found: values that were there are put
// back, the others removed, and the keys the bench had to create are deleted again.
class ScratchSettings {
public:
    ScratchSettings() {
        DWORD made = 0;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParent, 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr, &m_key,
                        &made);
        m_madeParent = made == REG_CREATED_NEW_KEY;
        RegCloseKey(m_key);
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr, &m_key,
                        &made);
        m_madeKey = made == REG_CREATED_NEW_KEY;
    }
    ~ScratchSettings() {
        for (const Saved& value : m_saved) {
            if (value.existed) {
                RegSetValueExA(m_key, value.name.c_str(), 0, value.type, value.data.data(),
                               static_cast<DWORD>(value.data.size()));
            } else {
                RegDeleteValueA(m_key, value.name.c_str());
            }
        }
        RegCloseKey(m_key);
        if (m_madeKey) RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, kView, 0);
        if (m_madeParent) RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kParent, kView, 0);
    }
    ScratchSettings(const ScratchSettings&) = delete;
    ScratchSettings& operator=(const ScratchSettings&) = delete;

    void Set(const char* name, const std::string& text) {
        Saved value{name};
        DWORD size = 0;
        value.existed = RegQueryValueExA(m_key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS;
        value.data.resize(size);
        if (value.existed) RegQueryValueExA(m_key, name, nullptr, &value.type, value.data.data(), &size);
        m_saved.push_back(value);
        RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }

private:
    static constexpr const char* kParent = "Software\\Quellmark";
    static constexpr const char* kKey = "Software\\Quellmark\\Tessaly";
    struct Saved {
        std::string name;
        bool existed = false;
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };
    HKEY m_key = nullptr;
    bool m_madeParent = false, m_madeKey = false;
    std::vector<Saved> m_saved;
};

// A directory's change notification, closed when the owner ends.
class ChangeWatch {
public:
    explicit ChangeWatch(const std::string& dir)
        : m_handle(FindFirstChangeNotificationA(dir.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME)) {}
    ~ChangeWatch() {
        if (m_handle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(m_handle);
    }
    ChangeWatch(const ChangeWatch&) = delete;
    ChangeWatch& operator=(const ChangeWatch&) = delete;

    // Until a change, or 50 ms should none be reported. Re-armed only after a change: Wine loses
    // a pending notification that is re-armed. A change between the caller's look at the folder
    // and this wait is still reported, and after the wait the caller looks again.
    void Wait() {
        if (WaitForSingleObject(m_handle, 50) == WAIT_OBJECT_0) FindNextChangeNotification(m_handle);
    }

private:
    HANDLE m_handle;
};

std::string MakeJarDir(const std::string& name, int jars) {
    std::string dir = Dir() + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    for (int i = 0; i < jars; ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "\\library-%05d.jar", i);
        HANDLE h = CreateFileA((dir + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }
    return dir;
}

// As a standard user, whose starts keep a log: Wine's own processes are elevated, the linked token
// is not.
BOOL StartAsUser(std::string commandLine, PROCESS_INFORMATION& info) {
    static HANDLE token = nullptr;
    static TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    if (token == nullptr && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size);
    STARTUPINFOA startup = {sizeof startup};
    return CreateProcessAsUserA(linked.LinkedToken, nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0,
                                nullptr, nullptr, &startup, &info);
}

// Milliseconds from starting `program` until the stand-in Java has renamed its record into place.
// The bench sleeps on the folder's change notification meanwhile: polling would take a core from
// the very start it measures.
double StartToJava(const std::string& program, const std::string& arguments, const std::string& record) {
    // The previous start's Java and its console host end first rather than compete: the bare program
    // leaves them running, the launcher waits for them, and a start that follows them meets their end.
    Sleep(500);
    DeleteFileA(record.c_str());
    ChangeWatch watch(record.substr(0, record.find_last_of('\\')));
    PROCESS_INFORMATION info = {};
    double begin = Now();
    if (!StartAsUser("\"" + program + "\" " + arguments, info)) return -1;
    CloseHandle(info.hThread);
    double took = -1;
    for (;;) {
        if (GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES) {
            took = Now() - begin;
            break;
        }
        if (Now() - begin > 20000) break;
        watch.Wait();
    }
    // A start that failed holds the launcher's message box: it is ended, not waited for.
    if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    return took;
}

// The launcher while its Java runs (a stand-in told to stay 4 s): its working set and private bytes,
// and the processor time it takes between 1 and 3 s after its start.
void WhileJavaRuns(const std::string& launcher) {
    std::string commandLine = "\"" + launcher + "\" --act=sleep4000";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return;
    auto cpuMs = [&] {
        FILETIME created, ended, kernel, user;
        GetProcessTimes(info.hProcess, &created, &ended, &kernel, &user);
        return (static_cast<double>(kernel.dwLowDateTime) + user.dwLowDateTime) / 10000.0;
    };
    Sleep(1000);
    double before = cpuMs();
    Sleep(2000);
    double spent = cpuMs() - before;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    std::printf(
        "while Java runs:  launcher working set %zu KB, private %zu KB, processor time %.1f ms in 2 s\n",
        memory.WorkingSetSize / 1024, memory.PrivateUsage / 1024, spent);
    WaitForSingleObject(info.hProcess, 30000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

// The launcher's own time from its process start to Java's CreateProcess returning, as the newest
// log of this user's starts gives it; -1 when none does.
double OwnTime() {
    char folder[MAX_PATH] = {};
    GetEnvironmentVariableA("LOCALAPPDATA", folder, MAX_PATH);
    std::string logs = std::string(folder) + "\\Quellmark\\Tessaly\\";
    WIN32_FIND_DATAA entry, newest = {};
    HANDLE search = FindFirstFileA((logs + "tessaly-*.log").c_str(), &entry);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry)) {
        if (CompareFileTime(&entry.ftLastWriteTime, &newest.ftLastWriteTime) > 0) newest = entry;
    }
    FindClose(search);
    std::ifstream log(logs + newest.cFileName);
    const std::string mark = "the launcher's own time to Java's start: ";
    for (std::string line; std::getline(log, line);) {
        if (line.compare(0, mark.size(), mark) == 0) return std::atof(line.c_str() + mark.size());
    }
    return -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const int runs = 31;
    std::string dir = Dir();
    std::string programs = kShipped ? dir.substr(0, dir.find_last_of('\\')) + "\\win32" : dir;
    std::string launcher = programs + "\\tessaly.exe", bare = programs + "\\shell_start.exe";
    std::string java = dir + "\\fixtures\\java.exe";
    std::string record = dir + "\\fixtures\\launched.txt";
    std::string jars = MakeJarDir("bench-jars-200", 200);

    WIN32_FILE_ATTRIBUTE_DATA file = {};
    GetFileAttributesExA(launcher.c_str(), GetFileExInfoStandard, &file);
    std::printf(
        "measured: %s (%s)\nsize: %lu bytes (goal <= 126976)\n", launcher.c_str(),
        kShipped ? "the shipped 32-bit program" : "the x86_64 twin: this machine runs no 32-bit programs",
        file.nFileSizeLow);
    std::fflush(stdout);

    std::vector<double> launcherTimes, bareTimes, ratios, ownTimes;
    {
        ScratchSettings settings;
        settings.Set("JavaHome", dir + "\\fixtures");
        settings.Set("JavaExe", java);
        settings.Set("JavaOptions", "Main");
        settings.Set("CommandLineArgs", "");
        settings.Set("ClasslibDynPath", jars);

        StartToJava(launcher, "", record);  // warm both up once
        StartToJava(bare, java, record);
        // In pairs, one start of each right after the other, taking turns at going first: the load
        // of a busy machine drifts, and a pair's ratio compares two starts under the same load.
        for (int i = 0; i < runs; ++i) {
            double launcherTime = 0, bareTime = 0;
            if (i % 2 == 0) launcherTime = StartToJava(launcher, "", record);
            bareTime = StartToJava(bare, java, record);
            if (i % 2 != 0) launcherTime = StartToJava(launcher, "", record);
            launcherTimes.push_back(launcherTime);
            ownTimes.push_back(OwnTime());
            bareTimes.push_back(bareTime);
            ratios.push_back(launcherTime / bareTime);
        }
        std::printf(
            "start to Java, medians of %d pairs (200 jars):  tessaly.exe %.1f ms,  ShellExecuteA alone %.1f "
            "ms,"
            "  ratio %.2f (goal <= 1.10)\n",
            runs, Median(launcherTimes), Median(bareTimes), Median(ratios));
        std::printf(
            "the launcher's own time, its start to Java's CreateProcess returning (its log), median of %d: "
            "%.0f ms\n",
            runs, Median(ownTimes));
        std::fflush(stdout);
        WhileJavaRuns(launcher);
    }
    std::fflush(stdout);

    JvmLauncher builder;
    std::vector<std::string> unpassable;
    std::string small = MakeJarDir("bench-jars-500", 500), large = MakeJarDir("bench-jars-5000", 5000);
    std::vector<double> t500, t5000;
    size_t length500 = 0, length5000 = 0;
    for (int i = 0; i < 7; ++i) {
        double begin = Now();
        length500 = builder.BuildJarClassPath(small, unpassable).size();
        t500.push_back(Now() - begin);
        begin = Now();
        length5000 = builder.BuildJarClassPath(large, unpassable).size();
        t5000.push_back(Now() - begin);
    }
    double s = Median(t500), g = Median(t5000);
    std::printf(
        "class path, median of 7:  500 jars %.2f ms (%zu chars),  5000 jars %.2f ms (%zu chars),"
        "  growth %.1fx (goal about 10x)\n",
        s, length500, g, length5000, g / s);
    return 0;
}
