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

TEST_F(RegistryKeyTest, EveryOperationWithoutAKeyReturnsMinusOneAndChangesNothing) {
    RegistryKey key;
    std::string text = "kept";
    TextList list = {"kept"};
    EXPECT_EQ(key.Close(), 0);
    EXPECT_EQ(key.QueryString("x", text), -1);
    EXPECT_EQ(key.SetString("x", "y"), -1);
    EXPECT_EQ(key.DeleteValue("x"), -1);
    EXPECT_EQ(key.EnumSubKeys(list), -1);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(list, TextList{"kept"});
}

TEST_F(RegistryKeyTest, OpensNeverCreateAndASecondOpenReplacesTheFirst) {
    testreg::SetText(kBase + "\\a", "v", "from a");
    testreg::SetText(kBase + "\\b", "v", "from b");
    RegistryKey key;
    EXPECT_EQ(key.OpenForRead(HKEY_LOCAL_MACHINE, kBase + "\\missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(key.Open(HKEY_LOCAL_MACHINE, kBase + "\\missing"), 0);
    EXPECT_FALSE(testreg::KeyExists(kBase + "\\missing"));
    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kBase + "\\a"), 0);
    ASSERT_EQ(key.OpenForRead(HKEY_LOCAL_MACHINE, kBase + "\\b"), 0);
    std::string text;
    EXPECT_EQ(key.QueryString("v", text), 0);
    EXPECT_EQ(text, "from b");
    // A failed open leaves no key at all, not the previous one.
    EXPECT_NE(key.OpenForRead(HKEY_LOCAL_MACHINE, kBase + "\\none"), 0);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.QueryString("v", text), -1);
}

TEST_F(RegistryKeyTest, SetStringWritesRegSzWithOneTerminatorAndDeleteReportsMissing) {
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kBase), 0);
    EXPECT_EQ(key.SetString("empty", ""), 0);
    EXPECT_EQ(key.SetString("text", "C:\\jre"), 0);
    auto values = testreg::Values(kBase);
    EXPECT_EQ(values["empty"].type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(values["empty"].bytes, std::string(1, '\0'));
    EXPECT_EQ(values["text"].bytes, std::string("C:\\jre", 7));
    EXPECT_EQ(key.DeleteValue("text"), 0);
    EXPECT_EQ(key.DeleteValue("text"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(testreg::ValueNames(kBase), std::vector<std::string>{"empty"});
}

TEST_F(RegistryKeyTest, QueryTakesAnyTypeUpTo2047CharactersAsText) {
    const DWORD number = 49;  // bytes 31 00 00 00
    const std::string full(2048, 'y');
    struct Case { DWORD type; std::string bytes; LONG status; std::string text; };
    const Case cases[] = {
        {REG_SZ, std::string(2047, 'x') + '\0', 0, std::string(2047, 'x')},
        {REG_SZ, std::string(2048, 'x') + '\0', ERROR_MORE_DATA, "before"},
        {REG_SZ, std::string(70000, 'x') + '\0', ERROR_MORE_DATA, "before"},
        {REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4), 0, "1"},
        {REG_EXPAND_SZ, std::string("%SystemRoot%\\lib") + '\0', 0, "%SystemRoot%\\lib"},  // not expanded
        {REG_MULTI_SZ, std::string("first\0second\0\0", 14), 0, "first"},
        {REG_BINARY, full, 0, full},  // fills the whole offer without a terminator
        {REG_BINARY, "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.bytes.size() << " bytes");
        testreg::SetRaw(kBase, "v", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        RegistryKey key;
        ASSERT_EQ(key.OpenForRead(HKEY_LOCAL_MACHINE, kBase), 0);
        std::string out = "before";
        EXPECT_EQ(key.QueryString("v", out), c.status);
        EXPECT_EQ(out, c.text);
        EXPECT_EQ(key.QueryString("missing", out), ERROR_FILE_NOT_FOUND);
    }
}

TEST_F(RegistryKeyTest, EnumSubKeysListsDirectChildrenInIndexOrder) {
    for (const char* name : {"1.6", "1.4.2_19", "1.5", "10.0", "1.5\\deeper"}) testreg::CreateKey(kBase + "\\" + name);
    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kBase), 0);
    TextList list = {"stale"};
    EXPECT_EQ(key.EnumSubKeys(list), 0);
    std::vector<std::string> expected = testreg::SubKeyNames(kBase);
    EXPECT_EQ(expected.size(), 4u);
    EXPECT_EQ(list, TextList(expected.begin(), expected.end()));
    ASSERT_EQ(key.Open(HKEY_LOCAL_MACHINE, kBase + "\\1.6"), 0);
    EXPECT_EQ(key.EnumSubKeys(list), 0);
    EXPECT_TRUE(list.empty());
}

}  // namespace
