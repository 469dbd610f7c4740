// Program entry: harden the DLL search, then hand the arguments to the application object.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/launcher_app.h"

// Arguments reach Java as the user gave them: no expansion of wildcards by the C runtime.
extern "C" int _CRT_glob = 0;

namespace {

LauncherApp theApp;

// A DLL planted beside the launcher (a Downloads folder) must never be loaded: whatever is
// loaded after start-up (the Open dialog pulls in many) comes from the system folder only.
void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryA("");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    std::vector<std::string> args(__argv, __argv + __argc);
    theApp.InitInstance(args);
    return 0;
}
