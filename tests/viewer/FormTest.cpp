// The real window under the offscreen platform: its buttons drive the same
// handlers as the other front ends, and its picture outlives a repaint.
#include <string>

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include <gtest/gtest.h>

#include "CurveFile.h"
#include "MemoryViewerWindow.h"
#include "PlotPainter.h"
#include "TempFolder.h"
#include "Unit1.h"
#include "ViewerHandlers.h"

namespace {

const char* const ThreePoints =
    "3\n0\t1.000000\t1.000000\n1\t1.000000\t1.500000\n2\t2.000000\t2.000000\n3\t3.000000\t2.500000\n";

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);

QStringList ReportLines(TForm1& form)
{
    return form.Memo1->toPlainText().split('\n');
}

TEST(ViewerForm, StartsWithTheLayoutTexts)
{
    TForm1 form;
    EXPECT_EQ(form.windowTitle(), "Quelplot41.exe");
    EXPECT_EQ(form.Button1->text(), "Graph");
    EXPECT_EQ(form.Button1->geometry(), QRect(426, 12, 109, 25));
    EXPECT_EQ(form.Button2->text(), "Read");
    EXPECT_EQ(form.Button4->text(), "Distribution Check");
    EXPECT_EQ(form.Edit3->text(), "TESTout.tmp");
    EXPECT_EQ(form.Edit1->text(), "1.0");
    EXPECT_EQ(form.Memo1->geometry(), QRect(6, 324, 415, 73));
    EXPECT_EQ(ReportLines(form), QStringList{"Memo1"});
    EXPECT_FALSE(form.RadioButton1->isChecked());
    EXPECT_TRUE(form.RadioButton2->isChecked());
    EXPECT_EQ(form.Label2->text(), "(i-0.3)/(n+0.4)");
    EXPECT_LE(form.Label2->geometry().right(), form.Panel1->contentsRect().right());  // not cut off
    // Shape1: a white inside with a one-pixel black outline.
    EXPECT_EQ(form.Image().pixel(6, 6), Black);
    EXPECT_EQ(form.Image().pixel(420, 315), Black);
    EXPECT_EQ(form.Image().pixel(7, 7), White);
    EXPECT_EQ(form.Image().pixel(5, 5), QColor(ToQColor(clBtnFace)).rgb());
}

TEST(ViewerForm, GraphPaintsTheImageWithTheEdgeRulesAndARepaintKeepsIt)
{
    TTempFolder folder;
    WriteTextFile(CurveFileName, ThreePoints);
    TForm1 form;
    form.Button1->click();
    EXPECT_EQ(ReportLines(form), (QStringList{"Memo1", "3", "CD0-CD1= -0.5", "CD1-CD2= -0.5,    -1"}));

    const QImage& image = form.Image();
    struct TPixel {
        int x, y;
        QRgb colour;
    };
    const TPixel pixels[] = {
        {10, 10, Black},   {10, 309, Black},  {10, 310, Black},   // left axis; its end starts the next line
        {409, 310, Black}, {410, 310, White},                     // the end point is not painted
        {409, 260, Black}, {410, 260, White},                     // the zero line
        {419, 314, White}, {420, 314, Black}, {419, 315, Black},  // cleared up to the frame's outline
        {367, 70, Black},  {370, 70, White},  {372, 70, Black},   // Ellipse(367, 67, 373, 73)
        {373, 70, White},  {370, 67, Black},  {370, 73, White},
        {10, 190, Black},  {130, 160, Black}, {369, 100, Black},  // the model line, which ends
        {370, 100, White},                                        // before (370, 100)
    };
    for (const TPixel& p : pixels) {
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << p.x << ", " << p.y;
    }

    // What the window shows after a repaint is the image under the controls.
    const QImage shown = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.copy(Shape1Rect), image.copy(Shape1Rect));

    // The export draws the same pixels.
    TMemoryViewerWindow memory;
    Button1Click(memory);
    EXPECT_EQ(RenderPlotArea(memory.canvas.ops), image.copy(Shape1Rect));
}

TEST(ViewerForm, MessagesGoToTheReportCaptionAndErrorBox)
{
    TTempFolder folder;
    TForm1 form;
    QStringList boxes;
    form.showErrorBox = [&](const QString& text) { boxes << text; };

    form.Button4->click();  // no TESTout.tmp here
    EXPECT_EQ(ReportLines(form), (QStringList{"Memo1", "", "I can not open an input file.  001"}));
    EXPECT_EQ(form.Button1->text(), "Draw");

    WriteTextFile(CurveFileName, ThreePoints);
    form.Edit1->setText("abc");
    form.Button1->click();
    EXPECT_EQ(boxes, QStringList{"'abc' は浮動小数点数ではありません"});
    EXPECT_EQ(ReportLines(form).last(), "3");
    // Measured markers stand; no difference marker was drawn.
    EXPECT_EQ(form.Image().pixel(127, 190), Black);
    EXPECT_EQ(form.Image().pixel(127, 265), White);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
