// The launcher's settings: constants from the string table, values under its HKLM key.
#pragma once
#include <string>

// Holds nothing: every call reads the string table and the registry afresh, opening and
// closing its own key, so a value written in one call is what the next one reads.
class LauncherSettings {
public:
    bool IsJavaConfigured() const;

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
    std::string ReadJavaValue(const char* name) const;
    void WriteJavaValue(const char* name, const std::string& text) const;
};
