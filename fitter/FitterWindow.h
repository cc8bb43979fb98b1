// The window operations through which the fitter's run logic touches its
// controls. The Qt form, the batch front end and the tests implement it.
#pragma once

#include <string>

#include "NumberText.h"

enum class TFitterControl {
    Edit1, Edit2, Edit3, Edit4,  // initial numbers of a, b, c, d
    Edit5, Edit6, Edit7, Edit8,  // answers of a, b, c, d
    Edit15,                      // path of the measurement file
    Edit20,                      // Skip Data point n
    CheckBox1, CheckBox2, CheckBox3, CheckBox4,             // fixed a, b, c, d
    CheckBox5, CheckBox6, CheckBox7, CheckBox8, CheckBox9,  // skip 1, 2, 3, 4, n
    RadioButton1,  // Line
    RadioButton2,  // Hole
};

class TFitterWindow {
public:
    virtual ~TFitterWindow() = default;

    virtual std::string ReadBoxText(TFitterControl box) = 0;
    virtual void WriteBoxText(TFitterControl box, const std::string& text) = 0;
    virtual bool IsBoxChecked(TFitterControl box) = 0;
    virtual void AppendReportLine(const std::string& text) = 0;
    virtual void ClearReport() = 0;
    virtual void SetStartCaption(const std::string& text) = 0;
    // An error message box with ConversionErrorText(text, kind).
    virtual void ShowConversionError(const std::string& text, TNumberKind kind) = 0;
    // An error message box with the given text: a floating-point trap's text,
    // or the text of any other error that ended an operation.
    virtual void ShowErrorMessage(const std::string& text) = 0;
};
