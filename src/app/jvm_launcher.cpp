// The class path from a folder of .jar files, and the start of java.exe.
#include "app/jvm_launcher.h"

#include <windows.h>
#include <shellapi.h>

#include "app/launch_params.h"
#include "util/module_files.h"
#include "util/path_text.h"

std::string JvmLauncher::BuildJarClassPath(std::string directory) const {
    StripTrailingBackslash(directory, IsAnsiLeadByte);
    std::string classPath;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((directory + "\\*.jar").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return classPath;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // The pattern also matches short 8.3 names: tessaly.jar_old is TESSAL~1.JAR.
        if (!HasJarExtension(name)) continue;
        AppendClassPathEntry(classPath, directory + "\\" + name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return classPath;
}

void JvmLauncher::StartJava(std::string javaExe, std::string options, std::string classPath,
                            std::string arguments) const {
    std::string parameters = AssembleJavaParameters(options, classPath, arguments);
    // Without COM: a program started by its path involves none of the shell extensions that need
    // it, and preparing COM's apartment (a window, and so the display driver) slowed every start.
    ShellExecuteA(nullptr, "open", javaExe.c_str(), parameters.c_str(), nullptr, SW_HIDE);
}
