// Canvas operations as data: the tests read what an operation drew, the export
// prints it as JSON and replays it onto an image.
#pragma once

#include <ostream>
#include <vector>

#include "ViewerWindow.h"

enum class TCanvasOpKind { SetPenColor, SetBrushColor, Rectangle, MoveTo, LineTo, Ellipse };

// "SetPenColor", "Rectangle", ...: the operation's name on TPlotCanvas.
const char* CanvasOpName(TCanvasOpKind kind);

struct TCanvasOp {
    TCanvasOpKind kind;
    std::vector<int> args;  // a colour, a point, or the corners of a box

    bool operator==(const TCanvasOp& other) const
    {
        return kind == other.kind && args == other.args;
    }
};

// "Ellipse(97, 97, 103, 103)", for test messages.
std::ostream& operator<<(std::ostream& out, const TCanvasOp& op);

class TRecordingCanvas : public TPlotCanvas {
public:
    void SetPenColor(TColor color) override;
    void SetBrushColor(TColor color) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;

    std::vector<TCanvasOp> ops;
};

// Carries out recorded operations, in order, on another canvas.
void ReplayCanvasOps(const std::vector<TCanvasOp>& ops, TPlotCanvas& canvas);
