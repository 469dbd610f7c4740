// The MSI's custom actions that stop it before anything changes: where it must not install, and
// while Tessaly runs. Their messages go through Windows Installer, which shows them or, silently,
// writes them into the log (Wine's msiexec logs no launch condition's message).
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

// A file that exists and cannot be opened for deletion, unshared, is held by another program.
bool IsHeld(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    CloseHandle(file);
    return false;
}

// The pattern *.jar also matches short 8.3 aliases (TESSAL~1.JAR for tessaly.jar_old): only a
// name whose extension is exactly .jar is one of the application's jars.
bool IsJar(const std::wstring& name) {
    return name.size() > 4 &&
           CompareStringOrdinal(name.c_str() + name.size() - 4, 4, L".jar", 4, TRUE) == CSTR_EQUAL;
}

// The launcher or the first jar in lib that is held; empty when none is.
std::wstring FirstHeld(const std::wstring& folder) {
    if (IsHeld(folder + L"tessaly.exe")) return folder + L"tessaly.exe";
    std::wstring lib = folder + L"lib\\";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((lib + L"*.jar").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::wstring();
    std::wstring held;
    do {
        if (IsJar(found.cFileName) && IsHeld(lib + found.cFileName)) held = lib + found.cFileName;
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
        std::wstring held = FirstHeld(folder);
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
