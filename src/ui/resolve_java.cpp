// Making sure the settings name an acceptable Java runtime.
#include "app/launcher_app.h"

#include "settings/launcher_settings.h"

int LauncherApp::ResolveJava(LauncherSettings& settings) {
    (void)settings;
    return 1;
}
