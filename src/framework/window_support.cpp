// What the launcher's windows need, prepared only when some are about to show.
#include "framework/window_support.h"

#include <windows.h>
#include <objbase.h>

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
