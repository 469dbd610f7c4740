// The built tessaly.exe started as a user would: what the stand-in Java receives.
#include <gtest/gtest.h>

#include <sstream>

#include "support/test_process.h"
#include "support/test_registry.h"

namespace {

using testreg::kLauncherKey;

struct Started {
    std::string commandLine, directory, show;
    std::vector<std::string> args;
};

Started Parse(const std::string& record) {
    Started started;
    std::istringstream lines(record);
    for (std::string line; std::getline(lines, line);) {
        std::string key = line.substr(0, line.find('=')), value = line.substr(line.find('=') + 1);
        if (key == "commandline") started.commandLine = value;
        if (key == "directory") started.directory = value;
        if (key == "show") started.show = value;
        if (key == "arg") started.args.push_back(value);
    }
    return started;
}

class LaunchTest : public testing::Test {
protected:
    void SetUp() override {
        testreg::DeleteTree("Software\\Quellmark");
        testreg::DeleteTree("Software\\JavaSoft");
        root = testproc::MakeTempDir("launch");
        javaDir = root + "\\jre\\bin";
        javaExe = testproc::PlaceFakeJava(javaDir, "java version \"1.6.0_02\"");
        lib = root + "\\lib";
        CreateDirectoryA(lib.c_str(), nullptr);
        testreg::CreateKey(kLauncherKey);
    }
    void TearDown() override {
        testreg::DeleteTree("Software\\Quellmark");
        testreg::DeleteTree("Software\\JavaSoft");
    }
    void Record(const std::string& home, const std::string& exe) {
        testreg::SetText(kLauncherKey, "JavaHome", home);
        testreg::SetText(kLauncherKey, "JavaExe", exe);
    }
    void Settings(const std::string& options, const std::string& args, const std::string& jarDir) {
        testreg::SetText(kLauncherKey, "JavaOptions", options);
        testreg::SetText(kLauncherKey, "CommandLineArgs", args);
        testreg::SetText(kLauncherKey, "ClasslibDynPath", jarDir);
    }
    // Runs tessaly.exe and returns what the stand-in recorded: the parameters after its path.
    Started Launch(const std::string& arguments) {
        testproc::Outcome outcome = testproc::Run(testproc::TessalyExe(), arguments);
        EXPECT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.exitCode, 0u);
        Started started = Parse(testproc::WaitForFile(javaDir + "\\launched.txt"));
        std::string prefix = "\"" + javaExe + "\" ";
        EXPECT_EQ(started.commandLine.substr(0, prefix.size()), prefix);
        started.commandLine = started.commandLine.substr(std::min(prefix.size(), started.commandLine.size()));
        return started;
    }
    std::string root, javaDir, javaExe, lib;
};

TEST_F(LaunchTest, ParametersFollowTheSettingsLayouts) {
    testproc::WriteFile(lib + "\\a.jar", "");
    testproc::WriteFile(lib + "\\b.JAR", "");
    testproc::WriteFile(lib + "\\notes.txt", "");
    CreateDirectoryA((lib + "\\x.jar").c_str(), nullptr);  // a folder, not a jar
    Record(root + "\\jre", javaExe);
    struct Case { const char* options; const char* args; std::string jarDir; const char* argument; std::string params; };
    const Case cases[] = {
        {"-Xmx256m org.example.Main", "--open", lib, "doc.txt",
         "-Xmx256m org.example.Main -cp \"" + lib + "\\a.jar;" + lib + "\\b.JAR\" --open doc.txt"},
        {"", "", "", "", "-cp \"\""},
        {"", "", "", "doc.txt", "-cp \"\"  doc.txt"},
        {"", "", lib + "\\", "", "-cp \"" + lib + "\\a.jar;" + lib + "\\b.JAR\""},
        {"", "", root + "\\missing", "", "-cp \"\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        Settings(c.options, c.args, c.jarDir);
        DeleteFileA((javaDir + "\\launched.txt").c_str());
        Started started = Launch(c.argument);
        EXPECT_EQ(started.commandLine, c.params);
        EXPECT_EQ(started.show, "0");  // SW_HIDE
    }
}

TEST_F(LaunchTest, EachArgumentReachesJavaAsGiven) {
    Record(root + "\\jre", javaExe);
    Settings("Main", "", "");
    Started started = Launch("\"My Documents\\a b.txt\" \"\" \"C:\\dir with blank\\\\\" plain \"x\\\"y\"");
    EXPECT_EQ(started.args, (std::vector<std::string>{"Main", "-cp", "", "My Documents\\a b.txt", "", "C:\\dir with blank\\",
                                                      "plain", "x\"y"}));
}

TEST_F(LaunchTest, InstallRecordsTheRuntimeFoundAndLaunchesNothing) {
    testreg::SetText(testreg::kJavaSoftKey, "CurrentVersion", "1.6.0_02");
    testreg::AddRuntime("1.6.0_02", (root + "\\jre").c_str());
    Settings("Main", "", "");
    testproc::Outcome outcome = testproc::Run(testproc::TessalyExe(), "-install");
    EXPECT_TRUE(outcome.finished);
    auto values = testreg::Values(kLauncherKey);
    EXPECT_EQ(values["JavaVersion"].bytes, std::string("1.60020") + '\0');
    EXPECT_EQ(values["JavaHome"].bytes, root + "\\jre" + '\0');
    EXPECT_EQ(values["JavaExe"].bytes, javaExe + '\0');
    Sleep(300);
    EXPECT_FALSE(testproc::Exists(javaDir + "\\launched.txt"));
    // A plain start now launches the recorded runtime.
    EXPECT_EQ(Launch("").commandLine, "Main -cp \"\"");
}

TEST_F(LaunchTest, UnconfiguredStartSearchesRecordsAndLaunches) {
    Record("", javaExe);  // no home: not configured
    testreg::SetText(testreg::kJavaSoftKey, "CurrentVersion", "1.6.0_02");
    testreg::AddRuntime("1.6.0_02", (root + "\\jre").c_str());
    Settings("Main", "", "");
    EXPECT_EQ(Launch("").commandLine, "Main -cp \"\"");
    EXPECT_EQ(testreg::Values(kLauncherKey)["JavaHome"].bytes, root + "\\jre" + '\0');
}

}  // namespace
