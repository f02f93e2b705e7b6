// Live values as the setup window writes them, the same on both builds.
#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

#include "ui/value_text.h"

namespace {

TEST(LiveValueText, WritesSixDigitsAfterThePointAndFixedTextsForTheRest) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        std::string expected;
    } cases[] = {
        {1.5, "1.500000"},
        {0.0, "0.000000"},
        {-0.0, "-0.000000"},
        {static_cast<double>(0.1f), "0.100000"},
        {0.00000095367431640625, "0.000001"},
        {-1e-7, "-0.000000"},
        {123456789.0, "123456789.000000"},
        {-FLT_MAX, "-340282346638528859811704183484516925440.000000"},
        {nan, "nan"},
        {-nan, "nan"},
        {infinity, "inf"},
        {-infinity, "-inf"},
    };
    for (const auto& c : cases) EXPECT_EQ(Nerova::Kite::liveValueText(c.value), c.expected) << c.expected;
    EXPECT_EQ(Nerova::Kite::liveValueText(-FLT_MAX).size(), 47u);
    // No double is cut short.
    EXPECT_EQ(Nerova::Kite::liveValueText(-DBL_MAX).size(), 1u + 309u + 1u + 6u);
}

}  // namespace
