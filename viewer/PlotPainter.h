// Canvas operations carried out with Qt: on the image the window shows, and on
// the PNG and SVG files of the export, with the same edge rules everywhere.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QImage>
#include <QRect>
#include <QSize>

#include "Export.h"
#include "ViewerWindow.h"

class QPainter;

// The window's client area and its plot frame Shape1 (white inside, black
// outline), in pixels at 96 per inch.
const QSize FormClientSize(539, 404);
const QRect Shape1Rect(6, 6, 415, 310);
constexpr TColor clBtnFace = 0xF0F0F0;

QColor ToQColor(TColor color);

// What persists on a drawing surface between operations.
struct TCanvasState {
    TColor penColor = clBlack;
    TColor brushColor = clWhite;
    int x = 0;
    int y = 0;
};

// TPlotCanvas on a QPainter. Pixels: lines are set pixel by pixel from the
// start up to but without the end point, which Qt's own rasteriser does not
// promise in every direction. Vectors: lines stay lines, for SVG.
class TPainterCanvas : public TPlotCanvas {
public:
    enum class TLines { Pixels, Vectors };

    TPainterCanvas(QPainter& painter, TCanvasState& state, TLines lines);

    void SetPenColor(TColor color) override;
    void SetBrushColor(TColor color) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;

private:
    void UsePenAndBrush();

    QPainter& painter_;
    TCanvasState& state_;
    TLines lines_;
};

// TPlotCanvas on an image, with a painter only for the span of each operation,
// so the image can be shown between operations. `changed` runs after each.
class TImageCanvas : public TPlotCanvas {
public:
    TImageCanvas(QImage& image, std::function<void()> changed);

    void SetPenColor(TColor color) override;
    void SetBrushColor(TColor color) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;

private:
    void Paint(const std::function<void(TPlotCanvas&)>& operation);

    QImage& image_;
    TCanvasState state_;
    std::function<void()> changed_;
};

// The client area as the window shows it at start: the window colour and Shape1.
QImage NewFormImage();

// The plot area (Shape1 with its outline) after the operations, drawn as the
// window draws it.
class TQtPlotImageWriter : public TPlotImageWriter {
public:
    bool WritePng(const std::vector<TCanvasOp>& ops, const std::string& path) override;
    bool WriteSvg(const std::vector<TCanvasOp>& ops, const std::string& path) override;
};

// The plot area as an image, for WritePng and its tests.
QImage RenderPlotArea(const std::vector<TCanvasOp>& ops);
