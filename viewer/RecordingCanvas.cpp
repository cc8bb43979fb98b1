#include "RecordingCanvas.h"

const char* CanvasOpName(TCanvasOpKind kind)
{
    switch (kind) {
    case TCanvasOpKind::SetPenColor: return "SetPenColor";
    case TCanvasOpKind::SetBrushColor: return "SetBrushColor";
    case TCanvasOpKind::Rectangle: return "Rectangle";
    case TCanvasOpKind::MoveTo: return "MoveTo";
    case TCanvasOpKind::LineTo: return "LineTo";
    case TCanvasOpKind::Ellipse: return "Ellipse";
    }
    return "";
}

std::ostream& operator<<(std::ostream& out, const TCanvasOp& op)
{
    out << CanvasOpName(op.kind) << '(';
    for (std::size_t i = 0; i < op.args.size(); ++i) out << (i > 0 ? ", " : "") << op.args[i];
    return out << ')';
}

void TRecordingCanvas::SetPenColor(TColor color)
{
    ops.push_back({TCanvasOpKind::SetPenColor, {color}});
}

void TRecordingCanvas::SetBrushColor(TColor color)
{
    ops.push_back({TCanvasOpKind::SetBrushColor, {color}});
}

void TRecordingCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    ops.push_back({TCanvasOpKind::Rectangle, {x1, y1, x2, y2}});
}

void TRecordingCanvas::MoveTo(int x, int y)
{
    ops.push_back({TCanvasOpKind::MoveTo, {x, y}});
}

void TRecordingCanvas::LineTo(int x, int y)
{
    ops.push_back({TCanvasOpKind::LineTo, {x, y}});
}

void TRecordingCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    ops.push_back({TCanvasOpKind::Ellipse, {x1, y1, x2, y2}});
}

void ReplayCanvasOps(const std::vector<TCanvasOp>& ops, TPlotCanvas& canvas)
{
    for (const TCanvasOp& op : ops) {
        const std::vector<int>& a = op.args;
        switch (op.kind) {
        case TCanvasOpKind::SetPenColor: canvas.SetPenColor(a[0]); break;
        case TCanvasOpKind::SetBrushColor: canvas.SetBrushColor(a[0]); break;
        case TCanvasOpKind::Rectangle: canvas.Rectangle(a[0], a[1], a[2], a[3]); break;
        case TCanvasOpKind::MoveTo: canvas.MoveTo(a[0], a[1]); break;
        case TCanvasOpKind::LineTo: canvas.LineTo(a[0], a[1]); break;
        case TCanvasOpKind::Ellipse: canvas.Ellipse(a[0], a[1], a[2], a[3]); break;
        }
    }
}
