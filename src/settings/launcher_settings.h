// The launcher's settings: constants from the string table, values under its HKLM key.
#pragma once
#include <string>

#include "javafind/version_rules.h"
#include "settings/policies.h"

// Holds nothing but the administrator's policies, read once a start: every other call reads the
// string table and the registry afresh, opening and closing its own key, so a value written in
// one call is what the next one reads.
class LauncherSettings {
public:
    LauncherSettings() : m_policies(ReadPolicies()) {}

    // A runtime is recorded, its java.exe is there, and an administrator's version bounds, where
    // set, admit it.
    bool IsJavaConfigured() const;
    const Policies& GetPolicies() const { return m_policies; }
    // The string table's, or an administrator's where set.
    VersionBounds GetVersionBounds() const;
    // "Requires Java minimum version: 1.5", for the user.
    std::string GetBoundsText() const;

    double GetMinJavaVersion() const;
    double GetMaxJavaVersion() const;  // as stored; below 1.0 means no upper limit
    std::string GetInstallerFileName() const;
    std::string GetSettingsKeyPath() const;

    std::string GetJavaHome() const;
    std::string GetJavaExe() const;
    double GetJavaVersion() const;  // 0.0 when none is recorded
    void SetJavaHome(const std::string& home) const;
    void SetJavaExe(const std::string& exe) const;
    void SetJavaVersion(double version) const;
    // A chosen runtime: version, then home, then java.exe, each its own write.
    void RecordJava(double version, const std::string& home, const std::string& exe) const;
    void ClearJavaSettings() const;

    // The launch settings, read whole; tooLong set when one is longer than a command line can be.
    std::string GetJavaOptions(bool& tooLong) const;
    std::string GetCommandLineArgs(bool& tooLong) const;
    std::string GetExtraClassPath(bool& tooLong) const;
    std::string GetClasslibDynPath(bool& tooLong) const;

    std::string ReadStringSetting(unsigned keyPathId, unsigned valueNameId, bool& tooLong) const;

private:
    Policies m_policies;
    std::string ReadJavaValue(const char* name) const;
    void WriteJavaValue(const char* name, const std::string& text) const;
};
