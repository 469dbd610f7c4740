// The runtime search against the JavaSoft tree in Wine's real registry.
#include <gtest/gtest.h>

#include "javafind/jvm_locator.h"
#include "support/test_registry.h"

namespace {

using testreg::kJavaSoftKey;

struct Runtime { const char* version; const char* home; };
struct Case {
    const char* name;
    bool baseKey;
    const char* current;  // nullptr: no CurrentVersion value
    std::vector<Runtime> runtimes;
    double min, max;
    bool found;
    double version;
    const char* home;
    const char* exe;
};

TEST(FindJvm, PrefersTheCurrentVersionThenTheFirstSubkeyInRange) {
    const char* h15 = "C:\\Java\\jre1.5";
    const char* h16 = "C:\\Program Files\\Java\\jre1.6.0_02";
    const std::vector<Runtime> ladder = {{"1.4", "C:\\j14"}, {"1.4.2_19", "C:\\j1419"}, {"1.5", h15},
                                         {"1.5.0_11", "C:\\j1511"}, {"1.6", h16}};
    const Case cases[] = {
        {"no tree", false, nullptr, {}, 1.5, 0, false, 0, "", ""},
        {"no current version: no walk", true, nullptr, {{"1.5", h15}, {"1.6", h16}}, 1.5, 0, false, 0, "", ""},
        {"current in range", true, "1.6", ladder, 1.5, 0, true, 1.6, h16,
         "C:\\Program Files\\Java\\jre1.6.0_02\\bin\\java.exe"},
        {"current equal to the lower bound", true, "1.5", ladder, 1.5, 0, true, 1.5, h15, "C:\\Java\\jre1.5\\bin\\java.exe"},
        {"current above range: first in range wins", true, "1.6", ladder, 1.5, 1.5, true, 1.5, h15,
         "C:\\Java\\jre1.5\\bin\\java.exe"},
        {"deciding subkey without home stops the search", true, "1.6",
         {{"1.4", "C:\\j14"}, {"1.5", nullptr}, {"1.5.0_11", "C:\\j1511"}}, 1.5, 1.55, false, 0, "", ""},
        {"enumeration order beats a higher version", true, "1.4", {{"1.6.0_02", "C:\\j16"}, {"1.7", "C:\\j17"}},
         1.5, 0, true, 1.6002, "C:\\j16", "C:\\j16\\bin\\java.exe"},
        {"maximum below one means none", true, "11.0.2", {{"11.0.2", "C:\\jdk11"}}, 1.5, 0.5, true, 11.02,
         "C:\\jdk11", "C:\\jdk11\\bin\\java.exe"},
        {"home with trailing backslash", true, "1.6", {{"1.6", "C:\\jre\\"}}, 1.5, 0, true, 1.6, "C:\\jre\\",
         "C:\\jre\\bin\\java.exe"},
        {"names without digits are skipped", true, "1.4", {{"Plugin", "C:\\plugin"}, {"1.5", h15}}, 1.5, 0, true,
         1.5, h15, "C:\\Java\\jre1.5\\bin\\java.exe"},
        {"current in range without its subkey: walk instead", true, "1.6", {{"1.5", h15}}, 1.5, 0, true, 1.5, h15,
         "C:\\Java\\jre1.5\\bin\\java.exe"},
        {"current in range without its home: walk instead", true, "1.6", {{"1.5.0_11", "C:\\j1511"}, {"1.6", nullptr}},
         1.5, 0, true, 1.5011, "C:\\j1511", "C:\\j1511\\bin\\java.exe"},
        {"current without home and nothing else", true, "1.6", {{"1.6", nullptr}}, 1.5, 0, false, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testreg::DeleteTree("Software\\JavaSoft");
        if (c.baseKey) testreg::CreateKey(kJavaSoftKey);
        if (c.current != nullptr) testreg::SetText(kJavaSoftKey, "CurrentVersion", c.current);
        for (const Runtime& r : c.runtimes) testreg::AddRuntime(r.version, r.home);

        double version = -1.0;
        std::string home = "untouched", exe = "untouched";
        EXPECT_EQ(JvmLocator().FindJvm(c.min, c.max, version, home, exe), c.found);
        if (c.found) {
            EXPECT_DOUBLE_EQ(version, c.version);
            EXPECT_EQ(home, c.home);
            EXPECT_EQ(exe, c.exe);
        } else {
            EXPECT_EQ(version, -1.0);
            EXPECT_EQ(home, "untouched");
            EXPECT_EQ(exe, "untouched");
        }
    }
    testreg::DeleteTree("Software\\JavaSoft");
}

TEST(FindJvm, CurrentVersionAndHomeReadAlone) {
    testreg::DeleteTree("Software\\JavaSoft");
    JvmLocator locator;
    EXPECT_EQ(locator.GetCurrentVersion(), 0.0);
    EXPECT_EQ(locator.GetCurrentJavaHome(), "");
    testreg::SetText(kJavaSoftKey, "CurrentVersion", "1.6.0_02");
    EXPECT_DOUBLE_EQ(locator.GetCurrentVersion(), 1.6002);
    EXPECT_EQ(locator.GetCurrentJavaHome(), "");
    testreg::AddRuntime("1.6.0_02", "C:\\jre");
    EXPECT_EQ(locator.GetCurrentJavaHome(), "C:\\jre");
    testreg::DeleteTree("Software\\JavaSoft");
}

}  // namespace
