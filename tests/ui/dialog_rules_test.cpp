// Text rules of the Install Java dialog.
#include <gtest/gtest.h>

#include "ui/dialog_rules.h"

namespace {

TEST(BoundsText, NamesTheMaximumOnlyWhenItIsNotExactlyZero) {
    EXPECT_EQ(BoundsText("1.5", "0"), "Requires Java minimum version: 1.5");
    EXPECT_EQ(BoundsText("1.5", "1.6"), "Requires Java minimum version: 1.5 and maximum version: 1.6");
    EXPECT_EQ(BoundsText("1.5", "0.0"), "Requires Java minimum version: 1.5 and maximum version: 0.0");
}

TEST(HomeOfJavaExe, CutsBeforeTheExactMarker) {
    std::string home = "earlier";
    EXPECT_TRUE(HomeOfJavaExe("C:\\jdk-11\\bin\\java.exe", home));
    EXPECT_EQ(home, "C:\\jdk-11");
    EXPECT_TRUE(HomeOfJavaExe("C:\\a\\bin\\java.exe\\x\\bin\\java.exe", home));
    EXPECT_EQ(home, "C:\\a");
    home = "earlier";
    EXPECT_FALSE(HomeOfJavaExe("C:\\JDK\\BIN\\JAVA.EXE", home));
    EXPECT_FALSE(HomeOfJavaExe("C:\\tools\\java.exe", home));
    EXPECT_EQ(home, "earlier");
}

}  // namespace
