// The viewer's window. It lays out the controls, wires the buttons to the
// toolkit-free handlers and carries out the TViewerWindow operations on its
// widgets. The drawing goes onto an image under the controls, so a repaint
// shows the plot again instead of wiping it.
#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

#include "PlotPainter.h"
#include "ViewerWindow.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class TForm1 : public QWidget, public TViewerWindow {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    std::string ReadBoxText(TViewerControl box) override;
    void WriteBoxText(TViewerControl box, const std::string& text) override;
    bool IsBoxChecked(TViewerControl box) override;
    void AppendReportLine(const std::string& text) override;
    void SetButtonCaption(const std::string& text) override;
    std::optional<std::string> ChooseFileName() override;
    TPlotCanvas& Canvas() override;
    void ShowConversionError(const std::string& text, TNumberKind kind) override;
    void ShowErrorMessage(const std::string& text) override;

    // The client area's picture beneath the controls.
    const QImage& Image() const { return image_; }

    // Where error message boxes go; a modal box by default. Tests replace it.
    std::function<void(const QString&)> showErrorBox;

    QPushButton* Button1;  // Graph
    QPushButton* Button2;  // Read
    QPushButton* Button4;  // Distribution Check
    QLineEdit* Edit1;      // Mag.
    QLineEdit* Edit3;      // path of the curve file
    QLabel* Label3;        // "Mag."
    QFrame* Panel1;
    QRadioButton* RadioButton1;  // i/(n+1)
    QRadioButton* RadioButton2;  // (i-0.3)/(n+0.4)
    QLabel* Label1;
    QLabel* Label2;
    QPlainTextEdit* Memo1;

protected:
    void paintEvent(QPaintEvent* event) override;

private slots:
    void Button1Click();
    void Button2Click();
    void Button4Click();

private:
    void CreateControls();

    QImage image_;
    TImageCanvas canvas_;
    int reportLineCount_ = 1;  // "Memo1"
};
