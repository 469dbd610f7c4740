// The Windows tests: the version probe over real pipes, and the built tessaly.exe started as a
// user or an installer would, with a user acting on its windows under Xvfb. The program under
// test is the shipped 32-bit one where this machine runs 32-bit programs (run-tests sets
// TESSALY_TARGET=win32), else the x86_64 twin beside the tests.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "javafind/jvm_locator.h"
#include "javafind/run_capture.h"
#include "settings/registry_key.h"
#include "ui/install_java_dialog.h"
#include "util/module_files.h"
#include "util/wide_text.h"

using std::string;

namespace {

const char* kTarget = std::getenv("TESSALY_TARGET");
const bool kShipped = kTarget != nullptr && string(kTarget) == "win32";
// A 32-bit program on 64-bit Windows reads the 32-bit view; 64-bit runtimes record themselves
// in the other one.
const REGSAM kView = kShipped ? KEY_WOW64_32KEY : 0;
const REGSAM kOther = kShipped ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
// The test's folder, the build's, and the launcher; the log that the last box named.
string root, build, target, boxLog;

// "%R", "%B" and "%T" stand for the test's, the build's and the launcher's folder, "%X" for the
// launcher, "%6" and "%1" for the stand-in runtimes jre16 and jdk11 there, "%U" for the user's
// own options file.
string Expand(string text) {
    string folder = target.substr(0, target.rfind('\\'));
    for (auto [mark, value] : {std::pair{"%6", root + "\\jre16"},
                               {"%1", root + "\\jdk11"},
                               {"%R", root},
                               {"%B", build},
                               {"%X", target},
                               {"%T", folder},
                               {"%U", root + "\\roaming\\Quellmark\\Tessaly\\tessaly.vmoptions"}}) {
        for (size_t at; (at = text.find(mark)) != string::npos;) text.replace(at, 2, value);
    }
    return text;
}

// What a started program leaves behind, once it is there.
string Read(const string& path) {
    string content;
    for (int i = 0; i < 500 && content.empty(); ++i) {
        std::ostringstream stream;
        stream << std::ifstream(Widen(path).c_str(), std::ios::binary).rdbuf();
        content = stream.str();
        if (content.empty()) Sleep(20);
    }
    return content;
}

string FakeJava(const string& home, const string& version, const char* mode = "err") {
    SHCreateDirectoryExW(nullptr, Widen(home + "\\bin").c_str(), nullptr);
    string exe = home + "\\bin\\java.exe";
    CopyFileW(Widen(build + "\\fixtures\\java.exe").c_str(), Widen(exe).c_str(), FALSE);
    std::ofstream(Widen(home + "\\bin\\version.txt").c_str(), std::ios::binary) << mode << "\n" << version;
    return exe;
}

struct Windows : testing::Test {
    void SetUp() override {
        GetModuleDirectory(nullptr, build);
        target = (kShipped ? build.substr(0, build.rfind('\\')) + "\\win32" : build) + "\\tessaly.exe";
        // A new folder each run; run-tests empties work\ first.
        root = build + "\\work\\" + testing::UnitTest::GetInstance()->current_test_info()->name();
        SHCreateDirectoryExW(nullptr, Widen(root).c_str(), nullptr);
    }
};

// ---- the probe ----------------------------------------------------------------------------------
const string kBanner = "java version \"1.6.0_02\"\n";

TEST_F(Windows, ProbeReadsTheVersionWhereverTheOutputPutsIt) {
    // Standard output and output in pieces: the table's runtimes jdk11 and jre142. Output read to
    // its end, so that the child never blocks, and only so much kept.
    EXPECT_EQ(RunAndCapture(FakeJava(root, kBanner, "huge"), "-version").size(), kCaptureKeepBytes);
    // Only the quoted program runs: unquoted, the path would start C:\Program.exe.
    string exe = FakeJava("C:\\Program Files\\Tessaly Probe", kBanner);
    ASSERT_TRUE(CopyFileA(exe.c_str(), "C:\\Program.exe", FALSE));
    EXPECT_DOUBLE_EQ(JvmLocator().ProbeJavaVersion(exe), 1.6002);
    EXPECT_FALSE(FileExists("C:\\launched.txt"));
    DeleteFileA("C:\\Program.exe");
    // Nothing runs forever: the child is stopped at the limit, and nothing runs it any more.
    exe = FakeJava(root, kBanner, "slow");
    DWORD begin = GetTickCount();
    EXPECT_EQ(RunAndCapture(exe, "-version", 1500), "");
    EXPECT_NEAR(GetTickCount() - begin, 1500.0, 900.0);
    Sleep(100);
    EXPECT_TRUE(DeleteFileA(exe.c_str()));
}

// ---- the user -----------------------------------------------------------------------------------
// Where the dialog looks for the Java installer.
const string kInstaller = "%T\\jre-6u2-windows-i586-p-iftw.exe";

HWND WaitFor(const char* caption) {
    HWND window = nullptr;
    for (int i = 0; i < 750 && !IsWindowVisible(window); ++i) {
        Sleep(20);
        window = FindWindowA("#32770", caption);
    }
    EXPECT_TRUE(IsWindowVisible(window)) << "no window " << caption;
    // Let it paint and settle.
    Sleep(150);
    return window;
}

string Text(HWND window, int id) {
    wchar_t text[2048] = {};
    int length = GetWindowTextW(GetDlgItem(window, id), text, 2048);
    return Narrow(text, length);
}

// A step is "<op><id><text>", steps are joined by '|': 'p' press id, 'c' choose the file text
// in the Open dialog, 'a' answer the message box with id and check its text, 'e' Escape, 'x' the
// close box, 'i' a stand-in installer beside the launcher, 'w' read the record of that started
// stand-in, 'b' read the browser's (the stand-in, registered for https) address, 's' read the
// dialog and keep a picture of it, 'q' end the session after 2 s, 'n' check the user's options
// file shown in Notepad and close it. The launcher's own boxes are in front.
void Act(const string& step, HWND dialog, const string& record) {
    char op = step[0];
    char* rest = nullptr;
    int id = std::strtol(step.c_str() + 1, &rest, 10);
    string text = Expand(rest);
    if (op == 'p') PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    if (op == 'e') PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    if (op == 'x') PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (op == 'q') {
        Sleep(2000);
        HWND session = FindWindowW(L"TessalySession", nullptr);
        EXPECT_TRUE(SendMessageW(session, WM_QUERYENDSESSION, 0, 0));
        SendMessageW(session, WM_ENDSESSION, TRUE, 0);
    }
    if (op == 'i') CopyFileA(Expand("%1\\bin\\java.exe").c_str(), Expand(kInstaller).c_str(), 0);
    // The installer's window is shown normally.
    if (op == 'w') EXPECT_NE(Read(record).find("show=1 "), string::npos);
    if (op == 'b')
        EXPECT_NE(Read(record).find("https://api.adoptium.net/v3/installer/latest/25/ga/windows/x64/jre/"),
                  string::npos);
    if (op == 'w' || op == 'b') DeleteFileW(Widen(record).c_str());
    HWND notepad = nullptr;
    for (int i = 0; op == 'n' && i < 500 && notepad == nullptr; ++i, Sleep(20))
        notepad = FindWindowA("Notepad", nullptr);
    if (op == 'n') {
        EXPECT_EQ(Read(Expand("%U")).substr(0, 30), "\xEF\xBB\xBF# Your own Java options for");
        EXPECT_TRUE(PostMessageA(notepad, WM_CLOSE, 0, 0));
    }
    if (op == 's') {
        // The prompt and the bounds of the string table; the window icon shows in the picture, taken
        // at 144 dpi (run-tests sets the display so).
        EXPECT_EQ(Text(dialog, 1007).substr(0, 65) + "|" + Text(dialog, 1008),
                  "Tessaly requires the Java Virtual Machine to be installed.  Click|Requires "
                  "Java minimum version: 1.5");
        // Taken by the X server's own tool, which Wine starts as a Linux program (drive Z: is /).
        string file = build + "\\pictures\\install-java-dialog-150.xwd";
        string xwd = "/usr/bin/xwd -root -screen -silent -out " + file.substr(2);
        for (char& c : xwd) c = c == '\\' ? '/' : c;
        EXPECT_GT(WinExec(xwd.c_str(), SW_HIDE), 31u);
        EXPECT_NE(Read(file), "");
    }
    HWND box = op == 'a' ? WaitFor("Tessaly") : op == 'c' ? WaitFor("Open") : nullptr;
    if (op == 'c') {
        // The name field.
        SetDlgItemTextW(box, cmb13, Widen(text).c_str());
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    } else if (box != nullptr) {
        // The text begins so (and ends so, after a '~'); the log it names is read afterwards.
        string shown = Text(box, 0xFFFF), end = text.substr(std::min(text.find('~'), text.size()));
        text.erase(text.size() - end.size());
        EXPECT_EQ(shown.substr(0, text.size()), text);
        EXPECT_EQ(shown.substr(shown.size() - std::min(shown.size(), end.size() - !end.empty())),
                  end.substr(!end.empty()));
        const string named = "The log of this start:\n";
        if (shown.find(named) != string::npos) boxLog = shown.substr(shown.find(named) + named.size());
        boxLog.erase(std::min(boxLog.find('\n'), boxLog.size()));
        // The dialog owns its boxes; the closing warning has no owner.
        EXPECT_EQ(GetWindow(box, GW_OWNER), IsWindow(dialog) ? dialog : nullptr);
        EXPECT_EQ((GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, !IsWindow(dialog));
        EXPECT_EQ(GetDlgItem(box, IDCANCEL) != nullptr, text.find(" will not run until") != string::npos);
        PostMessageA(GetDlgItem(box, id), BM_CLICK, 0, 0);
    }
    for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(20);
}

// ---- tessaly.exe --------------------------------------------------------------------------------
const string kWillNotRun = "Tessaly will not run until";
const string kRefused =
    "The version of Java you have selected is 1.42190\r\nYou must select a version of 1.50000";
const string kNoInstaller = "Could not find the Java Installer.";
const string kNoMain = "Error: no main class Main\nCaused by: ClassNotFoundException: Grüße";
const string kNoStart = "a1Tessaly could not start: ", kEnded = kNoStart + "Java ended with exit code ";
const string kCannotPass = "a1Tessaly cannot hand these names to Java whole:\n";
const string kQuoted = "\"a b\" \"\" \"c d\\\\\" *.jar a?b \"x\\\"y\"";
// A document's name that the ANSI code page cannot hold, with look-alikes of quotation marks.
const string kDocument = "Ω-日本 Łódź ＂ --x ＂.tsy";
// Switches that are none.
const string kNearMisses = "--uninstall /uninstall -uninstall: -ÉNSTALL -instaII";
const string s16 = "jre16 -cp \"\"", s11 = "jdk11 -cp \"\"", sApp = "app -cp \"\"";
// The stand-in that the table's APP= tells how to act, recorded.
const string kApp = "@=%R\\app|APP=";
// The warning that nothing will run, answered OK or Cancel; Escape, then Cancel.
const string kYes = "a1" + kWillNotRun, kNo = "a2" + kWillNotRun, kLeave = "e|" + kNo;
const string kClosed = "the dialog was closed; the warning answered ";

// Browse to a java.exe that is accepted.
string Use(const string& exe) { return "p1010|c" + exe + "|a1Using Java: " + exe; }

// One start of tessaly.exe. set: the registry and the environment before, entries split at '|',
// each "<key>:<name>=<value>" under HKLM\Software, where a key that begins with '~' is in the
// other registry view, "J" stands for the runtimes' tree and "T" for the launcher's key, and a
// name that ends in '#' makes a binary value; without a name, the value is
// the tree's CurrentVersion ("J") or a JavaHome. Besides: "JAVA_HOME=<value>", "APP=<steps and
// text>" for the stand-in in %R\app (see fake_java.cpp), and "@=<home>" records the runtime there
// (JavaVersion "x"). Every row installs the launcher's key with empty launch settings first,
// unless it begins with "-T".
// What an observer sees afterwards: the stand-in started, as "<its folder> <parameters>" ("<its
// folder>" alone leaves the parameters unread, "" means none started), hidden and with the
// launcher's identity; the launcher's key as "<number of values> <JavaVersion> <JavaHome>" (""
// leaves it unread); the launcher's exit code. A user takes the steps once the dialog shows (or
// answers the launcher's box); app holds lines that the started stand-in recorded; log parts of
// the run's log (the one its box named), split at '|'. The launcher runs as a standard user, or
// as: 'a' an administrator whose output is read to its end, 'h' on a window station that no one
// sees, 'k' a standard user whose launcher is ended after 3 s; after `held` starts of the same
// that stay (a negative number: that many that end first, among ten old logs named for 2099).
// It must have ended within the seconds given.
struct Row {
    string set, command, started, key;
    DWORD code = 0;
    string steps = "", app = "", log = "";
    DWORD within = 60;
    char as = 'u';
    int held = 0;
};

const Row kRows[] = {
    // A usable runtime recorded: the launch layout, values of every type and length, and the
    // arguments as they were given, none a wildcard.
    {"@=%6|T:JavaOptions#=-Xmx256m|T:CommandLineArgs=Main --open|T:ClasslibDynPath=%R\\lib\\", kQuoted,
     "jre16 -Xmx256m -cp \"%R\\lib\\a.jar;%R\\lib\\b.JAR\" Main --open \"a b\" \"\" \"c d\\\\\" \"*.jar\" "
     "\"a?b\" "
     "\"x\\\"y\"",
     "6 x %6", 0, "", "", "command line: \"%X\" " + kQuoted},
    {"@=%6|T:CommandLineArgs=" + string(32768, 'a'), "", "", "", 1, kNoStart + "its command line", "",
     "0x0001,0x0000,0x00000130|err:eventlog:ReportEventW L\"Tessaly could not start: its command line", 60,
     'u'},
    // Nothing usable recorded: the runtimes' tree decides, its current version first, then the
    // first subkey in range; what it finds is recorded and started.
    {"J=1.6.0_02|J\\1.5=%1|J\\1.6.0_02=%6\\|T:JavaHome=%1|T:JavaExe=%1\\none.exe", "", s16, "6 1.60020 %6\\"},
    {"J=1.6|J\\1.4=%6|J\\1.5.0_11=%1|J\\1.6:x=", "", s11, "6 1.50110 %1"},
    {"-T|J=1.6|J\\1.6=%6", "", s16, "0 <none> <none>"},
    // A leftover key whose java.exe is gone is passed over; as the subkey that decides, it ends
    // the walk.
    {"J=1.8|J\\1.8=%R\\gone|J\\1.9=%6|JavaSoft\\JDK\\17=%1", "", s11, "6 17.00000 %1", 0, "", "",
     "no %R\\gone\\"},
    {"J=1.8|J\\1.8=%R\\gone|J\\1.9=%6|JAVA_HOME=%R\\jre142", "", "", "3 <none> <none>", 1, kLeave, "",
     kClosed + "Cancel"},
    // Too many jars for one command line: Java 6 and later get "folder\*", older ones nothing.
    {"@=%6|T:JavaVersion=1.60000|T:ClasslibDynPath=%R\\many", "", "jre16 -cp \"%R\\many\\*\"", ""},
    {"@=%6|T:JavaVersion=1.50000|T:ClasslibDynPath=%R\\many\\", "", "", "", 1,
     kNoStart + "its 400 jars make a command line too long"},
    // A start that fails says why, whenever it fails; Java's own words go to the log and the box.
    {"T:JavaHome=%6|T:JavaExe=%R\\lib\\a.jar", "", "", "", 1,
     kNoStart + "Windows would not run %R\\lib\\a.jar\nBad EXE format for %R\\lib\\a.jar."},
    // Java's lines as it wrote them: UTF-8, or the JVM's own in the ANSI code page.
    {"@=%R\\app|T:CommandLineArgs=Main|APP=splash,sleep500,exit1\n" + kNoMain + "\n\xE9t\xE9", "",
     "app -cp \"\" Main", "", 1,
     kEnded + "1.\n\n" + kNoMain + "\nété\n\nThe log of this start:\n%R\\Quellmark\\Tessaly\\tessaly-", "",
     "-cp \"\" Main\r\nthe launcher's own time to Java's start: |ms\r\n" + kNoMain +
         "\nété\r\nJava ended with exit code 1 after"},
    {kApp + "window,sleep1500,exit3221225477\nboom", "", sApp, "", 0xC0000005,
     "a1Tessaly ended unexpectedly: Java crashed (exit code 0xC0000005).\n\nboom", "",
     "0x0001,0x0000,0x0000012d|err:eventlog:ReportEventW L\"Tessaly ended unexpectedly", 60, 'u'},
    {kApp + "window,sleep1500,exit1\nbye", "", sApp, "", 1, "", "", "", 20},
    {kApp + "sleep12000,exit-2\nlate", "", sApp, "", 0xFFFFFFFE, kEnded + "-2.\n\nlate"},
    {kApp + "flood", "", sApp, "", 0, "", "",
     "\nFIRST LINE\n|bytes of Java's output left out here ...]\r\nline |\nLAST LINE\n"},
    // Ended without warning, or at the session's end, the launcher has its log up to date.
    {kApp + "flood,sleep4000", "", sApp, "", 0xDEAD, "", "", "left out so far ...]\r\nline |\nLAST LINE\n", 5,
     'k'},
    {kApp + "flood,sleep4000", "", sApp, "", 0xDEAD, "q", "",
     "\nLAST LINE\nthe session ended (logoff, restart or shutdown) while Java ran\r\n", 5, 'k'},
    // Ten starts at once keep their logs; the box of the eleventh names its own. Where no one could
    // see a box, the log says it; an administrator's start keeps no log, and says so.
    {kApp + "exit1\n", "last.tsy", "app -cp \"\"  last.tsy", "", 1, kEnded, "",
     "command line: \"%X\" last.tsy", 60, 'u', 10},
    {kApp + "exit259\n", "", sApp, "", 1, "", "",
     "not shown, no one could see it: " + kEnded.substr(2) + "259", 10, 'h'},
    // Old logs go by age: a clock set back keeps the starts' own.
    {kApp, "", sApp, "", 0, "", "", "", 60, 'u', -1},
    // Java's child that holds the pipe keeps the launcher no longer than Java, and Java inherits
    // nothing else of the launcher's: not the pipe that whoever started the launcher reads.
    {kApp + "child,exit1\nx", "", sApp, "", 1,
     kEnded + "1.\n\nx\n\nThis start kept no log: it runs with administrator rights", "", "", 4, 'a'},
    // Only when that tree names none: today's installers' places, the highest version of all
    // (equal ones: the earlier place), then JAVA_HOME.
    {"~J=17|~J\\17=%1", "", s11, "6 17.00000 %1"},
    {"~Azul Systems\\Zulu\\zulu-21:InstallationPath=%6|JavaSoft\\JDK\\17.0.1=%1", "", s16, "6 21.00000 %6"},
    {"~JavaSoft\\JRE\\17.0.9=%6|Microsoft\\JDK\\17.0.12\\hotspot\\MSI:Path=%1\\", "", s11, "6 17.01200 %1\\"},
    {"BellSoft\\Liberica\\jdk-8.0.392:InstallationPath=%1|JavaSoft\\Java Development Kit\\1.8.0_392=%6", "",
     s16, "6 1.80392 %6"},
    // Keys of runtimes that are gone, of another type or too long are passed over.
    {"JavaSoft\\JDK\\21=%R\\gone|JavaSoft\\JDK\\22:JavaHome#=%6|~JavaSoft\\JDK\\11=%1|JAVA_HOME=%6|"
     "~BellSoft\\Liberica\\jre-23:InstallationPath=%R\\" +
         string(260, 'x'),
     "", s11, "6 11.00000 %1"},
    {"J=1.4|J\\1.4=%1|J\\1.5=%6|JavaSoft\\JDK\\21=%1", "", s16, "6 1.50000 %6"},
    {"JAVA_HOME=\"%1\\\"", "", s11, "6 11.02000 %1"},
    // Names the ANSI code page cannot hold: a file by its short name, anything else with the code
    // page's '?', quoted, never a look-alike nor a quotation mark that the name did not hold; the
    // user is told, and Java started with them all the same.
    {"J=17|J\\17=%R\\Среда-17|T:ClasslibDynPath=%R\\lib Ω", "\"Ω＂ --x ＂\" Łódź \"%R\\" + kDocument + "\"",
     "Среда-17", "6 17.00000 %R\\Среда-17", 0,
     kCannotPass +
         "Ω＂ --x ＂ (there is no such file)\nŁódź (there is no such file)\n\nJava reads its command "
         "line in the ANSI code page, 1252 on",
     "long=%R\\lib Ω\\a.jar\narg=?? --x ?\narg=?ód?\nlong=%R\\" + kDocument},
    {"@=%6", "請求書.tsy", "jre16 -cp \"\"  \"???.tsy\"", "", 0, kCannotPass + "請求書.tsy"},
    // Nothing acceptable anywhere: the dialog.
    {"J\\1.6=%6", "", "", "3 <none> <none>", 1, "s|x|" + kNo, "", kClosed + "Cancel"},
    {"T:JavaHome=|T:JavaExe=%1\\bin\\java.exe", "", s11, "5 <none> ", 0, "e|" + kYes, "", kClosed + "OK"},
    {"T:JavaHome=|T:JavaExe=%1\\bin\\java.exe", "", s11, "5 <none> ", 0,
     "p1|" + kNo + "|p1|" + kYes + "|" + kYes, "", "the dialog's Done, with no runtime"},
    {"@=%1", "-install", "", "6 x %1", 1, "p1|" + kYes},
    {"", "doc.txt", "jdk11 -cp \"\"  doc.txt", "6 11.02000 %R\\JDK11", 0,
     "p1010|c%R\\jre142\\bin\\java.exe|a1" + kRefused + "|" + Use("%R\\JDK11\\BIN\\JAVA.EXE") +
         "|p1010|c%R\\jre142\\bin\\java.exe|a1" + kRefused + "|p1",
     "", "the dialog's Done recorded %R\\JDK11\\BIN\\JAVA.EXE"},
    // While a slow runtime is asked: Done starts nothing, a close waits for the probe's answer.
    {"", "", "", "3 <none> <none>", 1,
     "p1010|c%R\\late\\bin\\java.exe|p1|x|a1Using Java: %R\\late\\bin\\java.exe|" + kNo},
    {"", "", "", "3 <none> <none>", 1,
     "p1009|a1Your browser downloads Java 25 for this computer.|b|i|" + Use("%1\\bin\\java.exe") +
         "|p1009|w|p1|" + kNo + "|" + kLeave},
    // An administrator's download address, or none.
    {"P:JavaDownloadUrl=", "", "", "", 1, "p1009|a1" + kNoInstaller + "  Please visit www.java.com|e|" + kNo},
    {"P:JavaDownloadUrl=tessaly-nowhere:{version}-{arch}|P:MaxJavaVersion=17", "", "", "", 1,
     "p1009|a1" + kNoInstaller + "  Please visit tessaly-nowhere:17-x64 and download|e|" + kNo},
    // The installer's switches, the first one deciding: -install searches even with a runtime
    // recorded, and starts nothing; -uninstall forgets the runtime; near misses are none (and a
    // JavaOptions of 3,000 characters reaches Java whole). Quiet, it asks no one.
    {"@=%6", "doc.txt \"-Uninstall\" -install", "", "2 <none> <none>"},
    {"J=1.6|J\\1.6=%1|@=%6", "-install -uninstall", "", "6 1.60000 %1", 0, "", "",
     "0x0004,0x0000,0x00000064|trace:eventlog:ReportEventW L\"Tessaly recorded the Java runtime ", 60, 'u'},
    {"@=%6|T:JavaOptions=" + string(3000, 'o'), kNearMisses,
     "jre16 " + string(3000, 'o') + " -cp \"\"  " + kNearMisses, ""},
    {"J=1.6|J\\1.6=%1", "-INSTALL doc.txt -Quiet", "", "6 1.60000 %1"},
    {"", "-install -quiet", "", "3 <none> <none>", 1, "", "",
     "nothing recorded, and no one asked|0x0002,0x0000,0x000000c8", 10},
    // The administrator's policies win over every other setting; one that cannot be used starts
    // nothing.
    {"P:JavaHome=%6|@=%1", "", s16, "6 x %1"},
    {"P:JavaHome=%R\\gone", "", "", "", 1,
     "a1Tessaly cannot start: the Java runtime your administrator set (policy JavaHome, %R\\gone) cannot be "
     "used: there is no %R\\gone\\bin\\java.exe."},
    {"@=%6|P:MinJavaVersion=11|JavaSoft\\JDK\\11.0.2=%1", "", s11, "6 11.02000 %1"},
    {"P:AllowJavaChoice!=0|P:SupportText=Call 4711", "", "", "3 <none> <none>", 1,
     "a1Tessaly cannot start: no Java runtime it can use was found (Requires Java minimum version: 1.5), and "
     "your administrator allows no other.~\n\nCall 4711"},
    {"@=%6|T:JavaOptions=-Xmx256m|P:JavaOptions=-Xmx1g", "", "jre16 -Xmx256m -Xmx1g -cp \"\"", ""},
    // A user's own runtime (TESSALY_JAVA_HOME): used, never recorded; one that cannot be is told, and
    // the recorded one starts; where the administrator allows no choice, it counts for nothing.
    {"@=%6|TESSALY_JAVA_HOME=\"%1\\\"", "", s11, "6 x %6"},
    {"@=%6|TESSALY_JAVA_HOME=%R\\gone", "", s16, "6 x %6", 0,
     "a1Tessaly cannot use the Java runtime that TESSALY_JAVA_HOME names (%R\\gone): there is no "
     "%R\\gone\\bin\\java.exe."},
    {"@=%6|TESSALY_JAVA_HOME=%1|P:AllowJavaChoice!=0", "", s16, ""},
    {"@=%6|P:MinJavaVersion=abc", "", "", "", 1,
     "a1Tessaly cannot start: your administrator's policy value MinJavaVersion "
     "(HKEY_LOCAL_MACHINE\\Software\\"
     "Policies\\Quellmark\\Tessaly) is \"abc\", no version",
     "", "0x0001,0x0000,0x00000190", 60, 'u'},
    // The user's own options: after the machine's, before the administrator's; lines that it may not
    // hold are told once for each change of the file, and the rest applies. A start that fails with
    // them is offered once without them.
    {"@=%6|T:JavaOptions=-Xmx256m|P:JavaOptions=-Xmx1g|U=-Xmx2g\r\n# x\r\n\r\n -cp C:\\evil\nMain2", "",
     "jre16 -Xmx256m -Xmx2g -Xmx1g -cp \"\"", "", 0,
     "a1Tessaly does not use these lines of your own options file %U:\nline 4: -cp C:\\evil (not an option "
     "this file may hold)\nline 5: Main2 (not",
     "", "this user's own options (%U): -Xmx2g\r\n"},
    {"@=%6|U+=-Xmx2g\r\n# x\r\n\r\n -cp C:\\evil\nMain2", "", "jre16 -Xmx2g -cp \"\"", "", 0, "", "",
     "told before"},
    {"@=%6|U16=-Dname=\xC3\xA9t\xC3\xA9\r\n-Xss2m", "", "jre16 -Dname=\xC3\xA9t\xC3\xA9 -Xss2m -cp \"\"", ""},
    {kApp + "exit1\nbad|U=-Xss1m", "", sApp, "", 1,
     "a6" + kEnded.substr(2) +
         "1.\n\nbad\n\nYour own options from %U were used in this start. Start Tessaly once without them?|" +
         kEnded + "1.\n\nbad\n\nThe log",
     "", "started again, without this user's own options"},
    {"@=%6|P:AllowUserOptions!=0|U=-Xmx2g", "", s16, ""},
    {"P:AllowUserOptions!=0", "-user-options", "", "", 1,
     "a1Your administrator has switched off your own options file for Tessaly (policy AllowUserOptions): %U"},
    {"", "-user-options", "", "", 0, "n"},
    {"@=%6|P:AllowJavaChoice=1", "", "", "", 1,
     "a1Tessaly cannot start: your administrator's policy value "
     "AllowJavaChoice (HKEY_LOCAL_MACHINE\\Software\\Policies\\Quellmark\\Tessaly) is of type REG_SZ, not "
     "REG_DWORD."},
};

// One entry of a row's set-up, with the Software keys of this registry view and of the other one.
void Set(const string& entry, HKEY view, HKEY other) {
    size_t equals = entry.find('=');
    string key = entry.substr(0, equals), value = Expand(entry.substr(equals + 1));
    if (key.find("JAVA_HOME") != string::npos)
        SetEnvironmentVariableW(Widen(key).c_str(), Widen(value).c_str());
    if (key == "APP")
        std::ofstream(Widen(root + "\\app\\bin\\version.txt").c_str(), std::ios::binary) << value;
    // The user's own options, in UTF-8 or UTF-16; "U+" keeps what the launcher told of them before.
    if (key[0] == 'U') {
        if (key != "U+") RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quellmark");
        std::wstring wide = L"\xFEFF" + Widen(value);
        string bytes =
            key == "U16" ? string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2) : value;
        std::ofstream(Widen(Expand("%U")).c_str(), std::ios::binary) << bytes;
        return;
    }
    for (string part :
         {string("JavaVersion=x"), "JavaHome=" + value, "JavaExe=" + value + "\\bin\\java.exe"}) {
        if (key == "@") Set("T:" + part, view, other);
    }
    if (key.find("JAVA_HOME") != string::npos || key == "APP" || key == "@" || key == "-T") return;
    size_t colon = key.find(':');
    string name = colon != string::npos ? key.substr(colon + 1)
                  : key.back() == 'J'   ? "CurrentVersion"
                                        : "JavaHome";
    key.erase(std::min(colon, key.size()));
    HKEY software = key[0] == '~' ? other : view;
    key.erase(0, key[0] == '~');
    if (key == "T" || key == "P") key = key == "T" ? "Quellmark\\Tessaly" : "Policies\\Quellmark\\Tessaly";
    if (key[0] == 'J' && (key.size() == 1 || key[1] == '\\'))
        key.replace(0, 1, "JavaSoft\\Java Runtime Environment");
    DWORD type = name.back() == '#'   ? REG_BINARY
                 : name.back() == '!' ? REG_DWORD
                                      : REG_SZ,
          number = std::atoi(value.c_str());
    if (type != REG_SZ) name.pop_back();
    std::wstring wide = Widen(value);
    const void* data = type == REG_BINARY  ? static_cast<const void*>(value.data())
                       : type == REG_DWORD ? static_cast<const void*>(&number)
                                           : wide.c_str();
    DWORD size = type == REG_BINARY ? value.size() : type == REG_DWORD ? 4 : wide.size() * 2 + 2;
    EXPECT_EQ(RegSetKeyValueW(software, Widen(key).c_str(), Widen(name).c_str(), type, data, size), 0)
        << entry;
}

void Prepare(const string& set) {
    RegistryKey views[2];
    for (int i = 0; i < 2; ++i) {
        views[i].OpenWith(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS | (i == 0 ? kView : kOther));
        for (const char* tree :
             {"Quellmark", "JavaSoft", "Azul Systems", "BellSoft", "Microsoft\\JDK", "Policies\\Quellmark"}) {
            RegDeleteTreeA(views[i].Handle(), tree);
        }
    }
    SetEnvironmentVariableW(L"JAVA_HOME", nullptr);
    SetEnvironmentVariableW(L"TESSALY_JAVA_HOME", nullptr);
    DeleteFileW(Widen(Expand("%U")).c_str());
    std::istringstream entries(
        set.rfind("-T", 0) == 0 ? set : "T:JavaOptions=|T:CommandLineArgs=|T:ClasslibDynPath=|" + set);
    for (string entry; std::getline(entries, entry, '|');) Set(entry, views[0].Handle(), views[1].Handle());
}

// The logs of the starts.
std::vector<string> Logs() {
    std::vector<string> logs;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(Widen(root + "\\Quellmark\\Tessaly\\tessaly-*.log").c_str(), &entry);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &entry)) {
        logs.push_back(root + "\\Quellmark\\Tessaly\\" + Narrow(entry.cFileName, wcslen(entry.cFileName)));
    }
    FindClose(search);
    // In the order of their last writes.
    auto written = [](const string& log) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExW(Widen(log).c_str(), GetFileExInfoStandard, &data);
        return std::tuple(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime, log);
    };
    std::sort(logs.begin(), logs.end(), [&](auto& a, auto& b) { return written(a) < written(b); });
    return logs;
}

// As a standard user (Wine's own processes are elevated: the linked token is not), an
// administrator, or on a window station that no one sees.
HANDLE Start(const string& command, char as) {
    static HANDLE token = nullptr;
    static TOKEN_LINKED_TOKEN linked = {};
    DWORD size = 0;
    if (token == nullptr && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size);
    static bool hidden = [] {
        HWINSTA own = GetProcessWindowStation();
        HWINSTA station = CreateWindowStationW(L"TessalyUnseen", 0, WINSTA_ALL_ACCESS, nullptr);
        SetProcessWindowStation(station);
        bool made = CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr) != nullptr;
        SetProcessWindowStation(own);
        return made;
    }();
    EXPECT_TRUE(hidden && linked.LinkedToken != nullptr);
    std::wstring line = Widen("\"" + target + "\" " + Expand(command));
    STARTUPINFOW startup = {sizeof startup};
    startup.lpDesktop = as == 'h' ? const_cast<wchar_t*>(L"TessalyUnseen\\Default") : nullptr;
    PROCESS_INFORMATION info = {};
    BOOL started =
        CreateProcessAsUserW(linked.LinkedToken, nullptr, &line[0], 0, 0, FALSE, 0, 0, 0, &startup, &info);
    EXPECT_TRUE(started) << command;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// The exit code, once it has ended; a launcher still running after the limit is stopped.
DWORD Finish(HANDLE process, DWORD limitMs) {
    DWORD code = 0xDEAD;
    if (WaitForSingleObject(process, limitMs) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
    TerminateProcess(process, code);
    CloseHandle(process);
    return code;
}

TEST_F(Windows, TessalyFindsOrAsksForJavaThenStartsItWithTheSettings) {
    // A warning that could not be shown (no such owner) is no OK.
    EXPECT_FALSE(WarnWillNotRun(reinterpret_cast<HWND>(0x7A7A7A)));
    // Each stand-in runtime writes its version its own way: jdk11 on standard output, jre142 in pieces.
    for (auto [home, mode, banner] : {std::tuple{"jre16", "err", kBanner},
                                      {"jdk11", "out", "openjdk \"11.0.2\" 2019\n"},
                                      {"jre142", "chunks", string(250, '-') + "java version \"1.4.2_19\" z"},
                                      {"Среда-17", "err", "java version \"17\""},
                                      {"app", "", ""},
                                      {"late", "slow", kBanner}}) {
        FakeJava(root + "\\" + home, banner, mode);
    }
    // A folder named like a jar, files that are no jars, and more jars than one command line holds.
    for (const char* name : {"lib\\x.jar", "lib Ω", "many"}) {
        SHCreateDirectoryExW(nullptr, Widen(root + "\\" + name).c_str(), nullptr);
    }
    for (const char* name :
         {"a.jar", "b.JAR", "notes.txt", "tessaly.jar_old", "lib.jarx", "..\\lib Ω\\a.jar"}) {
        std::ofstream(Widen(root + "\\lib\\" + name).c_str());
    }
    std::ofstream(Widen(root + "\\" + kDocument).c_str());
    for (int i = 0; i < 400; ++i) {
        std::ofstream(root + "\\many\\tessaly-module-with-a-long-name-" + std::to_string(i) + ".jar");
    }
    SetEnvironmentVariableW(L"LOCALAPPDATA", Widen(root).c_str());
    SetEnvironmentVariableW(L"APPDATA", Widen(root + "\\roaming").c_str());
    SHCreateDirectoryExW(nullptr, Widen(root + "\\roaming\\Quellmark\\Tessaly").c_str(), nullptr);
    // The browser: a stand-in that records the address it was given.
    for (REGSAM view : {kView, kOther}) {
        RegistryKey classes;
        classes.OpenWith(HKEY_LOCAL_MACHINE, "Software\\Classes", KEY_ALL_ACCESS | view);
        std::wstring command = Widen("\"" + build + "\\fixtures\\java.exe\" \"%1\"");
        RegSetKeyValueW(classes.Handle(), L"https\\shell\\open\\command", nullptr, REG_SZ, command.c_str(),
                        command.size() * 2 + 2);
    }
    // Every stand-in records its start here.
    string record = build + "\\launched.txt";
    SetEnvironmentVariableW(L"TESSALY_RECORD", Widen(record).c_str());
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.set.substr(0, 200) + " | " + row.command);
        Prepare(row.set);
        DeleteFileW(Widen(record).c_str());
        for (const string& log : Logs()) DeleteFileW(Widen(log).c_str());
        // And another program's log, as old: no log of Tessaly's, it stays.
        for (int i = 0; i < 11 && row.held < 0; ++i) {
            string name = root + "\\Quellmark\\Tessaly\\" +
                          (i < 10 ? "tessaly-20990101-000000-000-0" + std::to_string(i) : "tessaly");
            HANDLE log = CreateFileW(Widen(name + ".log").c_str(), GENERIC_WRITE, 0, 0, CREATE_NEW, 0, 0);
            FILETIME old = {0, 0x01D00000};
            SetFileTime(log, nullptr, nullptr, &old);
            CloseHandle(log);
        }
        for (int i = 0; i < -row.held; ++i) Finish(Start(row.command, row.as), 60000);
        boxLog.clear();
        std::vector<HANDLE> held;
        for (int i = 0; i < row.held; ++i) held.push_back(Start("held.tsy --act=sleep6000", row.as));
        for (int i = 0; i < 500 && Logs().size() < held.size(); ++i) Sleep(20);
        // The user gives up at the first failure, and so does the table.
        std::thread user([&] {
            HWND dialog =
                row.steps.empty() || strchr("aqn", row.steps[0]) ? nullptr : WaitFor("Install Java");
            std::istringstream steps(row.steps);
            for (string step; !HasFailure() && std::getline(steps, step, '|');) Act(step, dialog, record);
        });
        DWORD begin = GetTickCount();
        WIN32_FILE_ATTRIBUTE_DATA sharedSize = {};
        GetFileAttributesExW(Widen(build + "\\wine-stderr.txt").c_str(), GetFileExInfoStandard, &sharedSize);
        std::streamoff eventsFrom = sharedSize.nFileSizeLow;
        if (row.as == 'a') RunAndCapture(target, Expand(row.command), 60000);
        if (row.as != 'a')
            EXPECT_EQ(Finish(Start(row.command, row.as), row.as == 'k' ? 3000 : 60000), row.code);
        EXPECT_LT(GetTickCount() - begin, row.within * 1000);
        user.join();
        std::vector<string> logs = Logs();
        // Of ten old logs and two starts' own, ten stay: the starts' by age, whatever their names.
        if (row.held != 0) EXPECT_EQ(logs.size(), row.held < 0 ? 10u : row.held + 1u);
        if (row.held < 0) EXPECT_TRUE(DeleteFileW(Widen(root + "\\Quellmark\\Tessaly\\tessaly.log").c_str()));
        for (HANDLE start : held) Finish(start, 30000);
        // Each start's own log, within its bound.
        // Wine prints each event on its debug channels into the standard error that every start
        // shares with the tests, a file (scripts/wine-run): this start's part of it.
        std::ifstream shared(Widen(build + "\\wine-stderr.txt").c_str(), std::ios::binary);
        std::ostringstream events;
        events << shared.seekg(eventsFrom).rdbuf();
        string log = (boxLog.empty() && logs.empty() ? "" : Read(boxLog.empty() ? logs.back() : boxLog)) +
                     events.str();
        EXPECT_LT(log.size(), 2000000u);
        std::istringstream parts(Expand(row.log));
        for (string part; std::getline(parts, part, '|');) EXPECT_NE(log.find(part), string::npos) << part;
        // Which runtime ran, what it was given, where (ctest runs the launcher in the build's folder) and
        // how.
        string got = row.started.empty() ? "" : Read(record);
        EXPECT_EQ(FileExists(record), !row.started.empty());
        bool whole = row.started.find(' ') != string::npos;
        string expected =
            Expand(row.started) +
            (whole ? "\ndirectory=" + build + "\nshow=0 flags=1100 console=0 title=Quellmark.Tessaly\n" : "");
        EXPECT_EQ(got.substr(0, expected.size()), expected);
        std::istringstream lines(Expand(row.app));
        for (string part; std::getline(lines, part);) {
            EXPECT_NE(got.find(part + "\n"), string::npos) << part;
        }
        RegistryKey key;
        string version = "<none>", home = "<none>";
        DWORD values = 0;
        key.OpenForRead(HKEY_LOCAL_MACHINE, "Software\\Quellmark\\Tessaly", kView);
        key.QueryString("JavaVersion", version);
        key.QueryString("JavaHome", home);
        RegQueryInfoKeyA(key.Handle(), 0, 0, 0, 0, 0, 0, &values, 0, 0, 0, 0);
        if (!row.key.empty()) EXPECT_EQ(std::to_string(values) + " " + version + " " + home, Expand(row.key));
        DeleteFileW(Widen(Expand(kInstaller)).c_str());
        if (HasFailure()) return;
    }
}

}  // namespace
