// A TFitterWindow held in memory: box texts, check states and the report pane
// as plain data, and a record of the captions and message boxes. The batch
// front end runs Start on it, and the tests use it to watch a run.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "FitterWindow.h"

class TMemoryFitterWindow : public TFitterWindow {
public:
    // Every control at its text or state at program start.
    TMemoryFitterWindow();

    std::string ReadBoxText(TFitterControl box) override;
    void WriteBoxText(TFitterControl box, const std::string& text) override;
    bool IsBoxChecked(TFitterControl box) override;
    void AppendReportLine(const std::string& text) override;
    void ClearReport() override;
    void SetStartCaption(const std::string& text) override;
    void ShowConversionError(const std::string& text, TNumberKind kind) override;
    void ShowErrorMessage(const std::string& text) override;

    // Checks a box; checking one of RadioButton1/RadioButton2 unchecks the other.
    void SetChecked(TFitterControl box, bool checked);

    std::map<TFitterControl, std::string> boxes;
    std::map<TFitterControl, bool> checked;
    std::vector<std::string> report;        // the lines appended to Memo1
    std::vector<std::string> captions;      // every caption set, in order
    std::vector<std::string> messageBoxes;  // every error message box's text
    std::vector<TFitterControl> boxWrites;  // every box written, in order
};

// The name of a control as the form calls it ("Edit15", "CheckBox9", ...).
const char* ControlName(TFitterControl control);
