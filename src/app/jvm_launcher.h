// The two mechanical steps of a launch: the class path from a folder of .jar files, and
// the start of java.exe through the shell.
#pragma once
#include <string>

class JvmLauncher {
public:
    // Every file of the folder (not sub-folders) whose extension is exactly .jar, in the order
    // the directory search returns them, as "dir\a.jar;dir\b.jar", each as Java can be given it
    // (PassableText). Empty when the folder is missing.
    std::string BuildJarClassPath(std::string directory) const;
    // Starts javaExe hidden with the assembled parameters, without waiting; failures are silent.
    // Every piece must already be passable to Java (PassableText).
    void StartJava(std::string javaExe, std::string options, std::string classPath,
                   std::string arguments) const;
};
