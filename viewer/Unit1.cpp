#include "Unit1.h"

#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>

#include "ViewerHandlers.h"

namespace {

// The named font where installed, else the installed Japanese gothic.
const QStringList FormFamilies = {"ＭＳ Ｐゴシック", "IPAPGothic", "IPAGothic"};

QString ToQt(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), image_(NewFormImage()), canvas_(image_, [this] { update(); })
{
    showErrorBox = [this](const QString& text) { QMessageBox::critical(this, "Quelplot41", text); };
    setWindowTitle("Quelplot41.exe");
    QFont font;
    font.setFamilies(FormFamilies);
    font.setPixelSize(12);
    setFont(font);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(clBtnFace));
    setPalette(palette);
    CreateControls();
    resize(FormClientSize);
    move(135, 199);
}

void TForm1::CreateControls()
{
    auto button = [this](const char* caption, int x, int y, int w, int h) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(x, y, w, h);
        return b;
    };
    // Labels size themselves to their text, as the installed fonts run wider
    // than the designed ones.
    auto label = [](const char* text, QWidget* parent, int x, int y) {
        auto* l = new QLabel(text, parent);
        l->move(x, y);
        l->adjustSize();
        return l;
    };

    Label3 = label("Mag.", this, 456, 48);
    Button1 = button("Graph", 426, 12, 109, 25);
    Memo1 = new QPlainTextEdit("Memo1", this);
    Memo1->setGeometry(6, 324, 415, 73);
    Memo1->setReadOnly(true);  // a report pane: selectable and copyable, not edited
    Edit3 = new QLineEdit("TESTout.tmp", this);
    Edit3->setGeometry(426, 207, 109, 20);
    Button2 = button("Read", 426, 173, 109, 21);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(426, 66, 109, 43);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Label1 = label("i/(n+1)", Panel1, 24, 6);
    Label2 = label("(i-0.3)/(n+0.4)", Panel1, 24, 24);
    // Too narrow for their captions; the labels beside them say what they mean.
    RadioButton1 = new QRadioButton(Panel1);
    RadioButton1->setGeometry(6, 6, 13, 13);
    RadioButton2 = new QRadioButton(Panel1);
    RadioButton2->setGeometry(6, 24, 13, 13);
    RadioButton2->setChecked(true);

    Button4 = button("Distribution Check", 426, 114, 109, 25);
    Edit1 = new QLineEdit("1.0", this);
    Edit1->setGeometry(484, 41, 49, 20);

    setTabOrder(Button1, Memo1);
    setTabOrder(Memo1, Edit3);
    setTabOrder(Edit3, Button2);
    setTabOrder(Button2, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, Button4);
    setTabOrder(Button4, Edit1);

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
}

std::string TForm1::ReadBoxText(TViewerControl box)
{
    return (box == TViewerControl::Edit1 ? Edit1 : Edit3)->text().toStdString();
}

void TForm1::WriteBoxText(TViewerControl box, const std::string& text)
{
    (box == TViewerControl::Edit1 ? Edit1 : Edit3)->setText(ToQt(text));
}

bool TForm1::IsBoxChecked(TViewerControl box)
{
    return box == TViewerControl::RadioButton1 && RadioButton1->isChecked();
}

void TForm1::AppendReportLine(const std::string& text)
{
    // A document cannot tell no lines from one empty line, so the form counts
    // them: an appended empty line must show as a line of its own.
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    if (reportLineCount_ > 0) cursor.insertBlock();
    cursor.insertText(ToQt(text));
    ++reportLineCount_;
    Memo1->verticalScrollBar()->setValue(Memo1->verticalScrollBar()->maximum());
}

void TForm1::SetButtonCaption(const std::string& text)
{
    Button1->setText(ToQt(text));
}

std::optional<std::string> TForm1::ChooseFileName()
{
    const QString path = QFileDialog::getOpenFileName(this);
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

TPlotCanvas& TForm1::Canvas()
{
    return canvas_;
}

void TForm1::ShowConversionError(const std::string& text, TNumberKind kind)
{
    showErrorBox(ToQt(ConversionErrorText(text, kind)));
}

void TForm1::ShowErrorMessage(const std::string& text)
{
    showErrorBox(ToQt(text));
}

void TForm1::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, image_);
}

void TForm1::Button1Click()
{
    ::Button1Click(*this);
}

void TForm1::Button2Click()
{
    ::Button2Click(*this);
}

void TForm1::Button4Click()
{
    ::Button4Click(*this);
}
