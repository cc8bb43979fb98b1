// Graph: the measured values and the model against the point number, the
// magnified differences along the line y = 260, and the model's first steps.
#include <string>

#include "PixelMapping.h"
#include "PlotSteps.h"

namespace {

constexpr int GraphCapacity = 500;

struct TScale {
    double min;
    double max;
};

// Every model value and every measured value from row 1 on. A row without a
// measurement gives only its model value, through which the line still passes.
TScale VerticalScale(const TCurveData& data)
{
    TScale scale{data.model[0], data.model[0]};
    auto take = [&scale](double v) {
        if (v > scale.max) scale.max = v;
        if (v < scale.min) scale.min = v;
    };
    for (int j = 1; j <= data.count; ++j) {
        if (HasMeasurement(data.measured[j])) take(data.measured[j]);
        take(data.model[j]);
    }
    return scale;
}

bool StopBeyondRange(TViewerWindow& window, const char* what, int j)
{
    window.AppendReportLine(std::string("The ") + what + " of point " + IntegerToText(j) +
                            " lies beyond the drawable range.");
    return false;
}

void DrawGraphAxes(TPlotCanvas& canvas)
{
    DrawAxes(canvas);
    canvas.MoveTo(10, 260);  // the zero line of the differences
    canvas.LineTo(410, 260);
}

bool DrawMeasuredMarkers(TViewerWindow& window, const TCurveData& data, const TScale& scale)
{
    TPixel py[TCurveData::MaxCapacity + 1];
    for (int j = 1; j <= data.count; ++j) {
        if (!HasMeasurement(data.measured[j])) continue;
        py[j] = ValueToPixelY(data.measured[j], scale.min, scale.max);
        if (!py[j]) return StopBeyondRange(window, "measured value", j);
    }
    for (int j = 1; j <= data.count; ++j) {
        if (HasMeasurement(data.measured[j])) DrawMarker(window.Canvas(), PointToPixelX(j, data.count), *py[j]);
    }
    return true;
}

// The Mag. box is converted when the first difference marker is due, so a text
// that is not a number ends the operation after the measured markers.
bool DrawDifferenceMarkers(TViewerWindow& window, const TCurveData& data)
{
    TPixel py[TCurveData::MaxCapacity + 1];
    std::optional<double> mag;
    for (int j = 1; j <= data.count; ++j) {
        if (!HasMeasurement(data.measured[j])) continue;
        if (!mag) mag = TextToReal(window.ReadBoxText(TViewerControl::Edit1));
        py[j] = DifferenceToPixelY(data.measured[j], data.model[j], *mag);
        if (!py[j]) return StopBeyondRange(window, "magnified difference", j);
    }
    for (int j = 1; j <= data.count; ++j) {
        if (HasMeasurement(data.measured[j])) DrawMarker(window.Canvas(), PointToPixelX(j, data.count), *py[j]);
    }
    return true;
}

bool DrawModelLine(TViewerWindow& window, const TCurveData& data, const TScale& scale)
{
    TPixel py[TCurveData::MaxCapacity + 1];
    for (int j = 0; j <= data.count; ++j) {
        py[j] = ValueToPixelY(data.model[j], scale.min, scale.max);
        if (!py[j]) return StopBeyondRange(window, "model value", j);
    }
    TPlotCanvas& canvas = window.Canvas();
    canvas.MoveTo(10, *py[0]);
    for (int j = 1; j <= data.count; ++j) canvas.LineTo(PointToPixelX(j, data.count), *py[j]);
    return true;
}

std::string RoundedStep(double from, double to)
{
    return RealToText(RoundToMilli(static_cast<double>(static_cast<long double>(from) - to)));
}

// A file of one point has no second step.
void ReportModelSteps(TViewerWindow& window, const TCurveData& data)
{
    window.AppendReportLine("CD0-CD1= " + RoundedStep(data.model[0], data.model[1]));
    if (data.count < 2) {
        window.AppendReportLine("CD1-CD2: the file has no point 2.");
        return;
    }
    const double measuredStep = static_cast<double>(static_cast<long double>(data.measured[1]) - data.measured[2]);
    window.AppendReportLine("CD1-CD2= " + RoundedStep(data.model[1], data.model[2]) + ",    " +
                            RealToText(measuredStep));
}

}  // namespace

bool DrawGraph(TViewerWindow& window)
{
    TPlotCanvas& canvas = window.Canvas();
    ClearPlotArea(canvas);
    TCurveReadResult file;
    if (!ReadCurveForPlot(window, GraphCapacity, "I can not open an input file.", file)) return false;
    const TCurveData& data = file.data;

    const TScale scale = VerticalScale(data);
    if (!(scale.max > scale.min)) {
        window.AppendReportLine("No vertical scale: every value of the graph is the same.");
        return false;
    }
    DrawGraphAxes(canvas);
    if (!DrawMeasuredMarkers(window, data, scale)) return false;
    if (!DrawDifferenceMarkers(window, data)) return false;
    if (!DrawModelLine(window, data, scale)) return false;
    ReportModelSteps(window, data);
    return true;
}
