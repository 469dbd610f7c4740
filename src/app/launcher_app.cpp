// The application object: start-up and the choice of one of the launcher's three jobs.
#include "app/launcher_app.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/switches.h"
#include "settings/launcher_settings.h"

bool LauncherApp::InitInstance(const std::vector<std::string>& args) {
    InitCommonControls();
    CoInitialize(nullptr);  // result not examined: nothing here depends on COM succeeding
    LauncherSettings settings;
    switch (ChooseRoad(args)) {
    case Road::Install: {
        std::string recorded;
        ResolveJava(settings, recorded);
        break;
    }
    case Road::Uninstall:
        Uninstall(settings);
        break;
    case Road::Launch:
        Launch(settings, args);
        break;
    }
    CoUninitialize();
    return false;
}

void LauncherApp::Uninstall(LauncherSettings& settings) { settings.ClearJavaSettings(); }
