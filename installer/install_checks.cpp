// The MSI's custom actions that stop it before anything changes: where it must not install, and
// while Tessaly runs; and the removal of the system account's logs once a removal has succeeded. Their
// messages go through Windows Installer, which shows them or, silently, writes them into the log (Wine's
// msiexec logs no launch condition's message).
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>

namespace {

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
    wchar_t empty[1] = L"";
    DWORD size = 0;
    if (MsiGetPropertyW(install, name, empty, &size) != ERROR_MORE_DATA) return std::wstring();
    std::wstring value(++size, L'\0');
    if (MsiGetPropertyW(install, name, &value[0], &size) != ERROR_SUCCESS) return std::wstring();
    value.resize(size);
    return value;
}

// An error code as text; std::to_wstring would triple the DLL's size.
std::wstring Number(DWORD value) {
    std::wstring text;
    do text.insert(text.begin(), static_cast<wchar_t>(L'0' + value % 10));
    while (value /= 10);
    return text;
}

// Written into the installation's log (and not shown).
void Log(MSIHANDLE install, const std::wstring& text) {
    PMSIHANDLE record = MsiCreateRecord(1);
    MsiRecordSetStringW(record, 0, L"[1]");
    MsiRecordSetStringW(record, 1, text.c_str());
    MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
}

// Held by another program: opening it unshared meets that program's open handle. Only for reading,
// all that a filtered administrator's token (an immediate action under UAC) may ask of a file in
// Program Files: asking for deletion would be denied there, and a denial is no proof of use.
// Any other failure is logged and does not stop the installation.
bool IsHeld(MSIHANDLE install, const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION) return true;
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
        Log(install, L"CheckFilesInUse: " + path + L" could not be opened (error " + Number(error) +
                         L"); not taken as in use");
    return false;
}

bool EndsWith(const std::wstring& name, const wchar_t* end) {
    int size = lstrlenW(end);
    return name.size() > static_cast<size_t>(size) &&
           CompareStringOrdinal(name.c_str() + name.size() - size, size, end, size, TRUE) == CSTR_EQUAL;
}

// The pattern *.jar also matches short 8.3 aliases (TESSAL~1.JAR for tessaly.jar_old): only a
// name whose extension is exactly .jar is one of the application's jars.
bool IsJar(const std::wstring& name) { return EndsWith(name, L".jar"); }

// A launcher's log: tessaly-<time>-<process>.log, the extension exactly .log.
bool IsLog(const std::wstring& name) {
    return name.size() > 8 && CompareStringOrdinal(name.c_str(), 8, L"tessaly-", 8, TRUE) == CSTR_EQUAL &&
           EndsWith(name, L".log");
}

// A folder there and no link: a junction in its place would lead the removal into another folder.
bool IsPlainFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The logs in <local>Quellmark\Tessaly, then that folder and Quellmark, each only once empty.
void RemoveLogs(MSIHANDLE install, const std::wstring& local) {
    std::wstring publisher = local + L"Quellmark\\", folder = publisher + L"Tessaly\\";
    if (!IsPlainFolder(publisher) || !IsPlainFolder(folder)) return;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"tessaly-*.log").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring path = folder + found.cFileName;
            if (IsLog(found.cFileName) && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !DeleteFileW(path.c_str()))
                Log(install,
                    L"RemoveSystemLogs: " + path + L" stays (error " + Number(GetLastError()) + L")");
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(publisher.c_str());
}

// The launcher or the first jar in lib that is held; empty when none is.
std::wstring FirstHeld(MSIHANDLE install, const std::wstring& folder) {
    if (IsHeld(install, folder + L"tessaly.exe")) return folder + L"tessaly.exe";
    std::wstring lib = folder + L"lib\\";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((lib + L"*.jar").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::wstring();
    std::wstring held;
    do {
        if (IsJar(found.cFileName) && IsHeld(install, lib + found.cFileName)) held = lib + found.cFileName;
    } while (held.empty() && FindNextFileW(search, &found));
    FindClose(search);
    return held;
}

// Shown (OK) or logged; the path or property in it goes into field 1, since field 0 is a
// template where any [ ] would be read as a property.
int Tell(MSIHANDLE install, const std::wstring& text, UINT buttons) {
    PMSIHANDLE record = MsiCreateRecord(1);
    MsiRecordSetStringW(record, 0, L"[1]");
    MsiRecordSetStringW(record, 1, text.c_str());
    return MsiProcessMessage(install, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_ERROR | buttons), record);
}

}  // namespace

// Ends the installation with the text that REFUSAL holds (scheduled where it is set).
extern "C" __declspec(dllexport) UINT __stdcall Refuse(MSIHANDLE install) {
    Tell(install, Property(install, L"REFUSAL"), MB_OK | MB_ICONSTOP);
    return ERROR_INSTALL_FAILURE;
}

// Immediate, before InstallValidate; INSTALLEDDIR names the installed folder (with its trailing
// backslash). Interactively the user closes Tessaly and retries, or cancels; a silent install ends
// with 1603, the message in the log. Either way the installation stays as it was.
extern "C" __declspec(dllexport) UINT __stdcall CheckFilesInUse(MSIHANDLE install) {
    std::wstring folder = Property(install, L"INSTALLEDDIR");
    if (folder.empty()) return ERROR_SUCCESS;
    if (folder.back() != L'\\') folder += L'\\';
    for (;;) {
        std::wstring held = FirstHeld(install, folder);
        if (held.empty()) return ERROR_SUCCESS;
        int answer = Tell(
            install,
            L"Tessaly is running: " + held +
                L" is in use.\n\nClose Tessaly, then choose Retry. Cancel leaves the installation as it was.",
            MB_RETRYCANCEL | MB_ICONEXCLAMATION);
        if (answer == IDCANCEL) return ERROR_INSTALL_USEREXIT;
        // Without a window to ask in (a silent install), there is no answer.
        if (answer != IDRETRY) return ERROR_INSTALL_FAILURE;
    }
}

// The last action in a removal's script: the system account's logs. CustomActionData holds the system
// profiles' AppData\Local folders, separated by |, named as the launcher names them: with
// System32 for the real one. A 32-bit action reaches that folder only with WOW64's redirection
// to SysWOW64 turned off (a 64-bit one has none to turn off). A log that stays is logged, never a
// reason to fail the removal.
extern "C" __declspec(dllexport) UINT __stdcall RemoveSystemLogs(MSIHANDLE install) {
    std::wstring folders = Property(install, L"CustomActionData") + L"|";
    PVOID redirection = nullptr;
    BOOL off = Wow64DisableWow64FsRedirection(&redirection);
    for (size_t start = 0, end; (end = folders.find(L'|', start)) != std::wstring::npos; start = end + 1) {
        std::wstring local = folders.substr(start, end - start);
        // Only a full path: [System64Folder] is empty on 32-bit Windows.
        if (local.size() < 3 || local[1] != L':' || local[2] != L'\\') continue;
        if (local.back() != L'\\') local += L'\\';
        RemoveLogs(install, local);
    }
    if (off) Wow64RevertWow64FsRedirection(redirection);
    return ERROR_SUCCESS;
}
