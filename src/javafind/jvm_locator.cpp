// Finding an installed Java runtime: the JavaSoft tree of the program's own view, then the
// installers' places (runtime_places), then JAVA_HOME; and asking a java.exe its version.
#include "javafind/jvm_locator.h"

#include <windows.h>

#include "framework/run_log.h"
#include "framework/string_table.h"
#include "framework/text_list.h"
#include "javafind/run_capture.h"
#include "javafind/runtime_places.h"
#include "javafind/version_rules.h"
#include "res/resource.h"
#include "settings/registry_key.h"
#include "util/module_files.h"
#include "util/number_text.h"
#include "util/path_text.h"
#include "util/wide_text.h"

std::string JvmLocator::BaseKeyPath() const { return LoadText(IDS_JAVASOFT_KEY); }

double JvmLocator::ParseVersion(const std::string& text) const { return ParseVersionText(text); }

bool JvmLocator::FindJvm(const VersionBounds& bounds, double& version, std::string& javaHome,
                         std::string& javaExe) const {
    double found = 0.0;
    std::string text, home;
    if (!FindInJreTree(0, bounds, found, text, home) && !FindElsewhere(bounds, found, home)) {
        return false;
    }
    version = found;
    javaHome = home;
    javaExe = JavaExeForHome(home);
    return true;
}

bool JvmLocator::FindInJreTree(unsigned long view, const VersionBounds& bounds, double& version,
                               std::string& versionText, std::string& javaHome) const {
    std::string base = BaseKeyPath();
    std::string tree = base + (view == 0                 ? ""
                               : view == KEY_WOW64_64KEY ? " (64-bit view)"
                                                         : " (32-bit view)");
    double current = GetCurrentVersion(view);
    // A tree that names no current version is not walked at all.
    if (current == 0.0) {
        LogLine(tree + ": no CurrentVersion");
        return false;
    }
    std::string currentText;
    RegistryKey treeKey;
    treeKey.OpenForRead(HKEY_LOCAL_MACHINE, base, view);
    treeKey.QueryString("CurrentVersion", currentText);
    if (IsVersionAccepted(bounds, current, currentText)) {
        // A current version whose home cannot be read, or holds no java.exe any more (an
        // uninstaller left the key), is passed over rather than recorded: the next start would
        // count an empty home as no runtime at all, and a missing java.exe fails every start.
        std::string home = GetCurrentJavaHome(view);
        if (!home.empty() && FileExists(JavaExeForHome(home))) {
            versionText = currentText;
            version = current;
            javaHome = home;
            LogLine(tree + ": CurrentVersion " + versionText + " at " + home);
            return true;
        }
        LogLine(tree + ": CurrentVersion passed over, " +
                (home.empty() ? "no JavaHome" : "no " + JavaExeForHome(home)));
    }

    RegistryKey key;
    if (key.OpenForRead(HKEY_LOCAL_MACHINE, base, view) != ERROR_SUCCESS) return false;
    TextList names;
    if (key.EnumSubKeys(names) != ERROR_SUCCESS) return false;
    for (const std::string& name : names) {
        double candidate = ParseVersion(name);
        if (!IsVersionAccepted(bounds, candidate, name)) continue;
        // The first subkey in range decides, whatever it holds: later ones are not tried. Without
        // a home or its java.exe, the tree offers nothing and the other places are searched.
        std::string home;
        if (key.OpenForRead(HKEY_LOCAL_MACHINE, base + "\\" + name, view) != ERROR_SUCCESS ||
            key.QueryString("JavaHome", home) != ERROR_SUCCESS) {
            LogLine(tree + ": " + name + " decides and has no JavaHome: nothing here");
            return false;
        }
        if (!FileExists(JavaExeForHome(home))) {
            LogLine(tree + ": " + name + " decides and has no " + JavaExeForHome(home) + ": nothing here");
            return false;
        }
        version = candidate;
        versionText = name;
        javaHome = home;
        LogLine(tree + ": " + name + " at " + home);
        return true;
    }
    LogLine(tree + ": no version in range");
    return false;
}

double JvmLocator::GetCurrentVersion(unsigned long view) const {
    RegistryKey key;
    if (key.OpenForRead(HKEY_LOCAL_MACHINE, BaseKeyPath(), view) != ERROR_SUCCESS) return 0.0;
    std::string text;
    if (key.QueryString("CurrentVersion", text) != ERROR_SUCCESS) return 0.0;
    return ParseVersion(text);
}

std::string JvmLocator::GetCurrentJavaHome(unsigned long view) const {
    std::string base = BaseKeyPath();
    RegistryKey key;
    if (key.OpenForRead(HKEY_LOCAL_MACHINE, base, view) != ERROR_SUCCESS) return std::string();
    std::string current;
    if (key.QueryString("CurrentVersion", current) != ERROR_SUCCESS) return std::string();
    if (key.OpenForRead(HKEY_LOCAL_MACHINE, base + "\\" + current, view) != ERROR_SUCCESS)
        return std::string();
    std::string home;
    if (key.QueryString("JavaHome", home) != ERROR_SUCCESS) return std::string();
    return home;
}

double JvmLocator::ProbeJavaVersion(const std::string& javaExePath, std::string* text) const {
    std::string versionText;
    if (!ExtractQuotedVersion(RunAndCapture(javaExePath, "-version"), versionText)) return 0.0;
    if (text != nullptr) *text = versionText;
    return ParseVersion(versionText);
}

bool JvmLocator::FindElsewhere(const VersionBounds& bounds, double& version, std::string& javaHome) const {
    BestRuntime best(bounds);
    unsigned long other = OtherRegistryView();
    std::string text, home;
    double found = 0.0;
    if (other != 0 && FindInJreTree(other, bounds, found, text, home))
        best.Offer(BaseKeyPath() + " (other view)", text, home);
    LogLine("the JDK, JRE and vendors' keys, in both views:");
    OfferInstallerPlaces(best);
    if (best.Take(version, javaHome)) return true;

    // Last, JAVA_HOME: a home folder, whose java.exe is asked its version.
    home = HomeFromVariable(L"JAVA_HOME");
    if (home.empty()) {
        LogLine("JAVA_HOME: not set");
        return false;
    }
    std::string exe = JavaExeForHome(home);
    if (!FileExists(exe)) {
        LogLine("JAVA_HOME \"" + home + "\": no bin\\java.exe");
        return false;
    }
    std::string foundText;
    found = ProbeJavaVersion(exe, &foundText);
    LogLine("JAVA_HOME \"" + home + "\": " + exe + " -version gives \"" + foundText + "\"");
    if (!IsVersionAccepted(bounds, found, foundText)) return false;
    version = found;
    javaHome = home;
    return true;
}
