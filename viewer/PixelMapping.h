// Data values to pixel coordinates of the plot area. Each chain stores every
// step as a double, as the viewer has always computed it, and truncates toward
// zero at the end; a pixel moves when a step rounds differently, so the order
// of the steps matters.
#pragma once

#include <optional>

// A pixel coordinate, or nothing when the value lands beyond the coordinates a
// drawing surface takes reliably (PixelMin ... PixelMax) or is not a number.
using TPixel = std::optional<int>;
constexpr int PixelMin = -32768;
constexpr int PixelMax = 32767;

// Graph: point j of count points at 10 + 360 * j div count (count >= 1).
int PointToPixelX(int j, int count);

// Graph: 190 - t, t = trunc(120 * (v - min) / (max - min)); min at y = 190,
// max at y = 70.
TPixel ValueToPixelY(double v, double min, double max);

// Graph: 260 - 10 * mag * (measured - model), truncated; a zero difference at
// y = 260, each unit of mag * difference 10 pixels, upwards when positive.
TPixel DifferenceToPixelY(double measured, double model, double mag);

// Distribution check: 320 - t, t = trunc(200 * (v - lo) / (hi - lo) + 65); lo at
// y = 255, hi at y = 55.
TPixel DiffToPixelY(double v, double lo, double hi);

// Distribution check: trunc((z + 4) * 0.125 * 400 + 10); z = -4 at x = 10, z = 0
// at x = 210, 50 pixels per unit.
TPixel QuantileToPixelX(double z);

// floor(x * 1000 + 0.5) * 0.001, rounded to double once at the end: halves go
// towards plus infinity.
double RoundToMilli(double x);
