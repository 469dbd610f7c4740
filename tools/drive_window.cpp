// Acts as the user for the demo: waits for a window by caption, reads a control's text,
// presses a button or the Escape key.
//   drive_window wait CAPTION | text CAPTION ID | press CAPTION ID | escape CAPTION
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND WaitFor(const char* caption) {
    for (int i = 0; i < 750; ++i) {
        HWND window = FindWindowA("#32770", caption);
        if (window != nullptr && IsWindowVisible(window)) return window;
        Sleep(20);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: drive_window wait|text|press|escape CAPTION [ID]\n");
        return 2;
    }
    HWND window = WaitFor(argv[2]);
    if (window == nullptr) {
        std::fprintf(stderr, "no window \"%s\"\n", argv[2]);
        return 1;
    }
    int id = argc > 3 ? std::atoi(argv[3]) : 0;
    if (std::strcmp(argv[1], "text") == 0) {
        char text[2048] = {};
        GetWindowTextA(GetDlgItem(window, id), text, sizeof text);
        std::printf("%s\n", text);
    } else if (std::strcmp(argv[1], "press") == 0) {
        PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0);
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
