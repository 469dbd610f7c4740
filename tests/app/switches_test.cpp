// Which job a command line asks for.
#include <gtest/gtest.h>

#include "app/switches.h"

namespace {

struct Case { std::vector<std::string> args; Road road; };

TEST(ChooseRoad, FirstWholeSwitchDecidesIgnoringAsciiCase) {
    const Case cases[] = {
        {{"tessaly.exe"}, Road::Launch},
        {{"tessaly.exe", "doc.txt"}, Road::Launch},
        {{"tessaly.exe", "-install"}, Road::Install},
        {{"tessaly.exe", "-INSTALL"}, Road::Install},
        {{"tessaly.exe", "-UnInstall"}, Road::Uninstall},
        {{"tessaly.exe", "doc.txt", "-install"}, Road::Install},
        {{"tessaly.exe", "-uninstall", "-install"}, Road::Uninstall},
        {{"tessaly.exe", "-install", "-uninstall"}, Road::Install},
        {{"tessaly.exe", "--install"}, Road::Launch},
        {{"tessaly.exe", "/install"}, Road::Launch},
        {{"tessaly.exe", "-installx"}, Road::Launch},
        {{"tessaly.exe", "-install "}, Road::Launch},
        {{"tessaly.exe", ""}, Road::Launch},
        {{"-install"}, Road::Launch},  // index 0 is the program path
        {{"tessaly.exe", "-\xC9NSTALL"}, Road::Launch},  // only ASCII letters fold
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        EXPECT_EQ(ChooseRoad(c.args), c.road);
    }
}

}  // namespace
