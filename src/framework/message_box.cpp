// Message boxes and the standard Open dialog.
#include "framework/message_box.h"

#include <commdlg.h>

#include "framework/string_table.h"
#include "res/resource.h"

int ShowMessage(HWND owner, const std::string& text, UINT buttonsAndIcon) {
    return MessageBoxA(owner, text.c_str(), LoadText(IDS_DISPLAY_NAME).c_str(), buttonsAndIcon);
}

bool AskForFileToOpen(HWND owner, const char* filterName, const char* pattern, std::string& path) {
    std::string filter = std::string(filterName) + '\0' + pattern + '\0' + '\0';
    char file[MAX_PATH] = {};
    OPENFILENAMEA dialog = {};
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
    using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
    HMODULE library = LoadLibraryA("comdlg32.dll");
    if (library == nullptr) return false;
    auto getOpenFileName = reinterpret_cast<GetOpenFileNameFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "GetOpenFileNameA")));
    // The dialog moves the current directory to the chosen file's folder; Java, started later,
    // inherits the launcher's, where a document given by a relative path must still be found.
    char directory[MAX_PATH] = {};
    DWORD kept = GetCurrentDirectoryA(MAX_PATH, directory);
    bool chosen = getOpenFileName != nullptr && getOpenFileName(&dialog);
    if (kept > 0 && kept < MAX_PATH) SetCurrentDirectoryA(directory);
    if (chosen) path = file;
    return chosen;
}
