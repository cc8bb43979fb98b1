// Distribution check: a normal probability plot of the measured-minus-model
// differences, with the zero line and the line d = s * z for the sample
// standard deviation s.
#include <cmath>
#include <utility>

#include "NormalQuantile.h"
#include "PixelMapping.h"
#include "PlotSteps.h"

namespace {

constexpr int DistributionCapacity = 499;

using Extended = long double;

// D[1 ... k]: the differences of the rows that have a measurement, in file
// order until sorted.
struct TDifferences {
    int k = 0;
    double sum = 0;
    double sumsq = 0;
    double D[TCurveData::MaxCapacity + 1];
};

// Rows without a measurement are left out here, so every marker drawn is a
// real difference and the plotting positions count only those.
void CollectDifferences(const TCurveData& data, TDifferences& d)
{
    for (int j = 1; j <= data.count; ++j) {
        if (!HasMeasurement(data.measured[j])) continue;
        const double difference = static_cast<double>(Extended(data.measured[j]) - data.model[j]);
        d.D[++d.k] = difference;
        d.sum = static_cast<double>(Extended(d.sum) + difference);
        d.sumsq = static_cast<double>(Extended(d.sumsq) + Extended(difference) * difference);
    }
}

// A rounding remainder can leave the radicand slightly below zero when all
// differences are equal; the spread is 0 then.
double StandardDeviation(const TDifferences& d)
{
    const Extended radicand = (d.sumsq - Extended(d.sum) * d.sum / d.k) / (d.k - 1);
    return radicand > 0 ? static_cast<double>(std::sqrt(radicand)) : 0.0;
}

// Bubble passes until one makes no swap; equal values never swap.
void SortAscending(TDifferences& d)
{
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int i = 1; i < d.k; ++i) {
            if (d.D[i] > d.D[i + 1]) {
                std::swap(d.D[i], d.D[i + 1]);
                swapped = true;
            }
        }
    }
}

// Q[j]: the normal quantile of the j-th plotting position of k.
void PositionQuantiles(bool meanRank, int k, double Q[])
{
    const double alpha = meanRank ? 0.0 : -0.3;
    const double beta = meanRank ? 1.0 : 0.4;
    for (int j = 1; j <= k; ++j) {
        const double position = static_cast<double>((Extended(j) + alpha) / (Extended(k) + beta));
        Q[j] = NormalQuantile(position);
    }
}

bool Stop(TViewerWindow& window, const std::string& text)
{
    window.AppendReportLine(text);
    return false;
}

bool DrawZeroLine(TViewerWindow& window, double lo, double hi)
{
    const TPixel y0 = DiffToPixelY(0, lo, hi);
    if (!y0) return Stop(window, "The zero line lies beyond the drawable range.");
    window.Canvas().MoveTo(10, *y0);
    window.Canvas().LineTo(410, *y0);
    return true;
}

bool DrawDifferenceMarkers(TViewerWindow& window, const TDifferences& d, const double Q[])
{
    const double lo = d.D[1], hi = d.D[d.k];
    TPixel px[TCurveData::MaxCapacity + 1], py[TCurveData::MaxCapacity + 1];
    for (int j = 1; j <= d.k; ++j) {
        px[j] = QuantileToPixelX(Q[j]);
        py[j] = DiffToPixelY(d.D[j], lo, hi);
        if (!px[j] || !py[j]) return Stop(window, "A difference lies beyond the drawable range.");
    }
    for (int j = 1; j <= d.k; ++j) DrawMarker(window.Canvas(), *px[j], *py[j]);
    return true;
}

// From z = +2 at x = 310 to z = -2 at x = 110; its ends may lie outside the frame.
bool DrawReferenceLine(TViewerWindow& window, double s, double lo, double hi)
{
    const TPixel top = DiffToPixelY(static_cast<double>(2 * Extended(s)), lo, hi);
    const TPixel bottom = DiffToPixelY(static_cast<double>(-2 * Extended(s)), lo, hi);
    if (!top || !bottom) return Stop(window, "The reference line lies beyond the drawable range.");
    window.Canvas().MoveTo(310, *top);
    window.Canvas().LineTo(110, *bottom);
    return true;
}

}  // namespace

bool CheckDistribution(TViewerWindow& window)
{
    TPlotCanvas& canvas = window.Canvas();
    ClearPlotArea(canvas);
    TCurveReadResult file;
    const char* const openFailedText = "I can not open an input file.  001";
    if (!ReadCurveForPlot(window, DistributionCapacity, openFailedText, file)) return false;

    TDifferences d;
    CollectDifferences(file.data, d);
    if (d.k < 2) {
        return Stop(window, "The distribution check needs two differences or more; the file has " +
                                IntegerToText(d.k) + ".");
    }
    const double s = StandardDeviation(d);
    double Q[TCurveData::MaxCapacity + 1];
    PositionQuantiles(window.IsBoxChecked(TViewerControl::RadioButton1), d.k, Q);
    SortAscending(d);
    const double lo = d.D[1], hi = d.D[d.k];
    if (!(hi > lo)) {
        return Stop(window, "All differences are equal: the plot has no vertical scale.");
    }

    DrawAxes(canvas);
    if (!DrawZeroLine(window, lo, hi)) return false;
    if (!DrawDifferenceMarkers(window, d, Q)) return false;
    return DrawReferenceLine(window, s, lo, hi);
}
