#include "PlainFitEngine.h"

#include <cfenv>
#include <cmath>

#include "FloatTraps.h"

// Every formula is evaluated in extended precision in the written operand
// order and rounded to double where a value is stored. The trap flags are clear
// between two steps; a step that may fault hands its result to a check, so its
// operations are done before the flags are read.
namespace {

using Extended = long double;

double Stored(Extended value)
{
    return static_cast<double>(value);
}

// Within a residual sum every input is finite and the only infinity comes from
// the exponential, so the first fault is always an overflow; an invalid
// operation can only follow one. The chain values are passed so that their
// last updates are made before the flags are read.
__attribute__((noipa)) double CheckedSum(double value, double, double)
{
    if (std::fetestexcept(FE_OVERFLOW)) {
        ClearFloatingPointFlags();
        throw EFloatingPointTrap(TrapOverflowText);
    }
    CheckFloatingPointTraps();
    return value;
}

bool TakesPart(double value)
{
    return !(value < PresentThreshold);
}

double Sum(const TMeasurementSeries& series, double a, double b, double c, double d)
{
    const double* y = series.y;
    double sum = 0;
    const bool exponential = std::isgreater(c, 0.0);
    double E = 0, P = 0;
    if (exponential) {
        const double q = CheckedSum(Stored(Extended(d) / c), 0, 0);
        E = std::exp(q);
        ClearFloatingPointFlags();  // the exponential never traps
        P = E;
    }
    double X = b;
    for (int j = 1; j <= series.n; ++j) {
        if (TakesPart(y[j])) {
            double r;
            if (exponential)
                r = Stored(Extended(y[j]) - ((Extended(P) - 1) * c + (Extended(a) + X)));
            else
                r = Stored((Extended(a) + X) - y[j]);
            sum = Stored(Extended(r) * r + sum);
        }
        if (exponential) P = Stored(Extended(E) * P);
        X = Stored(Extended(b) + X);
    }
    return CheckedSum(sum, P, X);
}

bool CurvatureEnds(double t)
{
    return 1 + Extended(t) > ((1.0L / 3) * t + 1) * ((Extended(t) * t) * 0.5) * (100.0 / 3);
}

}  // namespace

double PlainExpModelResidualSum(const TMeasurementSeries& series, double a, double b, double c, double d)
{
    ClearFloatingPointFlags();
    return Sum(series, a, b, c, d);
}

int PlainFitExpModel(const TMeasurementSeries& series, TModelParameters& params, double ThreeSN2,
                     TFitEngineState& engine, TFitObserver* observer)
{
    const double* y = series.y;
    const bool freeA = params.FixedA == 0, freeB = params.FixedB == 0;
    const bool freeC = params.FixedC == 0, freeD = params.FixedD == 0;
    double a = params.a, b = params.b, c = params.c, d = params.d;
    auto sumAt = [&](double ta, double tb, double tc, double td) { return Sum(series, ta, tb, tc, td); };
    ClearFloatingPointFlags();

    // Set-up.
    double StepA = 0.05, StepB = 0.05, StepC = 0.05, StepD = 0.05;
    int ValidCount = 0;
    for (int j = 1; j <= series.n; ++j)
        if (TakesPart(y[j])) ++ValidCount;
    const double TargetSum =
        CheckedValue(Stored(Extended(ThreeSN2) * ThreeSN2 * (ValidCount - 4) * (1.0L / 9)));
    double CurrentSum = sumAt(a, b, c, d);
    engine.LoopCount = 0;
    if (!freeA) StepA = 1e-18;
    if (!freeB) StepB = 1e-18;
    if (!freeC) StepC = 1e-18;
    if (!freeD) StepD = 1e-18;
    bool TrendStarted = false;
    double TrendA = 0, TrendB = 0, TrendC = 0, TrendD = 0;
    int LoopAt80 = -200000000, LoopAt90 = -200000000;
    bool Lift80Pending = true, Lift90Pending = true, Lift100Pending = true;
    bool RestartAvailable = true;
    engine.BestSum = 1e99;

    // One attempt of a coordinate search on p, first in the direction upFirst
    // names; true when it moved.
    auto attempt = [&](double& p, double step, bool& upFirst, bool clampAtZero, auto sumOf) {
        const double first = CheckedValue(Stored(upFirst ? Extended(p) + step : Extended(p) - step));
        const double firstSum = sumOf(first);
        if (std::isgreater(CurrentSum, firstSum)) {
            p = (clampAtZero && !upFirst && first < 0) ? 0 : first;
            CurrentSum = firstSum;
            return true;
        }
        const double second = CheckedValue(Stored(upFirst ? Extended(p) - step : Extended(p) + step));
        const double secondSum = sumOf(second);
        if (std::isgreater(CurrentSum, secondSum)) {
            p = (clampAtZero && upFirst && second < 0) ? 0 : second;
            CurrentSum = secondSum;
            upFirst = !upFirst;
            return true;
        }
        return false;
    };
    auto scaled = [](double step, double factor) { return CheckedValue(Stored(Extended(step) * factor)); };

    auto finish = [&](int code) {
        params.a = engine.BestA;
        params.b = engine.BestB;
        params.c = engine.BestC;
        params.d = engine.BestD;
        const double q = CheckedValue(Stored(Extended(engine.BestSum) / (ValidCount - 4)));
        const Extended root = std::sqrt(Extended(q));
        ClearFloatingPointFlags();  // the square root never traps
        params.ThreeSN4 = Stored(3 * root);
        return code;
    };

    while (StepC > 1e-7 || StepA > 1e-7 || StepB > 1e-7 || StepD > 1e-7) {
        // 1. Trend step.
        if (StepC > 1e-6 && engine.LoopCount % 1000 == 0 && engine.LoopCount >= 5000) {
            if (!TrendStarted) {
                TrendA = a, TrendB = b, TrendC = c, TrendD = d;
                engine.BestSum = sumAt(a, b, c, d);
                TrendStarted = true;
            } else {
                if (freeA) TrendA = CheckedValue(Stored((Extended(a) - TrendA) * 0.98 + a));
                if (freeB) TrendB = CheckedValue(Stored((Extended(b) - TrendB) * 1.029 + b));
                if (freeC) TrendC = CheckedValue(Stored((Extended(c) - TrendC) * 0.98 + c));
                if (freeD) TrendD = CheckedValue(Stored((Extended(d) - TrendD) * 1.029 + d));
                const double T = sumAt(TrendA, TrendB, TrendC, TrendD);
                if (std::isgreater(Extended(engine.BestSum) * 1.1, Extended(T)) && TrendC > 0) {
                    CurrentSum = T;
                    if (std::isless(T, engine.BestSum)) engine.BestSum = T;
                    a = TrendA, b = TrendB, c = TrendC, d = TrendD;
                } else {
                    TrendA = a, TrendB = b, TrendC = c, TrendD = d;
                }
            }
        }

        // 2. Lifts.
        if (freeC) {
            if (Lift80Pending && c > 50) {
                c = 80;
                Lift80Pending = false;
                LoopAt80 = engine.LoopCount;
                CurrentSum = sumAt(a, b, c, d);
            }
            if (Lift90Pending && c > 70 && engine.LoopCount - LoopAt80 > 20000) {
                c = 90;
                Lift90Pending = false;
                LoopAt90 = engine.LoopCount;
                CurrentSum = sumAt(a, b, c, d);
            }
            if (Lift100Pending && c > 80 && engine.LoopCount - LoopAt90 > 20000) {
                c = 100;
                Lift100Pending = false;
                CurrentSum = sumAt(a, b, c, d);
            }
        }

        // 3. c search.
        if (freeC) {
            int moves = 0;
            while (moves < 3 &&
                   attempt(c, StepC, engine.UpFirstC, true, [&](double t) { return sumAt(a, b, t, d); }))
                ++moves;
            if (moves == 0)
                StepC = scaled(StepC, 0.33249999999999996);
            else if (StepC > 0.001)
                StepC = scaled(StepC, 1.21);
            else if (StepC > 1e-6)
                StepC = scaled(StepC, 1.41);
            else
                StepC = scaled(StepC, 1.31);
        }

        // 4. d search.
        if (freeD) {
            const bool moved =
                attempt(d, StepD, engine.UpFirstD, false, [&](double t) { return sumAt(a, b, c, t); });
            StepD = scaled(StepD, moved ? 1.53 : 0.475);
        }

        // 5. b search.
        if (freeB) {
            const bool moved =
                attempt(b, StepB, engine.UpFirstB, false, [&](double t) { return sumAt(a, t, c, d); });
            StepB = scaled(StepB, moved ? 1.59 : 0.475);
        }

        // 6. a search.
        if (freeA) {
            const bool moved =
                attempt(a, StepA, engine.UpFirstA, false, [&](double t) { return sumAt(t, b, c, d); });
            if (!moved)
                StepA = scaled(StepA, 0.475);
            else if (StepA > 1e-4)
                StepA = scaled(StepA, 1.57);
            else if (StepA > 1e-7)
                StepA = scaled(StepA, 1.77);
            else
                StepA = scaled(StepA, 1.57);
        }

        // 7. Curvature test.
        if (std::isgreater(CurrentSum, TargetSum) && engine.LoopCount > 10000 && StepC < 1e-5 &&
            StepA < 1e-5 && StepB < 1e-5 && StepD < 1e-5) {
            const double t = CheckedValue(Stored(Extended(d) / c * series.n));
            if (CurvatureEnds(t)) return finish(FitConverged);
        }

        // 8. Loop limit.
        if (engine.LoopCount > 2000000) return finish(FitLoopLimit);

        // 9. c limit and the one restart.
        if (c > 200) {
            if (!RestartAvailable) return finish(FitCLimit);
            engine.LoopCount = 0;
            RestartAvailable = false;
            if (freeA) {
                a = CheckedValue(Stored((Extended(y[1]) - y[2]) * 1.1 + y[1]));
                StepA = 0.05;
            }
            if (freeB) b = 0, StepB = 0.05;
            if (freeC) c = 30, StepC = 0.05;
            if (freeD) d = 0, StepD = 0.05;
            CurrentSum = sumAt(a, b, c, d);
        }

        // 10. Floor.
        if (StepA < 1e-12) StepA = 1e-12;
        if (StepB < 1e-12) StepB = 1e-12;
        if (StepC < 1e-12) StepC = 1e-12;
        if (StepD < 1e-12) StepD = 1e-12;

        // 11. Best record.
        if (std::isless(CurrentSum, engine.BestSum)) {
            engine.BestSum = CurrentSum;
            engine.BestA = a, engine.BestB = b, engine.BestC = c, engine.BestD = d;
        }

        // 12. Count the pass.
        ++engine.LoopCount;
        if (observer && engine.LoopCount % 1000 == 0)
            observer->OnProgress(RestartAvailable ? TFitPhase::First : TFitPhase::AfterRestart,
                                 engine.LoopCount);
    }
    return finish(FitConverged);
}
