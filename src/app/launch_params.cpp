// Text of the parameters that the launcher hands to java.exe.
#include "app/launch_params.h"

namespace {

// Java's launcher on Windows expands an unquoted argument with '?' or '*' against the names in its
// folder, and hands the application every match instead; a quoted one it passes as it is.
bool NeedsQuotes(const std::string& argument) {
    return argument.empty() || argument.find_first_of(" \t\"?*") != std::string::npos;
}

// The rules by which the C runtime splits a command line, run backwards: backslashes are
// literal unless they precede a double quote, where they must be doubled.
std::string Quote(const std::string& argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else if (c == '"') {
            quoted.append(backslashes * 2 + 1, '\\');
            backslashes = 0;
        } else {
            quoted.append(backslashes, '\\');
            backslashes = 0;
        }
        if (c != '\\') quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

}  // namespace

void AppendArgument(std::string& arguments, const std::string& argument) {
    arguments += ' ';
    arguments += NeedsQuotes(argument) ? Quote(argument) : argument;
}

std::string AssembleJavaParameters(const std::string& options, const std::string& classPath,
                                   const std::string& arguments) {
    std::string parameters;
    if (!options.empty()) parameters += options + " ";
    parameters += "-cp \"" + classPath + "\"";
    if (!arguments.empty()) parameters += " " + arguments;
    return parameters;
}

bool FitsCommandLine(const std::string& javaExe, const std::string& parameters) {
    return javaExe.size() + 2 + 1 + parameters.size() + 1 <= 32767;
}

void AppendClassPathEntry(std::string& classPath, const std::string& entry) {
    if (!classPath.empty()) classPath += ';';
    classPath += entry;
}
