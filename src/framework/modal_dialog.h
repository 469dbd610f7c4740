// Our small stand-in for a framework dialog: a modal dialog from a template, whose button
// clicks are routed through a table from control id to member function.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "framework/background_work.h"

class ModalDialog {
public:
    ModalDialog(int templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // IDOK or IDCANCEL as the dialog was ended; -1 when it could not be created.
    INT_PTR DoModal();
    HWND Window() const { return m_hWnd; }

protected:
    using Handler = void (ModalDialog::*)();
    // Button clicks for controls other than IDOK and IDCANCEL.
    void OnClick(int controlId, Handler handler) { m_commands.emplace_back(controlId, handler); }

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(m_hWnd, IDOK); }
    // Escape and the close box arrive here as IDCANCEL.
    virtual void OnCancel() { EndDialog(m_hWnd, IDCANCEL); }

    // For a handler: runs work() (a lambda that captures by reference) on a worker thread while
    // the dialog keeps painting and answering. Meanwhile its buttons start nothing, and a close
    // waits until the handler has finished (its message boxes answered), then closes as it
    // always does.
    template <typename Work>
    void RunBusy(Work work) {
        m_busy = true;
        RunWhileDispatching(
            m_hWnd, [](void* context) { (*static_cast<Work*>(context))(); }, &work);
        m_busy = false;
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCommand(int controlId);
    bool RunCommand(int controlId);

    int m_templateId;
    HWND m_parent;
    HWND m_hWnd = nullptr;
    std::vector<std::pair<int, Handler>> m_commands;
    bool m_busy = false;
    bool m_closeAsked = false;
};
