#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CurveFile.h"
#include "ViewerHandlers.h"
#include "ViewerTestSupport.h"

namespace {

using K = TCanvasOpKind;
using Lines = std::vector<std::string>;

// Differences 0.5, -0.25, 0.25: sorted -0.25, 0.25, 0.5, s = 0.3819.
const char* const ThreeDifferences =
    "3\n0\t0\t0\n1\t1.5\t1.0\n2\t1.0\t1.25\n3\t1.75\t1.5\n";

TOps ThreeDifferenceOps(int x1, int x2, int x3)
{
    return Joined({ClearOps(), AxesOps(),
                   {Op(K::MoveTo, {10, 189}), Op(K::LineTo, {410, 189}),  // the zero line
                    Marker(x1, 255), Marker(x2, 122), Marker(x3, 55),
                    Op(K::MoveTo, {310, -15}), Op(K::LineTo, {110, 392})}});
}

TEST(DistributionCheck, SortedDifferencesAgainstQuantilesOfEitherPosition)
{
    TTempFolder folder;
    WriteTextFile(CurveFileName, ThreeDifferences);
    TMemoryViewerWindow window;  // (i-0.3)/(n+0.4) is checked at start
    EXPECT_TRUE(Button4Click(window));
    EXPECT_EQ(window.canvas.ops, ThreeDifferenceOps(168, 210, 251));
    EXPECT_EQ(window.report, Lines{"3"});

    window.canvas.ops.clear();
    window.radioButton1Checked = true;  // i/(n+1)
    EXPECT_TRUE(Button4Click(window));
    EXPECT_EQ(window.canvas.ops, ThreeDifferenceOps(176, 210, 243));
    EXPECT_EQ(window.report, (Lines{"3", "3"}));
}

TEST(DistributionCheck, RowsWithoutMeasurementAreLeftOutBeforeSorting)
{
    TTempFolder folder;
    // The three differences above, with a marked row and a missing one between
    // them: the plot is the plot of the three.
    WriteTextFile(CurveFileName,
                  "5\n0\t0\t0\n1\t1.5\t1.0\n2\t99999\t1.0\n3\t1.0\t1.25\n4\t-1e99\t2.0\n5\t1.75\t1.5\n");
    TMemoryViewerWindow window;
    EXPECT_TRUE(Button4Click(window));
    EXPECT_EQ(window.canvas.ops, ThreeDifferenceOps(168, 210, 251));
    EXPECT_EQ(window.report, Lines{"5"});
}

TEST(DistributionCheck, EqualDifferencesLieAtOneHeightOnNeighbouringQuantiles)
{
    TTempFolder folder;
    WriteTextFile(CurveFileName, "4\n0\t0\t0\n1\t1\t0\n2\t0\t0\n3\t1\t0\n4\t2\t0\n");
    TMemoryViewerWindow window;
    EXPECT_TRUE(Button4Click(window));
    const TOps& ops = window.canvas.ops;
    const TOps markers(ops.begin() + 9, ops.begin() + 13);
    // Differences 0, 1, 1, 2 on positions 0.7/4.4 ... 3.7/4.4.
    EXPECT_EQ(markers, (TOps{Marker(160, 255), Marker(195, 155), Marker(224, 155), Marker(259, 55)}));
}

TEST(DistributionCheck, UndrawableCasesEndWithALine)
{
    struct TCase {
        const char* content;
        Lines report;
        std::size_t opCount;
    };
    const TCase cases[] = {
        {"2\n0\t0\t0\n1\t1\t0\n2\t99999\t0\n",
         {"2", "The distribution check needs two differences or more; the file has 1."}, 4},
        {"3\n0\t0\t0\n1\t1\t0.5\n2\t2\t1.5\n3\t0.5\t0\n",
         {"3", "All differences are equal: the plot has no vertical scale."}, 4},
        {"2\n0\t0\t0\n1\t1000\t0\n2\t1000.001\t0\n",
         {"2", "The zero line lies beyond the drawable range."}, 7},
        {"2\n0\t0\t0\n1\t1\t0\n2\t2\t-1e999\n", {"2", "A difference lies beyond the drawable range."}, 9},
        {"500\n", {"500", "Curve file line 1: the count 500 is above the capacity of 499 points."}, 4},
    };
    TTempFolder folder;
    for (const TCase& c : cases) {
        WriteTextFile(CurveFileName, c.content);
        TMemoryViewerWindow window;
        EXPECT_FALSE(Button4Click(window)) << c.content;
        EXPECT_EQ(window.report, c.report) << c.content;
        EXPECT_EQ(window.canvas.ops.size(), c.opCount) << c.content;
        EXPECT_TRUE(window.messageBoxes.empty());
    }
}

}  // namespace
