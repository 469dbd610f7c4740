// Acting as the user on real windows.
#include "support/ui_driver.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_process.h"

namespace ui {

HWND WaitFor(const char* caption, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        HWND window = FindWindowA("#32770", caption);
        if (window != nullptr && IsWindowVisible(window)) {
            Sleep(100);  // let it finish painting and settle its focus
            return window;
        }
        Sleep(20);
    }
    ADD_FAILURE() << "no window \"" << caption << "\"";
    return nullptr;
}

bool WaitGone(HWND window, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        if (!IsWindow(window)) return true;
        Sleep(20);
    }
    return false;
}

std::string Text(HWND dialog, int controlId) {
    char text[2048] = {};
    GetWindowTextA(GetDlgItem(dialog, controlId), text, sizeof text);
    return text;
}

std::vector<int> TabOrder(HWND dialog) {
    std::vector<int> ids;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        ids.push_back(GetDlgCtrlID(c));
    }
    return ids;
}

void Press(HWND dialog, int controlId) { PostMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0); }

void Escape(HWND dialog) {
    GUITHREADINFO info = {sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    HWND target = info.hwndFocus != nullptr ? info.hwndFocus : dialog;
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

void CloseBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

namespace {
// Depth-first: the Open dialog nests its controls inside a child dialog.
HWND FindControl(HWND parent, int id, const char* className) {
    for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[64] = {};
        GetClassNameA(c, cls, sizeof cls);
        if (GetDlgCtrlID(c) == id && (className == nullptr || lstrcmpiA(cls, className) == 0)) return c;
        if (HWND inner = FindControl(c, id, className)) return inner;
    }
    return nullptr;
}
}  // namespace

void ChooseFile(const std::string& path) {
    HWND open = WaitFor("Open");
    ASSERT_NE(open, nullptr);
    // The explorer-style name field nests an Edit inside combo boxes, all with id 1148.
    HWND edit = FindControl(open, 1148, "Edit");
    if (edit == nullptr) edit = FindControl(open, 1152, "Edit");  // the old-style field
    if (edit == nullptr) PostMessageA(open, WM_COMMAND, IDCANCEL, 0);  // never leave the test hanging
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(FindControl(open, IDOK, "Button"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitGone(open));
}

std::string Answer(int button, HWND* owner) {
    HWND box = WaitFor("Tessaly");
    if (box == nullptr) return "<no message box>";
    std::string text = Text(box, 0xFFFF);
    if (owner != nullptr) *owner = GetWindow(box, GW_OWNER);
    EXPECT_NE(GetDlgItem(box, button), nullptr) << "no button " << button << " in: " << text;
    Press(box, button);
    EXPECT_TRUE(WaitGone(box));
    return text;
}

void SavePicture(HWND window, const std::string& name) {
    RECT r;
    GetWindowRect(window, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB};
    std::string pixels(static_cast<size_t>(((width * 3 + 3) & ~3) * height), '\0');
    GetDIBits(memory, bitmap, 0, height, &pixels[0], reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof header + pixels.size()), 0, 0,
                             sizeof file + sizeof header};
    std::string dir = testproc::BuildDir() + "\\pictures";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::ofstream out(dir + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out << pixels;
}

}  // namespace ui
