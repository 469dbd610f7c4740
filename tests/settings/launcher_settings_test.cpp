// The launcher's settings against Wine's real registry and the program's string table.
#include <gtest/gtest.h>

#include "settings/launcher_settings.h"
#include "support/test_process.h"
#include "support/test_registry.h"

namespace {

using testreg::kLauncherKey;

class LauncherSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        testreg::DeleteTree("Software\\Quellmark");
        testreg::CreateKey(kLauncherKey);
    }
    void TearDown() override { testreg::DeleteTree("Software\\Quellmark"); }
    LauncherSettings settings;
};

TEST_F(LauncherSettingsTest, ConfiguredNeedsHomeAndAnExistingExe) {
    std::string dir = testproc::MakeTempDir("settings-jre");
    std::string exe = dir + "\\java.exe";
    testproc::WriteFile(exe, "MZ");
    struct Case { const char* home; std::string exe; bool configured; };
    const Case cases[] = {
        {"C:\\jre", exe, true},  {"", exe, false}, {"C:\\jre", "", false},
        {"C:\\jre", dir + "\\missing.exe", false}, {"C:\\jre", dir, true},  // a folder passes the test
    };
    for (const Case& c : cases) {
        testreg::SetText(kLauncherKey, "JavaHome", c.home);
        testreg::SetText(kLauncherKey, "JavaExe", c.exe);
        EXPECT_EQ(settings.IsJavaConfigured(), c.configured) << c.home << " | " << c.exe;
    }
    testreg::SetText(kLauncherKey, "JavaExe", exe);
    DeleteFileA(exe.c_str());
    EXPECT_FALSE(settings.IsJavaConfigured());  // the file went away since it was recorded
}

TEST_F(LauncherSettingsTest, WithoutTheKeyNothingIsReadOrCreated) {
    testreg::DeleteTree(kLauncherKey);
    EXPECT_FALSE(settings.IsJavaConfigured());
    settings.RecordJava(1.6, "C:\\jre", "C:\\jre\\bin\\java.exe");
    settings.ClearJavaSettings();
    EXPECT_EQ(settings.GetJavaHome(), "");
    EXPECT_FALSE(testreg::KeyExists(kLauncherKey));
}

TEST_F(LauncherSettingsTest, RecordsFiveDecimalVersionsAndReadsTheLaunchValues) {
    settings.RecordJava(1.6002, "C:\\Program Files\\Java\\jre6", "C:\\Program Files\\Java\\jre6\\bin\\java.exe");
    auto values = testreg::Values(kLauncherKey);
    EXPECT_EQ(values["JavaVersion"].type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(values["JavaVersion"].bytes, std::string("1.60020") + '\0');
    EXPECT_EQ(settings.GetJavaHome(), "C:\\Program Files\\Java\\jre6");
    EXPECT_EQ(settings.GetJavaExe(), "C:\\Program Files\\Java\\jre6\\bin\\java.exe");
    testreg::FillLauncherKey();
    EXPECT_EQ(settings.GetJavaOptions(), "-Xmx256m");
    EXPECT_EQ(settings.GetCommandLineArgs(), "org.example.Main");
    EXPECT_EQ(settings.GetClasslibDynPath(), "C:\\app\\lib");
    EXPECT_EQ(settings.GetMinJavaVersion(), 1.5);
    EXPECT_EQ(settings.GetMaxJavaVersion(), 0.0);
    EXPECT_EQ(settings.GetInstallerFileName(), "jre-6u2-windows-i586-p-iftw.exe");
}

TEST_F(LauncherSettingsTest, ExtraClassPathIsAlwaysEmpty) {
    for (const char* name : {"", "ExtraClassPath", "ClassPath", "CommandLineArgs"}) {
        testreg::SetText(kLauncherKey, name, "C:\\extra.jar");
    }
    EXPECT_EQ(settings.GetExtraClassPath(), "");
    EXPECT_EQ(settings.ReadStringSetting(8006, 8004), "");  // missing key-path entry
    EXPECT_EQ(settings.ReadStringSetting(8003, 8007), "");  // missing value-name entry
    EXPECT_EQ(settings.ReadStringSetting(8003, 8004), "C:\\extra.jar");
}

TEST_F(LauncherSettingsTest, ClearLeavesExactlyTheApplicationValues) {
    testreg::FillLauncherKey();
    settings.ClearJavaSettings();
    settings.ClearJavaSettings();  // values already gone are skipped
    EXPECT_EQ(testreg::ValueNames(kLauncherKey), (std::vector<std::string>{"ClasslibDynPath", "CommandLineArgs"}));
}

}  // namespace
