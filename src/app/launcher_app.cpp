// The application object: start-up and the choice of one of the launcher's three jobs.
#include "app/launcher_app.h"

#include "app/switches.h"
#include "settings/launcher_settings.h"

// Common controls and COM are prepared where windows are shown (WindowSupport): most starts show none.
bool LauncherApp::InitInstance(const std::vector<std::string>& args) {
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
    return false;
}

void LauncherApp::Uninstall(LauncherSettings& settings) { settings.ClearJavaSettings(); }
