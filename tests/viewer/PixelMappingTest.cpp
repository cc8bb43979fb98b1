#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "NumberText.h"
#include "PixelMapping.h"

namespace {

TEST(PointToPixelX, PointsSpreadOver360PixelsByIntegerQuotient)
{
    EXPECT_EQ(PointToPixelX(0, 4), 10);
    EXPECT_EQ(PointToPixelX(1, 4), 100);
    EXPECT_EQ(PointToPixelX(2, 4), 190);
    EXPECT_EQ(PointToPixelX(3, 4), 280);
    EXPECT_EQ(PointToPixelX(4, 4), 370);
    EXPECT_EQ(PointToPixelX(1, 7), 61);
    EXPECT_EQ(PointToPixelX(500, 500), 370);
}

TEST(ValueToPixelY, MinAt190MaxAt70)
{
    EXPECT_EQ(ValueToPixelY(1, 1, 3), 190);
    EXPECT_EQ(ValueToPixelY(2, 1, 3), 130);
    EXPECT_EQ(ValueToPixelY(3, 1, 3), 70);
    EXPECT_EQ(ValueToPixelY(1.5, 1, 3), 160);
    // A scale wider than a double holds leaves the largest value undefined.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ValueToPixelY(inf, 0, inf), std::nullopt);
}

TEST(DifferenceToPixelY, TenPixelsPerUnitOfMagTimesDifference)
{
    struct TCase {
        double measured, model, mag;
        TPixel y;
    };
    const TCase cases[] = {
        {3.5, 1.0, 1.0, 235},      // +2.5
        {0.95, 1.0, 1.0, 260},     // -0.05: 260.5 truncated
        {2.1, 2.0, 1.0, 259},      // each step stored: 258.99999999999999911 becomes 259.0
        {3.5, 1.0, 0.0, 260},      // Mag 0 puts every marker on the line
        {7.0, -1e90, 0.0, 260},
        {3.5, 1.0, -1.0, 285},     // a negative Mag mirrors
        {-3250.7, 0.0, 1.0, 32767},
        {-3250.8, 0.0, 1.0, std::nullopt},  // beyond what can be drawn
        {2.0, 1.0, 1e300, std::nullopt},
        {2.0, 1.0, std::nan(""), std::nullopt},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(DifferenceToPixelY(c.measured, c.model, c.mag), c.y)
            << c.measured << " - " << c.model << " with Mag " << c.mag;
    }
}

TEST(DiffToPixelY, LoAt255HiAt55)
{
    EXPECT_EQ(DiffToPixelY(-0.25, -0.25, 0.5), 255);
    EXPECT_EQ(DiffToPixelY(0.25, -0.25, 0.5), 122);
    EXPECT_EQ(DiffToPixelY(0.5, -0.25, 0.5), 55);
    EXPECT_EQ(DiffToPixelY(0.0, -0.25, 0.5), 189);
    EXPECT_EQ(DiffToPixelY(0.7637626158259734, -0.25, 0.5), -15);  // 2s of the three
    EXPECT_EQ(DiffToPixelY(-0.7637626158259734, -0.25, 0.5), 392);
    EXPECT_EQ(DiffToPixelY(0.0, 1000.0, 1000.001), std::nullopt);  // far below the frame
}

TEST(QuantileToPixelX, FiftyPixelsPerUnitFromZEqualsMinusFour)
{
    EXPECT_EQ(QuantileToPixelX(-4), 10);
    EXPECT_EQ(QuantileToPixelX(0), 210);
    EXPECT_EQ(QuantileToPixelX(4), 410);
    EXPECT_EQ(QuantileToPixelX(2), 310);
    EXPECT_EQ(QuantileToPixelX(-2), 110);
    EXPECT_EQ(QuantileToPixelX(-0.8208), 168);
}

TEST(RoundToMilli, HalvesGoUpAndTheSumIsRoundedOnce)
{
    EXPECT_EQ(RealToText(RoundToMilli(0.0625)), "0.063");
    EXPECT_EQ(RealToText(RoundToMilli(-0.0625)), "-0.062");
    EXPECT_EQ(RoundToMilli(0.0045), 0.004);  // 4.4999999999999999657 stays below 5
    EXPECT_EQ(RealToText(RoundToMilli(1.23449)), "1.234");
    EXPECT_EQ(RealToText(RoundToMilli(-2.5)), "-2.5");
}

}  // namespace
