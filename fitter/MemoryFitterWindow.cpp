#include "MemoryFitterWindow.h"

TMemoryFitterWindow::TMemoryFitterWindow()
{
    using C = TFitterControl;
    boxes = {{C::Edit1, "0"},  {C::Edit2, "0"},  {C::Edit3, "1"},  {C::Edit4, "-0.1"},
             {C::Edit5, "NA"}, {C::Edit6, "NA"}, {C::Edit7, "NA"}, {C::Edit8, "NA"},
             {C::Edit15, "Read File"}, {C::Edit20, "NA"}};
    for (C box : {C::CheckBox1, C::CheckBox2, C::CheckBox3, C::CheckBox4, C::CheckBox5,
                  C::CheckBox6, C::CheckBox7, C::CheckBox8, C::CheckBox9, C::RadioButton2}) {
        checked[box] = false;
    }
    checked[C::RadioButton1] = true;
}

std::string TMemoryFitterWindow::ReadBoxText(TFitterControl box)
{
    return boxes[box];
}

void TMemoryFitterWindow::WriteBoxText(TFitterControl box, const std::string& text)
{
    boxes[box] = text;
    boxWrites.push_back(box);
}

bool TMemoryFitterWindow::IsBoxChecked(TFitterControl box)
{
    return checked[box];
}

void TMemoryFitterWindow::AppendReportLine(const std::string& text)
{
    report.push_back(text);
}

void TMemoryFitterWindow::ClearReport()
{
    report.clear();
}

void TMemoryFitterWindow::SetStartCaption(const std::string& text)
{
    captions.push_back(text);
}

void TMemoryFitterWindow::ShowConversionError(const std::string& text, TNumberKind kind)
{
    messageBoxes.push_back(ConversionErrorText(text, kind));
}

void TMemoryFitterWindow::ShowErrorMessage(const std::string& text)
{
    messageBoxes.push_back(text);
}

void TMemoryFitterWindow::SetChecked(TFitterControl box, bool value)
{
    checked[box] = value;
    if (box == TFitterControl::RadioButton1) checked[TFitterControl::RadioButton2] = !value;
    if (box == TFitterControl::RadioButton2) checked[TFitterControl::RadioButton1] = !value;
}

const char* ControlName(TFitterControl control)
{
    static const char* const names[] = {
        "Edit1",     "Edit2",     "Edit3",     "Edit4",     "Edit5",     "Edit6",
        "Edit7",     "Edit8",     "Edit15",    "Edit20",    "CheckBox1", "CheckBox2",
        "CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8",
        "CheckBox9", "RadioButton1", "RadioButton2"};
    return names[static_cast<int>(control)];
}
