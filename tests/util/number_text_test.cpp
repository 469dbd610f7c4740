// Five-decimal version text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/number_text.h"

namespace {

struct Case { double x; const char* text; };

TEST(DoubleToText, FollowsTheFixedPointTable) {
    const Case cases[] = {
        {1.5, "1.50000"},       {1.6, "1.60000"},        {10, "10.00000"},
        {0.5, ".50000"},        {0, ".00000"},           {0.05, "0.05000"},
        {0.000006, "0.00001"},  {-1.5, "1.50000"},       {1.6002, "1.60020"},
        {1.4219, "1.42190"},    {11.02, "11.02000"},     {1.600206, "1.60021"},
        {9999.0, "9999.00000"}, {0.1, ".10000"},         {-0.0, ".00000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        std::string out = "stale";
        DoubleToText(c.x, out);
        EXPECT_EQ(out, c.text);
    }
}

TEST(DoubleToText, HalvesRoundUpOnTheExactBinaryValue) {
    const Case cases[] = {
        {0.015625, "0.01563"},   // exact tie: printf's round-half-even would give 0.01562
        {1.015625, "1.01563"},     // exact tie above 1 (65/64)
        {1.000025, "1.00002"},     // the double lies just below the half (1.0000249999...)
        {0.123455, ".12345"},      // likewise (0.1234549999...)
        {2.000045, "2.00005"},     // just above the half
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        std::string out;
        DoubleToText(c.x, out);
        EXPECT_EQ(out, c.text);
    }
}

TEST(DoubleToText, CarryReachesTheIntegerDigits) {
    const Case cases[] = {
        {1.999996, "2.00000"}, {0.999996, "1.00000"}, {9.999999, "10.00000"},
        {0.099996, ".10000"},  {0.0099999, "0.01000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        std::string out;
        DoubleToText(c.x, out);
        EXPECT_EQ(out, c.text);
    }
}

TEST(DoubleToText, TinyValuesKeepFiveDecimals) {
    for (double x : {1e-7, 4e-6, std::numeric_limits<double>::denorm_min()}) {
        std::string out;
        DoubleToText(x, out);
        EXPECT_EQ(out, "0.00000") << x;
    }
}

TEST(DoubleToText, HugeAndNonFiniteValuesGiveSaneText) {
    std::string out;
    DoubleToText(1e22, out);
    EXPECT_EQ(out, "10000000000000000000000.00000");
    DoubleToText(std::numeric_limits<double>::max(), out);
    EXPECT_EQ(out.size(), 309u + 6u);
    EXPECT_EQ(out.substr(0, 6), "179769");
    EXPECT_EQ(out.substr(out.size() - 6), ".00000");
    DoubleToText(HUGE_VAL, out);
    EXPECT_EQ(out, "inf");
    DoubleToText(-HUGE_VAL, out);
    EXPECT_EQ(out, "inf");
    DoubleToText(std::nan(""), out);
    EXPECT_EQ(out, "nan");
}

}  // namespace
