// The launch sequence: make sure a runtime is recorded, then start Java through the shell.
#include "app/launcher_app.h"

#include "app/jvm_launcher.h"
#include "app/launch_params.h"
#include "app/passable_text.h"
#include "settings/launcher_settings.h"
#include "util/module_files.h"
#include "util/path_text.h"

void LauncherApp::Launch(LauncherSettings& settings, const std::vector<std::string>& args) {
    // The runtime found in this run is started even when recording it failed (a standard user
    // without write access to the key); the next start then searches again.
    std::string found;
    if (!settings.IsJavaConfigured() && ResolveJava(settings, found) == 0) return;

    // Java reads its command line through the ANSI code page: each piece goes as it can pass.
    std::string javaExe, options, arguments, extraEntry, passable;
    PassableText(found.empty() ? settings.GetJavaExe() : found, javaExe);
    PassableText(settings.GetJavaOptions(), options);
    PassableText(settings.GetCommandLineArgs(), arguments);
    for (size_t i = 1; i < args.size(); ++i) {
        PassableText(args[i], passable);
        AppendArgument(arguments, passable);
    }
    PassableText(settings.GetExtraClassPath(), extraEntry);
    std::string jarDirectory = settings.GetClasslibDynPath();

    JvmLauncher launcher;
    std::string classPath;
    if (!jarDirectory.empty()) classPath = launcher.BuildJarClassPath(jarDirectory);
    if (!extraEntry.empty()) AppendClassPathEntry(classPath, extraEntry);
    if (!FitsCommandLine(javaExe, AssembleJavaParameters(options, classPath, arguments))) {
        // Too many jars for one command line: Java 6 and later expand "folder\*" to the same
        // jars. Older ones, or a command too long even so, start nothing rather than a cut one.
        if (settings.GetJavaVersion() < 1.6) return;
        StripTrailingBackslash(jarDirectory, IsUtf8LeadByte);
        PassableText(jarDirectory, classPath);
        classPath += "\\*";
        if (!extraEntry.empty()) AppendClassPathEntry(classPath, extraEntry);
        if (!FitsCommandLine(javaExe, AssembleJavaParameters(options, classPath, arguments))) return;
    }
    launcher.StartJava(javaExe, options, classPath, arguments);
}
