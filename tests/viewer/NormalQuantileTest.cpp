#include <gtest/gtest.h>

#include "NormalQuantile.h"

namespace {

TEST(QuantileTable, HoldsTheStatedRows)
{
    struct TRow {
        int r;
        double T, W;
    };
    const TRow rows[] = {
        {0, 0.52955, 0.0741385974834},
        {1, 0.515, 0.03760760591831},
        {2, 0.5, 0},
        {3, 0.485, -0.03760760591831},
        {100, 0.025269692807634, -1.95536813407671},
        {200, 0.001201637267508, -3.03523847833275},
        {321, 0.000030140693125, -4.01400029659271},
        {322, 0, 0},
        {500, 0, 0},
    };
    for (const TRow& row : rows) {
        EXPECT_EQ(QuantileTable[row.r].T, row.T) << row.r;
        EXPECT_EQ(QuantileTable[row.r].W, row.W) << row.r;
    }
    EXPECT_EQ(QuantileTable[4].T, 0.47045);
    EXPECT_EQ(QuantileTable[5].T, 0.4563365);
}

TEST(QuantileTable, ProbabilitiesAndQuantilesFallTogetherToRow322)
{
    for (int r = 1; r <= 322; ++r) {
        EXPECT_LT(QuantileTable[r].T, QuantileTable[r - 1].T) << r;
        if (r <= 321) {
            EXPECT_LT(QuantileTable[r].W, QuantileTable[r - 1].W) << r;
        }
    }
}

TEST(CoarseIndex, EveryTwentiethProbability)
{
    const std::array<double, 24>& coarse = CoarseIndex();
    for (int i = 1; i <= 24; ++i) EXPECT_EQ(coarse[i - 1], QuantileTable[20 * i].T) << i;
    EXPECT_EQ(coarse[16], 0.0);  // row 340
    EXPECT_EQ(&CoarseIndex(), &coarse);
}

TEST(NormalQuantile, InterpolatesTheTableAndIsOddAroundOneHalf)
{
    EXPECT_EQ(NormalQuantile(0.5), 0.0);
    EXPECT_EQ(NormalQuantile(0.75), -NormalQuantile(0.25));
    EXPECT_NEAR(NormalQuantile(0.75), 0.6745, 1e-4);
    EXPECT_NEAR(NormalQuantile(0.975), 1.95996, 1e-4);
    EXPECT_NEAR(NormalQuantile(0.7 / 3.4), -0.8208, 1e-4);
    EXPECT_NEAR(NormalQuantile(0.1), -1.28155, 1e-4);
    EXPECT_NEAR(NormalQuantile(0.7 / 499.4), -2.9885, 3e-3);  // the smallest position used
    // At a row's probability the lookup gives that row's quantile.
    EXPECT_DOUBLE_EQ(NormalQuantile(QuantileTable[100].T), QuantileTable[100].W);
    EXPECT_DOUBLE_EQ(NormalQuantile(1 - QuantileTable[200].T), -QuantileTable[200].W);
}

}  // namespace
