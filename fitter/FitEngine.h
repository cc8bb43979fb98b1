// The exponential model fit: a derivative-free coordinate search for
// Y = a + b*x + c*(exp(d/c*x) - 1), x being the point number.
#pragma once

#include "FitterTypes.h"

// Sum of squared residuals of the model over the points that take part.
// A point takes part unless its value is below -1e98. When c is not positive
// the exponential term is left out and the model is the line a + b*x.
// An overflow throws EFloatingPointTrap; an overflowing exponential gives an
// infinite sum instead.
double ExpModelResidualSum(const TMeasurementSeries& series, double a, double b, double c, double d);

enum class TFitPhase { First, AfterRestart };

// Told of the search's progress every 1000 passes, from inside the search.
class TFitObserver {
public:
    virtual ~TFitObserver() = default;
    virtual void OnProgress(TFitPhase phase, int loopCount) = 0;
};

// Fits params.a..d (start values in, best point out) honouring params.FixedA..FixedD,
// sets params.ThreeSN4, reads ThreeSN2 of the line, reads/writes the engine state,
// returns FitConverged, FitLoopLimit or FitCLimit. An arithmetic fault throws
// EFloatingPointTrap (common/FloatTraps.h) with the trap's text; params.a..d then keep
// their start values, except when the fault is the final spread's division
// (exactly four points take part): the best point has been written by then.
// The engine state keeps what the search had done up to the fault; LoopCount is
// set to 0 only after the start point's sum, so a fault there leaves the
// previous run's count. The observer, when given, is told of every 1000th pass.
int FitExpModel(const TMeasurementSeries& series, TModelParameters& params, double ThreeSN2,
                TFitEngineState& engine, TFitObserver* observer = nullptr);

// The curvature test's closing condition on t = (d/c)*n: true when the second-
// and third-order terms of exp(t) stay below 3 % of 1 + t.
bool CurvatureEndsSearch(double t);
