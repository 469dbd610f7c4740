// The user's own VM options.
#include "app/user_options.h"

#include <windows.h>
#include <shlobj.h>

#include "app/launch_params.h"
#include "app/tell.h"
#include "framework/message_box.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "framework/unique_handle.h"
#include "res/resource.h"
#include "settings/policies.h"
#include "settings/registry_key.h"
#include "settings/user_options_rules.h"
#include "util/ansi_text.h"
#include "util/module_files.h"
#include "util/wide_text.h"

namespace {

constexpr size_t kMostBytes = 65536;
// Lines not used that the box lists; the log has them all. A box taller than the screen would hide
// its button.
constexpr size_t kMostShown = 10;
// What was told of the file last, as its fingerprint: told once for each change.
const char kToldValue[] = "UserOptionsTold";

// What users find when they first open the file: ASCII, with the byte-order mark that keeps
// Notepad in UTF-8 whatever they type.
const char kExample[] =
    "\xEF\xBB\xBF# Your own Java options for Tessaly, one a line. A line that begins with # is a comment:\r\n"
    "# remove the # to use the option, then start Tessaly again.\r\n"
    "# Taken: -Xms -Xmx -Xss -Xlog -D... -XX:... --add-opens=... --add-exports=... --add-reads=...\r\n"
    "# --enable-native-access=... -ea -da -esa -dsa -verbose:...\r\n"
    "#\r\n"
    "# More memory (here up to 2 GB; a 32-bit Java takes about 1 GB at most):\r\n"
    "# -Xmx2g\r\n";

bool ToldAlready(const std::string& fingerprint) {
    RegistryKey key;
    std::string told;
    key.OpenForRead(HKEY_CURRENT_USER, LoadText(IDS_SETTINGS_KEY));
    return key.QueryString(kToldValue, told) == ERROR_SUCCESS && told == fingerprint;
}

void RememberTold(const std::string& fingerprint) {
    RegistryKey key;
    key.Create(HKEY_CURRENT_USER, LoadText(IDS_SETTINGS_KEY));
    key.SetString(kToldValue, fingerprint);
}

// Told once for each change of the file, when someone saw it; logged at every start.
void TellOnce(const std::string& text, const std::string& fingerprint, bool quiet) {
    if (ToldAlready(fingerprint)) {
        LogLine("told before, for this same file: " + text);
        return;
    }
    if (Tell(text, MB_ICONEXCLAMATION, kEventUserOptions, quiet) == IDOK) RememberTold(fingerprint);
}

// Java reads its command line in the ANSI code page: an option that it would get with '?' in place
// of characters is not the user's option any more.
bool PassesAnsi(const std::string& option) {
    std::string ansi;
    return Utf8ToAnsi(option, ansi);
}

}  // namespace

std::string UserOptionsPath() {
    std::string folder = UserFolder(L"APPDATA", CSIDL_APPDATA);
    return folder.empty() ? "" : folder + "\\" + LoadText(IDS_USER_OPTIONS_FILE);
}

std::string LoadUserOptions(const Policies& policies, bool quiet) {
    std::string path = UserOptionsPath();
    if (path.empty() || !FileExists(path)) return "";
    bool elevated = RunsElevated();
    if (!policies.allowUserOptions || elevated) {
        LogLine(path + " not used: " +
                (elevated ? "this start runs with administrator rights"
                          : "the administrator switched such files off (policy AllowUserOptions)"));
        return "";
    }
    std::string bytes = ReadSmallFile(path, kMostBytes + 1);
    if (bytes.size() > kMostBytes) {
        TellOnce(Fill(IDS_USER_OPTIONS_TOO_BIG, {path}), Fingerprint(bytes), quiet);
        return "";
    }
    UserOptions options = ParseUserOptions(DecodeOptionsFile(bytes, AnsiToUtf8), PassesAnsi);
    std::string joined, refused;
    for (const std::string& option : options.accepted) AppendArgument(joined, option);
    LogLine("this user's own options (" + path + "):" + joined);
    for (size_t i = 0; i < options.refused.size(); ++i) {
        const RefusedLine& line = options.refused[i];
        std::string why = LoadText(IDS_OPTION_NOT_ALLOWED + static_cast<unsigned>(line.why) - 1);
        std::string told = Fill(IDS_OPTION_LINE, {std::to_string(line.number), line.text, why});
        LogLine("not used: " + told);
        if (i < kMostShown) refused += told + "\n";
    }
    if (options.refused.size() > kMostShown)
        refused += Fill(IDS_OPTION_MORE, {std::to_string(options.refused.size() - kMostShown)}) + "\n";
    if (!refused.empty())
        TellOnce(Fill(IDS_USER_OPTIONS_REFUSED, {path, refused}), Fingerprint(bytes), quiet);
    return joined.empty() ? joined : joined.substr(1);
}

int EditUserOptions(const Policies& policies) {
    std::string path = UserOptionsPath();
    LogLine("-user-options: " + path);
    if (!policies.allowUserOptions) {
        Tell(Fill(IDS_USER_OPTIONS_OFF, {path}), MB_ICONEXCLAMATION, kEventUserOptions);
        return 1;
    }
    if (RunsElevated()) {
        Tell(Fill(IDS_USER_OPTIONS_ELEVATED, {}), MB_ICONEXCLAMATION, kEventUserOptions);
        return 1;
    }
    DWORD error = path.empty() ? ERROR_PATH_NOT_FOUND : ERROR_SUCCESS;
    if (error == ERROR_SUCCESS) {
        std::wstring wide = Widen(path);
        SHCreateDirectoryExW(nullptr, wide.substr(0, wide.rfind(L'\\')).c_str(), nullptr);
        // CREATE_NEW: a file that is there keeps what the user wrote.
        UniqueHandle file(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        DWORD written = 0;
        if (file.IsValid()) WriteFile(file.Get(), kExample, sizeof kExample - 1, &written, nullptr);
    }
    // By its full path: a notepad.exe in the current folder must not be the one that starts.
    wchar_t system[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(system, length) + L"\\notepad.exe\" \"" + Widen(path) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (error == ERROR_SUCCESS &&
        !CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        error = GetLastError();
    if (error != ERROR_SUCCESS) {
        Tell(Fill(IDS_USER_OPTIONS_NO_EDIT, {path, SystemErrorText(error, "")}), MB_ICONHAND,
             kEventUserOptions);
        return 1;
    }
    UniqueHandle process(info.hProcess), thread(info.hThread);
    return 0;
}
