// Finding an installed Java runtime in the registry, and asking a java.exe its version.
#pragma once
#include <string>

class JvmLocator {
public:
    // True when a runtime within [minVersion, maxVersion] was chosen; the out-parameters are
    // set then and untouched otherwise. A maxVersion below 1.0 means no upper limit.
    bool FindJvm(double minVersion, double maxVersion, double& version, std::string& javaHome,
                 std::string& javaExe) const;
    double GetCurrentVersion() const;        // 0.0 when unreadable
    std::string GetCurrentJavaHome() const;  // "" when any step fails

    double ParseVersion(const std::string& text) const;
    // Runs the file with -version; 0.0 when no version can be read from what it prints.
    double ProbeJavaVersion(const std::string& javaExePath) const;

private:
    std::string BaseKeyPath() const;
};

// home + "\" (when missing) + "bin\java.exe"
std::string JavaExeForHome(std::string home);
