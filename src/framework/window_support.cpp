// What the launcher's windows need, prepared only when some are about to show.
#include "framework/window_support.h"

#include <windows.h>
#include <objbase.h>

bool AnyoneCanSee() {
    USEROBJECTFLAGS flags = {};
    DWORD size = 0;
    // Should the question fail, the user is more likely there than not.
    if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, &size))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
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
}

WindowSupport::~WindowSupport() {
    if (m_comInitialized) CoUninitialize();
}
