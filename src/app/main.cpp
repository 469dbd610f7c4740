// Program entry: harden the DLL search, then hand the arguments to the application object.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/launcher_app.h"
#include "util/wide_text.h"

// Arguments reach Java as the user gave them: no expansion of wildcards by the C runtime. The
// arguments are the wide ones (a wide entry point), split by the same rules, so that a name
// the ANSI code page cannot hold arrives whole.
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
    SetDllDirectoryW(L"");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    RestrictDllSearch();
    std::vector<std::string> args;
    for (int i = 0; i < __argc; ++i) args.push_back(Narrow(__wargv[i], wcslen(__wargv[i])));
    theApp.InitInstance(args);
    return theApp.ExitCode();
}
