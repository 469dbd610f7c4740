// The two mechanical steps of a launch: the class path from a folder of .jar files, and the
// start of java.exe, stayed with until it ends.
#pragma once
#include <string>
#include <vector>

// How a start of Java went, as the launcher saw it.
struct JavaStart {
    enum Outcome { kRefused, kUnwatched, kEnded } outcome = kRefused;
    unsigned long error = 0;     // kRefused: the system's error code
    unsigned long exitCode = 0;  // kEnded
    bool windowShown = false;    // kEnded: an application window (one with a title bar) was seen
    unsigned long windowMs = 0;  // from the start to the first such window
    unsigned long runMs = 0;     // from the start to Java's end
    bool sessionEnded = false;   // kEnded: the session ended, or the launcher was told to close
    std::string output;          // the last of what Java wrote, as UTF-8
};

class JvmLauncher {
public:
    // Every file of the folder (not sub-folders) whose extension is exactly .jar, in the order
    // the directory search returns them, as "dir\a.jar;dir\b.jar", each as Java can be given it
    // (PassableText). Empty when the folder is missing. A jar that cannot pass whole is added to
    // unpassable.
    std::string BuildJarClassPath(std::string directory, std::vector<std::string>& unpassable) const;
    // Every piece must already be passable to Java (PassableText).
    // Starts "<javaExe>" <parameters> hidden in the current directory, with the launcher's
    // application identity; its output goes through a pipe into the run log. Returns when Java
    // has ended.
    JavaStart StartJava(const std::string& javaExe, const std::string& parameters) const;
};
