// C-style reading of the programs' text files: lines in pieces of at most 254
// characters, fields split at TAB only, integers read like atol and reals like a
// decimal-only strtod. Shared by the measurement loader and the curve-file reader.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

// One piece of a line as fgets reads it into a 255-character buffer: at most 254
// characters up to and including the line feed. A carriage return is an ordinary
// character here; the number readers stop at it.
struct TTextLine {
    static constexpr int MaxLength = 254;
    char text[MaxLength + 1] = {};
};

// Reads the next piece; at the end of the file the piece is empty and the result
// is false.
bool ReadTextLine(std::FILE* file, TTextLine& line);

// The maximal runs of characters other than TAB, as strtok(line, "\t") finds
// them: a run of TABs is one separator, leading TABs are skipped, and the line
// end stays on the last field. A blank line has one field (its line end); a
// piece of TABs alone, or an empty piece, has none.
struct TLineFields {
    static constexpr int MaxFields = TTextLine::MaxLength / 2 + 1;
    int count = 0;
    std::string_view field[MaxFields];
};

TLineFields SplitTabFields(const TTextLine& line);

// atol: leading white space, an optional sign, decimal digits up to the first
// other character; no digits reads 0. Saturates at the 32-bit range, so a huge
// count can never wrap round into a small one.
int ReadFieldInteger(std::string_view field);

// strtod restricted to decimal numbers: leading white space, the longest
// [sign] digits [. digits] [e [sign] digits] prefix; no number reads 0. No inf,
// nan or hexadecimal forms. Overflow gives +-infinity, underflow 0, as strtod.
double ReadFieldReal(std::string_view field);

// Length of the longest decimal number at the start of text (no white space
// skipped), 0 when there is none.
std::size_t DecimalNumberLength(const char* text);

// Converts the first `length` characters of text, which DecimalNumberLength
// accepted, independently of the process locale.
double ParseDecimalNumber(const char* text, std::size_t length);
