// Making sure the settings name an acceptable Java runtime: search, else ask the user.
#include "app/launcher_app.h"

#include "framework/window_support.h"
#include "javafind/jvm_locator.h"
#include "settings/launcher_settings.h"
#include "ui/install_java_dialog.h"

int LauncherApp::ResolveJava(LauncherSettings& settings, std::string& javaExe) {
    double minVersion = settings.GetMinJavaVersion();
    double maxVersion = settings.GetMaxJavaVersion();
    JvmLocator locator;
    double version = 0.0;
    std::string home, exe;
    if (locator.FindJvm(minVersion, maxVersion, version, home, exe)) {
        settings.RecordJava(version, home, exe);
        javaExe = exe;
        return 1;
    }
    WindowSupport windows;  // for the dialog and the warning
    InstallJavaDialog dialog(nullptr, settings);
    if (dialog.DoModal() == IDOK) {  // Done recorded whatever had to be recorded
        javaExe = dialog.RecordedJavaExe();
        return 1;
    }
    return WarnWillNotRun(nullptr) ? 1 : 0;
}
