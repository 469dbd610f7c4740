// Making sure the settings name an acceptable Java runtime.
#include "app/launcher_app.h"

#include "javafind/jvm_locator.h"
#include "settings/launcher_settings.h"

int LauncherApp::ResolveJava(LauncherSettings& settings) {
    double minVersion = settings.GetMinJavaVersion();
    double maxVersion = settings.GetMaxJavaVersion();
    JvmLocator locator;
    double version = 0.0;
    std::string home, exe;
    if (locator.FindJvm(minVersion, maxVersion, version, home, exe)) {
        settings.SetJavaVersion(version);
        settings.SetJavaHome(home);
        settings.SetJavaExe(exe);
        return 1;
    }
    return 1;
}
