// Acting as the user on real windows: find dialogs by caption, read texts, press buttons.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ui {

// A visible dialog-class window with this caption; nullptr after the time limit.
HWND WaitFor(const char* caption, DWORD timeoutMs = 15000);
bool WaitGone(HWND window, DWORD timeoutMs = 15000);
std::string Text(HWND dialog, int controlId);   // a message box's text is control 0xFFFF
std::vector<int> TabOrder(HWND dialog);
void Press(HWND dialog, int controlId);         // a posted button click
void Escape(HWND dialog);                       // the Escape key on the focused control
void CloseBox(HWND dialog);
// Types the path into the Open dialog and presses its Open button.
void ChooseFile(const std::string& path);
// Answers the next message box and returns its text (and its owner, if asked).
std::string Answer(int button, HWND* owner = nullptr);
// A picture of the window as shown on the display, at <build>\pictures\<name>.bmp.
void SavePicture(HWND window, const std::string& name);

// Runs `modal` on this thread while `user` acts on the windows from another one.
template <typename Modal>
auto WhileUser(const std::function<void()>& user, Modal modal) {
    std::thread thread(user);
    auto result = modal();
    thread.join();
    return result;
}

}  // namespace ui
