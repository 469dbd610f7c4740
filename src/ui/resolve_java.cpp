// Making sure the settings name an acceptable Java runtime: search, else ask the user.
#include "app/launcher_app.h"

#include "framework/message_box.h"
#include "framework/string_table.h"
#include "javafind/jvm_locator.h"
#include "res/resource.h"
#include "settings/launcher_settings.h"
#include "ui/install_java_dialog.h"

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
    InstallJavaDialog dialog(nullptr, settings);
    if (dialog.DoModal() == IDOK) return 1;  // Done recorded whatever had to be recorded
    std::string text = LoadText(IDS_DISPLAY_NAME) + LoadText(IDS_WILL_NOT_RUN);
    return ShowMessage(nullptr, text, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL ? 0 : 1;
}
