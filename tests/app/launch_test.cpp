// The built tessaly.exe started as a user or an installer would: what the stand-in Java
// receives and what the registry holds afterwards.
#include <gtest/gtest.h>

#include "support/test_process.h"
#include "support/test_registry.h"

namespace {

using testreg::kLauncherKey;

class TessalyExeTest : public testing::Test {
protected:
    void SetUp() override {
        testreg::DeleteTree("Software\\Quellmark");
        testreg::DeleteTree("Software\\JavaSoft");
        root = testproc::MakeTempDir("launch");
        javaDir = root + "\\jre\\bin";
        javaExe = testproc::PlaceFakeJava(javaDir, "java version \"1.6.0_02\"");
        lib = root + "\\lib";
        CreateDirectoryA(lib.c_str(), nullptr);
    }
    void TearDown() override {
        testreg::DeleteTree("Software\\Quellmark");
        testreg::DeleteTree("Software\\JavaSoft");
    }
    void InstallRuntime() {
        testreg::SetText(testreg::kJavaSoftKey, "CurrentVersion", "1.6.0_02");
        testreg::AddRuntime("1.6.0_02", (root + "\\jre").c_str());
    }
    void Settings(const std::string& options, const std::string& args, const std::string& jarDir) {
        testreg::SetText(kLauncherKey, "JavaOptions", options);
        testreg::SetText(kLauncherKey, "CommandLineArgs", args);
        testreg::SetText(kLauncherKey, "ClasslibDynPath", jarDir);
    }
    // Runs tessaly.exe, which must end by itself (a window would keep it) with exit code 0.
    void Run(const std::string& arguments) {
        DeleteFileA((javaDir + "\\launched.txt").c_str());
        testproc::Outcome outcome = testproc::Run(testproc::TessalyExe(), arguments);
        EXPECT_TRUE(outcome.finished) << arguments;
        EXPECT_EQ(outcome.exitCode, 0u) << arguments;
    }
    // What the stand-in recorded of its start, and its parameters after its own path.
    std::string Started(std::string* params = nullptr) {
        std::string record = testproc::WaitForFile(javaDir + "\\launched.txt");
        std::string prefix = "commandline=\"" + javaExe + "\" ";
        size_t begin = record.find(prefix), end = record.find('\n', begin);
        if (params != nullptr && begin != std::string::npos) *params = record.substr(begin + prefix.size(), end - begin - prefix.size());
        return record;
    }
    std::string root, javaDir, javaExe, lib;
};

TEST_F(TessalyExeTest, ParametersFollowTheSettingsLayouts) {
    for (const char* name : {"a.jar", "b.JAR", "notes.txt"}) testproc::WriteFile(lib + "\\" + name, "");
    CreateDirectoryA((lib + "\\x.jar").c_str(), nullptr);  // a folder, not a jar
    testreg::SetText(kLauncherKey, "JavaHome", root + "\\jre");
    testreg::SetText(kLauncherKey, "JavaExe", javaExe);
    const std::string jars = lib + "\\a.jar;" + lib + "\\b.JAR";
    struct Case { const char* options; const char* args; std::string jarDir; const char* argument; std::string params; };
    const Case cases[] = {
        {"-Xmx256m org.example.Main", "--open", lib, "doc.txt", "-Xmx256m org.example.Main -cp \"" + jars + "\" --open doc.txt"},
        {"", "", "", "", "-cp \"\""},
        {"", "", "", "doc.txt", "-cp \"\"  doc.txt"},
        {"", "", lib + "\\", "", "-cp \"" + jars + "\""},
        {"", "", root + "\\missing", "", "-cp \"\""},
        {"Main", "", "", "\"My Documents\\a b.txt\" \"\" \"C:\\dir with blank\\\\\" *.jar \"x\\\"y\"",
         "Main -cp \"\"  \"My Documents\\a b.txt\" \"\" \"C:\\dir with blank\\\\\" *.jar \"x\\\"y\""},
    };
    for (const Case& c : cases) {
        Settings(c.options, c.args, c.jarDir);
        Run(c.argument);
        std::string params;
        std::string record = Started(&params);
        EXPECT_EQ(params, c.params) << record;
        EXPECT_NE(record.find("show=0\n"), std::string::npos) << record;  // SW_HIDE
    }
    // The last case: each argument reached Java as the user gave it.
    EXPECT_NE(Started().find("arg=My Documents\\a b.txt\narg=\narg=C:\\dir with blank\\\narg=*.jar\narg=x\"y\n"),
              std::string::npos);
}

TEST_F(TessalyExeTest, InstallRecordsTheRuntimeFoundThenAStartLaunchesIt) {
    InstallRuntime();
    Settings("Main", "", "");
    Run("-install");
    auto values = testreg::Values(kLauncherKey);
    EXPECT_EQ(values["JavaVersion"].bytes, std::string("1.60020") + '\0');
    EXPECT_EQ(values["JavaHome"].bytes, root + "\\jre" + '\0');
    EXPECT_EQ(values["JavaExe"].bytes, javaExe + '\0');
    Sleep(300);
    EXPECT_FALSE(testproc::Exists(javaDir + "\\launched.txt"));
    testreg::SetText(kLauncherKey, "JavaHome", "");  // not configured: a start searches again
    Run("");
    std::string params;
    Started(&params);
    EXPECT_EQ(params, "Main -cp \"\"");
    EXPECT_EQ(testreg::Values(kLauncherKey)["JavaHome"].bytes, root + "\\jre" + '\0');
}

TEST_F(TessalyExeTest, UninstallLeavesExactlyTheApplicationValuesAndCreatesNoKey) {
    Run("-uninstall");
    EXPECT_FALSE(testreg::KeyExists("Software\\Quellmark"));
    InstallRuntime();  // the roads that are not -uninstall find it and need no window
    struct Case { const char* arguments; bool clears; };
    const Case cases[] = {
        {"-uninstall", true},  {"-UNINSTALL", true},   {"\"-Uninstall\"", true}, {"doc.txt -uninstall", true},
        {"-uninstall -install", true}, {"--uninstall", false}, {"/uninstall", false},
        {"-uninstall:yes", false}, {"-install -uninstall", false},
    };
    for (const Case& c : cases) {
        testreg::FillLauncherKey();
        Run(c.arguments);
        EXPECT_EQ(testreg::ValueNames(kLauncherKey).size(), c.clears ? 2u : 6u) << c.arguments;
    }
    EXPECT_EQ(testreg::Values(kLauncherKey)["CommandLineArgs"].bytes, std::string("org.example.Main") + '\0');
}

}  // namespace
