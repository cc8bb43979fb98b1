#include "PlotSteps.h"

#include <cmath>

bool HasMeasurement(double measured)
{
    return measured != NoDataMarker && std::fabs(measured) < MissingMagnitude;
}

void ClearPlotArea(TPlotCanvas& canvas)
{
    canvas.SetPenColor(clWhite);
    canvas.SetBrushColor(clWhite);
    canvas.Rectangle(7, 7, 420, 315);  // leaves the frame's one-pixel outline
    canvas.SetPenColor(clBlack);
}

void DrawAxes(TPlotCanvas& canvas)
{
    canvas.MoveTo(10, 10);
    canvas.LineTo(10, 310);
    canvas.LineTo(410, 310);
}

void DrawMarker(TPlotCanvas& canvas, int px, int py)
{
    canvas.Ellipse(px - 3, py - 3, px + 3, py + 3);
}

bool ReadCurveForPlot(TViewerWindow& window, int capacity, const char* openFailedText,
                      TCurveReadResult& file)
{
    // File names are at most 255 characters; a longer path is reported like a
    // file that cannot be opened.
    constexpr std::size_t MaxPathLength = 255;
    const std::string path = window.ReadBoxText(TViewerControl::Edit3);
    file = path.size() <= MaxPathLength ? ReadCurveFile(path, capacity) : TCurveReadResult{};
    if (file.status == TCurveReadStatus::OpenFailed) {
        window.SetButtonCaption("Draw");
        window.AppendReportLine("");
        window.AppendReportLine(openFailedText);
        return false;
    }
    if (file.countRead) window.AppendReportLine(IntegerToText(file.data.count));
    if (file.status == TCurveReadStatus::Malformed) {
        window.AppendReportLine(file.problem);
        return false;
    }
    return true;
}
