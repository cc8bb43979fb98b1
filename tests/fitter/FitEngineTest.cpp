#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FitEngine.h"
#include "FitEngineSpeed.h"
#include "FloatTraps.h"
#include "LinearFit.h"
#include "PlainFitEngine.h"

namespace {

using Extended = long double;

TMeasurementSeries SeriesOf(const std::vector<double>& values)
{
    TMeasurementSeries series;
    series.n = static_cast<int>(values.size());
    for (int j = 1; j <= series.n; ++j) {
        series.y[j] = values[j - 1];
        if (IsPresent(series.y[j])) ++series.m;
    }
    return series;
}

// y = a + b*j + c*(exp(d/c*j) - 1) + noise, in plain double arithmetic.
TMeasurementSeries ModelSeries(int n, double a, double b, double c, double d, double noise, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::normal_distribution<double> gauss(0, 1);
    std::vector<double> values;
    for (int j = 1; j <= n; ++j) values.push_back(a + b * j + c * (std::exp(d / c * j) - 1) + noise * gauss(random));
    return SeriesOf(values);
}

double ThreeSN4Of(double sum, int validCount)
{
    const double q = static_cast<double>(Extended(sum) / (validCount - 4));
    return static_cast<double>(3 * std::sqrt(Extended(q)));
}

bool SameBits(double x, double y)
{
    return std::memcmp(&x, &y, sizeof x) == 0;
}

TEST(CurvatureEndsSearch, OnlyNearlyStraightTerms)
{
    const struct {
        double t;
        bool ends;
    } cases[] = {{0.25, true}, {0.27, false}, {-0.2, true}, {-0.25, false}, {-4, true}, {0, true}};
    for (const auto& c : cases) EXPECT_EQ(CurvatureEndsSearch(c.t), c.ends) << c.t;
}

TEST(ExpModelResidualSum, PointsKeepTheirOwnNumbers)
{
    // d = 0 gives E = 1 in the exponential branch; c = 0 is the line. Either
    // way the model is a + b*j, and y[j] = j + (0, 1, 0, 2) leaves squares
    // 0, 1, 0, 4 at j = 1, 3, 4, 5: the missing point 2 keeps x = j for the
    // points after it.
    const TMeasurementSeries series = SeriesOf({1, MissingValue, 4, 4, 7});
    EXPECT_EQ(ExpModelResidualSum(series, 0, 1, 0, 5), 5);
    EXPECT_EQ(ExpModelResidualSum(series, 0, 1, 2, 0), 5);
    EXPECT_EQ(ExpModelResidualSum(series, 0, 1, -3, 7), 5);
}

TEST(ExpModelResidualSum, MinusOneE98TakesPartMinusOneE99DoesNot)
{
    EXPECT_EQ(ExpModelResidualSum(SeriesOf({0, -1e98, 0}), 0, 0, 0, 0), 1e98 * 1e98);
    EXPECT_EQ(ExpModelResidualSum(SeriesOf({0, MissingValue, 0}), 0, 0, 0, 0), 0);
}

TEST(ExpModelResidualSum, OverflowingExponentialGivesInfinityResidualOverflowTraps)
{
    const TMeasurementSeries series = SeriesOf({1, 2, 3});
    EXPECT_EQ(ExpModelResidualSum(series, 0, 0, 1, 800), INFINITY);  // exp(800) is +inf
    try {
        ExpModelResidualSum(series, 0, 0, 1, 200);  // E^3 = exp(600) overflows the square
        ADD_FAILURE() << "no trap";
    } catch (const EFloatingPointTrap& trap) {
        EXPECT_STREQ(trap.what(), TrapOverflowText);
    }
}

TEST(FitExpModel, CFixedAbove200EndsAtTheCLimitWithTheRestartPoint)
{
    const TMeasurementSeries series = ModelSeries(20, 3, 0.2, 5, 0.4, 0.05, 1);
    TModelParameters params;
    params.a = 1, params.b = 2, params.c = 250, params.d = 3;
    params.FixedC = 1;
    TFitEngineState engine;
    EXPECT_EQ(FitExpModel(series, params, 1.0, engine), FitCLimit);
    const double a = static_cast<double>((Extended(series.y[1]) - series.y[2]) * 1.1 + series.y[1]);
    EXPECT_EQ(params.a, a);
    EXPECT_EQ(params.b, 0);
    EXPECT_EQ(params.c, 250);
    EXPECT_EQ(params.d, 0);
    EXPECT_EQ(engine.LoopCount, 1);
    EXPECT_EQ(params.ThreeSN4, ThreeSN4Of(ExpModelResidualSum(series, a, 0, 250, 0), 20));
}

// Two series of 50 points whose runs pass c = 50 (the lifts) and c = 200
// twice (the restart, then the c limit).
TMeasurementSeries Concave(unsigned seed = 1)
{
    std::mt19937_64 random(seed);
    std::normal_distribution<double> gauss(0, 1);
    std::vector<double> values;
    for (int j = 1; j <= 50; ++j) values.push_back(1 + 0.5 * j - 0.001 * j * j + 0.5 * gauss(random));
    return SeriesOf(values);
}

TMeasurementSeries NoisyLine(unsigned seed = 1)
{
    std::mt19937_64 random(seed);
    std::normal_distribution<double> gauss(0, 1);
    std::vector<double> values;
    for (int j = 1; j <= 50; ++j) values.push_back(10 + 0.01 * j + 0.5 * gauss(random));
    return SeriesOf(values);
}

struct TRun {
    TMeasurementSeries series;
    TLinearResult line;
    TModelParameters params;
};

// The run as the driver starts it: free parameters from the series and the
// line, fixed ones (bits 1, 2, 4, 8 for a, b, c, d) at 3.5, 0.25, 20, 0.1.
TRun DriverRun(const TMeasurementSeries& series, int fixed)
{
    TRun run{series, {}, {}};
    FitLine(series, run.line);
    TModelParameters& p = run.params;
    p.FixedA = fixed & 1 ? 1 : 0, p.FixedB = fixed & 2 ? 1 : 0;
    p.FixedC = fixed & 4 ? 1 : 0, p.FixedD = fixed & 8 ? 1 : 0;
    p.a = p.FixedA ? 3.5 : static_cast<double>((Extended(series.y[1]) - series.y[2]) * 1.1 + series.y[1]);
    p.b = p.FixedB ? 0.25 : 0;
    p.c = p.FixedC ? 20 : 1;
    p.d = p.FixedD ? 0.1 : run.line.B;
    return run;
}

struct TProgress : TFitObserver {
    std::vector<std::pair<TFitPhase, int>> calls;
    void OnProgress(TFitPhase phase, int loopCount) override { calls.push_back({phase, loopCount}); }
};

TEST(FitExpModel, FixedParametersNeverMove)
{
    // The runs that end at the c limit passed c = 50 (a lift) and 200 twice
    // (the restart); the first also runs over 60000 passes with c free, and
    // the last 11000, through trend steps that are taken.
    const struct {
        TMeasurementSeries series;
        int fixed;
        int iRet;
    } cases[] = {{Concave(), 1, FitCLimit},    {Concave(), 2, FitCLimit},    {Concave(), 8, FitCLimit},
                 {NoisyLine(), 3, FitCLimit},  {NoisyLine(), 9, FitCLimit},  {NoisyLine(), 10, FitCLimit},
                 {NoisyLine(), 11, FitCLimit}, {SeriesOf({1, 3, 7, 13, 21, 31, 43}), 2, FitConverged}};
    for (const auto& c : cases) {
        TRun run = DriverRun(c.series, c.fixed);
        const TModelParameters start = run.params;
        TFitEngineState engine;
        EXPECT_EQ(FitExpModel(run.series, run.params, run.line.ThreeSN2, engine), c.iRet) << c.fixed;
        EXPECT_TRUE(!(c.fixed & 1) || run.params.a == start.a) << c.fixed;
        EXPECT_TRUE(!(c.fixed & 2) || run.params.b == start.b) << c.fixed;
        EXPECT_TRUE(!(c.fixed & 8) || run.params.d == start.d) << c.fixed;
    }
}

TEST(FitExpModel, ObserverHearsEvery1000PassesOfEachPhase)
{
    TRun run = DriverRun(Concave(), 1);
    TFitEngineState engine;
    TProgress progress;
    EXPECT_EQ(FitExpModel(run.series, run.params, run.line.ThreeSN2, engine, &progress), FitCLimit);
    ASSERT_FALSE(progress.calls.empty());
    int expected = 1000;
    TFitPhase phase = TFitPhase::First;
    for (const auto& [callPhase, loopCount] : progress.calls) {
        if (callPhase != phase) {
            EXPECT_EQ(callPhase, TFitPhase::AfterRestart);
            phase = callPhase;
            expected = 1000;
        }
        EXPECT_EQ(loopCount, expected);
        expected += 1000;
    }
    EXPECT_EQ(phase, TFitPhase::AfterRestart);
    EXPECT_EQ(progress.calls.back().second, engine.LoopCount / 1000 * 1000);
}

TEST(FitExpModel, TieIsNotTaken)
{
    // With c at 0 the model is the line and d plays no part: every trial of d
    // ties with the current sum, so d stays, its step shrinks 18 times below
    // 1e-7 and the flag that would turn on a move in the second direction
    // stays as it was.
    TRun run = DriverRun(NoisyLine(), 1 | 2 | 4);
    run.params.c = 0;
    for (const bool upFirst : {false, true}) {
        TModelParameters params = run.params;
        TFitEngineState engine;
        engine.UpFirstD = upFirst;
        EXPECT_EQ(FitExpModel(run.series, params, run.line.ThreeSN2, engine), FitConverged);
        EXPECT_EQ(params.d, run.params.d);
        EXPECT_EQ(engine.LoopCount, 18);
        EXPECT_EQ(engine.UpFirstD, upFirst);
    }
}

TEST(FitExpModel, SecondRunStartsFromTheFlagsTheFirstLeft)
{
    // With d < 0 the sum has a local maximum in c near 0.25: both trials of
    // the first c attempt improve, and the direction tried first wins.
    const TMeasurementSeries series = SeriesOf({10.13, 1.95, 4.51, -4.47, -2.43, -0.23, -1.85, -2.35, -0.41, -0.37});
    TModelParameters start;
    start.c = 0.25, start.d = -0.34;
    start.FixedA = start.FixedB = start.FixedD = 1;

    TFitEngineState engine;
    TModelParameters first = start;
    FitExpModel(series, first, 1.0, engine);
    const TFitEngineState left = engine;
    EXPECT_FALSE(left.UpFirstC);

    TModelParameters second = start;
    const int iRet = FitExpModel(series, second, 1.0, engine);
    EXPECT_NE(second.c, first.c);

    TFitEngineState fresh;
    fresh.UpFirstA = left.UpFirstA, fresh.UpFirstB = left.UpFirstB;
    fresh.UpFirstC = left.UpFirstC, fresh.UpFirstD = left.UpFirstD;
    TModelParameters expected = start;
    EXPECT_EQ(FitExpModel(series, expected, 1.0, fresh), iRet);
    EXPECT_EQ(fresh.LoopCount, engine.LoopCount);
    EXPECT_EQ(expected.c, second.c);
    EXPECT_EQ(expected.ThreeSN4, second.ThreeSN4);
}

TEST(FitExpModel, LoopLimitLeavesLoopCountAt2000001)
{
    // Five points and four parameters: the search creeps on until the limit.
    TRun run = DriverRun(SeriesOf({1, 2, 4, 7, 11}), 0);
    TFitEngineState engine;
    EXPECT_EQ(FitExpModel(run.series, run.params, run.line.ThreeSN2, engine), FitLoopLimit);
    EXPECT_EQ(engine.LoopCount, 2000001);
    EXPECT_EQ(run.params.a, engine.BestA);
    EXPECT_EQ(run.params.d, engine.BestD);
    EXPECT_EQ(run.params.ThreeSN4, ThreeSN4Of(engine.BestSum, 5));
}

TEST(FitExpModel, OverflowAtTheStartPointLeavesEverythingAsItWas)
{
    std::vector<double> steep;
    for (int j = 1; j <= 20; ++j) steep.push_back(100.0 * j);
    TRun run = DriverRun(SeriesOf(steep), 0);  // c = 1, d = 100: exp(100)^j
    const TModelParameters start = run.params;
    TFitEngineState engine;
    engine.LoopCount = 1234;
    engine.BestSum = 77;
    try {
        FitExpModel(run.series, run.params, run.line.ThreeSN2, engine);
        ADD_FAILURE() << "no trap";
    } catch (const EFloatingPointTrap& trap) {
        EXPECT_STREQ(trap.what(), TrapOverflowText);
    }
    EXPECT_EQ(run.params.a, start.a);
    EXPECT_EQ(run.params.d, start.d);
    EXPECT_EQ(run.params.ThreeSN4, start.ThreeSN4);
    EXPECT_EQ(engine.LoopCount, 1234);
    EXPECT_EQ(engine.BestSum, 77);
}

TEST(FitExpModel, FourPointsTrapOnTheSpreadAfterWritingTheBestPoint)
{
    TRun run = DriverRun(SeriesOf({1, 2, MissingValue, 4, 7, MissingValue}), 4);
    TFitEngineState engine;
    try {
        FitExpModel(run.series, run.params, run.line.ThreeSN2, engine);
        ADD_FAILURE() << "no trap";
    } catch (const EFloatingPointTrap& trap) {
        EXPECT_STREQ(trap.what(), TrapZeroDivideText);
    }
    EXPECT_GT(engine.BestSum, 0);
    EXPECT_EQ(run.params.a, engine.BestA);
    EXPECT_EQ(run.params.b, engine.BestB);
    EXPECT_EQ(run.params.c, 20);
    EXPECT_EQ(run.params.d, engine.BestD);
    EXPECT_EQ(run.params.ThreeSN4, 0);
}

TEST(FitExpModel, MinusOneE98TakesPartAndKeepsEverySumAbove1e99)
{
    // Four present points and -1e98: five take part, so the spread divides by
    // 1, and every sum exceeds 1e196. No point is ever recorded as the best:
    // the run returns the best point it found in the engine's memory.
    TRun run = DriverRun(SeriesOf({1, 2, MissingValue, 4, 7, -1e98}), 4);
    TFitEngineState engine;
    engine.BestA = 1, engine.BestB = 2, engine.BestC = 3, engine.BestD = 4;
    EXPECT_EQ(FitExpModel(run.series, run.params, run.line.ThreeSN2, engine), FitConverged);
    EXPECT_EQ(engine.BestSum, 1e99);
    EXPECT_EQ(run.params.ThreeSN4, ThreeSN4Of(1e99, 5));
    EXPECT_EQ(run.params.a, 1);
    EXPECT_EQ(run.params.b, 2);
    EXPECT_EQ(run.params.c, 3);
    EXPECT_EQ(run.params.d, 4);
}

TEST(FitExpModel, ThreePointsGiveTheDefaultNaNSpread)
{
    TRun run = DriverRun(SeriesOf({1, 2, 4}), 0);
    TFitEngineState engine;
    EXPECT_EQ(FitExpModel(run.series, run.params, 0, engine), FitConverged);
    EXPECT_TRUE(std::isnan(run.params.ThreeSN4));
    EXPECT_TRUE(std::signbit(run.params.ThreeSN4));
}

// ---- The engine's fast sums against the plain engine, bit for bit ----------

// Everything a run leaves: the code or the trap's text, the parameters and the
// engine's state.
struct TOutcome {
    std::string ending;
    TModelParameters params;
    TFitEngineState engine;
};

void ExpectSame(const TOutcome& fast, const TOutcome& plain, const std::string& what)
{
    EXPECT_EQ(fast.ending, plain.ending) << what;
    const TModelParameters &f = fast.params, &p = plain.params;
    EXPECT_TRUE(SameBits(f.a, p.a) && SameBits(f.b, p.b) && SameBits(f.c, p.c) && SameBits(f.d, p.d))
        << what << ": " << f.a << " " << f.b << " " << f.c << " " << f.d;
    EXPECT_TRUE(SameBits(f.ThreeSN4, p.ThreeSN4)) << what;
    const TFitEngineState &fe = fast.engine, &pe = plain.engine;
    EXPECT_EQ(fe.LoopCount, pe.LoopCount) << what;
    EXPECT_TRUE(fe.UpFirstA == pe.UpFirstA && fe.UpFirstB == pe.UpFirstB && fe.UpFirstC == pe.UpFirstC &&
                fe.UpFirstD == pe.UpFirstD)
        << what;
    EXPECT_TRUE(SameBits(fe.BestSum, pe.BestSum) && SameBits(fe.BestA, pe.BestA) && SameBits(fe.BestB, pe.BestB) &&
                SameBits(fe.BestC, pe.BestC) && SameBits(fe.BestD, pe.BestD))
        << what;
}

// Ends a run after a number of progress calls, to keep the comparison short.
struct TStopped {};
struct TStopAfter : TFitObserver {
    int calls;
    explicit TStopAfter(int calls) : calls(calls) {}
    void OnProgress(TFitPhase, int) override
    {
        if (--calls == 0) throw TStopped{};
    }
};

template <typename TFit>
TOutcome Outcome(TFit fit, const TMeasurementSeries& series, const TModelParameters& start, double ThreeSN2,
                 const TFitEngineState& engine, int progressCalls)
{
    TOutcome outcome{"", start, engine};
    TStopAfter stop(progressCalls);
    try {
        outcome.ending = std::to_string(fit(series, outcome.params, ThreeSN2, outcome.engine, &stop));
    } catch (const EFloatingPointTrap& trap) {
        outcome.ending = trap.what();
    } catch (const TStopped&) {
        outcome.ending = "stopped";
    }
    return outcome;
}

// Random series of the kinds that matter: model curves with noise, exact
// integer data (zero residuals, exact sums), steep curves that overflow,
// gaps, a value of exactly -1e98, and extreme start values.
struct TRandomCase {
    TMeasurementSeries series;
    TModelParameters params;
    double ThreeSN2 = 0;
    TFitEngineState engine;
};

TRandomCase RandomCase(std::mt19937_64& random, int maxPoints)
{
    std::uniform_real_distribution<double> uniform(-1, 1);
    std::normal_distribution<double> gauss(0, 1);
    auto below = [&](int k) { return static_cast<int>(random() % static_cast<unsigned>(k)); };
    TRandomCase c;
    const int n = 4 + below(maxPoints - 3);
    const int kind = below(5);
    const double a = 5 * uniform(random), b = 0.2 * uniform(random), cc = 1 + 60 * std::fabs(uniform(random));
    const double d = (kind == 3 ? 0.5 : 0.05) * uniform(random) * cc / 10;
    const double noise = kind == 1 ? 0 : std::pow(10.0, -3 * std::fabs(uniform(random)));
    std::vector<double> values;
    for (int j = 1; j <= n; ++j) {
        double v = a + b * j + cc * (std::exp(d / cc * j) - 1) + noise * gauss(random);
        if (kind == 1) v = std::round(3 * uniform(random) + j * below(3));  // exact small integers
        if (kind == 2) v = gauss(random);
        if (kind == 4) v = std::ldexp(1.0, below(4) - 2) * j;  // powers of two: exact squares
        if (below(12) == 0) v = MissingValue;
        values.push_back(v);
    }
    if (below(25) == 0) values[below(n)] = -1e98;
    if (below(30) != 0) {  // the driver's first rule for a, mostly
        if (!IsPresent(values[0])) values[0] = a + b;
        if (!IsPresent(values[1])) values[1] = a + 2 * b;
    }
    c.series = SeriesOf(values);
    TLinearResult line;
    try {
        c.ThreeSN2 = FitLine(c.series, line) ? line.ThreeSN2 : 1;
    } catch (const EFloatingPointTrap&) {
        c.ThreeSN2 = 0.5;
    }
    if (!std::isfinite(c.ThreeSN2)) c.ThreeSN2 = 1;
    TModelParameters& p = c.params;
    const int fixed = below(2) == 0 ? 0 : below(15);
    p.FixedA = fixed & 1, p.FixedB = fixed >> 1 & 1, p.FixedC = fixed >> 2 & 1, p.FixedD = fixed >> 3 & 1;
    if (below(3) != 0) {
        p.a = static_cast<double>((Extended(c.series.y[1]) - c.series.y[2]) * 1.1 + c.series.y[1]);
        p.b = 0, p.c = 1, p.d = line.B;
    } else {
        p.a = 10 * uniform(random), p.b = uniform(random), p.c = below(4) == 0 ? -uniform(random) : 100 * uniform(random);
        p.d = below(10) == 0 ? 300 * uniform(random) : uniform(random);
    }
    c.engine.UpFirstA = below(2), c.engine.UpFirstB = below(2), c.engine.UpFirstC = below(2), c.engine.UpFirstD = below(2);
    c.engine.LoopCount = 7;
    c.engine.BestA = 1, c.engine.BestB = 2, c.engine.BestC = 3, c.engine.BestD = 4;
    return c;
}

class FastSums : public ::testing::Test {
protected:
    void TearDown() override { UseFastResidualSums(true); }
};

TEST_F(FastSums, ResidualSumsMatchThePlainSumBitForBit)
{
    if (!FastResidualSumsAvailable()) GTEST_SKIP() << "the fast sums do not run on this processor";
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> uniform(-1, 1);
    for (int i = 0; i < 400; ++i) {
        const TRandomCase c = RandomCase(random, i % 10 == 0 ? 500 : 60);
        for (int k = 0; k < 10; ++k) {
            const TModelParameters& p = c.params;
            const double scale = std::pow(10.0, 2 * uniform(random));
            const double a = p.a + scale * uniform(random), b = p.b * (1 + uniform(random) / 8);
            const double cc = k == 0 ? 0 : p.c + scale * uniform(random), d = p.d + uniform(random) / 4;
            double fast = 0, plain = 0;
            std::string fastEnding, plainEnding;
            try {
                fast = ExpModelResidualSum(c.series, a, b, cc, d);
            } catch (const EFloatingPointTrap& trap) {
                fastEnding = trap.what();
            }
            try {
                plain = PlainExpModelResidualSum(c.series, a, b, cc, d);
            } catch (const EFloatingPointTrap& trap) {
                plainEnding = trap.what();
            }
            EXPECT_EQ(fastEnding, plainEnding) << i << " " << k;
            EXPECT_TRUE(SameBits(fast, plain)) << i << " " << k << ": " << fast << " " << plain;
        }
    }
}

TEST_F(FastSums, RunsMatchThePlainEngineBitForBit)
{
    // Up to 5000 passes of each run; the runs that end before are compared
    // through to their result.
    std::mt19937_64 random(5);
    for (int i = 0; i < 300; ++i) {
        TRandomCase c = RandomCase(random, i % 16 == 0 ? 500 : 40);
        if (i == 0) {  // a long creep on 500 points
            c.series = ModelSeries(500, 1, 0.05, 30, 0.02, 0.1, 1);
            c.params = DriverRun(c.series, 0).params;
        }
        const TOutcome plain = Outcome(PlainFitExpModel, c.series, c.params, c.ThreeSN2, c.engine, 5);
        for (const bool fast : {true, false}) {
            UseFastResidualSums(fast);
            const TOutcome outcome = Outcome(
                [](const TMeasurementSeries& s, TModelParameters& p, double t, TFitEngineState& e, TFitObserver* o) {
                    return FitExpModel(s, p, t, e, o);
                },
                c.series, c.params, c.ThreeSN2, c.engine, 5);
            ExpectSame(outcome, plain, "case " + std::to_string(i) + (fast ? " fast" : " plain sums"));
        }
    }
}

}  // namespace
