// The registry key owner against Wine's real registry.
#include <gtest/gtest.h>

#include "settings/registry_key.h"
#include "support/test_registry.h"

namespace {

const std::string kBase = "Software\\Quellmark\\RegistryKeyTest";

class RegistryKeyTest : public testing::Test {
protected:
    void SetUp() override {
        testreg::DeleteTree(kBase);
        testreg::CreateKey(kBase);
    }
    void TearDown() override { testreg::DeleteTree(kBase); }
};

TEST_F(RegistryKeyTest, EveryOperationWithoutAKeyReturnsMinusOne) {
    RegistryKey key;
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.Close(), 0);
    std::string text = "kept";
    TextList list = {"kept"};
    EXPECT_EQ(key.QueryString("x", text), -1);
    EXPECT_EQ(key.SetString("x", "y"), -1);
    EXPECT_EQ(key.DeleteValue("x"), -1);
    EXPECT_EQ(key.EnumSubKeys(list), -1);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(list, TextList{"kept"});
}

TEST_F(RegistryKeyTest, OpeningAMissingKeyFailsAndNeverCreatesIt) {
    RegistryKey key;
    EXPECT_EQ(key.OpenForRead(HKEY_LOCAL_MACHINE, kBase + "\\missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_NE(key.Open(HKEY_LOCAL_MACHINE, kBase + "\\missing"), 0);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(testreg::KeyExists(kBase + "\\missing"));
}

TEST_F(RegistryKeyTest, SecondOpenClosesTheFirstKey) {
    testreg::SetText(kBase + "\\a", "v", "from a");
    testreg::SetText(kBase + "\\b", "v", "from b");
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kBase + "\\a"), 0);
    ASSERT_EQ(key.OpenForRead(HKEY_LOCAL_MACHINE, kBase + "\\b"), 0);
    std::string text;
    EXPECT_EQ(key.QueryString("v", text), 0);
    EXPECT_EQ(text, "from b");
    // A failed open leaves no key at all, not the previous one.
    EXPECT_NE(key.OpenForRead(HKEY_LOCAL_MACHINE, kBase + "\\none"), 0);
    EXPECT_EQ(key.QueryString("v", text), -1);
}

TEST_F(RegistryKeyTest, SetStringWritesRegSzWithOneTerminator) {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kBase), 0);
    EXPECT_EQ(key.SetString("empty", ""), 0);
    EXPECT_EQ(key.SetString("text", "C:\\jre"), 0);
    auto values = testreg::Values(kBase);
    EXPECT_EQ(values["empty"].type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(values["empty"].bytes, std::string(1, '\0'));
    EXPECT_EQ(values["text"].bytes, std::string("C:\\jre", 7));
}

TEST_F(RegistryKeyTest, QueryReadsUpTo2047CharactersWhole) {
    struct Case { size_t length; LONG status; bool read; };
    const Case cases[] = {{0, 0, true}, {2047, 0, true}, {2048, ERROR_MORE_DATA, false},
                          {3000, ERROR_MORE_DATA, false}, {70000, ERROR_MORE_DATA, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string value(c.length, 'x');
        testreg::SetText(kBase, "v", value);
        RegistryKey key;
        ASSERT_EQ(key.OpenForRead(HKEY_LOCAL_MACHINE, kBase), 0);
        std::string out = "before";
        EXPECT_EQ(key.QueryString("v", out), c.status);
        EXPECT_EQ(out, c.read ? value : "before");
    }
}

TEST_F(RegistryKeyTest, QueryTakesAnyTypeAsBytesUpToTheFirstZero) {
    const DWORD number = 49;  // bytes 31 00 00 00
    testreg::SetRaw(kBase, "dword", REG_DWORD, &number, sizeof number);
    const char expand[] = "%SystemRoot%\\lib";
    testreg::SetRaw(kBase, "expand", REG_EXPAND_SZ, expand, sizeof expand);
    const char multi[] = "first\0second\0";
    testreg::SetRaw(kBase, "multi", REG_MULTI_SZ, multi, sizeof multi);
    std::string full(2048, 'y');  // fills the whole offer without a terminator
    testreg::SetRaw(kBase, "unterminated", REG_BINARY, full.data(), 2048);
    testreg::SetRaw(kBase, "nothing", REG_BINARY, "", 0);

    struct Case { const char* name; std::string text; };
    const Case cases[] = {{"dword", "1"}, {"expand", "%SystemRoot%\\lib"}, {"multi", "first"},
                          {"unterminated", full}, {"nothing", ""}};
    RegistryKey key;
    ASSERT_EQ(key.OpenForRead(HKEY_LOCAL_MACHINE, kBase), 0);
    for (const Case& c : cases) {
        std::string out = "before";
        EXPECT_EQ(key.QueryString(c.name, out), 0) << c.name;
        EXPECT_EQ(out, c.text) << c.name;
    }
    std::string out = "before";
    EXPECT_EQ(key.QueryString("missing", out), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(out, "before");
}

TEST_F(RegistryKeyTest, DeleteValueReportsAMissingValue) {
    testreg::SetText(kBase, "v", "x");
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kBase), 0);
    EXPECT_EQ(key.DeleteValue("v"), 0);
    EXPECT_EQ(key.DeleteValue("v"), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(testreg::ValueNames(kBase).empty());
}

TEST_F(RegistryKeyTest, EnumSubKeysListsDirectChildrenInIndexOrder) {
    for (const char* name : {"1.6", "1.4.2_19", "1.5", "10.0"}) testreg::CreateKey(kBase + "\\" + name);
    testreg::CreateKey(kBase + "\\1.5\\deeper");
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kBase), 0);
    TextList list = {"stale"};
    EXPECT_EQ(key.EnumSubKeys(list), 0);
    std::vector<std::string> expected = testreg::SubKeyNames(kBase);
    EXPECT_EQ(list, TextList(expected.begin(), expected.end()));
    EXPECT_EQ(list.size(), 4u);

    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kBase + "\\1.6"), 0);
    EXPECT_EQ(key.EnumSubKeys(list), 0);
    EXPECT_TRUE(list.empty());
}

}  // namespace
