// Steps the graph and the distribution check share.
#pragma once

#include "CurveFile.h"
#include "ViewerWindow.h"

// A measured value of exactly 99999 marks a row without a measurement; so does
// a magnitude of 1e98 or more, which is how the fitter writes a missing point.
constexpr double NoDataMarker = 99999;
constexpr double MissingMagnitude = 1e98;

bool HasMeasurement(double measured);

// The inside of the frame painted white; then a black pen and a white brush,
// so every marker is a white disc with a black outline.
void ClearPlotArea(TPlotCanvas& canvas);

// The left and the bottom axis.
void DrawAxes(TPlotCanvas& canvas);

// A disc of six pixels around (px, py).
void DrawMarker(TPlotCanvas& canvas, int px, int py);

// Reads the curve file named in Edit3 into `file` and reports as both
// operations do: a file that cannot be opened sets Button1's caption to "Draw"
// and appends an empty line and `openFailedText`; the count is appended as
// soon as it is read; a malformed file appends what is wrong. True when every
// row is there.
bool ReadCurveForPlot(TViewerWindow& window, int capacity, const char* openFailedText,
                      TCurveReadResult& file);

// The operations behind Graph and Distribution Check, without the handler
// boundary: true when they reached their end.
bool DrawGraph(TViewerWindow& window);
bool CheckDistribution(TViewerWindow& window);
