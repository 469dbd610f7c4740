// Text of the parameters that the launcher hands to java.exe.
#pragma once
#include <string>

// Appends one blank and the argument. An argument that is empty or holds a blank, a tab, a
// double quote or a wildcard ('?', '*') is enclosed in double quotes with the C runtime's
// escaping, so that Java receives it as the one argument the user gave, never as the names it
// matches; any other passes byte for byte.
void AppendArgument(std::string& arguments, const std::string& argument);

// options + " " (when non-empty), "-cp ", the quoted class path (always), " " + arguments
// (when non-empty).
std::string AssembleJavaParameters(const std::string& options, const std::string& classPath,
                                   const std::string& arguments);

// Whether Windows takes the command line "<javaExe>" <parameters>: 32,767 characters at most,
// the terminating zero included. Wine would silently cut a longer one.
bool FitsCommandLine(const std::string& javaExe, const std::string& parameters);

// Appends ";" (unless the list is empty) and the entry.
void AppendClassPathEntry(std::string& classPath, const std::string& entry);
