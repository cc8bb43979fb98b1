// The second half of a Start run: the straight line, the exponential model, the
// judgement between them, the report, the Answer boxes and the curve file.
#pragma once

#include "FitterTypes.h"
#include "FitterWindow.h"

// Returns false when too few points leave no line to fit.
bool FitAndReport(TFitterWindow& window, TFitterState& state);
