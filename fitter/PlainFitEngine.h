// The model fit written step by step in its plainest form, without caches or
// interleaving: one full evaluation per trial. It is the yardstick for the
// engine in FitEngine.cpp, which must return bit-identical results; only the
// tests and the benchmarks link it.
#pragma once

#include "FitEngine.h"
#include "FitterTypes.h"

double PlainExpModelResidualSum(const TMeasurementSeries& series, double a, double b, double c, double d);

int PlainFitExpModel(const TMeasurementSeries& series, TModelParameters& params, double ThreeSN2,
                     TFitEngineState& engine, TFitObserver* observer = nullptr);
