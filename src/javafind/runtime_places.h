// The places where today's Java installers record runtimes: the JDK and JRE trees of Java 9 and
// later and the vendors' own keys, in both registry views, and the choice among what they hold.
#pragma once
#include <string>
#include <vector>

#include "javafind/version_rules.h"

// home + "\" (when missing) + "bin\java.exe"
std::string JavaExeForHome(std::string home);
// A runtime folder that an environment variable names (JAVA_HOME, TESSALY_JAVA_HOME), as a full
// path without quotes (cmd's `set X="C:\Program Files\..."` keeps them) or a trailing backslash:
// the java.exe checked is the one started, whatever the current folder. "" when not set.
std::string HomeFromVariable(const wchar_t* name);

// A 32-bit program on 64-bit Windows sees the 32-bit view; runtimes of 64 bits record
// themselves in the other one. 0 where there is no other view (32-bit Windows).
unsigned long OtherRegistryView();

// The highest acceptable version offered; of equal ones, the first. Keys outlive uninstalled
// runtimes: only a java.exe that is there counts.
class BestRuntime {
public:
    explicit BestRuntime(const VersionBounds& bounds) : m_bounds(bounds) {}
    // where: the place, for the log; versionText: the version as the place names it.
    void Offer(const std::string& where, const std::string& versionText, const std::string& home);
    // False when nothing acceptable was offered.
    bool Take(double& version, std::string& home) const;

private:
    VersionBounds m_bounds;
    double m_version = 0.0;
    std::vector<unsigned long> m_parts;
    unsigned m_machine = 0;
    std::string m_home;
};

// Offers every runtime that the JDK and JRE trees name, in both views, then the vendors' keys,
// in both views.
void OfferInstallerPlaces(BestRuntime& best);
