// Five-decimal version text.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "util/number_text.h"

namespace {

TEST(DoubleToText, FixedPointTextWithHalvesRoundedUp) {
    struct Case { double x; const char* text; };
    const Case cases[] = {
        {1.5, "1.50000"}, {1.6, "1.60000"}, {10, "10.00000"}, {1.6002, "1.60020"}, {11.02, "11.02000"},
        {0.5, ".50000"}, {0.1, ".10000"}, {0, ".00000"}, {-0.0, ".00000"},  // no leading zero from 0.1 to 1
        {0.05, "0.05000"}, {0.000006, "0.00001"}, {1e-7, "0.00000"},        // below 0.1: "0." and zeros
        {std::numeric_limits<double>::denorm_min(), "0.00000"},
        {-1.5, "1.50000"},                                                  // the sign is dropped
        {0.015625, "0.01563"}, {1.015625, "1.01563"},  // exact ties: printf's half-even would round down
        {1.000025, "1.00002"}, {0.123455, ".12345"},   // just below the half as doubles
        {2.000045, "2.00005"},
        {1.999996, "2.00000"}, {0.999996, "1.00000"}, {0.099996, ".10000"}, {0.0099999, "0.01000"},  // carries
        {1e22, "10000000000000000000000.00000"},
    };
    for (const Case& c : cases) {
        std::string out = "stale";
        DoubleToText(c.x, out);
        EXPECT_EQ(out, c.text) << c.x;
    }
}

TEST(DoubleToText, HugeAndNonFiniteValuesGiveSaneText) {
    std::string out;
    DoubleToText(std::numeric_limits<double>::max(), out);
    EXPECT_EQ(out.size(), 309u + 6u);
    EXPECT_EQ(out.substr(0, 6), "179769");
    for (double x : {HUGE_VAL, -HUGE_VAL}) {
        DoubleToText(x, out);
        EXPECT_EQ(out, "inf");
    }
    DoubleToText(std::nan(""), out);
    EXPECT_EQ(out, "nan");
}

}  // namespace
