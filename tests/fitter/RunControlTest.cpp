#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Loader.h"
#include "MemoryFitterWindow.h"
#include "RunControl.h"
#include "TempFolder.h"

namespace {

using C = TFitterControl;
using Lines = std::vector<std::string>;
const Lines OneRun = {"Running...", "Start"};

TEST(Start, AllFourFixedIsRefusedBeforeAnyFileIsOpened)
{
    TTempFolder folder;
    TFitterState state;
    TMemoryFitterWindow window;
    for (C box : {C::CheckBox1, C::CheckBox2, C::CheckBox3, C::CheckBox4}) window.SetChecked(box, true);
    Button1Click(window, state);
    EXPECT_EQ(window.report, Lines{"All of a,b,c,d were checked."});
    EXPECT_EQ(window.captions, OneRun);
    EXPECT_EQ(window.boxes[C::Edit15], "Read File");
    EXPECT_FALSE(std::filesystem::exists(EchoFileName));
    EXPECT_EQ(state.Params.FixedA + state.Params.FixedD, 2);
}

TEST(Start, NeverClearsTheReportAndAlwaysEndsAtStart)
{
    TTempFolder folder;
    TFitterState state;
    TMemoryFitterWindow window;
    Button1Click(window, state);  // Edit15 still reads "Read File"
    Button1Click(window, state);
    EXPECT_EQ(window.report, (Lines{"", "I can not open an input file.", "",
                                    "I can not open an input file."}));
    EXPECT_EQ(window.captions, (Lines{"Running...", "Start", "Running...", "Start"}));
}

TEST(Start, AFailureTextInEdit15IsTheNextRunsPath)
{
    TTempFolder folder;
    WriteTextFile("data.txt", "");
    TFitterState state;
    TMemoryFitterWindow window;
    window.boxes[C::Edit15] = "data.txt";
    Button1Click(window, state);
    EXPECT_EQ(window.boxes[C::Edit15], "Invalid data structure....1");
    Button1Click(window, state);
    EXPECT_EQ(window.report, (Lines{"", "I can not open an input file."}));
}

TEST(Start, ErrorsEndTheRunInAMessageBox)
{
    struct TCase {
        const char* name;
        std::string data;
        const char* edit20;  // nullptr: CheckBox9 unchecked
        std::string message;
    };
    const TCase cases[] = {
        {"skip n not an integer", "n\t3\n1\t1\n2\t2\n3\t3\n", "5a", "'5a' は整数ではありません"},
        {"two points, exact line", "n\t2\n1\t1\n2\t3\n", nullptr, "不正な浮動小数点数演算命令"},
        {"two points, rounding remainder", "n\t3\n1\t0.1\n2\t0.1\n3\tNA\n", nullptr,
         "0 による浮動小数点数除算"},
    };
    for (const TCase& c : cases) {
        TTempFolder folder;
        WriteTextFile("data.txt", c.data);
        TFitterState state;
        TMemoryFitterWindow window;
        window.boxes[C::Edit15] = "data.txt";
        if (c.edit20) {
            window.SetChecked(C::CheckBox9, true);
            window.boxes[C::Edit20] = c.edit20;
        }
        Button1Click(window, state);
        EXPECT_EQ(window.messageBoxes, Lines{c.message}) << c.name;
        EXPECT_EQ(window.captions, OneRun) << c.name;
        EXPECT_FALSE(std::filesystem::exists("TESTout.tmp")) << c.name;
    }
}

TEST(Start, SingleLeftPointIsLowDataQuality)
{
    TTempFolder folder;
    WriteTextFile("data.txt", "n\t3\n1\tNA\n2\t5\n3\n");
    TFitterState state;
    TMemoryFitterWindow window;
    window.boxes[C::Edit15] = "data.txt";
    Button1Click(window, state);
    EXPECT_EQ(window.report, (Lines{"j= 1  data=0", "Low data quality!!"}));
    EXPECT_EQ(window.captions, OneRun);
    EXPECT_TRUE(window.messageBoxes.empty());
}

TEST(Start, HoleSetsThePatternSign)
{
    TTempFolder folder;
    WriteTextFile("data.txt", "n\t2\n1\t4\n2\n");
    TFitterState state;
    TMemoryFitterWindow window;
    window.boxes[C::Edit15] = "data.txt";
    window.SetChecked(C::RadioButton2, true);
    Button1Click(window, state);
    EXPECT_EQ(state.PatternSign, -1.0);
    EXPECT_EQ(state.Series.y[1], -4.0);
}

TEST(DefaultClearCopy, TouchOnlyTheirBoxes)
{
    TMemoryFitterWindow window;
    for (C box : {C::Edit1, C::Edit2, C::Edit3, C::Edit4, C::Edit5, C::Edit6, C::Edit7, C::Edit8,
                  C::Edit15, C::Edit20}) {
        window.boxes[box] = "typed";
    }
    window.SetChecked(C::CheckBox2, true);
    window.report = {"a line"};
    Button2Click(window);
    const char* const start[] = {"0", "0", "1", "-0.1", "NA", "NA", "NA", "NA"};
    const C edits[] = {C::Edit1, C::Edit2, C::Edit3, C::Edit4, C::Edit5, C::Edit6, C::Edit7, C::Edit8};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(window.boxes[edits[i]], start[i]);
    EXPECT_EQ(window.boxes[C::Edit15], "typed");
    EXPECT_EQ(window.boxes[C::Edit20], "typed");
    EXPECT_TRUE(window.checked[C::CheckBox2]);
    EXPECT_EQ(window.report, Lines{"a line"});

    window.boxes[C::Edit7] = "2.5";
    CopyAnswerClick(window, 2);
    CopyAnswerClick(window, 3);
    EXPECT_EQ(window.boxes[C::Edit3], "2.5");
    EXPECT_EQ(window.boxes[C::Edit4], "NA");

    Button3Click(window);
    EXPECT_TRUE(window.report.empty());
}

}  // namespace
