// The fitter's data: the measurement series, the straight line, the model
// parameters and the engine's memory. One TFitterState lives as long as the
// program (the form owns it); each test can start from a fresh one.
#pragma once

constexpr int SeriesCapacity = 500;
constexpr double MissingValue = -1e99;
constexpr double PresentThreshold = -1e98;

// A value counts as present when it is greater than -1e98.
inline bool IsPresent(double value)
{
    return value > PresentThreshold;
}

struct TMeasurementSeries {
    // y[j] is the value at point number j (also the model's x); MissingValue
    // where a point is absent, skipped or unusable. y[0] is no measurement: it
    // holds the first present value once the quality check has run.
    double y[SeriesCapacity + 1];
    int n = 0;  // point count from the header line; points are 1 ... n
    int m = 0;  // number of present values among y[1 ... n]

    TMeasurementSeries()
    {
        for (double& value : y) value = MissingValue;
    }
};

struct TLinearResult {
    double A = 0;         // intercept
    double B = 0;         // slope per point number
    double SumSq = 0;     // residual sum of squares
    double ThreeSN2 = 0;  // 3 * sqrt(SumSq / (m - 2)), reported as "3s(n-2)"
};

struct TModelParameters {
    double a = 0, b = 0, c = 0, d = 0;
    int FixedA = 0, FixedB = 0, FixedC = 0, FixedD = 0;
    double InitialA = 0, InitialB = 0, InitialC = 0, InitialD = 0;
    double ThreeSN4 = 0;  // the engine's spread, reported as "3s(n-4)"
};

enum TFitResultCode { FitConverged = 1, FitLoopLimit = 4, FitCLimit = 8 };

// The engine's memory between runs: the direction flags are never reset, and
// the best record's point carries over until a run first writes it.
struct TFitEngineState {
    bool UpFirstC = true;
    bool UpFirstD = false;
    bool UpFirstB = false;
    bool UpFirstA = false;
    int LoopCount = 0;
    double BestSum = 0;
    double BestA = 0, BestB = 0, BestC = 0, BestD = 0;
};

// What the last Start run did with the engine, for scripts that check it.
struct TRunRecord {
    bool EngineEntered = false;  // the engine was called (it may have trapped)
    int ReturnCode = 0;          // its return code; 0 when it did not return
};

struct TFitterState {
    TMeasurementSeries Series;
    TModelParameters Params;
    TLinearResult Line;
    TFitEngineState Engine;
    double PatternSign = 1.0;  // +1.0 for Line, -1.0 for Hole
    TRunRecord LastRun;
};
