// A TViewerWindow held in memory: box texts and option states as plain data, a
// recording canvas, and a record of the report lines, captions and message
// boxes. The export front end runs the operations on it, and the tests use it
// to watch them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "RecordingCanvas.h"
#include "ViewerWindow.h"

class TMemoryViewerWindow : public TViewerWindow {
public:
    // Every control at its text or state at program start.
    TMemoryViewerWindow();

    std::string ReadBoxText(TViewerControl box) override;
    void WriteBoxText(TViewerControl box, const std::string& text) override;
    bool IsBoxChecked(TViewerControl box) override;
    void AppendReportLine(const std::string& text) override;
    void SetButtonCaption(const std::string& text) override;
    std::optional<std::string> ChooseFileName() override;
    TPlotCanvas& Canvas() override;
    void ShowConversionError(const std::string& text, TNumberKind kind) override;
    void ShowErrorMessage(const std::string& text) override;

    std::map<TViewerControl, std::string> boxes;
    bool radioButton1Checked = false;
    std::string buttonCaption = "Graph";
    std::optional<std::string> chosenFileName;  // what the dialog answers
    std::vector<std::string> report;            // the lines appended to Memo1
    std::vector<std::string> messageBoxes;      // every error message box's text
    TRecordingCanvas canvas;
};
