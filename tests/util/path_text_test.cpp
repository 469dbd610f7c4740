// Path text rules.
#include <gtest/gtest.h>

#include "util/path_text.h"

namespace {

struct Case { const char* in; const char* out; };

TEST(PathText, AddTrailingBackslashOnlyWhenMissing) {
    const Case cases[] = {{"C:\\Java", "C:\\Java\\"}, {"C:\\Java\\", "C:\\Java\\"}, {"", ""}, {"x", "x\\"}};
    for (const Case& c : cases) {
        std::string path = c.in;
        AddTrailingBackslash(path);
        EXPECT_EQ(path, c.out) << c.in;
    }
}

TEST(PathText, StripTrailingBackslashRemovesOneOnly) {
    const Case cases[] = {{"C:\\lib\\", "C:\\lib"}, {"C:\\lib\\\\", "C:\\lib\\"}, {"C:\\lib", "C:\\lib"},
                          {"", ""}, {"\\", ""}};
    for (const Case& c : cases) {
        std::string path = c.in;
        StripTrailingBackslash(path);
        EXPECT_EQ(path, c.out) << c.in;
    }
}

// Shift-JIS lead bytes: 0x81-0x9F and 0xE0-0xFC. Their trail byte may be 0x5C, a backslash.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool NoLead(unsigned char) { return false; }

TEST(PathText, LastBackslashSkipsTrailBytesOfDoubleByteCharacters) {
    // C:\<0x95 0x5C>\app.exe: the 0x5C inside the character is not a separator.
    std::string path = "C:\\\x95\\\\app.exe";
    EXPECT_EQ(FindLastBackslash(path, ShiftJisLead), 5u);
    // Directory ending in a double-byte character whose trail byte is 0x5C, then the file.
    std::string dirOnly = "C:\\\x95\\x.exe";
    EXPECT_EQ(FindLastBackslash(dirOnly, ShiftJisLead), 2u);
    EXPECT_EQ(FindLastBackslash(dirOnly, NoLead), 4u);
    EXPECT_EQ(FindLastBackslash("app.exe", NoLead), std::string::npos);
    EXPECT_EQ(FindLastBackslash("\x95", ShiftJisLead), std::string::npos);  // cut lead byte at the end
}

}  // namespace
