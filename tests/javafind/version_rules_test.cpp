// Version texts, acceptance and the quoted version in `java -version` output.
#include <gtest/gtest.h>

#include <cmath>

#include "javafind/version_rules.h"

namespace {

TEST(ParseVersionText, KeepsDigitsAndTheFirstPoint) {
    struct Case { std::string text; double number; };
    const Case cases[] = {
        {"1.6", 1.6},           {"1.6.0_02", 1.6002},   {"1.5.0_06", 1.5006}, {"1.5.0_11", 1.5011},
        {"1.4.2_19", 1.4219},   {"1.7.0", 1.7},         {"1.6.0_10", 1.601},  {"1.6.0_100", 1.601},
        {"11.0.2", 11.02},      {"1.6.0_02-b06", 1.600206}, {".5", 0.5},      {"1..2", 1.2},
        {"", 0.0},              {"java", 0.0},          {"...", 0.0},         {".", 0.0},
        {"\xff\x80" "1\xe9.\xa0" "5", 1.5},  // bytes above 127 are dropped like any letter
        {std::string("1\0" "7", 3), 17.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(ParseVersionText(c.text), c.number);
    }
}

TEST(ParseVersionText, HostileTextsGiveANumberNoBoundAccepts) {
    EXPECT_TRUE(std::isinf(ParseVersionText(std::string(5000, '9'))));
    EXPECT_EQ(ParseVersionText(std::string(100000, '.')), 0.0);
    EXPECT_DOUBLE_EQ(ParseVersionText("1." + std::string(5000, '0') + "7"), 1.0);
    EXPECT_FALSE(IsVersionAccepted(ParseVersionText(std::string(5000, '9')), 1.5, 0));
}

TEST(IsVersionAccepted, BothBoundsInclusiveAndLowMaximumMeansNone) {
    struct Case { double version, min, max; bool accepted; };
    const Case cases[] = {
        {1.5, 1.5, 0, true},     {1.4219, 1.5, 0, false}, {11.02, 1.5, 0, true},
        {1.6, 1.5, 1.6, true},   {1.6002, 1.5, 1.6, false}, {9999.0, 1.5, 0.5, true},
        {9999.5, 1.5, 0.99, false}, {0.0, 1.5, 0, false}, {0.0, 0.0, 0, true},
        {1.0, 1.0, 1.0, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsVersionAccepted(c.version, c.min, c.max), c.accepted)
            << c.version << " in [" << c.min << ", " << c.max << "]";
    }
}

TEST(ExtractQuotedVersion, TakesTheTextBetweenTheFirstTwoQuotes) {
    struct Case { std::string output; bool found; std::string text; };
    const Case cases[] = {
        {"java version \"1.6.0_02\"\nJava(TM) SE Runtime Environment (build 1.6.0_02-b06)\n", true, "1.6.0_02"},
        {"openjdk version \"11.0.2\" 2019-01-15\n", true, "11.0.2"},
        {"x\"\"", true, ""},
        {"\"1.6\" is first", false, ""},          // output starting with the quote
        {"java version \"1.6", false, ""},        // one quote only
        {"Error: could not find java.dll\n", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        std::string text = "untouched";
        EXPECT_EQ(ExtractQuotedVersion(c.output, text), c.found);
        EXPECT_EQ(text, c.found ? c.text : "untouched");
    }
}

}  // namespace
