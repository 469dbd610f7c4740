// The log of one start.
#include "framework/run_log.h"

#include <vector>

#include "framework/message_box.h"
#include "framework/string_table.h"
#include "res/resource.h"
#include "util/path_text.h"
#include "util/wide_text.h"

namespace {

RunLog* g_current = nullptr;
std::string g_whyNone;

// An elevated run of this user's account (an installer's -install after "Yes" in the elevation
// prompt) must not write where the same user, unelevated, could have planted a link to a system
// file. The system account's own folders are its administrators' alone. XP knows no elevation.
bool IsElevatedUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    UniqueHandle owned(token);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) ||
        !elevation.TokenIsElevated)
        return false;
    union {
        TOKEN_USER user;
        char room[256];
    } user = {};
    return !GetTokenInformation(token, TokenUser, &user, sizeof user, &size) ||
           !IsWellKnownSid(user.user.User.Sid, WinLocalSystemSid);
}

bool IsLink(const std::string& path) {
    DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Every start's log is named by its UTC time, so the names sort in the order of the starts.
void RemoveOldLogs(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(Widen(folder + "\\" + prefix + "*.log").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        // The pattern matches short 8.3 names too; only the long one counts.
        std::string name = Narrow(entry.cFileName, wcslen(entry.cFileName));
        if (name.compare(0, prefix.size(), prefix) == 0 && HasExtension(name, ".log") &&
            !(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    // A log with kKeptLogs newer ones goes; one that another start still writes cannot be deleted,
    // and stays.
    for (const std::string& name : names) {
        int newer = 0;
        for (const std::string& other : names) newer += other > name;
        if (newer >= kKeptLogs) DeleteFileW(Widen(folder + "\\" + name).c_str());
    }
}

}  // namespace

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
    if (IsElevatedUser()) return Refuse(LoadText(IDS_NO_LOG_ELEVATED));
    wchar_t base[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Refuse(SystemErrorText(ERROR_ENVVAR_NOT_FOUND, ""));
    std::string root = Narrow(base, length);
    std::string stem = root + "\\" + relativeStem;
    size_t slash = stem.rfind('\\');
    std::string folder = stem.substr(0, slash), prefix = stem.substr(slash + 1) + "-";
    // Each folder below it, in turn; creating one that is there fails harmlessly. A junction there
    // would send the log, and the removal of old ones, into another folder.
    for (size_t at = root.size() + 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '\\') continue;
        std::string part = folder.substr(0, at);
        CreateDirectoryW(Widen(part).c_str(), nullptr);
        if (IsLink(part)) {
            std::string why = LoadText(IDS_NO_LOG_LINK);
            return Refuse(why.replace(why.find("%2"), 2, part));
        }
    }
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    char stamp[32] = {};
    wsprintfA(stamp, "%04u%02u%02u-%02u%02u%02u-%lu", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
              now.wSecond, GetCurrentProcessId());
    for (int attempt = 1;; ++attempt) {
        std::string path =
            folder + "\\" + prefix + stamp + (attempt == 1 ? "" : "-" + std::to_string(attempt)) + ".log";
        // A new file, never an existing one emptied, nor one that a link by this name points at.
        // Others may read it while this start writes.
        HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            *m_file.Receive() = file;
            m_path = path;
            g_current = this;
            break;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS || attempt == 9) return Refuse(SystemErrorText(error, path));
    }
    m_folder = folder;
    m_prefix = prefix;
    return true;
}

void RunLog::RemoveOld() {
    if (!m_folder.empty()) RemoveOldLogs(m_folder, m_prefix);
    m_folder.clear();
}

void RunLog::Write(const std::string& text) const {
    DWORD written = 0;
    WriteFile(m_file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
