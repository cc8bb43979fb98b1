// Number and text conversions shared by both programs. None of them depends on
// the process locale: a desktop set to a decimal comma must still read and write
// "1.5".
#pragma once

#include <stdexcept>
#include <string>

enum class TNumberKind { Integer, Real };

// A box text that does not convert to a number. It ends the running operation;
// the handler boundary shows ConversionErrorText in an error message box.
class EConvertError : public std::runtime_error {
public:
    EConvertError(const std::string& text, TNumberKind kind);
    const std::string& Text() const { return text_; }
    TNumberKind Kind() const { return kind_; }

private:
    std::string text_;
    TNumberKind kind_;
};

// "'%s' は整数ではありません" or "'%s' は浮動小数点数ではありません".
std::string ConversionErrorText(const std::string& text, TNumberKind kind);

// Plain decimal, with a minus sign when negative.
std::string IntegerToText(long long value);

// General format: 15 significant digits (rounded half up from the value's first
// 18 significant decimal digits), no trailing zeros, plain notation when
// 0.0001 <= |x| < 1E15, else "1.5E20" / "1E-5"; "INF", "NAN" with a leading
// minus sign when the sign bit is set; zero is "0".
std::string RealToText(double value);

// The same general format with at most `precision` significant digits.
std::string RealToGeneralText(double value, int precision);

// Fixed format: at most `precision` significant digits, exactly `decimals`
// digits after the point, half-up rounding on the first 18 significant digits.
// A rounded zero is "0." and `decimals` zeros, without a sign. A value with more
// than `precision` integer digits falls back to the general format.
std::string RealToFixedText(double value, int precision, int decimals);

// Optional sign and decimal digits, the whole text, within 32 bits.
int TextToInteger(const std::string& text);

// Optional blanks, sign, digits with an optional point and fraction, optional
// exponent, optional blanks; nothing else (no inf, nan or hexadecimal forms).
double TextToReal(const std::string& text);

// C printf "%lf": fixed notation with six decimals, exact digits, always ".".
std::string FormatLf(double value);
