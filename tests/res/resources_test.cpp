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
        module = LoadLibraryExA(testproc::ShippedExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(module); }

    static std::string String(unsigned id) {
        char buffer[1024] = {};
        int length = LoadStringA(module, id, buffer, sizeof buffer);
        return std::string(buffer, length > 0 ? length : 0);
    }
    static std::string Resource(LPCSTR type, LPCSTR name) {
        HRSRC found = FindResourceA(module, name, type);
        if (found == nullptr) return std::string();
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(data, SizeofResource(module, found));
    }

    static HMODULE module;
};
HMODULE ResourcesTest::module = nullptr;

TEST_F(ResourcesTest, StringTableHoldsEveryTextExactly) {
    ASSERT_NE(module, nullptr);
    struct Entry { unsigned id; const char* text; };
    const Entry table[] = {
        {6000, "Software\\Microsoft\\Windows\\CurrentVersion"},
        {6001, "Software\\Microsoft\\Windows NT\\CurrentVersion"},
        {7000, "Software\\JavaSoft\\Java Runtime Environment"},
        {7001, "1.5"},
        {7002, "0"},
        {7004, "jre-6u2-windows-i586-p-iftw.exe"},
        {7006, "Software\\Quellmark\\Tessaly"},
        {7007, "JavaOptions"},
        {8000, "Software\\Quellmark\\Tessaly"},
        {8001, "Tessaly"},
        {8003, "Software\\Quellmark\\Tessaly"},
        {8004, "CommandLineArgs"},
        {8009, "Software\\Quellmark\\Tessaly"},
        {8010, "ClasslibDynPath"},
        {9000, "The version of Java you have selected is "},
        {9001, "You must select a version of "},
        {9002, " or higher."},
        {9003, " requires the Java Virtual Machine to be installed.  Click the Install Java Now button to "
               "install Java.  If the required version of Java is already installed, click the Select "
               "Existing Java JVM button."},
        {9004, "Could not find the Java Installer.  Please visit www.java.com and download Java before "
               "closing this window."},
        {9005, " will not run until the required version of Java is installed."},
        {8006, ""},
        {8007, ""},
        {7003, ""},
        {8002, ""},
    };
    for (const Entry& e : table) EXPECT_EQ(String(e.id), e.text) << e.id;
}

// Reads the extended dialog template field by field, as the dialog manager does.
struct TemplateReader {
    const char* p;
    template <typename T> T Take() { T v; std::memcpy(&v, p, sizeof v); p += sizeof v; return v; }
    std::string Text() {
        std::string s;
        for (WORD c; (c = Take<WORD>()) != 0;) s += static_cast<char>(c);
        return s;
    }
    // A menu, class or control-class field: 0, an ordinal after 0xFFFF, or a text.
    std::string NameOrOrdinal() {
        WORD first;
        std::memcpy(&first, p, sizeof first);
        if (first == 0xFFFF) { p += 2; return "#" + std::to_string(Take<WORD>()); }
        return Text();
    }
    void AlignDword(const char* base) { while ((p - base) % 4) ++p; }
};

TEST_F(ResourcesTest, DialogTemplateIsTheInstallJavaLayout) {
    std::string data = Resource(RT_DIALOG, MAKEINTRESOURCEA(IDD_INSTALL_JAVA));
    ASSERT_FALSE(data.empty());
    TemplateReader r{data.data()};
    EXPECT_EQ(r.Take<WORD>(), 1);        // dlgVer
    EXPECT_EQ(r.Take<WORD>(), 0xFFFF);   // extended template
    EXPECT_EQ(r.Take<DWORD>(), 0u);      // help id
    EXPECT_EQ(r.Take<DWORD>(), 0u);      // extended style
    EXPECT_EQ(r.Take<DWORD>(), 0x80C800C8u);
    WORD count = r.Take<WORD>();
    EXPECT_EQ(count, 5);
    short box[4];
    for (short& v : box) v = r.Take<short>();
    EXPECT_EQ(box[0], 0); EXPECT_EQ(box[1], 0); EXPECT_EQ(box[2], 320); EXPECT_EQ(box[3], 130);
    EXPECT_EQ(r.NameOrOrdinal(), "");    // no menu
    EXPECT_EQ(r.NameOrOrdinal(), "");    // no class
    EXPECT_EQ(r.Text(), "Install Java");
    EXPECT_EQ(r.Take<WORD>(), 8);        // points
    EXPECT_EQ(r.Take<WORD>(), 400);      // weight
    EXPECT_EQ(r.Take<BYTE>(), 0);        // not italic
    EXPECT_EQ(r.Take<BYTE>(), 1);        // character set
    EXPECT_EQ(r.Text(), "MS Shell Dlg");

    struct Control { DWORD id; const char* cls; const char* text; short x, y, cx, cy; DWORD style; };
    const Control controls[] = {
        {1007, "#130", "Static", 14, 9, 296, 32, 0x50020000},
        {1009, "#128", "Install Java Now", 30, 76, 120, 14, 0x50010000},
        {1010, "#128", "Select Existing Java JVM", 160, 76, 120, 14, 0x50010000},
        {1, "#128", "Done", 131, 110, 50, 14, 0x50010000},
        {1008, "#130", "Static", 14, 55, 296, 8, 0x50020000},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.id);
        r.AlignDword(data.data());
        EXPECT_EQ(r.Take<DWORD>(), 0u);          // help id
        EXPECT_EQ(r.Take<DWORD>(), 0u);          // extended style
        EXPECT_EQ(r.Take<DWORD>(), c.style);
        EXPECT_EQ(r.Take<short>(), c.x);
        EXPECT_EQ(r.Take<short>(), c.y);
        EXPECT_EQ(r.Take<short>(), c.cx);
        EXPECT_EQ(r.Take<short>(), c.cy);
        EXPECT_EQ(r.Take<DWORD>(), c.id);
        EXPECT_EQ(r.NameOrOrdinal(), c.cls);     // 0x80 button, 0x82 static
        EXPECT_EQ(r.NameOrOrdinal(), c.text);
        r.p += r.Take<WORD>();                   // creation data
    }
}

TEST_F(ResourcesTest, VersionIs2400) {
    std::string exe = testproc::ShippedExe();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::string info(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, &info[0]));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020004u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020004u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
}

BOOL CALLBACK CountResource(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST_F(ResourcesTest, ManifestIsOursAlone) {
    std::string manifest = Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.JavaRunner\""), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
    EXPECT_NE(manifest.find("language=\"*\""), std::string::npos);
    EXPECT_EQ(manifest.find("trustInfo"), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
    // No second manifest slipped in by the toolchain.
    int manifests = 0;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(24), CountResource, reinterpret_cast<LONG_PTR>(&manifests));
    EXPECT_EQ(manifests, 1);
}

TEST_F(ResourcesTest, IconGroupHas16_32And48Pixels) {
    std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_APP));
    ASSERT_GE(group.size(), 6u);
    WORD count;
    std::memcpy(&count, group.data() + 4, sizeof count);
    ASSERT_EQ(count, 3);
    const int widths[] = {16, 32, 48};
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(static_cast<unsigned char>(group[6 + i * 14]), widths[i]) << i;
    }
}

}  // namespace
