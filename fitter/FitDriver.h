// The second half of a Start run: the straight line, the start values, the
// exponential model, the judgement between the two, the report, the Answer
// boxes, the curve file and the elapsed time.
#pragma once

#include "FitterTypes.h"
#include "FitterWindow.h"

// Returns false when too few points leave no line to fit ("Low data quality!!"),
// true when the run reached its end. A box that is not a number throws
// EConvertError; an arithmetic fault throws EFloatingPointTrap.
bool FitAndReport(TFitterWindow& window, TFitterState& state);

// Start values of a, b, c, d from the series, the line's slope and the fixed
// flags with their Initial Numbers: a free a extrapolates the first points back
// to x = 0, a free d starts at the line's slope, b at 0 and c at 1.
void DeriveStartValues(const TMeasurementSeries& series, const TLinearResult& line,
                       TModelParameters& params);

// Judges the engine's result (state.Params after the engine, its return code
// iRet) against the line, appends the outcome and the closing lines, fills or
// resets the Answer boxes, and leaves in state.Params the parameters of the
// winning model.
void ReportJudgement(TFitterWindow& window, TFitterState& state, int iRet);
