#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FieldReader.h"

namespace {

TTextLine LineOf(const std::string& text)
{
    TTextLine line;
    text.copy(line.text, TTextLine::MaxLength);
    return line;
}

std::vector<std::string> FieldsOf(const std::string& text)
{
    const TLineFields fields = SplitTabFields(LineOf(text));
    std::vector<std::string> result;
    for (int i = 0; i < fields.count; ++i) result.emplace_back(fields.field[i]);
    return result;
}

TEST(SplitTabFields, TabIsTheOnlySeparatorAndRunsOfTabsAreOne)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(FieldsOf("abc\tdef\n"), (V{"abc", "def\n"}));
    EXPECT_EQ(FieldsOf("\t\tx\t\ty"), (V{"x", "y"}));
    EXPECT_EQ(FieldsOf("a b\tc d\r\n"), (V{"a b", "c d\r\n"}));
    EXPECT_EQ(FieldsOf("\n"), (V{"\n"}));        // a blank line has one field
    EXPECT_EQ(FieldsOf("\t\t\n"), (V{"\n"}));    // so has a line of TABs ended by LF
    EXPECT_EQ(FieldsOf("\t\t"), V{});            // a piece of TABs alone has none
    EXPECT_EQ(FieldsOf(""), V{});                // nor has a read at the end of the file
}

TEST(ReadTextLine, PiecesOfAtMost254CharactersCarriageReturnIncluded)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fputs((std::string(300, 'a') + "\n" + std::string(253, 'b') + "\r\nlast").c_str(), file);
    std::rewind(file);

    TTextLine line;
    std::vector<std::string> pieces;
    while (ReadTextLine(file, line)) pieces.emplace_back(line.text);
    std::fclose(file);

    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0], std::string(254, 'a'));
    EXPECT_EQ(pieces[1], std::string(46, 'a') + "\n");
    EXPECT_EQ(pieces[2], std::string(253, 'b') + "\r");
    EXPECT_EQ(pieces[3], "\n");
    EXPECT_EQ(pieces[4], "last");
    EXPECT_STREQ(line.text, "");  // the read at the end gives an empty piece
}

TEST(ReadFieldInteger, AtolRules)
{
    struct TCase {
        const char* field;
        int value;
    };
    const TCase cases[] = {
        {"7", 7},        {" 7", 7},         {"-3x", -3},        {"+5", 5},
        {"abc", 0},      {"\n", 0},         {"12\r\n", 12},     {"1.9", 1},
        {"99999999999", INT_MAX},           {"-99999999999", INT_MIN},
    };
    for (const TCase& c : cases) EXPECT_EQ(ReadFieldInteger(c.field), c.value) << c.field;
}

TEST(ReadFieldReal, DecimalNumbersOnly)
{
    struct TCase {
        const char* field;
        double value;
    };
    const TCase cases[] = {
        {"2.5\r\n", 2.5}, {" -1e3x", -1000.0}, {"1e", 1.0},     {"1e+", 1.0},  {".5", 0.5},
        {"1.5e+2", 150.0}, {"-", 0.0},         {"NA", 0.0},     {"inf", 0.0},  {"nan", 0.0},
        {"0x10", 0.0},    {"1e-999", 0.0},     {"3 4", 3.0},    {"0.00", 0.0},
    };
    for (const TCase& c : cases) EXPECT_EQ(ReadFieldReal(c.field), c.value) << c.field;
    EXPECT_EQ(ReadFieldReal("1e999"), HUGE_VAL);
    EXPECT_EQ(ReadFieldReal("-1e999"), -HUGE_VAL);
}

}  // namespace
