#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CurveFile.h"
#include "ViewerHandlers.h"
#include "ViewerTestSupport.h"

namespace {

using K = TCanvasOpKind;
using Lines = std::vector<std::string>;

// Measured 1, 2, 3 and model 1.5, 2, 2.5 with model[0] = 1: min 1, max 3.
const char* const ThreePoints =
    "3\n0\t1.000000\t1.000000\n1\t1.000000\t1.500000\n2\t2.000000\t2.000000\n3\t3.000000\t2.500000\n";

const TOps ThreePointAxes = {Op(K::MoveTo, {10, 10}), Op(K::LineTo, {10, 310}), Op(K::LineTo, {410, 310}),
                             Op(K::MoveTo, {10, 260}), Op(K::LineTo, {410, 260})};
const TOps ThreePointMeasured = {Marker(130, 190), Marker(250, 130), Marker(370, 70)};

TEST(Graph, DrawsMeasuredDifferencesAndModelThenReportsTheSteps)
{
    TTempFolder folder;
    WriteTextFile(CurveFileName, ThreePoints);
    TMemoryViewerWindow window;
    EXPECT_TRUE(Button1Click(window));
    const TOps expected = Joined({ClearOps(), ThreePointAxes, ThreePointMeasured,
                                  {Marker(130, 265), Marker(250, 260), Marker(370, 255)},
                                  {Op(K::MoveTo, {10, 190}), Op(K::LineTo, {130, 160}),
                                   Op(K::LineTo, {250, 130}), Op(K::LineTo, {370, 100})}});
    EXPECT_EQ(window.canvas.ops, expected);
    EXPECT_EQ(window.report, (Lines{"3", "CD0-CD1= -0.5", "CD1-CD2= -0.5,    -1"}));
    EXPECT_TRUE(window.messageBoxes.empty());

    // A second press draws the same picture and adds three more lines.
    window.canvas.ops.clear();
    EXPECT_TRUE(Button1Click(window));
    EXPECT_EQ(window.canvas.ops, expected);
    EXPECT_EQ(window.report.size(), 6u);
    EXPECT_EQ(window.buttonCaption, "Graph");
}

TEST(Graph, StepsAreRoundedToThousandthsAndTheMeasuredStepIsNot)
{
    TTempFolder folder;
    WriteTextFile("c.tmp", "2\n0\t0\t1.0625\n1\t1.25\t1\n2\t1.0001\t1.0625\n");
    TMemoryViewerWindow window;
    window.boxes[TViewerControl::Edit3] = "c.tmp";
    EXPECT_TRUE(Button1Click(window));
    EXPECT_EQ(window.report, (Lines{"2", "CD0-CD1= 0.063", "CD1-CD2= -0.062,    0.2499"}));
}

TEST(Graph, MagThatIsNoNumberStopsAfterTheMeasuredMarkers)
{
    TTempFolder folder;
    WriteTextFile(CurveFileName, ThreePoints);
    TMemoryViewerWindow window;
    window.boxes[TViewerControl::Edit1] = "1,5";
    EXPECT_FALSE(Button1Click(window));
    EXPECT_EQ(window.canvas.ops, Joined({ClearOps(), ThreePointAxes, ThreePointMeasured}));
    EXPECT_EQ(window.messageBoxes, Lines{"'1,5' は浮動小数点数ではありません"});
    EXPECT_EQ(window.report, Lines{"3"});
}

TEST(Graph, RowsWithoutMeasurementGetNoMarkersAndStayOutOfTheScale)
{
    TTempFolder folder;
    // Point 2 marked 99999, point 3 missing as the fitter writes it (-1e99).
    const double y[] = {1.0, 1.5, 99999.0, -1e99, 3.0};
    WriteCurveFile(4, y, 1.0, 1.0, 0.5, 0.0, 0.0);  // model 1, 1.5, 2, 2.5, 3
    TMemoryViewerWindow window;
    window.boxes[TViewerControl::Edit1] = "1e6";  // no difference of a missing row is drawn
    EXPECT_TRUE(Button1Click(window)) << window.report.back();
    const TOps& ops = window.canvas.ops;
    // min 1 and max 3 come from the model and the two measured rows.
    const TOps markers(ops.begin() + 9, ops.begin() + 13);
    EXPECT_EQ(markers, (TOps{Marker(100, 160), Marker(370, 70), Marker(100, 260), Marker(370, 260)}));
    EXPECT_EQ(TOps(ops.begin() + 13, ops.end()),
              (TOps{Op(K::MoveTo, {10, 190}), Op(K::LineTo, {100, 160}), Op(K::LineTo, {190, 130}),
                    Op(K::LineTo, {280, 100}), Op(K::LineTo, {370, 70})}));
}

TEST(Graph, FileOfOnePointHasNoSecondStep)
{
    TTempFolder folder;
    WriteTextFile(CurveFileName, "1\n0\t1\t1\n1\t2\t3\n");
    TMemoryViewerWindow window;
    EXPECT_TRUE(Button1Click(window));
    EXPECT_EQ(window.report, (Lines{"1", "CD0-CD1= -2", "CD1-CD2: the file has no point 2."}));
}

TEST(Graph, UndrawableCasesEndWithALineAndNothingUndefinedDrawn)
{
    struct TCase {
        const char* content;
        const char* mag;
        Lines report;
        std::size_t opCount;
    };
    const TCase cases[] = {
        {"2\n0\t5\t5\n1\t5\t5\n2\t99999\t5\n", "1.0",
         {"2", "No vertical scale: every value of the graph is the same."}, 4},
        {ThreePoints, "1e4",
         {"3", "The magnified difference of point 1 lies beyond the drawable range."}, 12},
        {"1\n0\t1\t1\n1\t2\t1e999\n", "1.0",
         {"1", "The magnified difference of point 1 lies beyond the drawable range."}, 10},
        {"1\n0\t1\t1\n1\t99999\t1e999\n", "1.0",
         {"1", "The model value of point 1 lies beyond the drawable range."}, 9},
        {"2\n0\t1\t1\n1\t2\t2\n", "1.0",
         {"2", "Curve file line 4: the file ends, but the count 2 asks for 3 rows."}, 4},
        {"501\n", "1.0", {"501", "Curve file line 1: the count 501 is above the capacity of 500 points."}, 4},
    };
    TTempFolder folder;
    for (const TCase& c : cases) {
        WriteTextFile(CurveFileName, c.content);
        TMemoryViewerWindow window;
        window.boxes[TViewerControl::Edit1] = c.mag;
        EXPECT_FALSE(Button1Click(window)) << c.content;
        EXPECT_EQ(window.report, c.report) << c.content;
        EXPECT_EQ(window.canvas.ops.size(), c.opCount) << c.content;
        EXPECT_TRUE(window.messageBoxes.empty());
        EXPECT_EQ(window.buttonCaption, "Graph");
    }
}

TEST(ViewerHandlers, FileThatCannotBeOpenedLeavesTheAreaClearedAndSaysSo)
{
    struct TCase {
        bool (*handler)(TViewerWindow&);
        std::string path;
        const char* message;
    };
    const TCase cases[] = {
        {Button1Click, "nothing.tmp", "I can not open an input file."},
        {Button1Click, "././" + std::string(253, 'a'), "I can not open an input file."},
        {Button4Click, "nothing.tmp", "I can not open an input file.  001"},
    };
    TTempFolder folder;
    // A path of 257 characters is not used even where it names a file.
    WriteTextFile(std::string(253, 'a'), ThreePoints);
    for (const TCase& c : cases) {
        TMemoryViewerWindow window;
        window.boxes[TViewerControl::Edit3] = c.path;
        EXPECT_FALSE(c.handler(window));
        EXPECT_EQ(window.buttonCaption, "Draw");
        EXPECT_EQ(window.report, (Lines{"", c.message}));
        EXPECT_EQ(window.canvas.ops, ClearOps());
    }
    TMemoryViewerWindow window;
    window.boxes[TViewerControl::Edit3] = "./" + std::string(253, 'a');
    EXPECT_TRUE(Button1Click(window));
}

TEST(ViewerHandlers, ReadPutsTheChosenPathIntoEdit3)
{
    TMemoryViewerWindow window;
    Button2Click(window);  // cancelled
    EXPECT_EQ(window.boxes[TViewerControl::Edit3], "TESTout.tmp");
    window.chosenFileName = "/data/run 7.tmp";
    Button2Click(window);
    EXPECT_EQ(window.boxes[TViewerControl::Edit3], "/data/run 7.tmp");
}

}  // namespace
