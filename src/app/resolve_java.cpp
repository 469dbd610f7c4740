// Making sure the settings name an acceptable Java runtime: search, else ask the user.
#include "app/launcher_app.h"

#include "app/tell.h"
#include "framework/run_log.h"
#include "framework/window_support.h"
#include "javafind/jvm_locator.h"
#include "res/resource.h"
#include "settings/launcher_settings.h"
#include "ui/install_java_dialog.h"
#include "util/number_text.h"

int LauncherApp::ResolveJava(LauncherSettings& settings, std::string& javaExe) {
    JvmLocator locator;
    double version = 0.0;
    std::string home, exe;
    if (locator.FindJvm(settings.GetVersionBounds(), version, home, exe)) {
        settings.RecordJava(version, home, exe);
        std::string versionText;
        DoubleToText(version, versionText);
        // Read back: a standard user may have no right to write the key.
        bool recorded = settings.GetJavaExe() == exe;
        LogLine("chosen: Java " + versionText + " at " + home +
                (recorded ? ", recorded in" : ", not recorded (no write access) in") +
                " HKEY_LOCAL_MACHINE\\" + settings.GetSettingsKeyPath());
        javaExe = exe;
        return 1;
    }
    if (m_quiet) {
        LogLine("no acceptable runtime found: nothing recorded, and no one asked");
        return 0;
    }
    if (!settings.GetPolicies().allowJavaChoice) {
        LogLine(
            "no acceptable runtime found, and the administrator allows no choice (policy AllowJavaChoice 0)");
        // -install says it in its own event.
        if (!m_installing) {
            Tell(Fill(IDS_NO_JAVA_NO_CHOICE, {settings.GetBoundsText()}), MB_ICONHAND,
                 kEventNoRuntimeNoChoice);
        }
        return 0;
    }
    LogLine("no acceptable runtime found: the Install Java dialog");
    WindowSupport windows;  // for the dialog and the warning
    InstallJavaDialog dialog(nullptr, settings);
    if (dialog.DoModal() == IDOK) {  // Done recorded whatever had to be recorded
        javaExe = dialog.RecordedJavaExe();
        LogLine(javaExe.empty() ? "the dialog's Done, with no runtime: the warning was confirmed"
                                : "the dialog's Done recorded " + javaExe);
        return 1;
    }
    bool goOn = WarnWillNotRun(nullptr);
    LogLine(goOn ? "the dialog was closed; the warning answered OK"
                 : "the dialog was closed; the warning answered Cancel");
    return goOn ? 1 : 0;
}
