// A modal dialog from a template with a table of button handlers.
#include "framework/modal_dialog.h"

INT_PTR ModalDialog::DoModal() {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_parent, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<ModalDialog*>(lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        dialog->m_hWnd = hWnd;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (dialog == nullptr || message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    return dialog->OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
}

bool ModalDialog::OnCommand(int controlId) {
    if (m_busy) {
        // Clicks during background work start nothing (they used to pile up and all run
        // afterwards); a close is kept for when the busy handler has finished.
        if (controlId == IDCANCEL) m_closeAsked = true;
        return true;
    }
    bool handled = RunCommand(controlId);
    if (m_closeAsked) {
        m_closeAsked = false;
        // Posted, not run here: when the handler has ended the dialog, its loop stops before
        // reading this, and the handler's own result stands.
        PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
    }
    return handled;
}

bool ModalDialog::RunCommand(int controlId) {
    if (controlId == IDOK) {
        OnOK();
        return true;
    }
    if (controlId == IDCANCEL) {
        OnCancel();
        return true;
    }
    for (const auto& command : m_commands) {
        if (command.first == controlId) {
            (this->*command.second)();
            return true;
        }
    }
    return false;
}
