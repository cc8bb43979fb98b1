#include "NumberText.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "FieldReader.h"

EConvertError::EConvertError(const std::string& text, TNumberKind kind)
    : std::runtime_error(ConversionErrorText(text, kind)), text_(text), kind_(kind)
{
}

std::string ConversionErrorText(const std::string& text, TNumberKind kind)
{
    return "'" + text + (kind == TNumberKind::Integer ? "' は整数ではありません"
                                                      : "' は浮動小数点数ではありません");
}

std::string IntegerToText(long long value)
{
    return std::to_string(value);
}

namespace {

// A finite non-zero |value| as significant decimal digits d0 d1 ... and the
// decimal exponent of d0, so that |value| = d0.d1d2... x 10^exponent.
struct TDecimal {
    std::string digits;
    int exponent = 0;
};

constexpr int SignificantDigitsLookedAt = 18;

TDecimal FirstDigits(double value)
{
    // "%.17e" is the correctly rounded 18-digit decimal; to_chars gives the same
    // digits without depending on the locale.
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                std::chars_format::scientific, SignificantDigitsLookedAt - 1);
    *result.ptr = '\0';
    TDecimal decimal;
    decimal.digits.push_back(buffer[0]);
    const char* p = buffer + 1;
    if (*p == '.') {
        ++p;
        while (*p >= '0' && *p <= '9') decimal.digits.push_back(*p++);
    }
    decimal.exponent = std::atoi(p + 1);
    return decimal;
}

// Keeps `keep` significant digits, rounding half up on the next digit. A carry
// out of the first digit raises the exponent. keep <= 0 leaves either nothing
// (the value rounds to zero) or a single 1 one place above the first digit.
void RoundHalfUp(TDecimal& decimal, int keep)
{
    if (keep >= static_cast<int>(decimal.digits.size())) return;
    if (keep < 0) {
        decimal.digits.clear();
        return;
    }
    const bool up = decimal.digits[keep] >= '5';
    decimal.digits.resize(keep);
    if (!up) return;
    int i = keep - 1;
    while (i >= 0 && decimal.digits[i] == '9') decimal.digits[i--] = '0';
    if (i >= 0) {
        ++decimal.digits[i];
    } else {
        decimal.digits.insert(decimal.digits.begin(), '1');
        decimal.digits.resize(keep > 0 ? keep : 1);
        ++decimal.exponent;
    }
}

void StripTrailingZeros(TDecimal& decimal)
{
    while (!decimal.digits.empty() && decimal.digits.back() == '0') decimal.digits.pop_back();
}

bool IsZero(const TDecimal& decimal)
{
    return decimal.digits.find_first_not_of('0') == std::string::npos;
}

std::string NonFiniteText(double value)
{
    std::string text = std::signbit(value) ? "-" : "";
    return text + (std::isnan(value) ? "NAN" : "INF");
}

// Digit i of the decimal, '0' past its end.
char DigitAt(const TDecimal& decimal, int i)
{
    return i >= 0 && i < static_cast<int>(decimal.digits.size()) ? decimal.digits[i] : '0';
}

}  // namespace

std::string RealToGeneralText(double value, int precision)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    if (value == 0) return "0";

    TDecimal decimal = FirstDigits(value);
    RoundHalfUp(decimal, precision);
    StripTrailingZeros(decimal);

    std::string text = value < 0 ? "-" : "";
    const int e = decimal.exponent;
    const int count = static_cast<int>(decimal.digits.size());
    if (e < -4 || e >= precision) {
        text += decimal.digits[0];
        if (count > 1) text += "." + decimal.digits.substr(1);
        return text + "E" + std::to_string(e);
    }
    if (e < 0) return text + "0." + std::string(-e - 1, '0') + decimal.digits;
    for (int i = 0; i <= e; ++i) text += DigitAt(decimal, i);
    if (count > e + 1) text += "." + decimal.digits.substr(e + 1);
    return text;
}

std::string RealToText(double value)
{
    return RealToGeneralText(value, 15);
}

std::string RealToFixedText(double value, int precision, int decimals)
{
    if (!std::isfinite(value)) return NonFiniteText(value);
    const std::string zero = "0." + std::string(decimals, '0');
    if (value == 0) return zero;

    TDecimal decimal = FirstDigits(value);
    int keep = decimal.exponent + 1 + decimals;
    if (keep > precision) keep = precision;
    RoundHalfUp(decimal, keep);
    if (decimal.digits.empty() || IsZero(decimal)) return zero;

    const int e = decimal.exponent;
    if (e + 1 > precision) return RealToGeneralText(value, precision);

    std::string text = value < 0 ? "-" : "";
    if (e < 0) {
        text += "0";
    } else {
        for (int i = 0; i <= e; ++i) text += DigitAt(decimal, i);
    }
    text += ".";
    for (int place = 1; place <= decimals; ++place) text += DigitAt(decimal, e + place);
    return text;
}

int TextToInteger(const std::string& text)
{
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (i == text.size()) throw EConvertError(text, TNumberKind::Integer);
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') throw EConvertError(text, TNumberKind::Integer);
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) throw EConvertError(text, TNumberKind::Integer);
    }
    if (negative) value = -value;
    if (value > 2147483647LL) throw EConvertError(text, TNumberKind::Integer);
    return static_cast<int>(value);
}

double TextToReal(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    const std::size_t last = text.find_last_not_of(" \t");
    if (first == std::string::npos) throw EConvertError(text, TNumberKind::Real);
    const std::string number = text.substr(first, last - first + 1);
    std::size_t length = DecimalNumberLength(number.c_str());
    if (length == 0 || length != number.size()) throw EConvertError(text, TNumberKind::Real);
    const double value = ParseDecimalNumber(number.c_str(), length);
    if (std::isinf(value)) throw EConvertError(text, TNumberKind::Real);
    return value;
}

std::string FormatLf(double value)
{
    // The longest "%lf" of a double is about 310 digits before the point.
    std::array<char, 400> buffer;
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                std::chars_format::fixed, 6);
    return std::string(buffer.data(), result.ptr);
}
