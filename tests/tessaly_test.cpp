// The Windows tests: the version probe over real pipes, and the built tessaly.exe started as a
// user or an installer would, with a user acting on its windows under Xvfb. The program under test is the
// shipped 32-bit one where this machine runs 32-bit programs (run-tests sets TESSALY_TARGET=win32), else the
// x86_64 twin beside the tests.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "javafind/jvm_locator.h"
#include "javafind/run_capture.h"
#include "settings/registry_key.h"
#include "ui/install_java_dialog.h"

namespace {

const std::string kKey = "Software\\Quellmark\\Tessaly",
                  kJre = "Software\\JavaSoft\\Java Runtime Environment";
const bool kShipped = std::getenv("TESSALY_TARGET") && std::string(std::getenv("TESSALY_TARGET")) == "win32";
// A 32-bit program on 64-bit Windows reads the 32-bit view; the other one is where 64-bit runtimes record
// themselves.
const REGSAM kView = kShipped ? KEY_WOW64_32KEY : 0, kOther = kShipped ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
std::string build, target, root;
const std::string j16 = "%R\\jre16", x16 = "%R\\jre16\\bin\\java.exe", j11 = "%R\\jdk11",
                  x11 = "%R\\jdk11\\bin\\java.exe";

std::string Expand(std::string text) {  // "%R": the test's folder, "%T": the target's, "%B": the build's
    for (auto [mark, value] :
         {std::pair{"%B", build}, {"%R", root}, {"%T", target.substr(0, target.rfind('\\'))}})
        for (size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, 2, value);
    return text;
}

void Set(const std::string& key, const std::string& name, const std::string& bytes, DWORD type = REG_SZ,
         REGSAM view = kView) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                              &handle, nullptr),
              0);
    RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.c_str()),
                   bytes.size() + (type == REG_SZ));
    RegCloseKey(handle);
}

std::string Read(const std::string& path) {  // a file that a started program leaves behind
    std::ostringstream content;              // cleared each time: a failed read leaves the stream failed
    for (int i = 0; i < 500 && content.str().empty(); ++i, Sleep(20))
        content.clear(), content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

std::string FakeJava(const std::string& home, const std::string& version, const char* mode = "err") {
    SHCreateDirectoryExA(nullptr, (home + "\\bin").c_str(), nullptr);
    EXPECT_TRUE(
        CopyFileA((build + "\\fixtures\\java.exe").c_str(), (home + "\\bin\\java.exe").c_str(), FALSE));
    std::ofstream(home + "\\bin\\version.txt", std::ios::binary) << mode << "\n" << version;
    return home + "\\bin\\java.exe";
}

struct Windows : testing::Test {
    void SetUp() override {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        build.assign(path, strrchr(path, '\\'));
        target =
            kShipped ? build.substr(0, build.rfind('\\')) + "\\win32\\tessaly.exe" : build + "\\tessaly.exe";
        root = build + "\\work\\" + testing::UnitTest::GetInstance()->current_test_info()->name() +
               std::to_string(GetTickCount());
        SHCreateDirectoryExA(nullptr, root.c_str(),
                             nullptr);  // a new one each run; run-tests empties work\ first
    }
};

// ---- the probe ----------------------------------------------------------------------------------
const std::string kBanner =
    "java version \"1.6.0_02\"\nJava(TM) SE Runtime Environment (build 1.6.0_02-b06)\n";

TEST_F(Windows, ProbeReadsTheVersionWhereverTheOutputPutsIt) {  // over a real pipe
    const std::string chunks = std::string(250, '-') + "java version \"1.4.2_19\" z",
                      nul("java\0 version \"1.6\"", 19);
    const std::tuple<const char*, std::string, double, std::string> rows[] = {
        {"err", kBanner, 1.6002, kBanner},
        {"out", "openjdk \"11.0.2\" 2019\n", 11.02, "openjdk \"11.0.2\" 2019\n"},
        {"chunks", chunks, 1.4219, chunks},
        {"err", "\"1.6\" first", 0.0, "\"1.6\" first"},
        {"err", nul, 0.0, "java"},
        {"err", "", 0.0, ""},
        {"huge", kBanner, 0.0, std::string(kCaptureKeepBytes, 'x')}};  // the banner lies beyond what is kept
    for (const auto& [mode, text, version, captured] : rows) {
        std::string exe = FakeJava(root, text, mode);
        EXPECT_DOUBLE_EQ(JvmLocator().ProbeJavaVersion(exe), version) << mode << ": " << text;
        EXPECT_EQ(RunAndCapture(exe, "-version"), captured) << mode;
    }
    // Only the quoted program runs, what cannot run is refused at once, and nothing runs forever.
    std::string exe = FakeJava("C:\\Program Files\\Tessaly Probe", kBanner);
    ASSERT_TRUE(CopyFileA(exe.c_str(), "C:\\Program.exe", FALSE));  // unquoted, the path would start this
    EXPECT_DOUBLE_EQ(JvmLocator().ProbeJavaVersion(exe), 1.6002);
    EXPECT_EQ(GetFileAttributesA("C:\\launched.txt"), INVALID_FILE_ATTRIBUTES);
    DeleteFileA("C:\\Program.exe");
    EXPECT_EQ(JvmLocator().ProbeJavaVersion("C:\\no such folder\\java.exe"), 0.0);
    std::string padded =
        exe.substr(0, 3) + std::string(kCommandLineBytes - 11 - exe.size(), '\\') + exe.substr(3);
    EXPECT_EQ(RunAndCapture(padded, "-version"), "");  // one byte over the limit: refused, never cut
    exe = FakeJava(root, kBanner, "slow");
    DWORD begin = GetTickCount();
    EXPECT_EQ(RunAndCapture(exe, "-version", 1500), "");
    EXPECT_NEAR(GetTickCount() - begin, 1500.0, 900.0);
    Sleep(100);
    EXPECT_TRUE(DeleteFileA(exe.c_str()));  // nothing runs it any more: the child was stopped
}

// ---- the user -----------------------------------------------------------------------------------
HWND WaitFor(const char* caption) {
    for (int i = 0; i < 750; ++i, Sleep(20)) {
        HWND window = FindWindowA("#32770", caption);
        if (window != nullptr && IsWindowVisible(window))
            return Sleep(150), window;  // let it paint and settle
    }
    return ADD_FAILURE() << "no window " << caption, nullptr;
}

std::string Text(HWND window, int id = 0) {
    char text[2048] = {};
    return std::string(text, GetWindowTextA(id == 0 ? window : GetDlgItem(window, id), text, sizeof text));
}

HWND Focus(HWND window) {
    GUITHREADINFO info = {sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus != nullptr ? info.hwndFocus : window;
}

void Picture(const std::string& name) {  // by the X server's own tool: Wine starts Linux programs
    std::string file = build + "\\pictures\\" + name + ".xwd",
                xwd = "/usr/bin/xwd -root -screen -silent -out " + file.substr(2);
    for (char& c : xwd) c = c == '\\' ? '/' : c;  // drive Z: is /
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION info = {};  // no handles come back for a Linux program
    EXPECT_TRUE(
        CreateProcessA(nullptr, &xwd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    EXPECT_NE(Read(file), "");
}

// 'p' press id, 'c' choose the file in the Open dialog, 'a' answer the message box with id and
// check its text, 'e' Escape, 'x' the close box, 'i' a stand-in installer beside the launcher,
// 'w' wait for the record of a started stand-in, 's' read the dialog and keep a picture of it.
struct Step {
    char op;
    int id;
    std::string text;
};

void Act(const Step& step, HWND dialog) {
    std::string text = Expand(step.text);
    if (step.op == 'p') PostMessageA(GetDlgItem(dialog, step.id), BM_CLICK, 0, 0);
    if (step.op == 'e') PostMessageA(Focus(dialog), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    if (step.op == 'x') PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (step.op == 'i')
        CopyFileA(Expand(x11).c_str(), Expand("%T\\jre-6u2-windows-i586-p-iftw.exe").c_str(), FALSE);
    if (step.op == 'w')
        EXPECT_NE(Read(Expand("%T\\launched.txt")).find("show=1"), std::string::npos);  // SW_SHOWNORMAL
    if (step.op == 's') {
        EXPECT_EQ(Text(dialog) + "|" + Text(dialog, 1007).substr(0, 65) + "|" +
                      Text(dialog, 1008),  // the display name, then string 9003
                  "Install Java|Tessaly requires the Java Virtual Machine to be installed.  Click|Requires "
                  "Java minimum version: 1.5");
        Picture("install-java-dialog");  // the window icon shows there: Wine tells no other process
    }
    HWND box = step.op == 'a' ? WaitFor("Tessaly") : step.op == 'c' ? WaitFor("Open") : nullptr;
    if (step.op == 'c') {  // the name field has the focus
        SendMessageA(Focus(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    } else if (box != nullptr) {
        EXPECT_EQ(Text(box, 0xFFFF), text);
        EXPECT_EQ(GetWindow(box, GW_OWNER),
                  IsWindow(dialog) ? dialog : nullptr);  // the closing warning has none
        PostMessageA(GetDlgItem(box, step.id), BM_CLICK, 0, 0);
    }
    for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(20);
}

// ---- tessaly.exe --------------------------------------------------------------------------------
const std::string kWillNotRun = "Tessaly will not run until the required version of Java is installed.";
const std::string kRefused =
    "The version of Java you have selected is 1.42190\r\nYou must select a version of 1.50000 or higher.";
const std::string kNoInstaller =
    "Could not find the Java Installer.  Please visit www.java.com and download Java before closing "
    "this window. %T\\jre-6u2-windows-i586-p-iftw.exe";
const std::vector<Step> kLeave = {{'e'}, {'a', IDCANCEL, kWillNotRun}};
const std::string
    kNoMain =
        "Error: Could not find or load main class Main\nCaused by: java.lang.ClassNotFoundException: Main",
    kLog = "\n\nThe log of this start:\n%R\\Quellmark\\Tessaly\\tessaly.log", kApp = "%R\\app\\bin\\java.exe";

struct Entry {
    std::string key, name, value;
    DWORD type = REG_SZ;
};  // key under Software ("~": in the other view)

struct Row {
    const char* current = nullptr;                          // CurrentVersion of the runtimes' tree
    std::vector<std::pair<const char*, std::string>> jres;  // subkey, JavaHome ("-": none)
    std::vector<Entry> places = {};                         // what today's installers record, or any value
    const char* javaHome = nullptr;                         // JAVA_HOME
    std::string home = "", exe = "";                        // recorded (JavaVersion "x" with a home)
    std::string options = "";
    DWORD type = REG_SZ;                // JavaOptions, of this type
    const char *args = "", *jars = "";  // CommandLineArgs, ClasslibDynPath
    std::string command = "";           // tessaly.exe's own arguments
    std::vector<Step> steps = {};       // the user, once the dialog shows
    std::string started = "";           // "<runtime> <parameters>", "" for none
    std::string key = "";               // "<values> <JavaVersion> <JavaHome>"
    bool installed = true;
    std::string app = "";   // the installer made the launcher's key; what the real application recorded
    std::string java = "";  // %R\app\bin\version.txt
    std::string log = "";   // in the run log afterwards
    DWORD within = 30;      // seconds the launcher may run
};

TEST_F(Windows, TessalyFindsOrAsksForJavaThenStartsItWithTheSettings) {
    EXPECT_FALSE(
        WarnWillNotRun(reinterpret_cast<HWND>(0x7A7A7A)));  // a warning not shown (no such owner) is no OK
    const std::string jars = " -cp \"%R\\lib\\a.jar;%R\\lib\\b.JAR\"";
    const std::string quoted = "\"My Documents\\a b.txt\" \"\" \"C:\\dir with blank\\\\\" *.jar \"x\\\"y\"";
    const Row rows[] = {
        // A usable runtime recorded: the launch layouts, and values of every type and length.
        {.home = j16,
         .exe = x16,
         .options = "-Xmx256m",
         .args = "Main --open",
         .jars = "%R\\lib",
         .command = "doc.txt",
         .started = "jre16 -Xmx256m" + jars + " Main --open doc.txt",
         .key = "6 x %R\\jre16"},
        {.home = j16, .exe = x16, .jars = "%R\\none", .started = "jre16 -cp \"\"", .key = "6 x %R\\jre16"},
        {.home = j16,
         .exe = x16,
         .jars = "%R\\lib\\",
         .command = quoted,
         .started = "jre16" + jars + "  " + quoted},
        {.home = j16,
         .exe = x16,
         .options = std::string(2047, 'o'),
         .started = "jre16 " + std::string(2047, 'o') + " -cp \"\""},
        {.home = j16,
         .exe = x16,
         .options = std::string(2048, 'o'),
         .started = "jre16 -cp \"\""},  // too long: unread
        {.home = j16,
         .exe = x16,
         .options = std::string(2048, 'b'),
         .type = REG_BINARY,
         .started = "jre16 " + std::string(2048, 'b') + " -cp \"\""},
        // Nothing usable recorded: the search decides, records and starts.
        {.current = "1.6",
         .jres = {{"1.6", j16}},
         .home = "",
         .exe = x11,
         .started = "jre16 -cp \"\"",
         .key = "6 1.60000 %R\\jre16"},
        {.current = "1.6",
         .jres = {{"1.6", j16}},
         .home = j11,
         .exe = j11 + "\\none.exe",
         .started = "jre16 -cp \"\"",
         .key = "6 1.60000 %R\\jre16"},
        {.current = "1.6.0_02",
         .jres = {{"1.6.0_02", j16 + "\\"}},
         .started = "jre16 -cp \"\"",
         .key = "6 1.60020 %R\\jre16\\"},
        {.current = "11.0.2",
         .jres = {{"11.0.2", j11}},
         .started = "jdk11 -cp \"\"",
         .key = "6 11.02000 %R\\jdk11"},
        {.current = "1.4",
         .jres = {{"1.4", j16}, {"1.5.0_11", j11}, {"1.6", j16}},
         .started = "jdk11 -cp \"\"",
         .key = "6 1.50110 %R\\jdk11"},
        {.current = "1.4",
         .jres = {{"Plugin", j16}, {"1.6.0_02", j16}, {"1.7", j11}},
         .started = "jre16 -cp \"\"",
         .key = "6 1.60020 %R\\jre16"},
        {.current = "1.6",
         .jres = {{"1.5", j11}, {"1.6", j16}},
         .started = "jre16 -cp \"\"",
         .key = "6 1.60000 %R\\jre16"},
        {.current = "1.6", .jres = {{"1.5", j11}}, .started = "jdk11 -cp \"\"", .key = "6 1.50000 %R\\jdk11"},
        {.current = "1.6",
         .jres = {{"1.5.0_11", j11}, {"1.6", "-"}},
         .started = "jdk11 -cp \"\"",
         .key = "6 1.50110 %R\\jdk11"},
        {.current = "1.6",
         .jres = {{"1.6", j16}},
         .started = "jre16 -cp \"\"",
         .key = "0 <none> <none>",
         .installed = false},  // unrecorded
        // The wildcard road: Java 6 and later expand "folder\*"; older ones get nothing cut.
        {.places = {{"Quellmark\\Tessaly", "JavaVersion", "1.60000"}},
         .home = j16,
         .exe = x16,
         .jars = "%R\\many",
         .started = "jre16 -cp \"%R\\many\\*\"",
         .key = "6 1.60000 %R\\jre16"},
        {.places = {{"Quellmark\\Tessaly", "JavaVersion", "1.50000"}},
         .home = j16,
         .exe = x16,
         .jars = "%R\\many\\",
         .steps = {{'a', IDOK,
                    "Tessaly could not start: its 400 jars make a command line too long for Java older than "
                    "1.6.\n\n"
                    "Install a newer Java, then run \"tessaly.exe -install\" as an administrator." +
                        kLog}},
         .key = "6 1.50000 %R\\jre16"},
        // Only when that tree names none: today's installers' places, the highest version of all, then
        // JAVA_HOME.
        {.places = {{"~JavaSoft\\Java Runtime Environment", "CurrentVersion", "17"},
                    {"~JavaSoft\\Java Runtime Environment\\17", "JavaHome", j11}},
         .started = "jdk11 -cp \"\"",
         .key = "6 17.00000 %R\\jdk11"},
        {.places = {{"JavaSoft\\JDK\\21.0.1", "JavaHome", j16}, {"JavaSoft\\JDK\\Plugin", "JavaHome", j11}},
         .started = "jre16 -cp \"\"",
         .key = "6 21.01000 %R\\jre16"},
        {.places = {{"Eclipse Adoptium\\JDK\\17.0.9.9\\hotspot\\MSI", "Path", j11 + "\\"}},
         .started = "jdk11 -cp \"\"",
         .key = "6 17.09900 %R\\jdk11\\"},
        {.places = {{"~Azul Systems\\Zulu\\zulu-17", "InstallationPath", j16}},
         .started = "jre16 -cp \"\"",
         .key = "6 17.00000 %R\\jre16"},
        {.places = {{"~JavaSoft\\JRE\\17.0.9", "JavaHome", j16},
                    {"Microsoft\\JDK\\17.0.12\\hotspot\\MSI", "Path", j11}},
         .started = "jdk11 -cp \"\"",
         .key = "6 17.01200 %R\\jdk11"},
        {.places = {{"BellSoft\\Liberica\\jdk-8.0.392", "InstallationPath", j11},
                    {"JavaSoft\\Java Development Kit\\1.8.0_392", "JavaHome", j16}},
         .started = "jre16 -cp \"\"",
         .key = "6 1.80392 %R\\jre16"},  // equal versions: the earlier place
        {.places = {{"JavaSoft\\JDK\\21", "JavaHome", "%R\\gone"},
                    {"JavaSoft\\JDK\\22", "JavaHome", j16, REG_EXPAND_SZ},
                    {"~BellSoft\\Liberica\\jre-23", "InstallationPath", "%R\\" + std::string(260, 'x')},
                    {"~JavaSoft\\JDK\\11", "JavaHome", j11}},
         .javaHome = j16.c_str(),
         .started = "jdk11 -cp \"\"",
         .key = "6 11.00000 %R\\jdk11"},
        {.current = "1.4",
         .jres = {{"1.5", j16}},
         .places = {{"JavaSoft\\JDK\\21", "JavaHome", j11}},
         .started = "jre16 -cp \"\"",
         .key = "6 1.50000 %R\\jre16"},
        {.javaHome = "\"%R\\jdk11\\\"", .started = "jdk11 -cp \"\"", .key = "6 11.02000 %R\\jdk11"},
        {.javaHome = "%R\\jre142", .steps = kLeave, .key = "3 <none> <none>"},
        // A real JVM runs the application's main class with its class path and every argument whole.
        {.current = "17",
         .jres = {{"17", "%B\\realjava"}},
         .options = "-Xmx64m -Djava.awt.headless=true -Dtessaly.record=app-record.txt",
         .args = "org.quellmark.tessaly.Main --workspace",
         .jars = "%B\\app",
         .command = "\"C:\\My Documents\\report one.tsy\" \"\" \"x\\\"y\"",
         .key = "6 17.00000 %B\\realjava",
         .app = "classpath=%B\\app\\tessaly.jar\narg=--workspace\narg=C:\\My Documents\\report "
                "one.tsy\narg=\narg=x\"y\n"},
        // Nothing acceptable anywhere: the dialog.
        {.jres = {{"1.6", j16}}, .steps = kLeave, .key = "3 <none> <none>"},
        {.current = "1.4",
         .jres = {{"1.4", j16}, {"1.5", "-"}, {"1.6", j16}},
         .steps = kLeave,
         .key = "3 <none> <none>"},
        {.current = "1.6",
         .jres = {{"1.6", "-"}},
         .steps = {{'s'}, {'x'}, {'a', IDCANCEL, kWillNotRun}},
         .key = "3 <none> <none>"},
        {.home = "",
         .exe = x11,
         .steps = {{'e'}, {'a', IDOK, kWillNotRun}},
         .started = "jdk11 -cp \"\"",
         .key = "5 <none> "},
        {.home = "",
         .exe = x11,
         .steps = {{'p', IDOK},
                   {'a', IDCANCEL, kWillNotRun},
                   {'p', IDOK},
                   {'a', IDOK, kWillNotRun},
                   {'a', IDOK, kWillNotRun}},
         .started = "jdk11 -cp \"\"",
         .key = "5 <none> "},
        {.home = j11,
         .exe = x11,
         .command = "-install",
         .steps = {{'p', IDOK}, {'a', IDOK, kWillNotRun}},
         .key = "6 x %R\\jdk11"},
        {.command = "doc.txt",
         .steps = {{'p', 1010},
                   {'c', 0, "%R\\jre142\\bin\\java.exe"},
                   {'a', IDOK, kRefused},
                   {'p', 1010},
                   {'c', 0, x11},
                   {'a', IDOK, "Using Java: " + x11},
                   {'p', 1010},
                   {'c', 0, "%R\\jre142\\bin\\java.exe"},
                   {'a', IDOK, kRefused},
                   {'p', IDOK}},
         .started = "jdk11 -cp \"\"  doc.txt",
         .key = "6 11.02000 %R\\jdk11"},
        {.steps = {{'p', 1010},
                   {'c', 0, "%R\\JDK11\\BIN\\JAVA.EXE"},
                   {'a', IDOK, "Using Java: %R\\JDK11\\BIN\\JAVA.EXE"},
                   {'p', IDOK},
                   {'a', IDCANCEL, kWillNotRun},
                   {'e'},
                   {'a', IDCANCEL, kWillNotRun}},
         .key = "3 <none> <none>"},
        {.steps = {{'p', 1009},
                   {'a', IDOK, kNoInstaller},
                   {'i'},
                   {'p', 1010},
                   {'c', 0, x11},
                   {'a', IDOK, "Using Java: " + x11},
                   {'p', 1009},
                   {'w'},
                   {'p', IDOK},
                   {'a', IDCANCEL, kWillNotRun},
                   {'e'},
                   {'a', IDCANCEL, kWillNotRun}},
         .key = "3 <none> <none>"},
        // The installer's switches: -install searches even with a runtime recorded, and starts nothing.
        {.current = "1.6", .jres = {{"1.6", j16}}, .command = "-install", .key = "6 1.60000 %R\\jre16"},
        {.home = j16, .exe = x16, .command = "doc.txt -Uninstall", .key = "2 <none> <none>"},
        {.home = j16, .exe = x16, .command = "\"-uninstall\" -install", .key = "2 <none> <none>"},
        {.current = "1.6",
         .jres = {{"1.6", j11}},
         .home = j16,
         .exe = x16,
         .command = "-install -uninstall",
         .key = "6 1.60000 %R\\jdk11"},
        {.home = j16,
         .exe = x16,
         .command = "--uninstall /uninstall -uninstall: -\xC9NSTALL",
         .started = "jre16 -cp \"\"  --uninstall /uninstall -uninstall: -\xC9NSTALL",
         .key = "6 x %R\\jre16"},
        // A leftover key whose java.exe is gone is passed over; as the subkey that decides, it ends the walk.
        {.current = "1.8",
         .jres = {{"1.8", "%R\\gone"}, {"1.9", j16}},
         .places = {{"JavaSoft\\JDK\\17", "JavaHome", j11}},
         .started = "jdk11 -cp \"\"",
         .key = "6 17.00000 %R\\jdk11",
         .log = "no %R\\gone\\bin\\java.exe"},
        {.current = "1.8", .jres = {{"1.8", "%R\\gone"}}, .steps = kLeave, .key = "3 <none> <none>"},
        // A start that fails says why; Java's own words go to the log and the box.
        {.home = j16,
         .exe = "%R\\lib\\a.jar",
         .steps = {{'a', IDOK,
                    "Tessaly could not start: Windows would not run %R\\lib\\a.jar\nBad EXE format for "
                    "%R\\lib\\a.jar.\n\nReinstalling Java may help." +
                        kLog}}},
        {.home = "%R\\app",
         .exe = kApp,
         .args = "Main",
         .steps = {{'a', IDOK, "Tessaly could not start: Java ended with exit code 1.\n\n" + kNoMain + kLog}},
         .started = "app -cp \"\" Main",
         .java = "exit1\n" + kNoMain + "\n",
         .log = "-cp \"\" Main\r\n" + kNoMain},
        // Java's window ends the watch at once; a second start leaves whole the log that the first one's Java
        // holds.
        {.home = "%R\\app",
         .exe = kApp,
         .command = "first.tsy",
         .started = "app -cp \"\"  first.tsy",
         .java = "window",
         .within = 8},
        {.home = "%R\\app", .exe = kApp, .started = "app -cp \"\"", .java = "stay", .log = "first.tsy"},
    };
    SetEnvironmentVariableA("LOCALAPPDATA", root.c_str());
    for (auto [home, banner] :
         {std::pair{"jre16", "1.6.0_02"}, {"jdk11", "11.0.2"}, {"jre142", "1.4.2_19"}, {"app", ""}})
        FakeJava(root + "\\" + home, "java version \"" + std::string(banner) + "\"\n");
    SHCreateDirectoryExA(nullptr, (root + "\\lib\\x.jar").c_str(), nullptr);  // a folder, not a jar
    for (const char* name : {"a.jar", "b.JAR", "notes.txt", "tessaly.jar_old", "lib.jarx"})
        std::ofstream(root + "\\lib\\" + name);
    SHCreateDirectoryExA(nullptr, (root + "\\many").c_str(),
                         nullptr);  // more jars than one command line holds
    for (int i = 0; i < 400; ++i)
        std::ofstream(root + "\\many\\tessaly-module-with-a-long-name-" + std::to_string(i) + ".jar");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command + " | " + row.started + " | " + row.key);
        for (REGSAM view : {kView, kOther}) {
            RegistryKey software;
            ASSERT_EQ(software.OpenWith(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS | view), 0);
            for (const char* tree :
                 {"Quellmark", "JavaSoft", "Eclipse Adoptium", "Azul Systems", "BellSoft", "Microsoft\\JDK"})
                RegDeleteTreeA(software.Handle(), tree);
        }
        SetEnvironmentVariableA("JAVA_HOME", row.javaHome ? Expand(row.javaHome).c_str() : nullptr);
        if (row.current != nullptr) Set(kJre, "CurrentVersion", row.current);
        for (auto& [name, home] : row.jres)
            Set(kJre + "\\" + name, home == "-" ? "" : "JavaHome", home == "-" ? "" : Expand(home));
        if (row.installed)
            Set(kKey, "JavaOptions", Expand(row.options), row.type), Set(kKey, "CommandLineArgs", row.args),
                Set(kKey, "ClasslibDynPath", Expand(row.jars));
        if (!row.home.empty()) Set(kKey, "JavaVersion", "x");
        if (!row.exe.empty()) Set(kKey, "JavaHome", Expand(row.home)), Set(kKey, "JavaExe", Expand(row.exe));
        for (const Entry& e : row.places)
            Set("Software\\" + e.key.substr(e.key[0] == '~'), e.name, Expand(e.value), e.type,
                e.key[0] == '~' ? kOther : kView);

        if (!row.java.empty()) std::ofstream(root + "\\app\\bin\\version.txt", std::ios::binary) << row.java;
        // The run log, once the console host of a Java that ended lets go of it (Wine's inherits it).
        std::string log = root + "\\Quellmark\\Tessaly\\tessaly.log";
        for (int i = 0; i < 99 && !DeleteFileA(log.c_str()) && GetLastError() == ERROR_SHARING_VIOLATION; ++i)
            Sleep(20);
        std::thread user([&] {  // gives up at the first failure, and so does the table
            HWND dialog = row.steps.empty() || row.steps[0].op == 'a' ? nullptr : WaitFor("Install Java");
            for (size_t i = 0; i < row.steps.size() && !HasFailure(); ++i) Act(row.steps[i], dialog);
        });
        DWORD begin = GetTickCount();
        RunAndCapture(target, row.command,
                      60000);  // the launcher writes nothing; it ends when its job is done
        EXPECT_LT(GetTickCount() - begin, row.within * 1000);
        user.join();

        std::string runtime = row.started.substr(0, row.started.find(' ')),
                    record = root + "\\" + runtime + "\\bin\\launched.txt";
        std::string started = row.started.empty() ? "" : Read(record),
                    expected = "commandline=\"%R\\" + runtime + "\\bin\\java.exe\"";
        EXPECT_EQ(started.substr(0, started.find("\nshow")),
                  row.started.empty()
                      ? ""
                      : Expand(expected + row.started.substr(runtime.size()) + "\ndirectory=" +
                               build));  // where the launcher was started (ctest runs it in the build)
        if (!row.app.empty())
            EXPECT_NE(Read(build + "\\app-record.txt").find(Expand(row.app)),
                      std::string::npos);  // in its working folder
        RegistryKey key;
        std::string version = "<none>", home = "<none>";
        DWORD values = 0;
        key.OpenForRead(HKEY_LOCAL_MACHINE, kKey, kView), key.QueryString("JavaVersion", version),
            key.QueryString("JavaHome", home);
        RegQueryInfoKeyA(key.Handle(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr);
        if (!row.log.empty()) EXPECT_NE(Read(log).find(Expand(row.log)), std::string::npos);
        if (!row.key.empty()) EXPECT_EQ(std::to_string(values) + " " + version + " " + home, Expand(row.key));
        for (const char* file : {record.c_str(), "%T\\launched.txt", "%T\\jre-6u2-windows-i586-p-iftw.exe"})
            DeleteFileA(Expand(file).c_str());
        if (HasFailure()) return;
    }
}

}  // namespace
