// The real window under the offscreen platform: its buttons drive the same
// handlers as every other front end.
#include <string>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "Unit1.h"

namespace {

using C = TFitterControl;

QStringList ReportLines(TForm1& form)
{
    return form.Memo1->toPlainText().split('\n');
}

TEST(FitterForm, StartsWithTheLayoutTexts)
{
    TForm1 form;
    EXPECT_EQ(form.windowTitle(), "Quelfit Ver8.01");
    EXPECT_EQ(form.Button1->text(), "Start");
    EXPECT_EQ(form.Button1->geometry(), QRect(4, 1, 75, 30));
    EXPECT_EQ(form.edits[C::Edit15]->text(), "Read File");
    EXPECT_EQ(form.edits[C::Edit15]->geometry(), QRect(1, 47, 351, 23));
    EXPECT_EQ(form.edits[C::Edit4]->geometry(), QRect(32, 159, 100, 21));
    EXPECT_EQ(form.Memo1->geometry(), QRect(5, 184, 441, 342));
    EXPECT_TRUE(form.checks[C::RadioButton1]->isChecked());
    EXPECT_FALSE(form.checks[C::RadioButton2]->isChecked());
}

TEST(FitterForm, DefaultCopyAndClearButtons)
{
    TForm1 form;
    form.edits[C::Edit1]->setText("7");
    form.edits[C::Edit8]->setText("-0.25");
    form.Button7->click();  // "<<" of d
    EXPECT_EQ(form.edits[C::Edit4]->text(), "-0.25");
    form.Button4->click();  // "<<" of a copies "NA" as it stands
    EXPECT_EQ(form.edits[C::Edit1]->text(), "NA");
    form.Button2->click();
    EXPECT_EQ(form.edits[C::Edit1]->text(), "0");
    EXPECT_EQ(form.edits[C::Edit4]->text(), "-0.1");
    EXPECT_EQ(form.edits[C::Edit8]->text(), "NA");

    form.AppendReportLine("x");
    form.Button3->click();
    EXPECT_EQ(form.Memo1->toPlainText(), "");
    form.AppendReportLine("");
    form.AppendReportLine("y");
    EXPECT_EQ(ReportLines(form), (QStringList{"", "y"}));
}

TEST(FitterForm, StartShowsMessagesAndReturnsToStart)
{
    TTempFolder folder;
    WriteTextFile("data.txt", "n\t3\n1\t1\n2\t2\n3\t3\n");
    TForm1 form;
    QStringList boxes;
    form.showErrorBox = [&](const QString& text) { boxes << text; };

    form.Button1->click();  // "Read File" does not exist
    // The pane's own empty first line, then the two lines of the message.
    EXPECT_EQ(ReportLines(form), (QStringList{"", "", "I can not open an input file."}));

    form.edits[C::Edit15]->setText("data.txt");
    static_cast<QCheckBox*>(form.checks[C::CheckBox9])->setChecked(true);
    form.edits[C::Edit20]->setText("5a");
    form.Button1->click();
    EXPECT_EQ(boxes, QStringList{"'5a' は整数ではありません"});
    EXPECT_EQ(form.Button1->text(), "Start");
}

TEST(FitterForm, StartFitsAnExampleFile)
{
    TTempFolder folder;
    WriteTextFile("decay.txt", ReadTextFile(std::string(QUEL_EXAMPLES) + "/decay.txt"));
    TForm1 form;
    form.edits[C::Edit15]->setText("decay.txt");
    form.Button1->click();
    EXPECT_EQ(form.Button1->text(), "Start");
    for (C answer : {C::Edit5, C::Edit6, C::Edit7, C::Edit8}) {
        EXPECT_TRUE(form.edits[answer]->text().contains(QRegularExpression("^-?[0-9]+\\.[0-9]{12}$")))
            << form.edits[answer]->text().toStdString();
    }
    const QStringList lines = ReportLines(form);
    EXPECT_EQ(lines[lines.size() - 2], "------------------------------------------------");
    EXPECT_TRUE(lines.back().endsWith(" sec"));
    EXPECT_TRUE(lines.contains(" Data=\t30"));
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
