// Ordinary least-squares line y = A + B x through the present points of the
// series, x being the point number.
#pragma once

#include "FitterTypes.h"

// Fills `line` and returns true, or returns false (the too-few-points outcome,
// `line` untouched) when fewer than two points are present. Two present points
// leave no degrees of freedom for the spread: the division by m - 2 traps
// (EFloatingPointTrap), as every arithmetic fault does.
bool FitLine(const TMeasurementSeries& series, TLinearResult& line);
