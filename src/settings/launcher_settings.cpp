// The launcher's settings.
#include "settings/launcher_settings.h"

#include <cstdlib>

#include "framework/string_table.h"
#include "res/resource.h"
#include "settings/registry_key.h"
#include "ui/dialog_rules.h"
#include "util/module_files.h"
#include "util/number_text.h"

bool LauncherSettings::IsJavaConfigured() const {
    std::string home = GetJavaHome();
    if (home.empty()) return false;
    std::string exe = GetJavaExe();
    if (exe.empty() || !FileExists(exe)) return false;
    if (m_policies.minJavaVersion.empty() && m_policies.maxJavaVersion.empty()) return true;
    // The recorded number cannot tell 17.0.12 from 17.0.1.2: the runtime's own words where it has them.
    return IsVersionAccepted(GetVersionBounds(), GetJavaVersion(),
                             ReleaseVersion(ReadSmallFile(home + "\\release")));
}

std::string LauncherSettings::GetBoundsText() const {
    std::string min = m_policies.minJavaVersion, max = m_policies.maxJavaVersion;
    return BoundsText(min.empty() ? LoadText(IDS_MIN_JAVA_VERSION) : min,
                      max.empty() ? LoadText(IDS_MAX_JAVA_VERSION) : max);
}

VersionBounds LauncherSettings::GetVersionBounds() const {
    VersionBounds bounds;
    bounds.min = GetMinJavaVersion();
    bounds.max = GetMaxJavaVersion();
    bounds.minText = m_policies.minJavaVersion;
    bounds.maxText = m_policies.maxJavaVersion;
    return bounds;
}

double LauncherSettings::GetMinJavaVersion() const {
    return std::atof(LoadText(IDS_MIN_JAVA_VERSION).c_str());
}

double LauncherSettings::GetMaxJavaVersion() const {
    return std::atof(LoadText(IDS_MAX_JAVA_VERSION).c_str());
}

std::string LauncherSettings::GetInstallerFileName() const { return LoadText(IDS_INSTALLER_FILE); }

std::string LauncherSettings::GetSettingsKeyPath() const { return LoadText(IDS_SETTINGS_KEY); }

std::string LauncherSettings::GetJavaHome() const { return ReadJavaValue("JavaHome"); }
std::string LauncherSettings::GetJavaExe() const { return ReadJavaValue("JavaExe"); }
double LauncherSettings::GetJavaVersion() const { return std::atof(ReadJavaValue("JavaVersion").c_str()); }
void LauncherSettings::SetJavaHome(const std::string& home) const { WriteJavaValue("JavaHome", home); }
void LauncherSettings::SetJavaExe(const std::string& exe) const { WriteJavaValue("JavaExe", exe); }

void LauncherSettings::SetJavaVersion(double version) const {
    std::string text;
    DoubleToText(version, text);
    WriteJavaValue("JavaVersion", text);
}

void LauncherSettings::RecordJava(double version, const std::string& home, const std::string& exe) const {
    SetJavaVersion(version);
    SetJavaHome(home);
    SetJavaExe(exe);
}

void LauncherSettings::ClearJavaSettings() const {
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, GetSettingsKeyPath()) != ERROR_SUCCESS) return;
    // Each independently: a value that is already gone must not keep the others.
    key.DeleteValue("JavaHome");
    key.DeleteValue("JavaExe");
    key.DeleteValue("JavaOptions");
    key.DeleteValue("JavaVersion");
    key.Close();
}

std::string LauncherSettings::GetJavaOptions(bool& tooLong) const {
    return ReadStringSetting(IDS_OPTIONS_KEY, IDS_OPTIONS_VALUE, tooLong);
}

std::string LauncherSettings::GetCommandLineArgs(bool& tooLong) const {
    return ReadStringSetting(IDS_ARGS_KEY, IDS_ARGS_VALUE, tooLong);
}

std::string LauncherSettings::GetExtraClassPath(bool& tooLong) const {
    return ReadStringSetting(IDS_EXTRA_CLASSPATH_KEY, IDS_EXTRA_CLASSPATH_VALUE, tooLong);
}

std::string LauncherSettings::GetClasslibDynPath(bool& tooLong) const {
    return ReadStringSetting(IDS_JARDIR_KEY, IDS_JARDIR_VALUE, tooLong);
}

std::string LauncherSettings::ReadStringSetting(unsigned keyPathId, unsigned valueNameId,
                                                bool& tooLong) const {
    std::string keyPath = LoadText(keyPathId);
    if (keyPath.empty()) return std::string();
    std::string valueName = LoadText(valueNameId);
    if (valueName.empty()) return std::string();
    std::string result;
    RegistryKey key;
    if (key.OpenForRead(HKEY_LOCAL_MACHINE, keyPath) == ERROR_SUCCESS &&
        key.QueryString(valueName, result) == ERROR_MORE_DATA)
        tooLong = true;
    key.Close();
    return result;
}

std::string LauncherSettings::ReadJavaValue(const char* name) const {
    std::string result;
    RegistryKey key;
    if (key.OpenForRead(HKEY_LOCAL_MACHINE, GetSettingsKeyPath()) == ERROR_SUCCESS) {
        key.QueryString(name, result);
    }
    key.Close();
    return result;
}

void LauncherSettings::WriteJavaValue(const char* name, const std::string& text) const {
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, GetSettingsKeyPath()) != ERROR_SUCCESS) return;
    key.SetString(name, text);
    key.Close();
}
