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

    // Java's exit code after a launch; 1 when nothing was started or, for -install, recorded.
    int ExitCode() const { return m_exitCode; }

    void Uninstall(LauncherSettings& settings);
    void Launch(LauncherSettings& settings, const std::vector<std::string>& args);
    // 1 to go on, 0 to stop. javaExe: the runtime recorded in this run, "" when none was; a
    // launch starts it even when the settings could not be written.
    // Quiet (-install -quiet, or no one to see a window): nothing found means nothing recorded,
    // never the dialog.
    int ResolveJava(LauncherSettings& settings, std::string& javaExe);

private:
    // The runtime for a start: the administrator's (policy JavaHome), else the one recorded, else
    // one found or chosen now. False when there is none to start (the user has been told).
    bool ChooseRuntime(LauncherSettings& settings, std::string& javaExe, double& version);
    bool UseAdministratorsRuntime(LauncherSettings& settings, std::string& javaExe, double& version);
    // The command line from the settings, and Java started with it and stayed with.
    void RunJava(LauncherSettings& settings, const std::vector<std::string>& args, std::string javaExe,
                 double javaVersion);
    void Install(LauncherSettings& settings);

    bool m_quiet = false;
    bool m_installing = false;
    // After a start that failed with the user's own options, the one start without them.
    bool m_withoutUserOptions = false;
    int m_exitCode = 0;
};
