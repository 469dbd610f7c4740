// The launch sequence: make sure a runtime is recorded, then start Java and stay with it; a start
// that fails says why, whenever it fails.
#include "app/launcher_app.h"

#include <windows.h>

#include "app/jvm_launcher.h"
#include "app/launch_params.h"
#include "app/message_text.h"
#include "app/passable_text.h"
#include "app/tell.h"
#include "app/user_options.h"
#include "javafind/jvm_locator.h"
#include "javafind/runtime_places.h"
#include "framework/message_box.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "framework/window_support.h"
#include "res/resource.h"
#include "settings/launcher_settings.h"
#include "util/module_files.h"
#include "util/number_text.h"
#include "util/path_text.h"
#include "util/wide_text.h"

namespace {

// Lines of Java's output in a message, and characters of each: enough for the error and the
// first frames of a stack trace, never a wall of text.
constexpr size_t kShownLines = 12;
constexpr size_t kShownWidth = 200;

// The text as Java can be given it; what cannot pass whole is told in the log.
bool Pass(std::string& text) {
    std::string passable;
    bool whole = PassableText(text, passable);
    if (!whole) LogLine("not passed whole (the ANSI code page cannot hold it): " + text);
    text = passable;
    return whole;
}

// A line of the message about names that cannot pass: the name and why no short name stands in.
std::string NameProblem(const std::string& name) {
    bool exists = GetFileAttributesW(Widen(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    return name + " (" + LoadText(exists ? IDS_NO_SHORT_NAMES : IDS_NO_SUCH_FILE) + ")\n";
}

void TellUnpassable(const std::string& names, bool startsAnyway) {
    std::string outcome = Fill(startsAnyway ? IDS_STARTS_WITHOUT : IDS_STARTS_NOTHING, {});
    Tell(Fill(IDS_CANNOT_PASS, {names, std::to_string(GetACP()), outcome}),
         startsAnyway ? MB_ICONEXCLAMATION : MB_ICONHAND,
         startsAnyway ? kEventNamesCannotPass : kEventNamesStopStart);
}

size_t CountEntries(const std::string& classPath) {
    if (classPath.empty()) return 0;
    size_t entries = 1;
    for (char c : classPath) entries += c == ';';
    return entries;
}

// What keeps a runtime folder from being used, "" when nothing does: its java.exe must be there
// and its version within the bounds, read from its release file (one small read); only a runtime
// without one (before Java 7) is started with -version, which costs a Java start.
std::string RuntimeProblem(const LauncherSettings& settings, const std::string& home, std::string& exe,
                           double& version) {
    exe = JavaExeForHome(home);
    if (!FileExists(exe)) return Fill(IDS_POLICY_JAVA_MISSING, {exe});
    std::string text = ReleaseVersion(ReadSmallFile(home + "\\release"));
    version = text.empty() ? JvmLocator().ProbeJavaVersion(exe, &text) : ParseVersionText(text);
    LogLine(exe + ": version \"" + text + "\"");
    if (IsVersionAccepted(settings.GetVersionBounds(), version, text)) return "";
    return Fill(IDS_POLICY_JAVA_OUTSIDE, {text, settings.GetBoundsText()});
}

}  // namespace

bool LauncherApp::UseAdministratorsRuntime(LauncherSettings& settings, std::string& javaExe,
                                           double& version) {
    std::string home = settings.GetPolicies().javaHome;
    LogLine("the administrator's runtime (policy JavaHome): " + home);
    std::string why = RuntimeProblem(settings, home, javaExe, version);
    if (why.empty()) return true;
    Tell(Fill(IDS_POLICY_JAVA_UNUSABLE, {home, why}), MB_ICONHAND, kEventPolicyRuntime, m_quiet);
    return false;
}

bool LauncherApp::ChooseRuntime(LauncherSettings& settings, std::string& javaExe, double& version) {
    if (!settings.GetPolicies().javaHome.empty()) return UseAdministratorsRuntime(settings, javaExe, version);
    // A power user's own choice, for this user's starts only and never recorded; not where the
    // administrator allows no choice, nor elevated (where the same user, unelevated, set it).
    std::string home = HomeFromVariable(L"TESSALY_JAVA_HOME"), passable;
    if (!home.empty() && (!settings.GetPolicies().allowJavaChoice || RunsElevated())) {
        LogLine("TESSALY_JAVA_HOME not used: " +
                std::string(RunsElevated() ? "elevated" : "policy AllowJavaChoice 0"));
    } else if (!home.empty()) {
        LogLine("this user's runtime (TESSALY_JAVA_HOME): " + home);
        std::string why = RuntimeProblem(settings, home, javaExe, version);
        // A runtime that Java's command line cannot name starts nothing: the recorded one does.
        if (why.empty() && !PassableText(javaExe, passable)) why = LoadText(IDS_OPTION_CODE_PAGE);
        if (why.empty()) return true;
        Tell(Fill(IDS_USER_JAVA_UNUSABLE, {home, why}), MB_ICONEXCLAMATION, kEventUserRuntime, m_quiet);
    }
    // The runtime found in this run is started even when recording it failed (a standard user
    // without write access to the key); the next start then searches again.
    std::string found;
    bool configured = settings.IsJavaConfigured();
    std::string recordedVersion;
    DoubleToText(settings.GetJavaVersion(), recordedVersion);
    LogLine("recorded: JavaExe \"" + settings.GetJavaExe() + "\", JavaHome \"" + settings.GetJavaHome() +
            "\", JavaVersion " + recordedVersion + (configured ? "" : ": no usable runtime, searching"));
    if (!configured && ResolveJava(settings, found) == 0) return false;
    javaExe = found.empty() ? settings.GetJavaExe() : found;
    version = settings.GetJavaVersion();
    // Only after the user confirmed the warning that nothing will run: told already.
    if (javaExe.empty() || !FileExists(javaExe)) {
        LogLine("nothing to start: no java.exe recorded, or it is missing");
        return false;
    }
    return true;
}

void LauncherApp::Launch(LauncherSettings& settings, const std::vector<std::string>& args) {
    // Until Java has run: a script that waits for the launcher sees that nothing did.
    m_exitCode = 1;
    std::string javaExe;
    double javaVersion = 0.0;
    if (ChooseRuntime(settings, javaExe, javaVersion)) RunJava(settings, args, javaExe, javaVersion);
}

void LauncherApp::RunJava(LauncherSettings& settings, const std::vector<std::string>& args,
                          std::string javaExe, double javaVersion) {
    m_exitCode = 1;
    bool tooLong = false;
    std::string options = settings.GetJavaOptions(tooLong);
    std::string arguments = settings.GetCommandLineArgs(tooLong);
    std::string extraEntry = settings.GetExtraClassPath(tooLong);
    std::string jarDirectory = settings.GetClasslibDynPath(tooLong);
    LogLine("JavaOptions \"" + options + "\", CommandLineArgs \"" + arguments + "\", ClasslibDynPath \"" +
            jarDirectory + "\"");
    // The user's own after the machine's, and the administrator's last: the last word wins.
    std::string own = m_withoutUserOptions ? "" : LoadUserOptions(settings.GetPolicies(), m_quiet);
    if (!own.empty()) options += (options.empty() ? "" : " ") + own;
    const std::string& enforced = settings.GetPolicies().javaOptions;
    if (!enforced.empty()) options += (options.empty() ? "" : " ") + enforced;
    if (tooLong) {
        LogLine("a launch setting is longer than any command line can be");
        Tell(Fill(IDS_COMMAND_TOO_LONG, {settings.GetSettingsKeyPath()}), MB_ICONHAND, kEventCommandTooLong);
        return;
    }
    // Java reads its command line through the ANSI code page: each piece goes as it can pass. A
    // runtime or a jar that cannot pass would start nothing that works; a document that cannot is
    // the application's to report, but never silently.
    std::string stopping, goingOn;
    std::string runtime = javaExe;
    if (!Pass(javaExe)) stopping += NameProblem(runtime);
    Pass(options);
    Pass(arguments);
    Pass(extraEntry);
    for (size_t i = 1; i < args.size(); ++i) {
        std::string argument = args[i];
        if (!Pass(argument)) goingOn += NameProblem(args[i]);
        AppendArgument(arguments, argument);
    }

    JvmLauncher launcher;
    std::string classPath;
    std::vector<std::string> unpassableJars;
    if (!jarDirectory.empty()) classPath = launcher.BuildJarClassPath(jarDirectory, unpassableJars);
    std::string jars = std::to_string(CountEntries(classPath));
    if (!extraEntry.empty()) AppendClassPathEntry(classPath, extraEntry);
    LogLine("class path: " + jars + " .jar files of \"" + jarDirectory + "\"" +
            (extraEntry.empty() ? "" : " and " + extraEntry));
    if (!FitsCommandLine(javaExe, AssembleJavaParameters(options, classPath, arguments))) {
        // Too many jars for one command line: Java 6 and later expand "folder\*" to the same
        // jars. Older ones, or a command too long even so, start nothing rather than a cut one.
        if (javaVersion < 1.6) {
            Tell(Fill(IDS_CLASSPATH_TOO_LONG, {jars}), MB_ICONHAND, kEventCommandTooLong);
            return;
        }
        StripTrailingBackslash(jarDirectory, IsUtf8LeadByte);
        std::string folder = jarDirectory;
        unpassableJars.clear();
        if (!Pass(jarDirectory)) unpassableJars.push_back(folder);
        classPath = jarDirectory + "\\*";
        if (!extraEntry.empty()) AppendClassPathEntry(classPath, extraEntry);
        LogLine("too long a command line for them: the class path is " + classPath);
        if (!FitsCommandLine(javaExe, AssembleJavaParameters(options, classPath, arguments))) {
            Tell(Fill(IDS_COMMAND_TOO_LONG, {settings.GetSettingsKeyPath()}), MB_ICONHAND,
                 kEventCommandTooLong);
            return;
        }
    }
    for (const std::string& jar : unpassableJars) stopping += NameProblem(jar);
    if (!stopping.empty()) {
        TellUnpassable(stopping + goingOn, false);
        return;
    }
    if (!goingOn.empty()) TellUnpassable(goingOn, true);

    JavaStart start = launcher.StartJava(javaExe, AssembleJavaParameters(options, classPath, arguments));
    if (start.outcome == JavaStart::kRefused) {
        LogLine("Windows refused to start it: error " + std::to_string(start.error));
        Tell(Fill(IDS_JAVA_REFUSED, {javaExe, SystemErrorText(start.error, javaExe)}), MB_ICONHAND,
             kEventRefused);
        return;
    }
    if (start.outcome == JavaStart::kUnwatched) {
        LogLine("started without a process to stay with (a program that Wine runs as a Linux one)");
        m_exitCode = 0;
        return;
    }
    // Java's own: `start /wait` and scripts see how it ended.
    m_exitCode = static_cast<int>(LauncherExitCode(start.exitCode));
    std::string report;
    bool fatal = FindFatalErrorReport(start.output, report);
    bool running = start.sessionEnded && start.exitCode == STILL_ACTIVE;
    LogLine("Java " +
            (running ? "still ran when the launcher ended"
                     : "ended with exit code " + ExitCodeText(start.exitCode)) +
            " after " + std::to_string(start.runMs) + " ms, " +
            (start.windowShown
                 ? "its application window shown after " + std::to_string(start.windowMs) + " ms"
                 : "before any application window"));
    // Whoever ends the session is not asked about it.
    if (start.sessionEnded) return;
    JavaEndMessage message = MessageForJavaEnd(start.exitCode, start.windowShown, fatal, start.runMs);
    if (message == JavaEndMessage::kNone) return;
    bool crashed = message == JavaEndMessage::kCrashed, after = message == JavaEndMessage::kEndedAfter;
    unsigned id = crashed ? IDS_JAVA_CRASHED : after ? IDS_JAVA_ENDED_AFTER : IDS_JAVA_ENDED;
    std::string text = Fill(id, {ExitCodeText(start.exitCode), DurationText(start.runMs)});
    if (!report.empty()) text += "\n\n" + Fill(IDS_JAVA_REPORT, {report});
    std::string lines = LastLines(start.output, kShownLines, kShownWidth);
    if (!lines.empty()) text += "\n\n" + lines;
    // A typo in the user's own file must not stop Tessaly for good: one start without it, on request.
    if (message == JavaEndMessage::kCouldNotStart && !own.empty()) {
        text += "\n\n" + Fill(IDS_USER_OPTIONS_RETRY, {UserOptionsPath()});
        if (Tell(text, MB_ICONHAND, kEventCouldNotStart, false, MB_YESNO) != IDYES) return;
        LogLine("started again, without this user's own options");
        m_withoutUserOptions = true;
        return RunJava(settings, args, runtime, javaVersion);
    }
    Tell(text, MB_ICONHAND, crashed ? kEventCrashed : after ? kEventEndedAfterLongRun : kEventCouldNotStart);
}
