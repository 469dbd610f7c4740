// The pure text rules, natively under the sanitizers and in the Windows build alike. The fuzz
// targets (rules_fuzz.cpp) hold the properties, the number text among them; these rows pin exact values.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "app/launch_params.h"
#include "app/message_text.h"
#include "framework/session_rules.h"
#include "javafind/version_rules.h"
#include "settings/user_options_rules.h"
#include "ui/dialog_rules.h"
#include "util/output_decoder.h"
#include "util/path_text.h"
#include "util/utf8_text.h"

using std::string;

namespace {

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(Rules, ExactValues) {
    const string odd = string(
        "\xff"
        "1\xe9.\xa0"
        "5");
    const std::pair<string, double> versions[] = {
        {"1.6.0_100", 1.601},
        {"1.6.0_02-b06", 1.600206},
        {".5", 0.5},
        {"1..2", 1.2},
        {"...", 0.0},
        {odd, 1.5},
        {string("1\0"
                "7",
                3),
         17.0},
        {string(5000, '9'), HUGE_VAL},
    };
    for (const auto& [text, number] : versions) EXPECT_DOUBLE_EQ(ParseVersionText(text), number) << text;
    // version, minimum, maximum, accepted
    const double bounds[][4] = {
        {1.6, 1.5, 1.6, 1}, {1.6002, 1.5, 1.6, 0}, {9999, 1.5, 0.99, 1},  {9999.5, 1.5, 0.99, 0},
        {1, 1, 1, 1},       {1.5, 1, 1, 0},        {HUGE_VAL, 1.5, 0, 0},
    };
    for (const auto& b : bounds) {
        EXPECT_EQ(IsVersionAccepted(b[0], b[1], b[2]), b[3] == 1) << b[0] << " " << b[1] << " " << b[2];
    }
    const std::tuple<const char*, const char*, int> order[] = {
        {"99999999999999999999", "18446744073709551615.1", -1},
        {"21.0.1.12", "21.0.1", 1},
        {"1", "0.9", 1},
    };
    for (auto [a, b, sign] : order) {
        EXPECT_EQ(CompareVersionParts(VersionParts(a), VersionParts(b)), sign) << a << " " << b;
    }
    // 0x95 0x5C is one character; at the end, a lead byte cut off.
    EXPECT_EQ(FindLastBackslash("C:\\\x95\\\\app.exe", ShiftJisLead), 5u);
    EXPECT_EQ(FindLastBackslash("C:\\\x95\\x.exe", ShiftJisLead), 2u);
    EXPECT_EQ(FindLastBackslash("\\\x95", ShiftJisLead), 0u);
    // Ends in 0x95 0x5C: one character, no backslash.
    string added = "C:\\\x95\\";
    string stripped = added;
    AddTrailingBackslash(added, ShiftJisLead);
    StripTrailingBackslash(stripped, ShiftJisLead);
    EXPECT_EQ(added + "|" + stripped, "C:\\\x95\\\\|C:\\\x95\\");
    // A character stays whole.
    EXPECT_EQ(LastLines("1\n2\r\n \r\n\xC3\xA9\xC3\xA9x\r", 2, 3), "2\n\xC3\xA9...");
    // Which end of Java is news to the user (the table of tessaly.exe shows the others, and the
    // exit codes' texts).
    const std::tuple<unsigned long, bool, bool, unsigned long, JavaEndMessage> ends[] = {
        {0xFFFFFFFF, true, false, 0, JavaEndMessage::kNone},
        {1, true, true, 0, JavaEndMessage::kCrashed},
        {1, false, false, 59999, JavaEndMessage::kCouldNotStart},
        {1, false, false, 60000, JavaEndMessage::kEndedAfter},
        {0xC0000005, false, false, 60000, JavaEndMessage::kCrashed},
    };
    for (auto [code, window, fatal, ms, message] : ends)
        EXPECT_EQ(MessageForJavaEnd(code, window, fatal, ms), message) << code << " " << ms;
    EXPECT_EQ(DurationText(59999) + "|" + DurationText(61000) + "|" + DurationText(7322000),
              "59 seconds|1 minute 1 second|2 hours 2 minutes");
    EXPECT_EQ(LauncherExitCode(259) + LauncherExitCode(258), 259u);
    string report = "x";
    EXPECT_FALSE(FindFatalErrorReport("# A fatal error", report) || !report.empty());
    EXPECT_TRUE(FindFatalErrorReport(
        "#\r\n# A fatal error has been detected by the Java Runtime Environment:\r\n#\r\n"
        "# An error report file with more information is saved as:\r\n"
        "# C:\\app\\hs_err_pid12.log\r\n#\r\n",
        report));
    EXPECT_EQ(report, "C:\\app\\hs_err_pid12.log");
    // The quoted program, a blank, the parameters and the terminator: 32,767 characters at most.
    EXPECT_TRUE(FitsCommandLine("j", string(32762, 'p')));
    EXPECT_FALSE(FitsCommandLine("j", string(32763, 'p')));
    // The first marker, in any case.
    string home;
    EXPECT_TRUE(HomeOfJavaExe("C:\\Jdk\\BIN\\Java.EXE\\bin\\java.exe", home));
    EXPECT_EQ(home, "C:\\Jdk");
    EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8("\xCE\xA9\xF0\x9F\x98\x80\xC0\x80\xED\xA0\x80")),
              "\xCE\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBD\xED\xA0\x80");
}

// An administrator's bounds: part by part, a maximum admitting every update of what it names.
TEST(Rules, AdministratorsBounds) {
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {"11", "17", "17.0.12", true}, {"11", "17", "18", false},      {"11", "17", "10.0.9", false},
        {"11", "17", "11", true},      {"", "1.8", "1.8.0_392", true}, {"", "1.8", "9", false},
        {"", "1.8", "1.4.2", false},   {"9", "", "", false},
    };
    for (auto [min, max, version, accepted] : cases) {
        VersionBounds bounds = {1.5, 0.0, min, max};
        EXPECT_EQ(IsVersionAccepted(bounds, ParseVersionText(version), version), accepted)
            << min << max << version;
    }
    string bits;
    for (const char* text : {"17", "1.8.0_392", "21_35", "abc", "1..8", "", "1.", "1234567890"})
        bits += IsVersionText(text) ? '1' : '0';
    EXPECT_EQ(bits, "11100000");
    EXPECT_EQ(ReleaseVersion("IMPLEMENTOR_VERSION=\"x\"\nJAVA_VERSION=\"17.0.12\"\n") + "|" +
                  ReleaseVersion("JAVA_VERSION=\"1"),
              "17.0.12|");
}

// Native first on ARM64 Windows, and only there, and only within a feature version.
TEST(Rules, NativeFirst) {
    std::string pe(0x90, '\0');
    pe.replace(0, 2, "MZ");
    pe[0x3C] = 0x80;
    pe.replace(0x80, 6, std::string("PE\0\0\x64\xAA", 6));
    EXPECT_EQ(PeMachine(pe), kMachineArm64);
    EXPECT_EQ(PeMachine(pe.substr(0, 0x84)) + PeMachine("MZ") + PeMachine(""), 0u);
    auto v17_10 = VersionParts("17.0.10"), v17_12 = VersionParts("17.0.12"), v21 = VersionParts("21");
    string order;
    for (auto [a, ma, b, mb, arm] : {std::tuple{v17_10, kMachineArm64, v17_12, 0x8664u, true},
                                     {v17_10, kMachineArm64, v17_12, 0x8664u, false},
                                     {v17_10, kMachineArm64, v21, 0x8664u, true},
                                     {v17_12, 0x8664u, v17_10, 0x8664u, true}})
        order += CompareRuntimes(a, ma, b, mb, arm) > 0 ? '>' : '<';
    EXPECT_EQ(order, "><<>");
}

// Where the answer goes: Wine runs every process in session 1 and makes only split tokens, and
// picks the pipe's name and the log's time itself.
TEST(Rules, Session) {
    string bits;
    for (bool b : {CanBeSeen(true, 0, true), CanBeSeen(false, 0, true), CanBeSeen(true, 1, false),
                   CanBeSeen(true, 2, true), MayKeepLog(1), MayKeepLog(2), MayKeepLog(3)})
        bits += b ? '1' : '0';
    EXPECT_EQ(bits, "0101101");
    EXPECT_EQ(LogFileName("t", {2026, 1, 2, 3, 4, 5, 6}, 7), "t-20260102-030405-006-07.log");
    const unsigned char random[16] = {0x00, 0x1f, 0xa0, 0xff, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0xbc};
    EXPECT_EQ(PipeName(random), "\\\\.\\pipe\\Tessaly-001fa0ff0102030405060708090a0bbc");
    EXPECT_EQ(OwnerOnlySecurity("S-1-5-21-1"), "D:P(A;;GA;;;S-1-5-21-1)");
    // Ten minutes are 6e9 ticks. Kept: the two written last, and any in the last ten minutes;
    // of equal times, the later name. Far in the future is oldest.
    const uint64_t now = 100000000000;
    std::vector<LogEntry> logs = {
        {"a", now - 6000000001}, {"b", now - 6000000000}, {"d", now + 1}, {"e", 1}, {"f", 1}, {"g", ~0ULL}};
    std::vector<string> old = OldLogs(logs, now, 2, 6000000000);
    EXPECT_EQ(testing::PrintToString(old), testing::PrintToString(std::vector<string>{"a", "f", "e", "g"}));
    // A line that never ends comes in parts, a character split between them kept whole (the fuzz
    // target Decoder holds the rest).
    OutputDecoder decoder([](const string&) { return string("?"); });
    string endless = string(4096, 'x') + "\xE2\x82";
    EXPECT_EQ(decoder.Add(endless.data(), endless.size()), string(4096, 'x'));
    string decoded = decoder.Add("\xAC", 1);
    EXPECT_EQ(decoded + decoder.Flush(), "\xE2\x82\xAC");
}

}  // namespace

// What a user's own options file may hold: only whole options of the allowed kinds.
TEST(Rules, UserOptions) {
    // One option a line, its verdict (an OptionRefusal) after the '|'.
    std::istringstream cases(
        "-Xmx2g|0 -Xms512M|0 -Xss1024|0 -Xmx|3 -Xmx2.5g|3 -Xmx 2g|3 -Xmxg|3 -Xlog:gc|0 -Xlogx|1 "
        "-Dname=a b|0 -D|1 -D=x|1 -XX:+UseG1GC|0 -XX:|1 -XX:VMOptionsFile=x|2 -XX:Flags=.hotspotrc|2 "
        "-XX:+Flags|2 --add-opens=java.base/java.lang=ALL-UNNAMED|0 --add-opens java.base/x=y|4 "
        "--add-opens=|4 --add-opensx|1 --enable-native-access=ALL-UNNAMED|0 -ea|0 -da:org.x...|0 -eax|1 "
        "-verbose:gc|0 -cp C:\\evil|1 Main2|1 -jar|1 -Dx=\x01|5 |1");
    for (string option, verdict; std::getline(cases, option, '|') && std::getline(cases, verdict, ' ');)
        EXPECT_EQ(static_cast<int>(CheckUserOption(option.substr(option[0] == ' '))), std::stoi(verdict))
            << option;
    // Each encoding a saved file may have; lines at CR, LF or CRLF, trimmed, comments skipped.
    auto ansi = [](const string& text) {
        return "ansi:" + text;
    };
    const std::pair<string, string> files[] = {
        {"\xEF\xBB\xBF-Xmx2g", "-Xmx2g"},
        {string("\xFF\xFE-\0D\0\xE9\0", 8), "-D\xC3\xA9"},
        {string("\xFE\xFF\0-\0D\0\xE9", 8), "-D\xC3\xA9"},
        {"-D\xC3\xA9", "-D\xC3\xA9"},
        {"-D\xE9", "ansi:-D\xE9"},
        {string("\xFF\xFE-", 3), ""},
        {string("\xFF\xFE\x00\xDC\x01\xDC\x3D\xD8\x00\xDE", 10), "\xEF\xBF\xBD\xEF\xBF\xBD\xF0\x9F\x98\x80"},
    };
    for (const auto& [bytes, text] : files) EXPECT_EQ(DecodeOptionsFile(bytes, ansi), text) << bytes;
    auto ascii = [](const string& text) {
        return std::all_of(text.begin(), text.end(), [](char c) { return c > 0; });
    };
    UserOptions options =
        ParseUserOptions(" -Xmx2g \r\n# -cp x\r\r\n\t\n-cp C:\\evil\rMain2\n-ea\n-D\xC3\xA9", ascii);
    EXPECT_EQ(options.accepted, (std::vector<string>{"-Xmx2g", "-ea"}));
    string refused;
    for (const RefusedLine& line : options.refused) refused += std::to_string(line.number) + line.text + "|";
    EXPECT_EQ(refused, "5-cp C:\\evil|6Main2|8-D\xC3\xA9|");
    EXPECT_EQ(options.refused.back().why, OptionRefusal::kCodePage);
    EXPECT_EQ(Fingerprint("") + Fingerprint("a"), "cbf29ce484222325af63dc4c8601ec8c");
}

// The download's version: the string table's, within the bounds, none for 32-bit after 23.
TEST(Rules, Download) {
    const std::tuple<unsigned, VersionBounds, bool, unsigned> cases[] = {
        {25, {1.5, 0.0, "", ""}, false, 25},      {25, {1.5, 1.8, "", ""}, false, 8},
        {25, {1.5, 0.0, "", "17.0.2"}, false, 0}, {25, {1.5, 0.0, "", "17.0"}, false, 17},
        {21, {1.5, 0.0, "26", ""}, false, 26},    {21, {1.5, 0.0, "24", ""}, true, 0},
        {21, {1.5, 0.0, "", "1.8"}, true, 8},     {25, {17.02, 0.0, "", ""}, false, 25},
    };
    for (const auto& [wanted, bounds, x86, version] : cases)
        EXPECT_EQ(DownloadVersion(wanted, bounds, x86), version) << bounds.minText << bounds.maxText << x86;
    EXPECT_EQ(DownloadAddress("https://x/{version}/{arch}/{version}{arch}{", 25, "aarch64"),
              "https://x/25/aarch64/25aarch64{");
}
