// The Install Java dialog and the resolution flow, driven as a user would under Xvfb.
#include <gtest/gtest.h>

#include "app/launcher_app.h"
#include "settings/launcher_settings.h"
#include "support/test_process.h"
#include "support/test_registry.h"
#include "support/ui_driver.h"
#include "ui/install_java_dialog.h"

namespace {

using testreg::kLauncherKey;
const char* const kWillNotRun = "Tessaly will not run until the required version of Java is installed.";

class InstallJavaDialogTest : public testing::Test {
protected:
    void SetUp() override {
        testreg::DeleteTree("Software\\Quellmark");
        testreg::DeleteTree("Software\\JavaSoft");
        testreg::CreateKey(kLauncherKey);
        installer = testproc::BuildDir() + "\\jre-6u2-windows-i586-p-iftw.exe";
        DeleteFileA(installer.c_str());
        DeleteFileA((testproc::BuildDir() + "\\launched.txt").c_str());
        // A folder of its own per test: the Open dialog's folder view may still watch the last one.
        root = testproc::MakeTempDir(testing::UnitTest::GetInstance()->current_test_info()->name());
        old = testproc::PlaceFakeJava(root + "\\jre142\\bin", "java version \"1.4.2_19\"\n");
        jdk11 = testproc::PlaceFakeJava(root + "\\jdk11\\bin", "openjdk version \"11.0.2\" 2019-01-15\n");
    }
    void TearDown() override {
        DeleteFileA(installer.c_str());
        testreg::DeleteTree("Software\\Quellmark");
    }
    INT_PTR RunDialog(const std::function<void(HWND)>& user) {
        return ui::WhileUser([&] {
            HWND dialog = ui::WaitFor("Install Java");
            if (dialog != nullptr) user(dialog);
        }, [&] { return InstallJavaDialog(nullptr, settings).DoModal(); });
    }
    LauncherSettings settings;
    std::string installer, root, old, jdk11;
};

TEST_F(InstallJavaDialogTest, ShowsTheRequirementWithItsControlsInTabOrder) {
    INT_PTR result = RunDialog([](HWND dialog) {
        char caption[64] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        EXPECT_STREQ(caption, "Install Java");
        EXPECT_EQ(ui::Text(dialog, 1007), "Tessaly requires the Java Virtual Machine to be installed.  Click the "
                                          "Install Java Now button to install Java.  If the required version of Java "
                                          "is already installed, click the Select Existing Java JVM button.");
        EXPECT_EQ(ui::Text(dialog, 1008), "Requires Java minimum version: 1.5");
        EXPECT_EQ(ui::TabOrder(dialog), (std::vector<int>{1007, 1009, 1010, IDOK, 1008}));
        for (int id : {1009, 1010, IDOK}) {
            EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & BS_DEFPUSHBUTTON, 0) << id;
        }
        EXPECT_EQ(ui::Text(dialog, IDOK), "Done");
        EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0), 0);
        ui::SavePicture(dialog, "install-java-dialog");
        ui::CloseBox(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(InstallJavaDialogTest, LeavingWithoutDoneWarnsOnceAndCancelStops) {
    struct Case { bool closeBox; int answer; int result; };
    for (const Case& c : {Case{false, IDCANCEL, 0}, Case{true, IDOK, 1}}) {
        HWND owner = reinterpret_cast<HWND>(1);
        std::string text;
        int result = ui::WhileUser([&] {
            HWND dialog = ui::WaitFor("Install Java");
            c.closeBox ? ui::CloseBox(dialog) : ui::Escape(dialog);
            text = ui::Answer(c.answer, &owner);
        }, [&] { return LauncherApp().ResolveJava(settings); });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(text, kWillNotRun);
        EXPECT_EQ(owner, nullptr);  // the closing warning belongs to no window
        EXPECT_TRUE(testreg::ValueNames(kLauncherKey).empty());
    }
}

TEST_F(InstallJavaDialogTest, DoneWithNothingFoundWarnsUntilTheUserGivesUp) {
    INT_PTR result = RunDialog([](HWND dialog) {
        HWND owner = nullptr;
        ui::Press(dialog, IDOK);
        EXPECT_EQ(ui::Answer(IDCANCEL, &owner), kWillNotRun);
        EXPECT_EQ(owner, dialog);
        EXPECT_TRUE(IsWindowVisible(dialog));  // Cancel keeps the dialog
        ui::Press(dialog, IDOK);
        EXPECT_EQ(ui::Answer(IDOK), kWillNotRun);
        EXPECT_EQ(ui::Answer(IDOK), kWillNotRun);  // nothing usable recorded: asked again
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(testreg::ValueNames(kLauncherKey).empty());

    testreg::SetText(kLauncherKey, "JavaHome", root + "\\jdk11");
    testreg::SetText(kLauncherKey, "JavaExe", jdk11);
    result = RunDialog([](HWND dialog) {
        ui::Press(dialog, IDOK);
        EXPECT_EQ(ui::Answer(IDOK), kWillNotRun);  // usable runtime already recorded: no second warning
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(InstallJavaDialogTest, SelectedJavaIsCheckedAndRecordedOnDone) {
    INT_PTR result = RunDialog([&](HWND dialog) {
        ui::Press(dialog, 1010);
        ui::ChooseFile(old);
        EXPECT_EQ(ui::Answer(IDOK), "The version of Java you have selected is 1.42190\r\n"
                                    "You must select a version of 1.50000 or higher.");
        ui::Press(dialog, 1010);
        ui::ChooseFile(jdk11);
        EXPECT_EQ(ui::Answer(IDOK), "Using Java: " + jdk11);
        ui::Press(dialog, 1010);  // refused after an accepted one: the earlier choice stands
        ui::ChooseFile(old);
        ui::Answer(IDOK);
        ui::Press(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    auto values = testreg::Values(kLauncherKey);
    EXPECT_EQ(values["JavaVersion"].bytes, std::string("11.02000") + '\0');
    EXPECT_EQ(values["JavaHome"].bytes, root + "\\jdk11" + '\0');
    EXPECT_EQ(values["JavaExe"].bytes, jdk11 + '\0');
}

TEST_F(InstallJavaDialogTest, PathWithoutTheExactMarkerKeepsNoHome) {
    std::string capitals = root + "\\JDK11\\BIN\\JAVA.EXE";  // the same file, other case
    INT_PTR result = RunDialog([&](HWND dialog) {
        ui::Press(dialog, 1010);
        ui::ChooseFile(capitals);
        EXPECT_EQ(ui::Answer(IDOK), "Using Java: " + capitals);
        ui::Press(dialog, IDOK);  // no home chosen: Done searches, finds nothing, warns
        EXPECT_EQ(ui::Answer(IDCANCEL), kWillNotRun);
        ui::Escape(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(testreg::ValueNames(kLauncherKey).empty());
}

TEST_F(InstallJavaDialogTest, InstallJavaNowStartsTheInstallerBesideTheLauncher) {
    INT_PTR result = RunDialog([&](HWND dialog) {
        HWND owner = nullptr;
        ui::Press(dialog, 1009);
        EXPECT_EQ(ui::Answer(IDOK, &owner), "Could not find the Java Installer.  Please visit www.java.com and "
                                            "download Java before closing this window. " + installer);
        EXPECT_EQ(owner, dialog);
        ASSERT_TRUE(CopyFileA(jdk11.c_str(), installer.c_str(), FALSE));
        ui::Press(dialog, 1010);
        ui::ChooseFile(jdk11);
        ui::Answer(IDOK);
        ui::Press(dialog, 1009);  // runs, is not waited for, and drops the accepted choice
        std::string record = testproc::WaitForFile(testproc::BuildDir() + "\\launched.txt");
        EXPECT_NE(record.find("show=1"), std::string::npos) << record;
        ui::Press(dialog, IDOK);
        EXPECT_EQ(ui::Answer(IDCANCEL), kWillNotRun);
        ui::Escape(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(testreg::ValueNames(kLauncherKey).empty());
}

TEST_F(InstallJavaDialogTest, StartWithoutRuntimeAsksThenLaunchesTheChoice) {
    testreg::SetText(kLauncherKey, "JavaOptions", "Main");
    testproc::Outcome outcome = ui::WhileUser([&] {
        HWND dialog = ui::WaitFor("Install Java");
        ui::Press(dialog, 1010);
        ui::ChooseFile(jdk11);
        ui::Answer(IDOK);
        ui::Press(dialog, IDOK);
    }, [&] { return testproc::Run(testproc::TessalyExe(), "doc.txt", 60000); });
    EXPECT_TRUE(outcome.finished);
    std::string record = testproc::WaitForFile(root + "\\jdk11\\bin\\launched.txt");
    EXPECT_NE(record.find("commandline=\"" + jdk11 + "\" Main -cp \"\"  doc.txt\n"), std::string::npos) << record;
}

}  // namespace
