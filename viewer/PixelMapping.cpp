#include "PixelMapping.h"

#include <cmath>

namespace {

using Extended = long double;

double Stored(Extended value)
{
    return static_cast<double>(value);
}

// `pixel` is already a whole number, or not a number at all.
TPixel Drawable(double pixel)
{
    if (!(pixel >= PixelMin && pixel <= PixelMax)) return std::nullopt;
    return static_cast<int>(pixel);
}

}  // namespace

int PointToPixelX(int j, int count)
{
    return 10 + 360 * j / count;
}

TPixel ValueToPixelY(double v, double min, double max)
{
    double q = Stored((Extended(v) - min) / (Extended(max) - min));
    q = Stored(Extended(q) * 120);
    return Drawable(190 - std::trunc(q));
}

TPixel DifferenceToPixelY(double measured, double model, double mag)
{
    double e = Stored(Extended(measured) - model);
    e = Stored(Extended(mag) * e);
    e = Stored(Extended(e) * 10);
    e = Stored(260 - Extended(e));
    return Drawable(std::trunc(e));
}

TPixel DiffToPixelY(double v, double lo, double hi)
{
    double q = Stored((Extended(v) - lo) / (Extended(hi) - lo));
    q = Stored(Extended(q) * 200);
    q = Stored(Extended(q) + 65);
    return Drawable(320 - std::trunc(q));
}

TPixel QuantileToPixelX(double z)
{
    double q = Stored(Extended(z) + 4);
    q = Stored(Extended(q) * 0.125);
    q = Stored(Extended(q) * 400);
    q = Stored(Extended(q) + 10);
    return Drawable(std::trunc(q));
}

double RoundToMilli(double x)
{
    return Stored(std::floor(Extended(x) * 1000 + 0.5) * 0.001);
}
