#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CurveFile.h"
#include "FitDriver.h"
#include "MemoryFitterWindow.h"
#include "NumberText.h"
#include "RunControl.h"
#include "TempFolder.h"

namespace {

using C = TFitterControl;
using Lines = std::vector<std::string>;
const std::string Sep = "------------------------------------------------";

// A state as the engine leaves it: the line of 1, 2, 2, 3 and the given model.
TFitterState StateAfterEngine(double s, double a, double b, double c, double d, double threeSN4,
                              int m = 10)
{
    TFitterState state;
    state.PatternSign = s;
    state.Series.m = m;
    state.Line = {0.5, 0.6, 0.19999999999999998, 0.9486832980505138};
    state.Params.a = a;
    state.Params.b = b;
    state.Params.c = c;
    state.Params.d = d;
    state.Params.ThreeSN4 = threeSN4;
    state.Engine.LoopCount = 77;
    return state;
}

struct TReport {
    Lines lines;
    std::vector<std::string> answers;  // Edit5 ... Edit8
    TModelParameters params;
};

TReport Judge(TFitterState state, int iRet)
{
    TMemoryFitterWindow window;
    for (C box : {C::Edit5, C::Edit6, C::Edit7, C::Edit8}) window.boxes[box] = "old";
    ReportJudgement(window, state, iRet);
    return {window.report,
            {window.boxes[C::Edit5], window.boxes[C::Edit6], window.boxes[C::Edit7],
             window.boxes[C::Edit8]},
            state.Params};
}

TEST(ReportJudgement, StraightLineOutcome)
{
    const Lines expected = {"",
                            "I think linear Fitting is better.",
                            Sep,
                            " a= \t0.500000000000",
                            " b= \t0.600000000000",
                            "",
                            "3s(n-2)=\t0.948683298051",
                            "",
                            "If you use an exp-fitting model...",
                            "3s(n-4)=\t1.200000000000",
                            " Data=\t10",
                            "",
                            "Loop=\t77",
                            Sep};
    // A worse model, a tie, and a code 8 or 4 that the line's win leaves unreported.
    for (int iRet : {FitConverged, FitCLimit, FitLoopLimit}) {
        TReport report = Judge(StateAfterEngine(1, 3, 4, 5, 6, 1.2), iRet);
        EXPECT_EQ(report.lines, expected);
        EXPECT_EQ(report.answers, Lines(4, "NA"));
        EXPECT_EQ(report.params.a, 0.5);
        EXPECT_EQ(report.params.b, 0.6);
        EXPECT_EQ(report.params.c, 1.0);
        EXPECT_EQ(report.params.d, 0.0);
    }
    TReport tie = Judge(StateAfterEngine(1, 3, 4, 5, 6, 0.9486832980505138), FitConverged);
    EXPECT_EQ(tie.lines[1], "I think linear Fitting is better.");

    TReport hole = Judge(StateAfterEngine(-1, 3, 4, 5, 6, 1.2), FitConverged);
    EXPECT_EQ(hole.lines[3], " a= \t-0.500000000000");
    EXPECT_EQ(hole.lines[4], " b= \t-0.600000000000");
    EXPECT_EQ(hole.lines[6], "3s(n-2)=\t0.948683298051");
}

TEST(ReportJudgement, ModelOutcomeUnderLineAndHole)
{
    TReport line = Judge(StateAfterEngine(1, 1.5, -0.25, 2, 0.125, 0.5), FitConverged);
    EXPECT_EQ(line.lines, (Lines{Sep,
                                 " a=\t1.500000000000",
                                 " b=\t-0.250000000000",
                                 " c=\t2.000000000000",
                                 " d=\t0.125000000000",
                                 "",
                                 " 3s(n-4)= 0.5",
                                 " Data=\t10",
                                 "",
                                 "Loop=\t77",
                                 "",
                                 "If you use a linear fitting model...",
                                 " A=\t0.500000000000",
                                 " B=\t0.600000000000",
                                 "3s(n-2)=\t0.948683298051",
                                 "",
                                 "3s(n-4)=\t0.500000000000",
                                 Sep}));
    EXPECT_EQ(line.answers,
              (Lines{"1.500000000000", "-0.250000000000", "2.000000000000", "0.125000000000"}));

    TReport hole = Judge(StateAfterEngine(-1, 1.5, -0.25, 2, 0.125, 0.5), FitConverged);
    EXPECT_EQ(hole.answers,
              (Lines{"-1.500000000000", "0.250000000000", "-2.000000000000", "-0.125000000000"}));
    EXPECT_EQ(hole.lines[1], " a=\t-1.500000000000");
    EXPECT_EQ(hole.lines[12], " A=\t-0.500000000000");
    EXPECT_EQ(hole.lines[6], " 3s(n-4)= 0.5");
    // 16 significant digits in the report, 15 in the Answer boxes.
    TReport digits = Judge(StateAfterEngine(1, 1234.5678901234567, 0, 2, 0.125, 0.5), FitConverged);
    EXPECT_EQ(digits.lines[1], " a=\t1234.567890123457");
    EXPECT_EQ(digits.answers[0], "1234.567890123460");
}

TEST(ReportJudgement, UnfinishedSearchThatStillWins)
{
    const Lines best = {" a=\t1.500000000000", " b=\t-0.250000000000", " c=\t250.000000000000",
                        " d=\t0.125000000000", "", " 3s(n-4)= 0.5"};
    struct TCase {
        int iRet;
        const char* first;
    };
    for (TCase c : {TCase{FitCLimit, " C の値が  200 を超えました。収束しませんでした。"},
                    TCase{FitLoopLimit,
                          " ループの回数が  2,000,000 回を超えました。収束しませんでした。"}}) {
        TReport report = Judge(StateAfterEngine(1, 1.5, -0.25, 250, 0.125, 0.5), c.iRet);
        Lines expected = {Sep, c.first, " 検索範囲のベストな組み合わせは以下のとおり。"};
        expected.insert(expected.end(), best.begin(), best.end());
        ASSERT_GE(report.lines.size(), expected.size());
        EXPECT_EQ(Lines(report.lines.begin(), report.lines.begin() + expected.size()), expected);
        EXPECT_EQ(report.lines[expected.size() + 4], "If you use a linear fitting model...");
        EXPECT_EQ(report.answers, Lines(4, "old"));  // the Answer boxes keep their texts
    }
}

TEST(ReportJudgement, TinyDShowsCAsOneAndDropsTheLinearBlock)
{
    for (double d : {1e-13, -1e-12, 0.0}) {
        TReport line = Judge(StateAfterEngine(1, 1.5, 0, 40, d, 0.5), FitConverged);
        EXPECT_EQ(line.params.c, 1.0);
        EXPECT_EQ(line.answers[2], "1.000000000000");
        EXPECT_EQ(line.lines.size(), 11u) << d;  // no linear block, no 3s(n-4) line
        EXPECT_EQ(line.lines[10], Sep);
    }
    EXPECT_EQ(Judge(StateAfterEngine(-1, 1.5, 0, 40, 1e-13, 0.5), FitConverged).answers[2],
              "-1.000000000000");
    EXPECT_EQ(Judge(StateAfterEngine(1, 1.5, 0, 40, 1.1e-12, 0.5), FitConverged).params.c, 40);
}

TEST(ReportJudgement, SpreadThatIsNotANumberGoesToTheModel)
{
    const double nan = -std::nan("");  // the floating-point unit's default NaN
    TReport report = Judge(StateAfterEngine(1, 1.5, -0.25, 2, 0.125, nan, 3), FitConverged);
    EXPECT_EQ(report.lines[0], Sep);
    EXPECT_EQ(report.lines[6], " 3s(n-4)= -NAN");
    EXPECT_EQ(report.lines[7], " Data=\t3");
    EXPECT_EQ(report.lines[11], "If you use a linear fitting model...");
    EXPECT_EQ(report.lines.size(), 17u);  // m = 3: no closing "3s(n-4)=" line
    EXPECT_EQ(report.lines.back(), Sep);
}

TEST(DeriveStartValues, RulesForEachParameter)
{
    const double M = MissingValue;
    struct TCase {
        const char* name;
        std::vector<double> y;
        double a;
    };
    const TCase cases[] = {
        {"y1 and y2", {10, 9, 8, 7}, 11.1},
        {"y1 and y3", {10, M, 8, 7}, 11.2},
        {"y2 and y3", {M, 9, 8, 7}, 11.2},
        {"first present point", {M, M, M, 20, 22}, 20 - 4 * 2.0},
        {"exactly -1e98 is taken here", {M, M, M, -1e98, 22}, -1e98 - 4 * 2.0},
    };
    for (const TCase& c : cases) {
        TMeasurementSeries series;
        series.n = static_cast<int>(c.y.size());
        for (int j = 1; j <= series.n; ++j) series.y[j] = c.y[j - 1];
        TLinearResult line{0, 2, 0, 0};
        TModelParameters params;
        params.InitialA = 99;
        params.InitialD = 98;
        DeriveStartValues(series, line, params);
        EXPECT_EQ(params.a, c.a) << c.name;
        EXPECT_EQ(params.b, 0.0);
        EXPECT_EQ(params.c, 1.0);
        EXPECT_EQ(params.d, 2.0);  // the line's slope

        params.FixedA = params.FixedB = params.FixedC = params.FixedD = 1;
        params.InitialB = 3;
        params.InitialC = 4;
        DeriveStartValues(series, line, params);
        EXPECT_EQ(params.a, 99);
        EXPECT_EQ(params.b, 3);
        EXPECT_EQ(params.c, 4);
        EXPECT_EQ(params.d, 98);
    }
}

}  // namespace

namespace {

struct TStart {
    bool reachedEnd;
    TMemoryFitterWindow window;
    TFitterState state;
    std::string curveFile;
};

// One Start on a copy of an example file, in a fresh folder.
TStart StartOn(const std::string& example, bool hole = false, const char* edit3 = "1")
{
    TTempFolder folder;
    WriteTextFile("data.txt", ReadTextFile(std::string(QUEL_EXAMPLES) + "/" + example));
    TStart start;
    start.window.boxes[C::Edit15] = "data.txt";
    start.window.boxes[C::Edit3] = edit3;
    start.window.SetChecked(C::RadioButton2, hole);
    start.reachedEnd = Button1Click(start.window, start.state);
    start.curveFile = ReadTextFile(CurveFileName);
    return start;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(FitAndReport, WholeRunEndsWithTheTimeAndTheCurveFile)
{
    TStart start = StartOn("decay.txt");
    ASSERT_TRUE(start.reachedEnd);
    const Lines& report = start.window.report;
    ASSERT_GE(report.size(), 3u);
    EXPECT_EQ(report[0], Sep);  // the model wins on a decaying series
    EXPECT_EQ(report[report.size() - 2], Sep);
    EXPECT_TRUE(std::regex_match(report.back(), std::regex("[0-9]+\\.[0-9]{3} sec")));
    EXPECT_EQ(start.state.LastRun.ReturnCode, FitConverged);
    EXPECT_NE(start.window.boxes[C::Edit5], "NA");

    // The curve file: count, row 0 with the first value and a, then the model.
    const Lines rows = SplitLines(start.curveFile);
    ASSERT_EQ(rows.size(), 32u);
    EXPECT_EQ(rows[0], "30");
    const TModelParameters& p = start.state.Params;
    EXPECT_EQ(rows[1], "0\t37.239000\t" + FormatLf(p.a));
    EXPECT_EQ(rows[2].substr(0, 12), "1\t37.239000\t");
}

TEST(FitAndReport, HoleReportsAndWritesInTheFileSign)
{
    TStart start = StartOn("rise.txt", true);
    ASSERT_TRUE(start.reachedEnd);
    const TModelParameters& p = start.state.Params;
    EXPECT_GT(p.c, 0);  // fitted to the negated values, which fall to a plateau
    EXPECT_EQ(start.window.boxes[C::Edit7], RealToFixedText(-p.c, 15, 12));
    const Lines rows = SplitLines(start.curveFile);
    EXPECT_EQ(rows[1], "0\t26.160000\t" + FormatLf(-p.a));
    EXPECT_EQ(rows[13].substr(0, 4), "12\t9");  // the missing point 12 as +1e99
}

TEST(FitAndReport, InitialNumberThatIsNotANumberStopsBeforeTheReport)
{
    TStart start = StartOn("straight.txt", false, "abc");
    EXPECT_FALSE(start.reachedEnd);
    EXPECT_TRUE(start.window.report.empty());
    EXPECT_EQ(start.window.messageBoxes, Lines{"'abc' は浮動小数点数ではありません"});
    EXPECT_EQ(start.window.captions, (Lines{"Running...", "Start"}));
    EXPECT_FALSE(start.state.LastRun.EngineEntered);
    EXPECT_EQ(start.curveFile, "");  // no curve file in that run's folder
}

}  // namespace
