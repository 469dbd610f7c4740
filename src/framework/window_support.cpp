// What the launcher's windows need, prepared only when some are about to show.
#include "framework/window_support.h"

#include <windows.h>
#include <objbase.h>
#include <versionhelpers.h>

#include "framework/session_rules.h"
#include "framework/string_table.h"
#include "res/resource.h"
#include "util/wide_text.h"

bool AnyoneCanSee() {
    USEROBJECTFLAGS flags = {};
    DWORD size = 0, session = 1;
    // Should a question fail, the user is more likely there than not.
    bool visible =
        !GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &size) ||
        (flags.dwFlags & WSF_VISIBLE) != 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &session)) session = 1;
    return CanBeSeen(IsWindowsVistaOrGreater(), session, visible);
}

WindowSupport::WindowSupport() {
    // Loaded, not imported, or every start would load it. Through the manifest's activation
    // context this is version 6, the one the manifest asks for.
    using InitCommonControlsFn = void(WINAPI*)();
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (library != nullptr) {
        auto initCommonControls = reinterpret_cast<InitCommonControlsFn>(
            reinterpret_cast<void*>(GetProcAddress(library, "InitCommonControls")));
        if (initCommonControls != nullptr) initCommonControls();
    }
    m_comInitialized = SUCCEEDED(CoInitialize(nullptr));
    // The launcher's boxes sit with Java's windows under Tessaly on the taskbar. Windows 7 and
    // later; set before the first window shows.
    using SetAppIdFn = HRESULT(WINAPI*)(PCWSTR);
    auto setAppId = reinterpret_cast<SetAppIdFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("shell32.dll"), "SetCurrentProcessExplicitAppUserModelID")));
    std::string identity = LoadText(IDS_APP_ID);
    if (setAppId != nullptr && !identity.empty()) setAppId(Widen(identity).c_str());
}

WindowSupport::~WindowSupport() {
    if (m_comInitialized) CoUninitialize();
}
