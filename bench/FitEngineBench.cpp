// The model fit's speed, the plain evaluation beside the engine's own:
// - residual sums per second at 50 and at 500 points;
// - passes per second of a whole run on 500 points that reaches the loop limit.
// Both runs must end alike to the last bit; the engine's run reports any
// difference, and a run that does not end at the loop limit, as an error.
#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <cstring>
#include <random>

#include "FitEngine.h"
#include "FitEngineSpeed.h"
#include "LinearFit.h"
#include "PlainFitEngine.h"

namespace {

using Extended = long double;

// y = a + b*j + c*(exp(d/c*j) - 1) + Gaussian noise.
TMeasurementSeries ModelSeries(int n, double a, double b, double c, double d, double noise, unsigned seed)
{
    std::mt19937_64 random(seed);
    std::normal_distribution<double> gauss(0, 1);
    TMeasurementSeries series;
    series.n = series.m = n;
    for (int j = 1; j <= n; ++j) series.y[j] = a + b * j + c * (std::exp(d / c * j) - 1) + noise * gauss(random);
    return series;
}

void ResidualSums(benchmark::State& state, bool fast)
{
    const TMeasurementSeries series = ModelSeries(static_cast<int>(state.range(0)), 1, 0.05, 30, 0.02, 0.1, 1);
    for (auto _ : state) {
        const double sum = fast ? ExpModelResidualSum(series, 1.01, 0.05, 31, 0.021)
                                : PlainExpModelResidualSum(series, 1.01, 0.05, 31, 0.021);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(ResidualSums, plain, false)->Arg(50)->Arg(500);
BENCHMARK_CAPTURE(ResidualSums, fast, true)->Arg(50)->Arg(500);

// The long run: the quadratic 1 + 0.01 j + 2.8e-5 j^2 on 500 points, started
// as the driver starts it (c = 1, d = the line's slope). The exponential comes
// ever closer to a quadratic as c grows, so the search creeps along the valley
// of c and d towards c = infinity: c passes 200 once (the restart) and then
// creeps on from c = 30 until the loop limit, about 2.7 million passes in all.
struct TLongRun {
    TMeasurementSeries series;
    TLinearResult line;
    TModelParameters start;

    TLongRun()
    {
        series.n = series.m = 500;
        for (int j = 1; j <= 500; ++j) series.y[j] = 1 + 0.01 * j + 2.8e-5 * j * j;
        FitLine(series, line);
        start.a = static_cast<double>((Extended(series.y[1]) - series.y[2]) * 1.1 + series.y[1]);
        start.b = 0;
        start.c = 1;
        start.d = line.B;
    }
};

// Counts the passes of the first phase, to the thousand below.
struct TPassCounter : TFitObserver {
    int firstPhase = 0;
    void OnProgress(TFitPhase phase, int loopCount) override
    {
        if (phase == TFitPhase::First) firstPhase = loopCount;
    }
};

struct TLongRunEnd {
    bool done = false;
    int iRet = 0;
    TModelParameters params;
    TFitEngineState engine;
    double seconds = 0;
};

TLongRunEnd& PlainEnd()
{
    static TLongRunEnd end;
    return end;
}

bool SameBits(double x, double y)
{
    return std::memcmp(&x, &y, sizeof x) == 0;
}

bool SameEnd(const TLongRunEnd& x, const TLongRunEnd& y)
{
    const TModelParameters &p = x.params, &q = y.params;
    const TFitEngineState &e = x.engine, &f = y.engine;
    return x.iRet == y.iRet && SameBits(p.a, q.a) && SameBits(p.b, q.b) && SameBits(p.c, q.c) &&
           SameBits(p.d, q.d) && SameBits(p.ThreeSN4, q.ThreeSN4) && e.LoopCount == f.LoopCount &&
           e.UpFirstA == f.UpFirstA && e.UpFirstB == f.UpFirstB && e.UpFirstC == f.UpFirstC &&
           e.UpFirstD == f.UpFirstD && SameBits(e.BestSum, f.BestSum);
}

void LongRun(benchmark::State& state, bool fast)
{
    static const TLongRun run;
    TLongRunEnd end;
    TPassCounter counter;
    for (auto _ : state) {
        end.params = run.start;
        end.engine = TFitEngineState();
        // Processor time: the machine may be shared.
        const std::clock_t begin = std::clock();
        end.iRet = fast ? FitExpModel(run.series, end.params, run.line.ThreeSN2, end.engine, &counter)
                        : PlainFitExpModel(run.series, end.params, run.line.ThreeSN2, end.engine, &counter);
        end.seconds = static_cast<double>(std::clock() - begin) / CLOCKS_PER_SEC;
        end.done = true;
    }
    const double passes = counter.firstPhase + end.engine.LoopCount;
    state.counters["passes"] = passes;
    state.counters["passes_per_second"] = passes / end.seconds;
    state.counters["LoopCount"] = end.engine.LoopCount;
    state.counters["iRet"] = end.iRet;
    if (end.iRet != FitLoopLimit || end.engine.LoopCount != 2000001) {
        state.SkipWithError("the run did not end at the loop limit with LoopCount 2000001");
        return;
    }
    if (!fast) {
        PlainEnd() = end;
        return;
    }
    if (!FastResidualSumsAvailable()) state.SetLabel("no fast sums on this processor: plain sums");
    if (PlainEnd().done) {
        state.counters["speed_up"] = PlainEnd().seconds / end.seconds;
        if (!SameEnd(end, PlainEnd())) state.SkipWithError("the engine's run differs from the plain run");
    }
}

BENCHMARK_CAPTURE(LongRun, plain, false)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(LongRun, fast, true)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
