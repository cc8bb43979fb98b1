#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "NumberText.h"

namespace {

struct TRealCase {
    double value;
    const char* text;
};

TEST(RealToText, GeneralFormatTable)
{
    const double inf = std::numeric_limits<double>::infinity();
    const TRealCase cases[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {-1.0, "-1"},
        {1.5, "1.5"},
        {-0.1, "-0.1"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {1.0000000000000004, "1"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {0.00001, "1E-5"},
        {-2.5e-5, "-2.5E-5"},
        {1.5e20, "1.5E20"},
        {1e15, "1E15"},
        {999999999999999.0, "999999999999999"},
        {999999999999999.9, "1E15"},  // choose the form after rounding
        {123456789012345678.0, "1.23456789012346E17"},
        {1e-99, "1E-99"},
        {-1e99, "-1E99"},
        {123.0, "123"},
        {100.25, "100.25"},
        // Half up on the first 18 digits 123456789012345500, though the exact
        // binary value lies just below the half.
        {123456.7890123455, "123456.789012346"},
        {0.1234567890123455, "0.123456789012345"},
        {inf, "INF"},
        {-inf, "-INF"},
        {std::nan(""), "NAN"},
        {-std::nan(""), "-NAN"},
    };
    for (const TRealCase& c : cases) EXPECT_EQ(RealToText(c.value), c.text) << c.text;
}

TEST(RealToText, DefaultNaNOfTheFloatingPointUnitIsNegative)
{
    volatile double negative = -1.0;
    EXPECT_EQ(RealToText(std::sqrt(negative)), "-NAN");
}

TEST(RealToFixedText, FixedFormatTable)
{
    struct TCase {
        double value;
        int precision, decimals;
        const char* text;
    };
    const TCase cases[] = {
        {1.5, 15, 12, "1.500000000000"},
        {-0.25, 15, 12, "-0.250000000000"},
        {1234.5678901234567, 15, 12, "1234.567890123460"},
        {-1e-13, 15, 12, "0.000000000000"},
        {0.0, 15, 12, "0.000000000000"},
        {-0.0, 15, 12, "0.000000000000"},
        {0.9486832980505138, 15, 12, "0.948683298051"},
        {5.5e-13, 15, 12, "0.000000000001"},  // half up at the last decimal
        {-5.5e-13, 15, 12, "-0.000000000001"},
        {5e-13, 15, 12, "0.000000000000"},  // 4.99999999999999990e-13 in 18 digits
        {4.9e-13, 15, 12, "0.000000000000"},
        {0.99999999999951, 15, 12, "1.000000000000"},
        {-3.0, 16, 12, "-3.000000000000"},
        {1234.5678901234567, 16, 12, "1234.567890123457"},
        {1.234, 8, 3, "1.234"},
        {0.0, 8, 3, "0.000"},
        {0.0005, 8, 3, "0.001"},
        {12345.6789, 8, 3, "12345.679"},
        {123456.789, 8, 3, "123456.790"},  // 8 significant digits, then zeros
        {99999999.6, 8, 3, "1E8"},        // more integer digits than P
        {1e15, 15, 12, "1E15"},
        {-2.5e20, 15, 12, "-2.5E20"},
        {std::numeric_limits<double>::infinity(), 15, 12, "INF"},
        {-std::nan(""), 15, 12, "-NAN"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(RealToFixedText(c.value, c.precision, c.decimals), c.text) << c.text;
    }
}

TEST(IntegerToText, PlainDecimal)
{
    EXPECT_EQ(IntegerToText(0), "0");
    EXPECT_EQ(IntegerToText(-42), "-42");
    EXPECT_EQ(IntegerToText(2000001), "2000001");
}

TEST(TextToReal, AcceptsDecimalNumbersOnly)
{
    const TRealCase numbers[] = {
        {1.5, "1.5"}, {2.0, " 2 "}, {-0.1, "-0.1"}, {3.0, "+3"}, {1000.0, "1e3"},
        {0.001, "1E-3"}, {0.5, ".5"}, {5.0, "5."}, {0.0, "-0"}, {0.0, "1e-999"},
        {-0.1, "\t-0.1\t"},
    };
    for (const TRealCase& c : numbers) EXPECT_EQ(TextToReal(c.text), c.value) << c.text;

    for (const char* text : {"", " ", "-", "+", ".", "abc", "1.5x", "inf", "nan", "0x10",
                             "1e", "1,5", "--1", "1 2", "1e999", "NA"}) {
        try {
            TextToReal(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& error) {
            EXPECT_EQ(error.Text(), text);
            EXPECT_EQ(std::string(error.what()),
                      std::string("'") + text + "' は浮動小数点数ではありません");
        }
    }
}

TEST(TextToInteger, AcceptsSignAndDigitsWithin32Bits)
{
    EXPECT_EQ(TextToInteger("0"), 0);
    EXPECT_EQ(TextToInteger("-3"), -3);
    EXPECT_EQ(TextToInteger("+7"), 7);
    EXPECT_EQ(TextToInteger("00"), 0);
    EXPECT_EQ(TextToInteger("2147483647"), 2147483647);
    EXPECT_EQ(TextToInteger("-2147483648"), -2147483647 - 1);
    for (const char* text : {"", "-", "5a", "12a", " 5", "5 ", "2147483648", "-2147483649",
                             "1.0", "0x10", "NA"}) {
        try {
            TextToInteger(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("'") + text + "' は整数ではありません");
        }
    }
}

TEST(FormatLf, SixDecimalsWithExactDigits)
{
    EXPECT_EQ(FormatLf(1.5), "1.500000");
    EXPECT_EQ(FormatLf(-1.5), "-1.500000");
    EXPECT_EQ(FormatLf(0.0000004), "0.000000");
    EXPECT_EQ(FormatLf(2.0000005), "2.000001");
    EXPECT_EQ(FormatLf(-1e99),
              "-999999999999999967336168804116691273849533185806555472917961779471295845921727862"
              "608739868455469056.000000");
}

}  // namespace
