// What an administrator decides by Group Policy, under HKLM\Software\Policies\Quellmark\Tessaly:
// it wins over every other setting, the environment and the user's own choices included.
#pragma once
#include <string>

struct Policies {
    // Empty: not set.
    std::string javaHome, minJavaVersion, maxJavaVersion, javaOptions, supportText;
    // Set (downloadUrlSet) and empty: no download is offered.
    std::string javaDownloadUrl;
    bool downloadUrlSet = false;
    bool allowJavaChoice = true, allowUserOptions = true;
    // A value that cannot be used: its name, and what is wrong with it as the end of a sentence
    // ("is of type REG_BINARY, where text is expected"). Nothing starts then: the administrator's
    // intent is unknown.
    std::string badValue, problem;
};

// Read whole, each value applied named in the log. The key is shared between the registry views,
// and is read as the machine holds it, never through registry virtualization: a standard user's
// VirtualStore copy must not override the administrator.
Policies ReadPolicies();
