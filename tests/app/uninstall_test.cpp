// The built tessaly.exe run as a process: -uninstall and the spelling of switches.
#include <gtest/gtest.h>

#include "support/test_process.h"
#include "support/test_registry.h"

namespace {

using testreg::kLauncherKey;

class UninstallTest : public testing::Test {
protected:
    void SetUp() override {
        testreg::DeleteTree("Software\\Quellmark");
        // Roads other than -uninstall find this runtime and never need to ask the user.
        testreg::DeleteTree("Software\\JavaSoft");
        std::string home = testproc::MakeTempDir("uninstall-jre");
        testproc::PlaceFakeJava(home + "\\bin", "java version \"1.6\"");
        testreg::SetText(testreg::kJavaSoftKey, "CurrentVersion", "1.6");
        testreg::AddRuntime("1.6", home.c_str());
    }
    void TearDown() override {
        testreg::DeleteTree("Software\\Quellmark");
        testreg::DeleteTree("Software\\JavaSoft");
    }
};

testproc::Outcome RunTessaly(const std::string& arguments) {
    testproc::Outcome outcome = testproc::Run(testproc::TessalyExe(), arguments);
    EXPECT_TRUE(outcome.started);
    // A window (a dialog or a message box) would keep the process alive: it must end alone.
    EXPECT_TRUE(outcome.finished) << arguments;
    EXPECT_EQ(outcome.exitCode, 0u) << arguments;
    return outcome;
}

TEST_F(UninstallTest, LeavesExactlyTheApplicationValues) {
    testreg::FillLauncherKey();
    RunTessaly("-uninstall");
    auto values = testreg::Values(kLauncherKey);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values["CommandLineArgs"].bytes, std::string("org.example.Main") + '\0');
    EXPECT_EQ(values["ClasslibDynPath"].bytes, std::string("C:\\app\\lib") + '\0');
}

TEST_F(UninstallTest, OnAMissingKeyCreatesNothing) {
    RunTessaly("-uninstall");
    EXPECT_FALSE(testreg::KeyExists(kLauncherKey));
    EXPECT_FALSE(testreg::KeyExists("Software\\Quellmark"));
}

TEST_F(UninstallTest, SwitchSpellingsReachTheRightRoad) {
    struct Case { const char* arguments; bool clears; };
    const Case cases[] = {
        {"-UNINSTALL", true},
        {"\"-Uninstall\"", true},
        {"document.txt -uninstall", true},
        {"-uninstall -install", true},
        {"--uninstall", false},
        {"/uninstall", false},
        {"-uninstall:yes", false},
        {"-install -uninstall", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        testreg::FillLauncherKey();
        RunTessaly(c.arguments);
        EXPECT_EQ(testreg::ValueNames(kLauncherKey).size(), c.clears ? 2u : 6u);
    }
}

}  // namespace
