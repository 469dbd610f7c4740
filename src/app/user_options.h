// The user's own VM options: a file in the user's roaming application data that a user without
// administrator rights can change, and which follows the user from computer to computer.
#pragma once
#include <string>

struct Policies;

// The file's full path; "" when this user has no application data folder.
std::string UserOptionsPath();
// This start's options from the user's file, each one argument, joined as a command line takes
// them ("" when none). Not where the administrator switched them off, nor elevated: the same
// reason for which such a start keeps no log. Lines that are not used are told (once for each
// change of the file) and logged.
std::string LoadUserOptions(const Policies& policies, bool quiet);
// -user-options: the file in Notepad, created with a commented example where it is missing.
// The launcher's exit code: 0 when Notepad started.
int EditUserOptions(const Policies& policies);
