// Finding an installed Java runtime in the registry, and asking a java.exe its version.
#pragma once
#include <string>

#include "javafind/version_rules.h"

class JvmLocator {
public:
    // True when a runtime within the bounds was chosen; the out-parameters are set then and
    // untouched otherwise.
    bool FindJvm(const VersionBounds& bounds, double& version, std::string& javaHome,
                 std::string& javaExe) const;
    // In the program's own registry view unless another is given (KEY_WOW64_32KEY/64KEY).
    double GetCurrentVersion(unsigned long view = 0) const;        // 0.0 when unreadable
    std::string GetCurrentJavaHome(unsigned long view = 0) const;  // "" when any step fails

    double ParseVersion(const std::string& text) const;
    // Runs the file with -version; 0.0 when no version can be read from what it prints. text, when
    // given, receives the version as printed.
    double ProbeJavaVersion(const std::string& javaExePath, std::string* text = nullptr) const;

private:
    std::string BaseKeyPath() const;
    // The JavaSoft "Java Runtime Environment" tree of one view: its current version, else the
    // first subkey in range. versionText: the text the version was read from.
    bool FindInJreTree(unsigned long view, const VersionBounds& bounds, double& version,
                       std::string& versionText, std::string& javaHome) const;
    // The same tree in the other view and the installers' places, the highest version of all,
    // then JAVA_HOME; only when the tree in the own view names none.
    bool FindElsewhere(const VersionBounds& bounds, double& version, std::string& javaHome) const;
};
