// The two mechanical steps of a launch: the class path from a folder of .jar files, and
// the start of java.exe, watched until it shows a window, ends or runs on past a time limit.
#pragma once
#include <string>

// Long enough for a JVM on a slow, busy machine to get as far as reporting a bad option or a
// missing main class (OpenJDK 17 takes about a tenth of a second on an ordinary one), short
// enough that a launcher still waiting on an application without a window goes unnoticed.
constexpr unsigned kJavaWatchMs = 10000;

// How a start of Java ended for the launcher.
struct JavaStart {
    enum Outcome { kRefused, kUnwatched, kWindow, kRunning, kEnded } outcome = kRefused;
    unsigned long error = 0;     // kRefused: the system's error code
    unsigned long exitCode = 0;  // kEnded
    unsigned long waitedMs = 0;  // from the start to the end of the watch
    std::string output;          // kEnded: the end of what Java wrote to the run log, as it wrote it
};

class JvmLauncher {
public:
    // Every file of the folder (not sub-folders) whose extension is exactly .jar, in the order
    // the directory search returns them, as "dir\a.jar;dir\b.jar", each as Java can be given it
    // (PassableText). Empty when the folder is missing.
    std::string BuildJarClassPath(std::string directory) const;
    // Every piece must already be passable to Java (PassableText).
    // Starts "<javaExe>" <parameters> hidden in the current directory, its output into the run
    // log when one is open, and watches it for at most kJavaWatchMs.
    JavaStart StartJava(const std::string& javaExe, const std::string& parameters) const;
};
