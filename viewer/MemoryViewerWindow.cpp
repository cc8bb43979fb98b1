#include "MemoryViewerWindow.h"

TMemoryViewerWindow::TMemoryViewerWindow()
{
    boxes = {{TViewerControl::Edit1, "1.0"}, {TViewerControl::Edit3, "TESTout.tmp"}};
}

std::string TMemoryViewerWindow::ReadBoxText(TViewerControl box)
{
    return boxes[box];
}

void TMemoryViewerWindow::WriteBoxText(TViewerControl box, const std::string& text)
{
    boxes[box] = text;
}

bool TMemoryViewerWindow::IsBoxChecked(TViewerControl box)
{
    return box == TViewerControl::RadioButton1 && radioButton1Checked;
}

void TMemoryViewerWindow::AppendReportLine(const std::string& text)
{
    report.push_back(text);
}

void TMemoryViewerWindow::SetButtonCaption(const std::string& text)
{
    buttonCaption = text;
}

std::optional<std::string> TMemoryViewerWindow::ChooseFileName()
{
    return chosenFileName;
}

TPlotCanvas& TMemoryViewerWindow::Canvas()
{
    return canvas;
}

void TMemoryViewerWindow::ShowConversionError(const std::string& text, TNumberKind kind)
{
    messageBoxes.push_back(ConversionErrorText(text, kind));
}

void TMemoryViewerWindow::ShowErrorMessage(const std::string& text)
{
    messageBoxes.push_back(text);
}
