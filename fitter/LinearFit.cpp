#include "LinearFit.h"

#include <cmath>

#include "FloatTraps.h"

// Every formula is evaluated in extended precision in the written operand order
// and rounded to double where a value is stored.
bool FitLine(const TMeasurementSeries& series, TLinearResult& line)
{
    using Extended = long double;
    double S = 0, Sx = 0, Sy = 0, Sxx = 0, Sxy = 0;
    const double* y = series.y;

    ClearFloatingPointFlags();
    for (int j = 1; j <= series.n; ++j) {
        if (!IsPresent(y[j])) continue;
        Sy = static_cast<double>(Extended(y[j]) + Sy);
        Sx = static_cast<double>(Extended(j) + Sx);
        Sxy = static_cast<double>(Extended(j) * y[j] + Sxy);
        Sxx = static_cast<double>(Extended(j * j) + Sxx);
        S = static_cast<double>(Extended(1) + S);
    }
    CheckFloatingPointTraps();
    if (!(S > 1)) return false;

    const double B = CheckedValue(static_cast<double>(
        (Extended(S) * Sxy - Extended(Sx) * Sy) / (Extended(S) * Sxx - Extended(Sx) * Sx)));
    const double A = CheckedValue(static_cast<double>((Extended(Sy) - Extended(B) * Sx) / S));

    double SumSq = 0;
    for (int j = 1; j <= series.n; ++j) {
        if (!IsPresent(y[j])) continue;
        const double r = static_cast<double>(Extended(y[j]) - (Extended(j) * B + A));
        SumSq = static_cast<double>(Extended(r) * r + SumSq);
    }
    CheckFloatingPointTraps();

    const double q = CheckedValue(static_cast<double>(Extended(SumSq) / (Extended(S) - 2)));
    const Extended root = std::sqrt(Extended(q));
    ClearFloatingPointFlags();  // the square root never traps
    line.A = A;
    line.B = B;
    line.SumSq = SumSq;
    line.ThreeSN2 = CheckedValue(static_cast<double>(3 * root));
    return true;
}
