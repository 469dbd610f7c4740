// The launcher's settings.
#include "settings/launcher_settings.h"

#include <cstdlib>

#include "framework/string_table.h"
#include "res/resource.h"
#include "settings/registry_key.h"
#include "util/module_files.h"
#include "util/number_text.h"

bool LauncherSettings::IsJavaConfigured() const {
    if (GetJavaHome().empty()) return false;
    std::string exe = GetJavaExe();
    if (exe.empty()) return false;
    return FileExists(exe);
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
