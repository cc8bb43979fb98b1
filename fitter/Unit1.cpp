#include "Unit1.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>

#include "RunControl.h"

namespace {

QFont PixelFont(const QStringList& families, int pixelSize, bool bold = false)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// The named fonts where installed, else the installed Japanese gothic and serif.
const QStringList FormFamilies = {"ＭＳ Ｐゴシック", "IPAPGothic", "IPAGothic"};
const QStringList PanelFamilies = {"Times New Roman", "Liberation Serif", "IPAPMincho"};
const QStringList MemoFamilies = {"HGSｺﾞｼｯｸM", "IPAGothic", "IPAPGothic"};

QString ToQt(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent)
{
    showErrorBox = [this](const QString& text) { QMessageBox::critical(this, "Quelfit", text); };
    setWindowTitle("Quelfit Ver8.01");
    setFont(PixelFont(FormFamilies, 12));
    CreateControls();
    // The form sizes itself to its contents.
    setFixedSize(childrenRect().right() + 6, childrenRect().bottom() + 6);
    move(186, 47);
}

void TForm1::CreateControls()
{
    const QFont panel = PixelFont(PanelFamilies, 13);
    auto button = [&](const char* caption, int x, int y, int w, int h) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(x, y, w, h);
        b->setFont(panel);
        return b;
    };
    auto edit = [&](TFitterControl id, const char* text, int x, int y, int w, int h) {
        auto* e = new QLineEdit(text, this);
        e->setGeometry(x, y, w, h);
        e->setFont(panel);
        edits[id] = e;
    };
    auto check = [&](TFitterControl id, int x, int y, int w, int h) {
        auto* c = new QCheckBox(this);
        c->setGeometry(x, y, w, h);
        checks[id] = c;
    };
    auto label = [&](const char* text, int x, int y, bool maroon = false) {
        auto* l = new QLabel(text, this);
        l->setFont(panel);
        l->move(x, y);
        l->adjustSize();
        if (maroon) l->setStyleSheet("color: #800000");
    };

    Button1 = button("Start", 4, 1, 75, 30);
    Button1->setFont(PixelFont(PanelFamilies, 16, true));
    auto* line = new QRadioButton(this);
    line->setGeometry(84, 0, 19, 19);
    line->setChecked(true);
    auto* hole = new QRadioButton(this);
    hole->setGeometry(84, 16, 19, 19);
    checks[TFitterControl::RadioButton1] = line;
    checks[TFitterControl::RadioButton2] = hole;
    label("Line", 105, 1);
    label("Hole", 104, 18);
    Button3 = button("Clear", 134, 3, 65, 21);
    Button2 = button("Default", 205, 3, 65, 21);

    label("Skip Data", 273, 15, true);
    label("1    2    3    4    n", 329, 1, true);
    const TFitterControl skips[] = {TFitterControl::CheckBox5, TFitterControl::CheckBox6,
                                    TFitterControl::CheckBox7, TFitterControl::CheckBox8,
                                    TFitterControl::CheckBox9};
    label("=>", 409, 14, true);
    for (int i = 0; i < 5; ++i) check(skips[i], 326 + 18 * i, 15, 13, 13);
    edit(TFitterControl::Edit20, "NA", 425, 14, 25, 20);

    label("ReadFile", 2, 33);
    edit(TFitterControl::Edit15, "Read File", 1, 47, 351, 23);
    Button8 = button(" <<= File Select", 355, 48, 90, 21);

    label("Fixed", 0, 71);
    label("Initial Number", 56, 71);
    label("Answer", 214, 71);
    const char* names[] = {"a", "b", "c", "d"};
    const int nameX[] = {2, 2, 2, 1};
    const int nameY[] = {86, 110, 132, 157};
    const TFitterControl fixes[] = {TFitterControl::CheckBox1, TFitterControl::CheckBox2,
                                    TFitterControl::CheckBox3, TFitterControl::CheckBox4};
    const TFitterControl initials[] = {TFitterControl::Edit1, TFitterControl::Edit2,
                                       TFitterControl::Edit3, TFitterControl::Edit4};
    const TFitterControl answers[] = {TFitterControl::Edit5, TFitterControl::Edit6,
                                      TFitterControl::Edit7, TFitterControl::Edit8};
    const char* initialTexts[] = {"0", "0", "1", "-0.1"};
    QPushButton** copies[] = {&Button4, &Button5, &Button6, &Button7};
    for (int i = 0; i < 4; ++i) {
        const int y = 87 + 24 * i;
        label(names[i], nameX[i], nameY[i]);
        check(fixes[i], 11, y, 17, 18);
        edit(initials[i], initialTexts[i], 32, y, 100, i == 3 ? 21 : 20);
        *copies[i] = button("<<", 139, y + 4, 20, 17);
        edit(answers[i], "NA", 164, y, 100, 20);
    }

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(5, 184, 441, 342);
    Memo1->setFont(PixelFont(MemoFamilies, 15));
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setReadOnly(true);  // a report pane: selectable and copyable, not edited

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TForm1::Button8Click);
}

std::string TForm1::ReadBoxText(TFitterControl box)
{
    return edits.at(box)->text().toStdString();
}

void TForm1::WriteBoxText(TFitterControl box, const std::string& text)
{
    edits.at(box)->setText(ToQt(text));
}

bool TForm1::IsBoxChecked(TFitterControl box)
{
    return checks.at(box)->isChecked();
}

void TForm1::AppendReportLine(const std::string& text)
{
    // A document cannot tell no lines from one empty line, so the form counts
    // them: the pane starts with one empty line, and an appended empty line
    // must show as a line of its own.
    QTextCursor cursor(Memo1->document());
    cursor.movePosition(QTextCursor::End);
    if (reportLineCount_ > 0) cursor.insertBlock();
    cursor.insertText(ToQt(text));
    ++reportLineCount_;
    Memo1->verticalScrollBar()->setValue(Memo1->verticalScrollBar()->maximum());
}

void TForm1::ClearReport()
{
    Memo1->clear();
    reportLineCount_ = 0;
}

void TForm1::SetStartCaption(const std::string& text)
{
    Button1->setText(ToQt(text));
    // A run does not hand control back to the event loop; paint the caption now
    // so "Running..." is seen while the run goes on.
    Button1->repaint();
}

void TForm1::ShowConversionError(const std::string& text, TNumberKind kind)
{
    showErrorBox(ToQt(ConversionErrorText(text, kind)));
}

void TForm1::ShowErrorMessage(const std::string& text)
{
    showErrorBox(ToQt(text));
}

void TForm1::Button1Click()
{
    ::Button1Click(*this, state_);
}

void TForm1::Button2Click()
{
    ::Button2Click(*this);
}

void TForm1::Button3Click()
{
    ::Button3Click(*this);
}

void TForm1::Button4Click()
{
    CopyAnswerClick(*this, 0);
}

void TForm1::Button5Click()
{
    CopyAnswerClick(*this, 1);
}

void TForm1::Button6Click()
{
    CopyAnswerClick(*this, 2);
}

void TForm1::Button7Click()
{
    CopyAnswerClick(*this, 3);
}

void TForm1::Button8Click()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), ".");
    if (!path.isEmpty()) edits.at(TFitterControl::Edit15)->setText(path);
}
