// The launch sequence: make sure a runtime is recorded, then start Java and watch it; a start
// that fails says why.
#include "app/launcher_app.h"

#include <windows.h>

#include "app/jvm_launcher.h"
#include "app/launch_params.h"
#include "app/message_text.h"
#include "app/passable_text.h"
#include "framework/run_log.h"
#include "framework/string_table.h"
#include "framework/window_support.h"
#include "res/resource.h"
#include "settings/launcher_settings.h"
#include "util/ansi_text.h"
#include "util/module_files.h"
#include "util/number_text.h"
#include "util/path_text.h"
#include "util/wide_text.h"

namespace {

// Lines of Java's output in a message, and characters of each: enough for the error and the
// first frames of a stack trace, never a wall of text.
constexpr size_t kShownLines = 12;
constexpr size_t kShownWidth = 200;

std::string Fill(unsigned id, std::vector<std::string> inserts) {
    inserts.insert(inserts.begin(), LoadText(IDS_DISPLAY_NAME));
    return FillText(LoadText(id), inserts);
}

// The launcher's only message of its own about a start, with the log's place when there is one.
void ShowFailure(const std::string& text) {
    if (!AnyoneCanSee()) {
        LogLine("not shown, no one could see it: " + text);
        return;
    }
    LogLine("shown: " + text);
    std::string shown = text;
    if (RunLog* log = RunLog::Current()) shown += "\n\n" + Fill(IDS_SEE_LOG, {log->Path()});
    WindowSupport windows;
    MessageBoxW(nullptr, Widen(shown).c_str(), Widen(LoadText(IDS_DISPLAY_NAME)).c_str(),
                MB_OK | MB_ICONHAND);
}

// The system's own text for an error, a file name where it has "%1" for one.
std::string SystemErrorText(unsigned long error, const std::string& path) {
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? FillText(Narrow(buffer, length), {path}) : "";
    LocalFree(buffer);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(error) : text;
}

// The text as Java can be given it; what cannot pass whole is told in the log.
void Pass(std::string& text) {
    std::string passable;
    if (!PassableText(text, passable))
        LogLine("not passed whole (the ANSI code page cannot hold it): " + text);
    text = passable;
}

size_t CountEntries(const std::string& classPath) {
    if (classPath.empty()) return 0;
    size_t entries = 1;
    for (char c : classPath) entries += c == ';';
    return entries;
}

}  // namespace

void LauncherApp::Launch(LauncherSettings& settings, const std::vector<std::string>& args) {
    // The runtime found in this run is started even when recording it failed (a standard user
    // without write access to the key); the next start then searches again.
    std::string found;
    bool configured = settings.IsJavaConfigured();
    std::string recordedVersion;
    DoubleToText(settings.GetJavaVersion(), recordedVersion);
    LogLine("recorded: JavaExe \"" + settings.GetJavaExe() + "\", JavaHome \"" + settings.GetJavaHome() +
            "\", JavaVersion " + recordedVersion + (configured ? "" : ": no usable runtime, searching"));
    if (!configured && ResolveJava(settings, found) == 0) {
        m_exitCode = 1;
        return;
    }

    std::string javaExe = found.empty() ? settings.GetJavaExe() : found;
    // Only after the user confirmed the warning that nothing will run: told already.
    if (javaExe.empty() || !FileExists(javaExe)) {
        LogLine("nothing to start: no java.exe recorded, or it is missing");
        m_exitCode = 1;
        return;
    }
    std::string options = settings.GetJavaOptions();
    std::string arguments = settings.GetCommandLineArgs();
    std::string extraEntry = settings.GetExtraClassPath();
    std::string jarDirectory = settings.GetClasslibDynPath();
    LogLine("JavaOptions \"" + options + "\", CommandLineArgs \"" + arguments + "\", ClasslibDynPath \"" +
            jarDirectory + "\"");
    // Java reads its command line through the ANSI code page: each piece goes as it can pass.
    Pass(javaExe);
    Pass(options);
    Pass(arguments);
    Pass(extraEntry);
    for (size_t i = 1; i < args.size(); ++i) {
        std::string argument = args[i];
        Pass(argument);
        AppendArgument(arguments, argument);
    }

    JvmLauncher launcher;
    std::string classPath;
    if (!jarDirectory.empty()) classPath = launcher.BuildJarClassPath(jarDirectory);
    std::string jars = std::to_string(CountEntries(classPath));
    if (!extraEntry.empty()) AppendClassPathEntry(classPath, extraEntry);
    LogLine("class path: " + jars + " .jar files of \"" + jarDirectory + "\"" +
            (extraEntry.empty() ? "" : " and " + extraEntry));
    if (!FitsCommandLine(javaExe, AssembleJavaParameters(options, classPath, arguments))) {
        // Too many jars for one command line: Java 6 and later expand "folder\*" to the same
        // jars. Older ones, or a command too long even so, start nothing rather than a cut one.
        if (settings.GetJavaVersion() < 1.6) {
            ShowFailure(Fill(IDS_CLASSPATH_TOO_LONG, {jars}));
            m_exitCode = 1;
            return;
        }
        StripTrailingBackslash(jarDirectory, IsUtf8LeadByte);
        Pass(jarDirectory);
        classPath = jarDirectory + "\\*";
        if (!extraEntry.empty()) AppendClassPathEntry(classPath, extraEntry);
        LogLine("too long a command line for them: the class path is " + classPath);
        if (!FitsCommandLine(javaExe, AssembleJavaParameters(options, classPath, arguments))) {
            ShowFailure(Fill(IDS_COMMAND_TOO_LONG, {settings.GetSettingsKeyPath()}));
            m_exitCode = 1;
            return;
        }
    }
    JavaStart start = launcher.StartJava(javaExe, AssembleJavaParameters(options, classPath, arguments));
    std::string waited = " after " + std::to_string(start.waitedMs) + " ms";
    switch (start.outcome) {
    case JavaStart::kRefused:
        LogLine("Windows refused to start it: error " + std::to_string(start.error));
        ShowFailure(Fill(IDS_JAVA_REFUSED, {javaExe, SystemErrorText(start.error, javaExe)}));
        m_exitCode = 1;
        break;
    case JavaStart::kUnwatched:
        LogLine("started without a process to watch (a program that Wine runs as a Linux one)");
        break;
    case JavaStart::kWindow:
        LogLine("Java showed a window" + waited);
        break;
    case JavaStart::kRunning:
        LogLine("Java still runs" + waited + ", without a window: no longer watched");
        break;
    case JavaStart::kEnded:
        LogLine("Java ended with exit code " + std::to_string(start.exitCode) + waited);
        m_exitCode = static_cast<int>(start.exitCode);
        if (start.exitCode != 0) {
            std::string lines = LastLines(AnsiToUtf8(start.output), kShownLines, kShownWidth);
            ShowFailure(Fill(IDS_JAVA_ENDED, {std::to_string(start.exitCode)}) +
                        (lines.empty() ? "" : "\n\n" + lines));
        }
        break;
    }
}
