// The version probe against the stand-in java.exe, over a real pipe.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include "javafind/jvm_locator.h"
#include "javafind/run_capture.h"
#include "support/test_process.h"

namespace {

const std::string kBanner = "java version \"1.6.0_02\"\nJava(TM) SE Runtime Environment (build 1.6.0_02-b06)\n";

TEST(ProbeJavaVersion, ReadsTheVersionWhereverTheOutputPutsIt) {
    struct Case { const char* mode; std::string text; double version; };
    const Case cases[] = {
        {"err", kBanner, 1.6002},
        {"out", "openjdk version \"11.0.2\" 2019-01-15\n", 11.02},
        {"both", "java version \"1.5.0_06\"\nbuild 2 1.5.0_06-b05\n", 1.5006},
        {"chunks", std::string(98, '-') + "java version \"1.4.2_19\" and more text after it", 1.4219},
        {"err", "\"1.6\" begins with the quote", 0.0},
        {"err", "java version \"1.6", 0.0},
        {"err", "Error: no JVM\n", 0.0},
        {"none", "", 0.0},
        {"huge", kBanner, 0.0},  // the banner lies beyond the kept 64 KiB
    };
    std::string dir = testproc::MakeTempDir("probe");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + ": " + c.text);
        std::string exe = testproc::PlaceFakeJava(dir, c.text, c.mode);
        EXPECT_DOUBLE_EQ(JvmLocator().ProbeJavaVersion(exe), c.version);
    }
}

TEST(RunAndCapture, JoinsBothStreamsInOrderAndKeeps64KiB) {
    std::string dir = testproc::MakeTempDir("capture");
    std::string exe = testproc::PlaceFakeJava(dir, "first line\nsecond line\n", "both");
    EXPECT_EQ(RunAndCapture(exe, "-version"), "first line\nsecond line\n");
    std::string text = std::string(250, 'a') + "z";
    testproc::PlaceFakeJava(dir, text, "chunks");
    EXPECT_EQ(RunAndCapture(exe, "-version"), text);
    testproc::PlaceFakeJava(dir, kBanner, "huge");
    std::string kept = RunAndCapture(exe, "-version");
    EXPECT_EQ(kept, std::string(kCaptureKeepBytes, 'x'));
}

TEST(RunAndCapture, QuotesAPathWithBlanksSoNoPlantedProgramRuns) {
    std::string exe = testproc::PlaceFakeJava("C:\\Program Files\\Tessaly Probe\\bin", kBanner);
    // Unquoted, "C:\Program Files\..." would start C:\Program.exe with "Files\..." arguments.
    ASSERT_TRUE(CopyFileA(exe.c_str(), "C:\\Program.exe", FALSE));
    DeleteFileA("C:\\launched.txt");
    double version = JvmLocator().ProbeJavaVersion(exe);
    bool plantedRan = testproc::Exists("C:\\launched.txt");
    DeleteFileA("C:\\Program.exe");
    DeleteFileA("C:\\launched.txt");
    EXPECT_DOUBLE_EQ(version, 1.6002);
    EXPECT_FALSE(plantedRan);
}

TEST(RunAndCapture, RefusesWhatCannotRunWithoutWaiting) {
    DWORD begin = GetTickCount();
    EXPECT_EQ(JvmLocator().ProbeJavaVersion("C:\\no such folder\\java.exe"), 0.0);
    EXPECT_EQ(JvmLocator().ProbeJavaVersion(""), 0.0);
    // Too long for the command-line buffer: refused, never cut to something else.
    std::string dir = testproc::MakeTempDir("toolong");
    std::string exe = testproc::PlaceFakeJava(dir, kBanner);
    std::string padded = dir + std::string(1100, '\\') + "java.exe";
    EXPECT_EQ(RunAndCapture(padded, "-version"), "");
    EXPECT_LT(GetTickCount() - begin, 3000u);
}

int CountProcesses(const char* name) {
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (_stricmp(entry.szExeFile, name) == 0) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

TEST(RunAndCapture, StopsAChildWhoseOutputNeverEnds) {
    std::string dir = testproc::MakeTempDir("slow");
    std::string exe = testproc::PlaceFakeJava(dir, kBanner, "slow");
    int before = CountProcesses("java.exe");
    DWORD begin = GetTickCount();
    EXPECT_EQ(JvmLocator().ProbeJavaVersion(exe), 0.0);
    DWORD took = GetTickCount() - begin;
    EXPECT_GE(took, kCaptureTimeLimitMs - 100);
    EXPECT_LT(took, kCaptureTimeLimitMs + 3000);
    Sleep(200);
    EXPECT_EQ(CountProcesses("java.exe"), before);  // the child was terminated
}

}  // namespace
