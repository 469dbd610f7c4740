// The launch sequence: make sure a runtime is recorded, then start Java through the shell.
#include "app/launcher_app.h"

#include "settings/launcher_settings.h"

void LauncherApp::Launch(LauncherSettings& settings, const std::vector<std::string>& args) {
    (void)settings;
    (void)args;
}
