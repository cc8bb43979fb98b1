// The fitter's window. It lays out the controls, wires the buttons to the
// toolkit-free handlers and carries out the TFitterWindow operations on its
// widgets; nothing else happens here.
#pragma once

#include <functional>
#include <map>

#include <QWidget>

#include "FitterTypes.h"
#include "FitterWindow.h"

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TForm1 : public QWidget, public TFitterWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    std::string ReadBoxText(TFitterControl box) override;
    void WriteBoxText(TFitterControl box, const std::string& text) override;
    bool IsBoxChecked(TFitterControl box) override;
    void AppendReportLine(const std::string& text) override;
    void ClearReport() override;
    void SetStartCaption(const std::string& text) override;
    void ShowConversionError(const std::string& text, TNumberKind kind) override;
    void ShowErrorMessage(const std::string& text) override;

    // Where error message boxes go; a modal box by default. Tests replace it.
    std::function<void(const QString&)> showErrorBox;

    QPushButton* Button1;  // Start
    QPushButton* Button2;  // Default
    QPushButton* Button3;  // Clear
    QPushButton* Button4;  // "<<" a ... Button7 "<<" d
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* Button7;
    QPushButton* Button8;  // File Select
    QPlainTextEdit* Memo1;
    std::map<TFitterControl, QLineEdit*> edits;
    std::map<TFitterControl, QAbstractButton*> checks;

private slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();

private:
    void CreateControls();

    TFitterState state_;  // the program-lifetime state of the fitter
    int reportLineCount_ = 1;
};
