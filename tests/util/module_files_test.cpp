// The program's own location and the file-existence test, on Wine's real file system.
#include <gtest/gtest.h>

#include "support/test_process.h"
#include "util/module_files.h"

namespace {

TEST(ModuleFiles, DirectoryIsThePathCutBeforeTheLastBackslash) {
    std::string path, dir;
    GetModulePath(nullptr, path);
    GetModuleDirectory(nullptr, dir);
    EXPECT_EQ(path, dir + "\\util_tests.exe");
    EXPECT_EQ(dir, testproc::BuildDir());
    EXPECT_NE(dir.back(), '\\');
}

TEST(ModuleFiles, FileExistsForFilesAndDirectoriesOnly) {
    std::string dir = testproc::MakeTempDir("exists");
    testproc::WriteFile(dir + "\\a.jar", "x");
    std::string longName = dir + "\\" + std::string(259 - dir.size() - 1, 'n');  // 259 characters
    ASSERT_EQ(longName.size(), 259u);
    struct Case { std::string path; bool exists; };
    const Case cases[] = {
        {dir + "\\a.jar", true},
        {dir, true},                        // a directory counts
        {dir + "\\*.jar", true},            // wildcards act as a pattern
        {dir + "\\missing.jar", false},
        {"", false},
        {longName, false},                  // fits, but is not there
        {dir + "\\" + std::string(300, 'a'), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.exists) << c.path;
    }
}

TEST(ModuleFiles, PathsOf260CharactersOrMoreNeverExist) {
    std::string dir = testproc::MakeTempDir("long");
    // A file of 259 characters exists; one of 260, made through the \\?\ form that is not
    // limited to MAX_PATH, does not count.
    std::string sub = dir + "\\" + std::string(120, 'd');
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    std::string file = sub + "\\" + std::string(258 - sub.size(), 'f');
    ASSERT_EQ(file.size(), 259u);
    testproc::WriteFile(file, "x");
    EXPECT_TRUE(FileExists(file));
    std::string longer = "\\\\?\\" + file + "g";
    std::wstring wide(longer.begin(), longer.end());  // the long form is for the wide calls only
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_FALSE(FileExists(file + "g"));
}

}  // namespace
