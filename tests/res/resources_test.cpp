// The resources inside the shipped 32-bit tessaly.exe, read back through the Win32 resource calls.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "res/resource.h"
#include "support/test_process.h"

namespace {

class ResourcesTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        shipped = LoadLibraryExA(testproc::ShippedExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(shipped); }
    static std::string String(HMODULE module, unsigned id) {
        char buffer[1024] = {};
        return std::string(buffer, std::max(0, LoadStringA(module, id, buffer, sizeof buffer)));
    }
    static std::string Resource(LPCSTR type, LPCSTR name) {
        HRSRC found = FindResourceA(shipped, name, type);
        if (found == nullptr) return std::string();
        return std::string(static_cast<const char*>(LockResource(LoadResource(shipped, found))),
                           SizeofResource(shipped, found));
    }
    static HMODULE shipped;
};
HMODULE ResourcesTest::shipped = nullptr;

TEST_F(ResourcesTest, StringTableHoldsTheSettingsPathsAndNoExtraClassPath) {
    ASSERT_NE(shipped, nullptr);
    const char* const settingsKey = "Software\\Quellmark\\Tessaly";
    struct Entry { unsigned id; const char* text; };
    const Entry table[] = {
        {6000, "Software\\Microsoft\\Windows\\CurrentVersion"}, {6001, "Software\\Microsoft\\Windows NT\\CurrentVersion"},
        {7000, "Software\\JavaSoft\\Java Runtime Environment"}, {7001, "1.5"}, {7002, "0"},
        {7004, "jre-6u2-windows-i586-p-iftw.exe"}, {7006, settingsKey}, {7007, "JavaOptions"}, {8000, settingsKey},
        {8001, "Tessaly"}, {8003, settingsKey}, {8004, "CommandLineArgs"}, {8009, settingsKey},
        {8010, "ClasslibDynPath"}, {8006, ""}, {8007, ""},
    };
    for (const Entry& e : table) EXPECT_EQ(String(shipped, e.id), e.text) << e.id;
    // The message texts are checked where the tests see them, in the twin built with the tests;
    // the shipped table must be the same one.
    for (unsigned id = 6000; id < 10000; ++id) EXPECT_EQ(String(shipped, id), String(nullptr, id)) << id;
}

#pragma pack(push, 1)
struct DialogHeader { WORD version, signature; DWORD helpId, exStyle, style; WORD items; short x, y, cx, cy; };
struct ItemHeader { DWORD helpId, exStyle, style; short x, y, cx, cy; DWORD id; };
#pragma pack(pop)

// Reads a text (or an 0xFFFF ordinal) of the template and moves past it.
std::string TakeText(const char*& p) {
    std::string s;
    WORD c;
    std::memcpy(&c, p, 2);
    if (c == 0xFFFF) { std::memcpy(&c, p + 2, 2); p += 4; return "#" + std::to_string(c); }
    for (p += 2; c != 0; p += 2) { s += static_cast<char>(c); std::memcpy(&c, p, 2); }
    return s;
}

TEST_F(ResourcesTest, DialogTemplateIsTheInstallJavaLayout) {
    std::string data = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_INSTALL_JAVA));
    ASSERT_GT(data.size(), sizeof(DialogHeader));
    const char* p = data.data();
    DialogHeader header;
    std::memcpy(&header, p, sizeof header);
    p += sizeof header;
    const DialogHeader expected = {1, 0xFFFF, 0, 0, 0x80C800C8, 5, 0, 0, 320, 130};
    EXPECT_EQ(std::memcmp(&header, &expected, sizeof header), 0);
    EXPECT_EQ(TakeText(p), "");  // no menu
    EXPECT_EQ(TakeText(p), "");  // no window class of its own
    EXPECT_EQ(TakeText(p), "Install Java");
    WORD font[2];
    std::memcpy(font, p, 4);
    EXPECT_EQ(font[0], 8);
    EXPECT_EQ(font[1], 400);
    EXPECT_EQ(p[4], 0);  // not italic
    EXPECT_EQ(p[5], 1);  // character set
    p += 6;
    EXPECT_EQ(TakeText(p), "MS Shell Dlg");

    struct Control { ItemHeader header; const char* kind; const char* text; };
    const Control controls[] = {
        {{0, 0, 0x50020000, 14, 9, 296, 32, 1007}, "#130", "Static"},  // 0x82: static, 0x80: button
        {{0, 0, 0x50010000, 30, 76, 120, 14, 1009}, "#128", "Install Java Now"},
        {{0, 0, 0x50010000, 160, 76, 120, 14, 1010}, "#128", "Select Existing Java JVM"},
        {{0, 0, 0x50010000, 131, 110, 50, 14, 1}, "#128", "Done"},
        {{0, 0, 0x50020000, 14, 55, 296, 8, 1008}, "#130", "Static"},
    };
    for (const Control& c : controls) {
        while ((p - data.data()) % 4) ++p;
        ItemHeader item;
        std::memcpy(&item, p, sizeof item);
        p += sizeof item;
        EXPECT_EQ(std::memcmp(&item, &c.header, sizeof item), 0) << c.header.id;
        EXPECT_EQ(TakeText(p), c.kind) << c.header.id;
        EXPECT_EQ(TakeText(p), c.text) << c.header.id;
        WORD extra;
        std::memcpy(&extra, p, 2);
        p += 2 + extra;
    }
}

TEST_F(ResourcesTest, VersionManifestAndIcon) {
    std::string info(GetFileVersionInfoSizeA(testproc::ShippedExe().c_str(), nullptr), '\0');
    ASSERT_TRUE(GetFileVersionInfoA(testproc::ShippedExe().c_str(), 0, static_cast<DWORD>(info.size()), &info[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020004u);  // 2.4.0.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020004u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    for (const char* part : {"name=\"Microsoft.Windows.JavaRunner\"", "version=\"1.0.0.0\"", "processorArchitecture=\"X86\"",
                             "name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                             "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(manifest.find("trustInfo"), std::string::npos);  // no execution level: see README
    EXPECT_EQ(Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(2)), "");  // none from the toolchain

    std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_APP));
    ASSERT_EQ(group.size(), 6u + 3 * 14);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(static_cast<unsigned char>(group[6 + i * 14]), 16 * (i + 1));
}

}  // namespace
