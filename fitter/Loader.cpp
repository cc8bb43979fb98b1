#include "Loader.h"

#include <cstring>

#include "CFile.h"
#include "FieldReader.h"
#include "NumberText.h"

const char* const EchoFileName = "TESTout.TXT";

namespace {

// A record search reads at most this many lines before giving up.
constexpr int MaxReadsPerRecord = 501;

bool HasDigitZero(std::string_view field)
{
    return field.find('0') != std::string_view::npos;
}

void WriteEchoLine(std::FILE* echo, int j, double value)
{
    std::fprintf(echo, "%d\t%s\n", j, FormatLf(value).c_str());
}

// Reads the header and returns the point count, or 0 after writing the failure
// into Edit15.
int ReadPointCount(TFitterWindow& window, std::FILE* input)
{
    TTextLine line;
    ReadTextLine(input, line);
    const TLineFields fields = SplitTabFields(line);
    const char* failure = nullptr;
    int n = 0;
    if (fields.count == 0) {
        failure = "Invalid data structure....1";
    } else if (fields.count == 1) {
        failure = "Invalid data structure....2";
    } else {
        n = ReadFieldInteger(fields.field[1]);
        if (n < 2) failure = "Invalid data structure....4";
        // The series has slots for points 1 ... 500 only.
        else if (n > SeriesCapacity) failure = "Invalid data structure....3";
    }
    if (failure == nullptr) return n;
    window.WriteBoxText(TFitterControl::Edit15, failure);
    return 0;
}

// Reads lines until one has a field; false when MaxReadsPerRecord reads found none.
bool ReadRecordLine(std::FILE* input, TTextLine& line, TLineFields& fields)
{
    for (int reads = 0; reads < MaxReadsPerRecord; ++reads) {
        ReadTextLine(input, line);
        fields = SplitTabFields(line);
        if (fields.count > 0) return true;
    }
    return false;
}

// The stored value of record j's value field: patternSign * v, or MissingValue
// (reported) for a negative value or a zero read from a field without the digit 0.
double AcceptValue(TFitterWindow& window, int j, std::string_view field, double patternSign)
{
    const double v = ReadFieldReal(field);
    if (v < 0 || (v == 0 && !HasDigitZero(field))) {
        window.AppendReportLine("j= " + IntegerToText(j) + "  data=" + RealToText(v));
        return MissingValue;
    }
    return static_cast<double>(static_cast<long double>(patternSign) * v);
}

}  // namespace

bool LoadMeasurementFile(TFitterWindow& window, TMeasurementSeries& series, double patternSign)
{
    const std::string path = window.ReadBoxText(TFitterControl::Edit15);
    TCFile input = OpenCFile(path.c_str(), "r");
    if (!input) {
        window.AppendReportLine("");
        window.AppendReportLine("I can not open an input file.");
        return false;
    }
    TCFile echo = OpenCFile(EchoFileName, "w");
    if (!echo) {
        window.AppendReportLine("I can not open an output file.");
        return false;
    }

    const int n = ReadPointCount(window, input.get());
    if (n == 0) return false;
    series.n = n;
    std::fprintf(echo.get(), "n=%4d\n", n);
    for (double& value : series.y) value = MissingValue;

    TTextLine line;
    TLineFields fields;
    for (int j = 1; j <= n; ++j) {
        if (!ReadRecordLine(input.get(), line, fields)) {
            window.WriteBoxText(TFitterControl::Edit15, "An imput File Error.");
            return false;
        }
        const int p = ReadFieldInteger(fields.field[0]);
        if (p == 0) {
            window.AppendReportLine("Invalid data structure....5");
            return false;
        }
        if (p != j) {
            window.AppendReportLine("Invalid data structure....6");
            window.AppendReportLine("i,j= " + IntegerToText(j) + " , " + IntegerToText(p));
            return false;
        }
        if (fields.count > 1) series.y[j] = AcceptValue(window, j, fields.field[1], patternSign);
        WriteEchoLine(echo.get(), j, series.y[j]);
    }
    // Both streams close here, the echo file first.
    return true;
}

bool ApplySkipOptions(TFitterWindow& window, TMeasurementSeries& series)
{
    const TFitterControl skipBoxes[] = {TFitterControl::CheckBox5, TFitterControl::CheckBox6,
                                        TFitterControl::CheckBox7, TFitterControl::CheckBox8};
    for (int point = 1; point <= 4; ++point) {
        if (window.IsBoxChecked(skipBoxes[point - 1])) series.y[point] = MissingValue;
    }
    if (!window.IsBoxChecked(TFitterControl::CheckBox9)) return true;

    // A byte-wise sort test rather than a numeric one: it lets "1000", "00" and
    // "12a" through (to the range check or the conversion failure below).
    const std::string t = window.ReadBoxText(TFitterControl::Edit20);
    if (std::strcmp(t.c_str(), "999") > 0 || std::strcmp(t.c_str(), "0") <= 0) {
        window.AppendReportLine("Skip Data 'n' is not a number. Input number.");
        return false;
    }
    const int k = TextToInteger(t);
    if (k >= 1 && k <= SeriesCapacity) {
        series.y[k] = MissingValue;
    } else {
        window.WriteBoxText(TFitterControl::Edit20, "NA");
    }
    return true;
}

bool CheckDataQuality(TFitterWindow& window, TMeasurementSeries& series)
{
    series.y[0] = MissingValue;
    for (int j = 1; j <= series.n; ++j) {
        if (IsPresent(series.y[j])) {
            series.y[0] = series.y[j];
            break;
        }
    }
    series.m = 0;
    for (int j = 1; j <= series.n; ++j) {
        if (IsPresent(series.y[j])) ++series.m;
    }
    if (series.m < series.n / 2) {
        window.WriteBoxText(TFitterControl::Edit15, "Low Data Quality...");
        return false;
    }
    return true;
}
