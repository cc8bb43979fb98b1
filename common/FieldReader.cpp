#include "FieldReader.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

bool ReadTextLine(std::FILE* file, TTextLine& line)
{
    if (std::fgets(line.text, sizeof line.text, file) == nullptr) {
        line.text[0] = '\0';
        return false;
    }
    return true;
}

TLineFields SplitTabFields(const TTextLine& line)
{
    TLineFields fields;
    const char* p = line.text;
    while (*p != '\0' && fields.count < TLineFields::MaxFields) {
        while (*p == '\t') ++p;
        if (*p == '\0') break;
        const char* start = p;
        while (*p != '\0' && *p != '\t') ++p;
        fields.field[fields.count++] = std::string_view(start, static_cast<std::size_t>(p - start));
    }
    return fields;
}

namespace {

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view field)
{
    std::size_t i = 0;
    while (i < field.size() && IsCSpace(field[i])) ++i;
    return i;
}

}  // namespace

int ReadFieldInteger(std::string_view field)
{
    std::size_t i = SkipSpace(field);
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    long long value = 0;
    for (; i < field.size() && IsDigit(field[i]); ++i) {
        if (value <= INT_MAX) value = value * 10 + (field[i] - '0');
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

std::size_t DecimalNumberLength(const char* text)
{
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-') ++i;
    std::size_t digits = 0;
    while (IsDigit(text[i])) ++i, ++digits;
    if (text[i] == '.') {
        ++i;
        while (IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (text[i] == 'e' || text[i] == 'E') {
        std::size_t j = i + 1;
        if (text[j] == '+' || text[j] == '-') ++j;
        if (IsDigit(text[j])) {
            while (IsDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

double ParseDecimalNumber(const char* text, std::size_t length)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string number(text, length);
    return strtod_l(number.c_str(), nullptr, cLocale);
}

double ReadFieldReal(std::string_view field)
{
    const std::size_t start = SkipSpace(field);
    char buffer[TTextLine::MaxLength + 1];
    const std::size_t length = field.size() - start;
    std::memcpy(buffer, field.data() + start, length);
    buffer[length] = '\0';
    const std::size_t numberLength = DecimalNumberLength(buffer);
    return numberLength == 0 ? 0.0 : ParseDecimalNumber(buffer, numberLength);
}
