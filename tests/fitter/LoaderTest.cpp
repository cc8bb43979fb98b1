#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Loader.h"
#include "MemoryFitterWindow.h"
#include "NumberText.h"
#include "TempFolder.h"

namespace {

using C = TFitterControl;
using Lines = std::vector<std::string>;

const std::string MissingText = FormatLf(MissingValue);

struct TLoad {
    bool ok;
    TMeasurementSeries series;
    TMemoryFitterWindow window;
    std::string echo;
};

// Loads `content` from a file in a fresh folder, as Start would.
TLoad Load(const std::string& content, double patternSign = 1.0)
{
    TTempFolder folder;
    WriteTextFile("data.txt", content);
    TLoad load;
    load.window.boxes[C::Edit15] = "data.txt";
    load.ok = LoadMeasurementFile(load.window, load.series, patternSign);
    load.echo = ReadTextFile(EchoFileName);
    return load;
}

TEST(LoadMeasurementFile, FailureTable)
{
    struct TCase {
        const char* name;
        std::string content;
        std::string edit15;  // the box's text afterwards
        Lines report;
        std::string echo;
    };
    const std::string header3 = "n=   3\n1\t1.000000\n";
    const TCase cases[] = {
        {"empty file", "", "Invalid data structure....1", {}, ""},
        {"header of TABs", "\t\t", "Invalid data structure....1", {}, ""},
        {"header without TAB", "50\n", "Invalid data structure....2", {}, ""},
        {"count 1", "n\t1\n1\t5\n", "Invalid data structure....4", {}, ""},
        {"count abc", "n\tabc\n", "Invalid data structure....4", {}, ""},
        {"count 501", "n\t501\n1\t5\n", "Invalid data structure....3", {}, ""},
        {"huge count", "n\t99999999999\n", "Invalid data structure....3", {}, ""},
        {"blank record line", "n\t3\n1\t1\n\n3\t3\n", "data.txt", {"Invalid data structure....5"}, header3},
        {"record of TABs and LF", "n\t3\n1\t1\n\t\t\n", "data.txt", {"Invalid data structure....5"}, header3},
        {"records 1 then 3", "n\t3\n1\t1\n3\t3\n", "data.txt",
         {"Invalid data structure....6", "i,j= 2 , 3"}, header3},
        {"fewer records than n", "n\t3\n1\t1\n", "An imput File Error.", {}, header3},
    };
    for (const TCase& c : cases) {
        TLoad load = Load(c.content);
        EXPECT_FALSE(load.ok) << c.name;
        EXPECT_EQ(load.window.boxes[C::Edit15], c.edit15) << c.name;
        EXPECT_EQ(load.window.report, c.report) << c.name;
        EXPECT_EQ(load.echo, c.echo) << c.name;
    }
}

TEST(LoadMeasurementFile, ValueRulesAndEcho)
{
    TLoad load = Load("header\t 7\textra\n"
                      "1\t1.5\tignored\n"
                      "2\t0x10\n"  // reads 0 and holds the digit 0: a present zero
                      "3\n"
                      "4\tNA\n"
                      "5\t-2.5\n"
                      "6\t0.000\r\n"
                      "7\t1e-999\n"
                      "8\t99\n");
    ASSERT_TRUE(load.ok);
    EXPECT_EQ(load.series.n, 7);
    EXPECT_EQ(load.window.report, (Lines{"j= 4  data=0", "j= 5  data=-2.5", "j= 7  data=0"}));
    const double expected[] = {MissingValue, 1.5, 0.0, MissingValue, MissingValue,
                               MissingValue, 0.0, MissingValue, MissingValue};
    for (int j = 0; j <= 8; ++j) EXPECT_EQ(load.series.y[j], expected[j]) << j;
    EXPECT_EQ(load.series.y[SeriesCapacity], MissingValue);
    EXPECT_EQ(load.echo, "n=   7\n1\t1.500000\n2\t0.000000\n3\t" + MissingText + "\n4\t" +
                             MissingText + "\n5\t" + MissingText + "\n6\t0.000000\n7\t" +
                             MissingText + "\n");
}

TEST(LoadMeasurementFile, HoleNegatesPresentValuesOnly)
{
    TLoad load = Load("n\t4\n1\t10\n2\t1.5\n3\t-2.5\n4\t2e98\n", -1.0);
    ASSERT_TRUE(load.ok);
    EXPECT_EQ(load.series.y[1], -10.0);
    EXPECT_EQ(load.series.y[2], -1.5);
    EXPECT_EQ(load.series.y[3], MissingValue);
    EXPECT_EQ(load.series.y[4], -2e98);  // below the threshold: missing from now on
    EXPECT_FALSE(IsPresent(load.series.y[4]));
    EXPECT_EQ(load.window.report, Lines{"j= 3  data=-2.5"});
    EXPECT_EQ(load.echo, "n=   4\n1\t-10.000000\n2\t-1.500000\n3\t" + MissingText + "\n4\t" +
                             FormatLf(-2e98) + "\n");
}

TEST(LoadMeasurementFile, FilesThatCannotBeOpened)
{
    TTempFolder folder;
    TMeasurementSeries series;
    TMemoryFitterWindow window;
    window.boxes[C::Edit15] = "no such file";
    EXPECT_FALSE(LoadMeasurementFile(window, series, 1.0));
    EXPECT_EQ(window.report, (Lines{"", "I can not open an input file."}));
    EXPECT_FALSE(std::filesystem::exists(EchoFileName));

    WriteTextFile("data.txt", "n\t2\n1\t1\n2\t2\n");
    std::filesystem::create_directory(EchoFileName);  // the echo file cannot be created
    window.boxes[C::Edit15] = "data.txt";
    window.report.clear();
    EXPECT_FALSE(LoadMeasurementFile(window, series, 1.0));
    EXPECT_EQ(window.report, Lines{"I can not open an output file."});
}

TEST(LoadMeasurementFile, NumbersDoNotFollowACommaLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no de_DE.UTF-8 locale";
    TLoad load = Load("n\t2\n1\t1.5\n2\t2,5\n");
    std::setlocale(LC_ALL, previous.c_str());
    ASSERT_TRUE(load.ok);
    EXPECT_EQ(load.series.y[1], 1.5);
    EXPECT_EQ(load.series.y[2], 2.0);
    EXPECT_EQ(load.echo, "n=   2\n1\t1.500000\n2\t2.000000\n");
}

struct TSkip {
    bool ok;
    TMeasurementSeries series;
    TMemoryFitterWindow window;
};

TSkip Skip(const std::string& edit20)
{
    TSkip skip;
    skip.series.n = 10;
    for (int j = 1; j <= SeriesCapacity; ++j) skip.series.y[j] = j;
    skip.window.SetChecked(C::CheckBox9, true);
    skip.window.boxes[C::Edit20] = edit20;
    skip.ok = ApplySkipOptions(skip.window, skip.series);
    return skip;
}

TEST(ApplySkipOptions, ByteWiseSortTestOnEdit20)
{
    for (const char* refused : {"NA", "9999", "9a", "0", "-3", " 5", "", "a"}) {
        TSkip skip = Skip(refused);
        EXPECT_FALSE(skip.ok) << refused;
        EXPECT_EQ(skip.window.report, Lines{"Skip Data 'n' is not a number. Input number."});
    }
    for (const char* outOfRange : {"1000", "00", "501"}) {
        TSkip skip = Skip(outOfRange);
        EXPECT_TRUE(skip.ok) << outOfRange;
        EXPECT_EQ(skip.window.boxes[C::Edit20], "NA");
        for (int j = 1; j <= SeriesCapacity; ++j) ASSERT_EQ(skip.series.y[j], j);
    }
    TSkip five = Skip("5");
    EXPECT_EQ(five.series.y[5], MissingValue);
    EXPECT_EQ(five.series.y[4], 4.0);
    EXPECT_EQ(Skip("500").series.y[500], MissingValue);
    EXPECT_THROW(Skip("12a"), EConvertError);
}

TEST(ApplySkipOptions, FirstFourBoxesBlankPointsOneToFour)
{
    TMeasurementSeries series;
    series.n = 2;
    for (int j = 1; j <= 4; ++j) series.y[j] = j;
    TMemoryFitterWindow window;
    for (C box : {C::CheckBox5, C::CheckBox6, C::CheckBox7, C::CheckBox8}) window.SetChecked(box, true);
    EXPECT_TRUE(ApplySkipOptions(window, series));
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(series.y[j], MissingValue);

    EXPECT_FALSE(CheckDataQuality(window, series));
    EXPECT_EQ(window.boxes[C::Edit15], "Low Data Quality...");
}

TEST(CheckDataQuality, NeedsHalfThePointsAndCopiesTheFirstPresentValue)
{
    struct TCase {
        int n;
        std::vector<int> present;
        bool ok;
    };
    const TCase cases[] = {
        {5, {2, 4}, true}, {5, {3}, false}, {2, {2}, true}, {3, {3}, true},
        {4, {}, false},    {10, {2, 4, 6, 8, 9}, true}, {10, {2, 4, 6, 8}, false},
    };
    for (const TCase& c : cases) {
        TMeasurementSeries series;
        series.n = c.n;
        for (int j : c.present) series.y[j] = 100.0 + j;
        TMemoryFitterWindow window;
        EXPECT_EQ(CheckDataQuality(window, series), c.ok) << c.n;
        EXPECT_EQ(series.m, static_cast<int>(c.present.size()));
        EXPECT_EQ(series.y[0], c.present.empty() ? MissingValue : 100.0 + c.present[0]);
        EXPECT_EQ(window.boxes[C::Edit15], c.ok ? "Read File" : "Low Data Quality...");
    }
}

}  // namespace
