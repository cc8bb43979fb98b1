// The window operations through which the viewer's logic draws and reports.
// The Qt form, the export front end and the tests implement them.
#pragma once

#include <optional>
#include <string>

#include "NumberText.h"

// A colour as 0x00BBGGRR.
using TColor = int;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlack = 0x000000;

// The window's drawing surface, in client pixels, x to the right and y down.
// The pen is one pixel wide and solid, the brush solid; both colours and the
// pen position persist from one operation to the next.
class TPlotCanvas {
public:
    virtual ~TPlotCanvas() = default;

    virtual void SetPenColor(TColor color) = 0;
    virtual void SetBrushColor(TColor color) = 0;
    // Outlined with the pen, filled with the brush; column x2 and row y2 are
    // not painted.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // From the pen position to (x, y), which becomes the pen position; (x, y)
    // itself is not painted.
    virtual void LineTo(int x, int y) = 0;
    // Inscribed in the box of Rectangle(x1, y1, x2, y2), outlined and filled.
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
};

enum class TViewerControl {
    Edit1,         // the Mag. factor
    Edit3,         // path of the curve file
    RadioButton1,  // plotting position i/(n+1); RadioButton2 is the other one
};

class TViewerWindow {
public:
    virtual ~TViewerWindow() = default;

    virtual std::string ReadBoxText(TViewerControl box) = 0;
    virtual void WriteBoxText(TViewerControl box, const std::string& text) = 0;
    virtual bool IsBoxChecked(TViewerControl box) = 0;
    virtual void AppendReportLine(const std::string& text) = 0;
    // The caption of Button1 (Graph).
    virtual void SetButtonCaption(const std::string& text) = 0;
    // The open-file dialog: the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseFileName() = 0;
    virtual TPlotCanvas& Canvas() = 0;
    // An error message box with ConversionErrorText(text, kind).
    virtual void ShowConversionError(const std::string& text, TNumberKind kind) = 0;
    // An error message box with the text of any other error that ended an
    // operation.
    virtual void ShowErrorMessage(const std::string& text) = 0;
};
