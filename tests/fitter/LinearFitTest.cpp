#include <vector>

#include <gtest/gtest.h>

#include "FloatTraps.h"
#include "LinearFit.h"

namespace {

TMeasurementSeries SeriesOf(const std::vector<double>& values)
{
    TMeasurementSeries series;
    series.n = static_cast<int>(values.size());
    for (int j = 1; j <= series.n; ++j) series.y[j] = values[j - 1];
    return series;
}

TEST(FitLine, ExactDigits)
{
    struct TCase {
        const char* name;
        std::vector<double> values;
        double A, B, SumSq, ThreeSN2;
    };
    const TCase cases[] = {
        {"1,3,5", {1, 3, 5}, -1, 2, 0, 0},
        {"1,2,2,3", {1, 2, 2, 3}, 0.5, 0.6, 0.19999999999999998, 0.9486832980505138},
        {"gap keeps its x", {1, MissingValue, 5, 7}, -1, 2, 0, 0},
        {"-1e98 is missing", {1, -1e98, 5, 7}, -1, 2, 0, 0},
        {"Hole negates A and B", {-1, -2, -2, -3}, -0.5, -0.6, 0.19999999999999998,
         0.9486832980505138},
    };
    for (const TCase& c : cases) {
        TLinearResult line;
        ASSERT_TRUE(FitLine(SeriesOf(c.values), line)) << c.name;
        EXPECT_EQ(line.A, c.A) << c.name;
        EXPECT_EQ(line.B, c.B) << c.name;
        EXPECT_EQ(line.SumSq, c.SumSq) << c.name;
        EXPECT_EQ(line.ThreeSN2, c.ThreeSN2) << c.name;
    }
}

TEST(FitLine, SinglePresentPointIsTooFew)
{
    TLinearResult line;
    line.A = 42;
    EXPECT_FALSE(FitLine(SeriesOf({MissingValue, 4, MissingValue}), line));
    EXPECT_EQ(line.A, 42);
}

TEST(FitLine, TwoPresentPointsTrapOnTheSpread)
{
    struct TCase {
        std::vector<double> values;
        const char* trap;
    };
    const TCase cases[] = {
        {{1, 3}, TrapInvalidText},                 // SumSq exactly 0: 0 / 0
        {{0.1, 0.1}, TrapZeroDivideText},          // a rounding remainder / 0
        {{1, MissingValue, 3, MissingValue, MissingValue}, TrapInvalidText},
    };
    for (const TCase& c : cases) {
        TLinearResult line;
        try {
            FitLine(SeriesOf(c.values), line);
            ADD_FAILURE() << "no trap";
        } catch (const EFloatingPointTrap& trap) {
            EXPECT_STREQ(trap.what(), c.trap);
        }
    }
}

}  // namespace
