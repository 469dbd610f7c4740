// The class path from a folder of .jar files, and the start of java.exe.
#include "app/jvm_launcher.h"

#include <windows.h>
#include <shellapi.h>

#include "app/launch_params.h"
#include "app/passable_text.h"
#include "util/ansi_text.h"
#include "util/module_files.h"
#include "util/path_text.h"
#include "util/wide_text.h"

std::string JvmLauncher::BuildJarClassPath(std::string directory) const {
    StripTrailingBackslash(directory, IsUtf8LeadByte);
    std::string classPath;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(Widen(directory + "\\*.jar").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return classPath;
    do {
        std::string name = Narrow(entry.cFileName, wcslen(entry.cFileName));
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // The pattern also matches short 8.3 names: tessaly.jar_old is TESSAL~1.JAR.
        if (!HasJarExtension(name)) continue;
        std::string jar;
        PassableText(directory + "\\" + name, jar);
        AppendClassPathEntry(classPath, jar);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return classPath;
}

void JvmLauncher::StartJava(std::string javaExe, std::string options, std::string classPath,
                            std::string arguments) const {
    // Every piece was made passable, so the whole converts exactly.
    std::string file, parameters;
    Utf8ToAnsi(javaExe, file);
    Utf8ToAnsi(AssembleJavaParameters(options, classPath, arguments), parameters);
    // Without COM: a program started by its path involves none of the shell extensions that need
    // it, and preparing COM's apartment (a window, and so the display driver) slowed every start.
    ShellExecuteA(nullptr, "open", file.c_str(), parameters.c_str(), nullptr, SW_HIDE);
}
