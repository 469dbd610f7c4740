// Message boxes and the standard Open dialog.
#include "framework/message_box.h"

#include <commdlg.h>

#include "framework/string_table.h"
#include "res/resource.h"
#include "util/wide_text.h"

namespace {
std::string g_support;
}  // namespace

void SetSupportText(const std::string& line) { g_support = line; }

int ShowMessage(HWND owner, const std::string& text, UINT buttonsAndIcon) {
    // A box of its own is in front of Java's windows, which the launcher has no right to push
    // aside: where Windows refuses it the foreground, it is on top all the same. System-modal is
    // application-modal and topmost; Wine makes only that one topmost.
    UINT inFront = owner == nullptr ? MB_SETFOREGROUND | MB_TOPMOST | MB_SYSTEMMODAL : 0;
    std::string shown = g_support.empty() ? text : text + "\n\n" + g_support;
    return MessageBoxW(owner, Widen(shown).c_str(), Widen(LoadText(IDS_DISPLAY_NAME)).c_str(),
                       buttonsAndIcon | inFront);
}

std::string SystemErrorText(unsigned long error, const std::string& path) {
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? Narrow(buffer, length) : "";
    LocalFree(buffer);
    for (size_t at = 0; (at = text.find("%1", at)) != std::string::npos; at += path.size())
        text.replace(at, 2, path);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(error) : text;
}

bool AskForFileToOpen(HWND owner, const char* filterName, const char* pattern, std::string& path) {
    std::wstring filter = Widen(filterName) + L'\0' + Widen(pattern) + L'\0' + L'\0';
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;  // in characters, terminator included
    // Overwrite-prompt is the only option asked for; the explorer look is what users know.
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER;

    // Loaded only when the user asks for the dialog: imported, comdlg32 and what it pulls in
    // would be loaded on every start of the launcher, which rarely shows a window at all. It
    // stays loaded: the dialog leaves shell threads behind that may still run its code.
    using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
    HMODULE library = LoadLibraryW(L"comdlg32.dll");
    if (library == nullptr) return false;
    auto getOpenFileName = reinterpret_cast<GetOpenFileNameFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "GetOpenFileNameW")));
    // The dialog moves the current directory to the chosen file's folder; Java, started later,
    // inherits the launcher's, where a document given by a relative path must still be found.
    wchar_t directory[MAX_PATH] = {};
    DWORD kept = GetCurrentDirectoryW(MAX_PATH, directory);
    bool chosen = getOpenFileName != nullptr && getOpenFileName(&dialog);
    if (kept > 0 && kept < MAX_PATH) SetCurrentDirectoryW(directory);
    if (chosen) path = Narrow(file, wcslen(file));
    return chosen;
}
