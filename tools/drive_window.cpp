// Acts as the user for the demo: waits for a window by caption, reads a control's text,
// presses a button or the Escape key; or runs a program while a file is held open, as a running
// application holds its jars, or as a standard user (Wine's own processes are elevated; the linked
// token is not). The program's exit code is returned.
//   drive_window wait CAPTION | text CAPTION ID | press CAPTION ID | escape CAPTION
//   drive_window hold FILE PROGRAM [ARGUMENT...] | user PROGRAM [ARGUMENT...]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND WaitFor(const char* caption) {
    for (int i = 0; i < 750; ++i) {
        HWND window = FindWindowA("#32770", caption);
        if (window != nullptr && IsWindowVisible(window)) return window;
        Sleep(20);
    }
    return nullptr;
}

// The window's own control with this id, else one anywhere inside it: an installer's page is a
// dialog within its window.
HWND FindControl(HWND window, int id) {
    if (HWND control = GetDlgItem(window, id)) return control;
    struct Search {
        int id;
        HWND found;
    } search = {id, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) != search->id) return TRUE;
            search->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The arguments after the program are passed as they are, joined by blanks, so that an
// installer's unquoted /D=folder with blanks reaches it whole.
int RunHolding(const char* file, char** command) {
    HANDLE held =
        file != nullptr ? CreateFileA(file, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
    if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot hold \"%s\"\n", file);
        return 1;
    }
    HANDLE token = nullptr;
    TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    if (file == nullptr && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size);
    std::string line = std::string("\"") + command[0] + "\"";
    for (char** word = command + 1; *word != nullptr; ++word) line += std::string(" ") + *word;
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    DWORD code = 1;
    bool started = linked.LinkedToken != nullptr
                       ? CreateProcessAsUserA(linked.LinkedToken, nullptr, &line[0], nullptr, nullptr, FALSE,
                                              0, nullptr, nullptr, &startup, &process)
                       : CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &process);
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (held != nullptr) CloseHandle(held);
    return static_cast<int>(code);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: drive_window wait|text|press|escape CAPTION [ID] | hold FILE PROGRAM...\n");
        return 2;
    }
    if (std::strcmp(argv[1], "hold") == 0 && argc > 3) return RunHolding(argv[2], argv + 3);
    if (std::strcmp(argv[1], "user") == 0) return RunHolding(nullptr, argv + 2);
    HWND window = WaitFor(argv[2]);
    if (window == nullptr) {
        std::fprintf(stderr, "no window \"%s\"\n", argv[2]);
        return 1;
    }
    int id = argc > 3 ? std::atoi(argv[3]) : 0;
    if (std::strcmp(argv[1], "text") == 0) {
        char text[2048] = {};
        GetWindowTextA(FindControl(window, id), text, sizeof text);
        std::printf("%s\n", text);
    } else if (std::strcmp(argv[1], "press") == 0) {
        PostMessageA(FindControl(window, id), BM_CLICK, 0, 0);
    } else if (std::strcmp(argv[1], "escape") == 0) {
        GUITHREADINFO info = {sizeof info};
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        HWND target = info.hwndFocus != nullptr ? info.hwndFocus : window;
        PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    }
    Sleep(200);  // let the window react before the next step looks
    return 0;
}
