#include "PlotPainter.h"

#include <cstdlib>

#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QSvgGenerator>

#include "RecordingCanvas.h"

QColor ToQColor(TColor color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

namespace {

// Bresenham's line from (x0, y0) towards (x1, y1), the end point left out.
QPolygon LinePixels(int x0, int y0, int x1, int y1)
{
    QPolygon pixels;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    while (x0 != x1 || y0 != y1) {
        pixels << QPoint(x0, y0);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
    return pixels;
}

// The operations of Shape1 painting itself.
void PaintShape1(TPlotCanvas& canvas)
{
    canvas.SetPenColor(clBlack);
    canvas.SetBrushColor(clWhite);
    canvas.Rectangle(Shape1Rect.left(), Shape1Rect.top(), Shape1Rect.left() + Shape1Rect.width(),
                     Shape1Rect.top() + Shape1Rect.height());
}

}  // namespace

TPainterCanvas::TPainterCanvas(QPainter& painter, TCanvasState& state, TLines lines)
    : painter_(painter), state_(state), lines_(lines)
{
}

void TPainterCanvas::SetPenColor(TColor color)
{
    state_.penColor = color;
}

void TPainterCanvas::SetBrushColor(TColor color)
{
    state_.brushColor = color;
}

void TPainterCanvas::UsePenAndBrush()
{
    QPen pen(ToQColor(state_.penColor));
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
    painter_.setBrush(ToQColor(state_.brushColor));
}

// A one-pixel outline on the box's edges covers columns x1 ... x2 - 1 and rows
// y1 ... y2 - 1, which is QPainter's stroked rectangle one pixel smaller.
void TPainterCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    UsePenAndBrush();
    painter_.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void TPainterCanvas::MoveTo(int x, int y)
{
    state_.x = x;
    state_.y = y;
}

void TPainterCanvas::LineTo(int x, int y)
{
    UsePenAndBrush();
    if (lines_ == TLines::Pixels) {
        painter_.drawPoints(LinePixels(state_.x, state_.y, x, y));
    } else {
        painter_.drawLine(QPoint(state_.x, state_.y), QPoint(x, y));
    }
    MoveTo(x, y);
}

void TPainterCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    UsePenAndBrush();
    painter_.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

TImageCanvas::TImageCanvas(QImage& image, std::function<void()> changed)
    : image_(image), changed_(std::move(changed))
{
}

void TImageCanvas::Paint(const std::function<void(TPlotCanvas&)>& operation)
{
    QPainter painter(&image_);
    TPainterCanvas canvas(painter, state_, TPainterCanvas::TLines::Pixels);
    operation(canvas);
    painter.end();
    if (changed_) changed_();
}

void TImageCanvas::SetPenColor(TColor color)
{
    state_.penColor = color;
}

void TImageCanvas::SetBrushColor(TColor color)
{
    state_.brushColor = color;
}

void TImageCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Paint([&](TPlotCanvas& canvas) { canvas.Rectangle(x1, y1, x2, y2); });
}

void TImageCanvas::MoveTo(int x, int y)
{
    state_.x = x;
    state_.y = y;
}

void TImageCanvas::LineTo(int x, int y)
{
    Paint([&](TPlotCanvas& canvas) { canvas.LineTo(x, y); });
}

void TImageCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Paint([&](TPlotCanvas& canvas) { canvas.Ellipse(x1, y1, x2, y2); });
}

QImage NewFormImage()
{
    QImage image(FormClientSize, QImage::Format_RGB32);
    image.fill(ToQColor(clBtnFace));
    TImageCanvas canvas(image, nullptr);
    PaintShape1(canvas);
    return image;
}

QImage RenderPlotArea(const std::vector<TCanvasOp>& ops)
{
    QImage image = NewFormImage();
    TImageCanvas canvas(image, nullptr);
    ReplayCanvasOps(ops, canvas);
    return image.copy(Shape1Rect);
}

bool TQtPlotImageWriter::WritePng(const std::vector<TCanvasOp>& ops, const std::string& path)
{
    return RenderPlotArea(ops).save(QString::fromStdString(path), "PNG");
}

bool TQtPlotImageWriter::WriteSvg(const std::vector<TCanvasOp>& ops, const std::string& path)
{
    QSvgGenerator svg;
    svg.setFileName(QString::fromStdString(path));
    svg.setSize(Shape1Rect.size());
    svg.setViewBox(QRect(QPoint(0, 0), Shape1Rect.size()));
    svg.setResolution(96);
    svg.setTitle("Quelplot");
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    // Pixel (x, y) is the unit square from (x, y); its centre lies half a unit in.
    painter.translate(0.5 - Shape1Rect.left(), 0.5 - Shape1Rect.top());
    TCanvasState state;
    TPainterCanvas canvas(painter, state, TPainterCanvas::TLines::Vectors);
    PaintShape1(canvas);
    ReplayCanvasOps(ops, canvas);
    return painter.end();
}
