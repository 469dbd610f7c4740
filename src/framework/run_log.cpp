// The log of one start.
#include "framework/run_log.h"

#include <shlobj.h>

#include <vector>

#include "framework/message_box.h"
#include "framework/session_rules.h"
#include "framework/string_table.h"
#include "res/resource.h"
#include "util/module_files.h"
#include "util/path_text.h"
#include "util/wide_text.h"

namespace {

RunLog* g_current = nullptr;
std::string g_whyNone;

// The elevated half of a split token (an installer's -install after "Yes" in the elevation
// prompt) must not write where the same user, unelevated, could have planted a link to a system
// file. XP knows no elevation.
bool MayLogHere() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
    UniqueHandle owned(token);
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    return !GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size) || MayKeepLog(type);
}

// The system account's profile lies in the system folder, which WOW64 redirects for a 32-bit
// program to SysWOW64: written through Sysnative, the log is where its name says it is.
std::string Unredirected(const std::string& path) {
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    wchar_t system[MAX_PATH] = {}, windows[MAX_PATH] = {};
    if (isWow64 == nullptr || !isWow64(GetCurrentProcess(), &wow64) || !wow64) return path;
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    std::wstring wide = Widen(path);
    if (length == 0 || length >= MAX_PATH || wide.size() <= length || wide[length] != L'\\' ||
        _wcsnicmp(wide.c_str(), system, length) != 0)
        return path;
    length = GetWindowsDirectoryW(windows, MAX_PATH);
    // XP and Server 2003 x64 know Sysnative only with a hotfix: without it, the log stays where
    // WOW64 puts it.
    std::string sysnative = Narrow(windows, length) + "\\Sysnative";
    if (GetFileAttributesW(Widen(sysnative).c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    return sysnative + Narrow(wide.substr(wcslen(system)));
}

bool IsLink(const std::string& path) {
    DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION first = {}, second = {};
    return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

uint64_t Ticks(const FILETIME& time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

void RemoveOldLogs(const std::string& folder, const std::string& prefix, HANDLE own) {
    std::vector<LogEntry> logs;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(Widen(folder + "\\" + prefix + "*.log").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        // The pattern matches short 8.3 names too; only the long one counts.
        std::string name = Narrow(entry.cFileName, wcslen(entry.cFileName));
        if (name.compare(0, prefix.size(), prefix) == 0 && HasExtension(name, ".log") &&
            !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            logs.push_back({name, Ticks(entry.ftLastWriteTime)});
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    for (const std::string& name :
         OldLogs(logs, Ticks(now), kKeptLogs, uint64_t{kKeptLogMinutes} * 60 * 10000000)) {
        // This start's own goes never, whatever its name (asked without any access that its
        // sharing could refuse); one that another start still writes cannot be deleted, and stays.
        std::wstring path = Widen(folder + "\\" + name);
        UniqueHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (file.IsValid() && SameFile(file.Get(), own)) continue;
        file.Close();
        DeleteFileW(path.c_str());
    }
}

}  // namespace

bool RunsElevated() { return !MayLogHere(); }

void LogLine(const std::string& text) {
    if (g_current != nullptr) g_current->Write(text + "\r\n");
}

RunLog::~RunLog() {
    if (g_current == this) g_current = nullptr;
}

RunLog* RunLog::Current() { return g_current; }

const std::string& RunLog::WhyNone() { return g_whyNone; }

bool RunLog::Refuse(const std::string& why) {
    g_whyNone = why;
    return false;
}

bool RunLog::Open(const std::string& relativeStem) {
    if (RunsElevated()) return Refuse(LoadText(IDS_NO_LOG_ELEVATED));
    // XP has no %LOCALAPPDATA%.
    std::string root = UserFolder(L"LOCALAPPDATA", CSIDL_LOCAL_APPDATA);
    if (root.empty()) return Refuse(SystemErrorText(ERROR_PATH_NOT_FOUND, ""));
    std::string stem = root + "\\" + relativeStem;
    size_t slash = stem.rfind('\\');
    std::string shown = stem.substr(0, slash), prefix = stem.substr(slash + 1);
    std::string folder = Unredirected(shown);
    size_t shift = folder.size() - shown.size();
    // Each folder below it, in turn; creating one that is there fails harmlessly. A junction there
    // would send the log, and the removal of old ones, into another folder.
    for (size_t at = root.size() + shift + 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '\\') continue;
        std::string part = folder.substr(0, at);
        CreateDirectoryW(Widen(part).c_str(), nullptr);
        if (IsLink(part)) {
            std::string why = LoadText(IDS_NO_LOG_LINK);
            return Refuse(why.replace(why.find("%2"), 2, shown.substr(0, at - shift)));
        }
    }
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    LogTime utc = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
    for (unsigned counter = 1;; ++counter) {
        std::string name = LogFileName(prefix, utc, counter);
        // A new file, never an existing one emptied, nor one that a link by this name points at.
        // Others may read it while this start writes.
        HANDLE file =
            CreateFileW(Widen(folder + "\\" + name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            *m_file.Receive() = file;
            m_path = shown + "\\" + name;
            g_current = this;
            break;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS || counter == 99)
            return Refuse(SystemErrorText(error, shown + "\\" + name));
    }
    m_folder = folder;
    m_prefix = prefix + "-";
    return true;
}

void RunLog::RemoveOld() {
    if (!m_folder.empty()) RemoveOldLogs(m_folder, m_prefix, m_file.Get());
    m_folder.clear();
}

void RunLog::Write(const std::string& text) const {
    DWORD written = 0;
    WriteFile(m_file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

unsigned long long RunLog::End() const {
    LARGE_INTEGER at = {};
    LARGE_INTEGER none = {};
    SetFilePointerEx(m_file.Get(), none, &at, FILE_CURRENT);
    return static_cast<unsigned long long>(at.QuadPart);
}

void RunLog::Rewrite(unsigned long long offset, const std::string& text) const {
    LARGE_INTEGER at = {};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(m_file.Get(), at, nullptr, FILE_BEGIN)) return;
    Write(text);
    SetEndOfFile(m_file.Get());
}
