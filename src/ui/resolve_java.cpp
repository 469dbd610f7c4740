// Making sure the settings name an acceptable Java runtime: search, else ask the user.
#include "app/launcher_app.h"

#include "javafind/jvm_locator.h"
#include "settings/launcher_settings.h"
#include "ui/install_java_dialog.h"

int LauncherApp::ResolveJava(LauncherSettings& settings) {
    double minVersion = settings.GetMinJavaVersion();
    double maxVersion = settings.GetMaxJavaVersion();
    JvmLocator locator;
    double version = 0.0;
    std::string home, exe;
    if (locator.FindJvm(minVersion, maxVersion, version, home, exe)) {
        settings.RecordJava(version, home, exe);
        return 1;
    }
    InstallJavaDialog dialog(nullptr, settings);
    if (dialog.DoModal() == IDOK) return 1;  // Done recorded whatever had to be recorded
    return WarnWillNotRun(nullptr) ? 1 : 0;
}
