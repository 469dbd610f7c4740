// The application object: start-up and the choice of one of the launcher's three jobs.
#pragma once
#include <string>
#include <vector>

class LauncherSettings;

class LauncherApp {
public:
    // Runs the whole job for the given argument vector (index 0 is the program path).
    // Always false: the launcher has no window and no message loop to go on with.
    bool InitInstance(const std::vector<std::string>& args);

    void Uninstall(LauncherSettings& settings);
    void Launch(LauncherSettings& settings, const std::vector<std::string>& args);
    int ResolveJava(LauncherSettings& settings);
};
