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

TEST_F(LauncherSettingsTest, ConstantsComeFromTheStringTable) {
    EXPECT_EQ(settings.GetMinJavaVersion(), 1.5);
    EXPECT_EQ(settings.GetMaxJavaVersion(), 0.0);
    EXPECT_EQ(settings.GetInstallerFileName(), "jre-6u2-windows-i586-p-iftw.exe");
    EXPECT_EQ(settings.GetSettingsKeyPath(), "Software\\Quellmark\\Tessaly");
}

TEST_F(LauncherSettingsTest, ConfiguredNeedsHomeAndAnExistingExe) {
    std::string dir = testproc::MakeTempDir("settings-jre");
    std::string exe = dir + "\\java.exe";
    testproc::WriteFile(exe, "MZ");
    struct Case { const char* home; std::string exe; bool configured; };
    const Case cases[] = {
        {"C:\\jre", exe, true},
        {"", exe, false},                      // home empty: the exe is not even read
        {"C:\\jre", "", false},
        {"C:\\jre", dir + "\\missing.exe", false},
        {"C:\\jre", dir, true},                // a directory passes the existence test
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.home) + " | " + c.exe);
        testreg::SetText(kLauncherKey, "JavaHome", c.home);
        testreg::SetText(kLauncherKey, "JavaExe", c.exe);
        EXPECT_EQ(settings.IsJavaConfigured(), c.configured);
    }
    DeleteFileA(exe.c_str());
    testreg::SetText(kLauncherKey, "JavaExe", exe);
    EXPECT_FALSE(settings.IsJavaConfigured());  // the file went away since it was recorded
}

TEST_F(LauncherSettingsTest, WithoutTheKeyNothingIsReadOrCreated) {
    testreg::DeleteTree(kLauncherKey);
    EXPECT_FALSE(settings.IsJavaConfigured());
    settings.SetJavaHome("C:\\jre");
    settings.SetJavaVersion(1.6);
    settings.ClearJavaSettings();
    EXPECT_EQ(settings.GetJavaHome(), "");
    EXPECT_EQ(settings.GetCommandLineArgs(), "");
    EXPECT_FALSE(testreg::KeyExists(kLauncherKey));
}

TEST_F(LauncherSettingsTest, WritesAreRegSzTextAndVersionsHaveFiveDecimals) {
    struct Case { double version; const char* text; };
    for (const Case& c : {Case{1.6, "1.60000"}, Case{1.6002, "1.60020"}, Case{11.02, "11.02000"}}) {
        settings.SetJavaVersion(c.version);
        auto values = testreg::Values(kLauncherKey);
        EXPECT_EQ(values["JavaVersion"].type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(values["JavaVersion"].bytes, std::string(c.text) + '\0');
    }
    settings.SetJavaHome("C:\\Program Files\\Java\\jre6");
    settings.SetJavaExe("C:\\Program Files\\Java\\jre6\\bin\\java.exe");
    EXPECT_EQ(settings.GetJavaHome(), "C:\\Program Files\\Java\\jre6");
    EXPECT_EQ(settings.GetJavaExe(), "C:\\Program Files\\Java\\jre6\\bin\\java.exe");
}

TEST_F(LauncherSettingsTest, ReadsTakeTextLiterallyAndOverlongValuesAsEmpty) {
    const char expand[] = "%ProgramFiles%\\Tessaly\\lib";
    testreg::SetRaw(kLauncherKey, "ClasslibDynPath", REG_EXPAND_SZ, expand, sizeof expand);
    testreg::SetText(kLauncherKey, "JavaOptions", std::string(3000, 'o'));
    testreg::SetText(kLauncherKey, "CommandLineArgs", std::string(2047, 'a'));
    EXPECT_EQ(settings.GetClasslibDynPath(), expand);
    EXPECT_EQ(settings.GetJavaOptions(), "");
    EXPECT_EQ(settings.GetCommandLineArgs(), std::string(2047, 'a'));
}

TEST_F(LauncherSettingsTest, ExtraClassPathIsAlwaysEmpty) {
    testreg::FillLauncherKey();
    for (const char* name : {"", "ExtraClassPath", "ClassPath", "JavaOptions"}) {
        testreg::SetText(kLauncherKey, name, "C:\\extra.jar");
    }
    EXPECT_EQ(settings.GetExtraClassPath(), "");
    EXPECT_EQ(settings.ReadStringSetting(8006, 8004), "");  // missing key-path entry
    EXPECT_EQ(settings.ReadStringSetting(8003, 8007), "");  // missing value-name entry
    EXPECT_EQ(settings.ReadStringSetting(8003, 8004), "org.example.Main");
}

TEST_F(LauncherSettingsTest, ClearLeavesExactlyTheApplicationValues) {
    testreg::FillLauncherKey();
    settings.ClearJavaSettings();
    EXPECT_EQ(testreg::ValueNames(kLauncherKey), (std::vector<std::string>{"ClasslibDynPath", "CommandLineArgs"}));
    // Partly cleared already: the rest still goes.
    testreg::SetText(kLauncherKey, "JavaVersion", "1.60000");
    settings.ClearJavaSettings();
    EXPECT_EQ(testreg::ValueNames(kLauncherKey).size(), 2u);
}

}  // namespace
