// The log of one run.
#include "framework/run_log.h"

#include "util/wide_text.h"

namespace {

RunLog* g_current = nullptr;
// Names tried before giving up: each is held only while a run's Java still writes to it.
constexpr int kNames = 9;

}  // namespace

void LogLine(const std::string& text) {
    if (g_current != nullptr) g_current->Write(text + "\r\n");
}

RunLog::~RunLog() {
    if (g_current == this) g_current = nullptr;
}

RunLog* RunLog::Current() { return g_current; }

bool RunLog::Open(const std::string& relativePath) {
    wchar_t base[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    std::string folder = Narrow(base, length);
    std::string stem = folder + "\\" + relativePath;
    // Each folder below it, in turn; creating one that is there fails harmlessly.
    for (size_t slash = folder.size() + 1; (slash = stem.find('\\', slash)) != std::string::npos; ++slash)
        CreateDirectoryW(Widen(stem.substr(0, slash)).c_str(), nullptr);
    for (int i = 1; i <= kNames; ++i) {
        std::string path = stem + (i == 1 ? "" : "-" + std::to_string(i)) + ".log";
        // Others may read it, no one may write: while an earlier run's Java holds the file, this
        // CreateFile fails instead of emptying it.
        HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            *m_file.Receive() = file;
            m_path = path;
            g_current = this;
            return true;
        }
        if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
    }
    return false;
}

unsigned long long RunLog::Size() const {
    LARGE_INTEGER size = {};
    return GetFileSizeEx(m_file.Get(), &size) ? static_cast<unsigned long long>(size.QuadPart) : 0;
}

std::string RunLog::ReadTail(unsigned long long offset, size_t maxBytes) const {
    // A handle of its own: reading through the log's would move the position that the launcher
    // and Java share for writing. It must let both go on writing.
    UniqueHandle reader(CreateFileW(Widen(m_path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!reader.IsValid() || !GetFileSizeEx(reader.Get(), &size)) return std::string();
    unsigned long long end = static_cast<unsigned long long>(size.QuadPart);
    if (end <= offset) return std::string();
    if (end - offset > maxBytes) offset = end - maxBytes;
    LARGE_INTEGER start = {};
    start.QuadPart = static_cast<LONGLONG>(offset);
    std::string text(static_cast<size_t>(end - offset), '\0');
    DWORD read = 0;
    if (!SetFilePointerEx(reader.Get(), start, nullptr, FILE_BEGIN) ||
        !ReadFile(reader.Get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr))
        return std::string();
    text.resize(read);
    return text;
}

void RunLog::Write(const std::string& text) const {
    DWORD written = 0;
    WriteFile(m_file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
