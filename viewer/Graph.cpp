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

// One marker per row that has a measurement, at its point's x and pixel y.
void DrawRowMarkers(TPlotCanvas& canvas, const TCurveData& data, const TPixel py[])
{
    for (int j = 1; j <= data.count; ++j) {
        if (!HasMeasurement(data.measured[j])) continue;
        DrawMarker(canvas, PointToPixelX(j, data.count), *py[j]);
    }
}

bool DrawMeasuredMarkers(TViewerWindow& window, const TCurveData& data, const TScale& scale)
{
    TPixel py[TCurveData::MaxCapacity + 1];
    for (int j = 1; j <= data.count; ++j) {
        if (!HasMeasurement(data.measured[j])) continue;
        py[j] = ValueToPixelY(data.measured[j], scale.min, scale.max);
        if (!py[j]) return StopBeyondRange(window, "measured value", j);
    }
    DrawRowMarkers(window.Canvas(), data, py);
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
    DrawRowMarkers(window.Canvas(), data, py);
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

// The difference of two rows' values, stored as a double.
double Step(const double values[], int from)
{
    return static_cast<double>(static_cast<long double>(values[from]) - values[from + 1]);
}

// A file of one point has no second step.
void ReportModelSteps(TViewerWindow& window, const TCurveData& data)
{
    window.AppendReportLine("CD0-CD1= " + RealToText(RoundToMilli(Step(data.model, 0))));
    if (data.count < 2) {
        window.AppendReportLine("CD1-CD2: the file has no point 2.");
        return;
    }
    window.AppendReportLine("CD1-CD2= " + RealToText(RoundToMilli(Step(data.model, 1))) + ",    " +
                            RealToText(Step(data.measured, 1)));
}

}  // namespace

bool DrawGraph(TViewerWindow& window)
{
    TPlotCanvas& canvas = window.Canvas();
    ClearPlotArea(canvas);
    TCurveReadResult file;
    const char* const openFailedText = "I can not open an input file.";
    if (!ReadCurveForPlot(window, GraphCapacity, openFailedText, file)) return false;
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
