#include <cmath>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "CurveFile.h"
#include "TempFolder.h"

namespace {

// "%lf" of -1e99: the C library's exact digits of the double nearest -1e99.
const std::string MinusE99 =
    "-999999999999999967336168804116691273849533185806555472917961779471295845921727862608739868455"
    "469056.000000";

TEST(WriteCurveFile, CountLineThenRowsZeroToNWithTheStraightFormWhenCIsZero)
{
    TTempFolder folder;
    const double y[] = {1.5, 1.5, 2.25};
    WriteCurveFile(2, y, 1.0, 1.0, 0.5, 0.0, 0.0);
    EXPECT_EQ(ReadTextFile(CurveFileName),
              "2\n"
              "0\t1.500000\t1.000000\n"
              "1\t1.500000\t1.500000\n"
              "2\t2.250000\t2.000000\n");
}

TEST(WriteCurveFile, SkippedPointsKeepTheirMissingValueAndRowZeroRepeatsTheFirstPresentValue)
{
    TTempFolder folder;
    // Points 1 and 2 skipped: row 0 holds point 3's value; every row has the
    // exponential model a + b*x + c*(exp(d/c*x) - 1).
    const double y[] = {7.25, -1e99, -1e99, 7.25};
    WriteCurveFile(3, y, 1.0, 1.0, 0.5, 2.0, 0.4);
    EXPECT_EQ(ReadTextFile(CurveFileName),
              "3\n"
              "0\t7.250000\t1.000000\n"
              "1\t" + MinusE99 + "\t1.942806\n"
              "2\t" + MinusE99 + "\t2.983649\n"
              "3\t7.250000\t4.144238\n");
}

TEST(WriteCurveFile, HoleWritesBothColumnsInTheFileSign)
{
    TTempFolder folder;
    // Loaded as -12.5 and -1e99 under Hole; the straight-line outcome a = 1,
    // b = 0.5, c = 1, d = 0 arrives multiplied by the sign.
    const double y[] = {-12.5, -12.5, -1e99};
    WriteCurveFile(2, y, -1.0, -1.0, -0.5, -1.0, -0.0);
    EXPECT_EQ(ReadTextFile(CurveFileName),
              "2\n"
              "0\t12.500000\t-1.000000\n"
              "1\t12.500000\t-1.500000\n"
              "2\t" + MinusE99.substr(1) + "\t-2.000000\n");
}

TEST(WriteCurveFile, ExponentialBeyondRangeIsWrittenAsInfinity)
{
    TTempFolder folder;
    const double y[] = {1.0, 1.0};
    WriteCurveFile(1, y, 1.0, 0.0, 0.0, 1.0, 1000.0);
    EXPECT_EQ(ReadTextFile(CurveFileName), "1\n0\t1.000000\t0.000000\n1\t1.000000\tinf\n");
    WriteCurveFile(1, y, 1.0, 0.0, 0.0, -1.0, -1000.0);
    EXPECT_EQ(ReadTextFile(CurveFileName), "1\n0\t1.000000\t0.000000\n1\t1.000000\t-inf\n");
}

TEST(WriteCurveFile, NameThatCannotBeCreatedIsLeftAlone)
{
    TTempFolder folder;
    std::filesystem::create_directory(CurveFileName);
    const double y[] = {1.0, 1.0, 1.0};
    WriteCurveFile(2, y, 1.0, 0.0, 0.0, 0.0, 0.0);
    EXPECT_TRUE(std::filesystem::is_directory(CurveFileName));
}

TEST(ReadCurveFile, RowsGoToTheirOwnPointNumbersAcrossTabRunsAndLineEnds)
{
    TTempFolder folder;
    WriteTextFile("c.tmp",
                  "3\t\r\n"
                  "9\t\t0.5\t0.25\r\n"
                  "1\t1.5\t\t1.25\r\n"
                  "3\t3.5\t3.25\n"
                  "2\t2.5\t2.25\r\n"
                  "not read\n");
    const TCurveReadResult result = ReadCurveFile("c.tmp", 500);
    ASSERT_EQ(result.status, TCurveReadStatus::Read) << result.problem;
    EXPECT_TRUE(result.countRead);
    EXPECT_EQ(result.data.count, 3);
    const double measured[] = {0.5, 1.5, 2.5, 3.5};
    const double model[] = {0.25, 1.25, 2.25, 3.25};
    for (int k = 0; k <= 3; ++k) {
        EXPECT_EQ(result.data.measured[k], measured[k]) << k;
        EXPECT_EQ(result.data.model[k], model[k]) << k;
    }
}

TEST(ReadCurveFile, ReadsBackWhatTheWriterWrote)
{
    TTempFolder folder;
    const double y[] = {4.0, -1e99, 4.0, 5.0, 6.0, 7.0};
    WriteCurveFile(5, y, 1.0, 1.0, 1.0, 0.0, 0.0);  // the count line is "5\n"
    const TCurveReadResult result = ReadCurveFile(CurveFileName, 5);
    ASSERT_EQ(result.status, TCurveReadStatus::Read) << result.problem;
    EXPECT_EQ(result.data.count, 5);
    EXPECT_EQ(result.data.measured[1], -1e99);
    EXPECT_EQ(result.data.measured[5], 7.0);
    EXPECT_EQ(result.data.model[5], 6.0);
}

TEST(ReadCurveFile, MissingFileIsAFailureToOpen)
{
    TTempFolder folder;
    const TCurveReadResult result = ReadCurveFile("nothing.tmp", 500);
    EXPECT_EQ(result.status, TCurveReadStatus::OpenFailed);
    EXPECT_FALSE(result.countRead);
}

TEST(ReadCurveFile, MalformedInputSaysWhatAndWhere)
{
    struct TCase {
        std::string content;
        int capacity;
        bool countRead;
        const char* problem;
    };
    const std::string rows01 = "0\t1\t1\n1\t1\t1\n";
    const TCase cases[] = {
        {"", 500, false, "Curve file line 1: the file is empty."},
        {"\t\t", 500, false, "Curve file line 1: no count."},
        {"0\n", 500, true, "Curve file line 1: the count 0 is below 1."},
        {"points\n" + rows01, 500, true, "Curve file line 1: the count 0 is below 1."},
        {"501\n", 500, true, "Curve file line 1: the count 501 is above the capacity of 500 points."},
        {"500\n", 499, true, "Curve file line 1: the count 500 is above the capacity of 499 points."},
        {"2\n" + rows01, 500, true,
         "Curve file line 4: the file ends, but the count 2 asks for 3 rows."},
        {"2\n0\t1\t1\n1\t1\n2\t1\t1\n", 500, true, "Curve file line 3: fewer than three fields."},
        {"2\n0\t1\t1\n1\t1\t1\n\n", 500, true, "Curve file line 4: fewer than three fields."},
        {"2\n" + rows01 + "600\t1\t1\n", 500, true,
         "Curve file line 4: the point number 600 is outside 0 ... 500."},
        {"2\n" + rows01 + "-1\t1\t1\n", 500, true,
         "Curve file line 4: the point number -1 is outside 0 ... 500."},
        {"2\n" + rows01 + "1\t2\t2\n", 500, true, "Curve file lines 3 ... 4: no row for point 2."},
        {"2\n0\t1\t1\n0\t1\t1\n2\t1\t1\n", 500, true,
         "Curve file lines 3 ... 4: no row for point 1."},
        {"2\n0\t1\t" + std::string(300, '1') + "\n1\t1\t1\n2\t1\t1\n", 500, true,
         "Curve file line 2: the line is longer than 254 characters."},
    };
    TTempFolder folder;
    for (const TCase& c : cases) {
        WriteTextFile("c.tmp", c.content);
        const TCurveReadResult result = ReadCurveFile("c.tmp", c.capacity);
        EXPECT_EQ(result.status, TCurveReadStatus::Malformed) << c.content;
        EXPECT_EQ(result.countRead, c.countRead) << c.content;
        EXPECT_EQ(result.problem, c.problem) << c.content;
    }
}

TEST(ReadCurveFile, LineOf254CharactersWithItsLineEndStillFits)
{
    TTempFolder folder;
    const std::string longRow = "1\t1\t" + std::string(249, '0') + "\n";  // 254 with the LF
    WriteTextFile("c.tmp", "1\n0\t1\t1\n" + longRow);
    EXPECT_EQ(ReadCurveFile("c.tmp", 500).status, TCurveReadStatus::Read);
    WriteTextFile("c.tmp", "1\n0\t1\t1\n" + longRow.substr(0, 253) + "0");  // 254, no LF, at the end
    EXPECT_EQ(ReadCurveFile("c.tmp", 500).status, TCurveReadStatus::Read);
}

}  // namespace
