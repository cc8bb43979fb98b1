#include "CurveFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "CFile.h"
#include "FieldReader.h"
#include "NumberText.h"

const char* const CurveFileName = "TESTout.tmp";

namespace {

// The model at x = j, each step stored as a double in the order the fitter has
// always used, so the file's last digit does not depend on the compiler.
double ModelValue(int j, double a, double b, double c, double d)
{
    const double x = j;
    if (c == 0.0) return static_cast<double>(static_cast<long double>(b) * x + a);
    double q = static_cast<double>(static_cast<long double>(d) / c);
    q = static_cast<double>(static_cast<long double>(q) * x);
    double e = std::exp(q);
    e = static_cast<double>(static_cast<long double>(e) - 1);
    e = static_cast<double>(static_cast<long double>(e) * c);
    double u = static_cast<double>(static_cast<long double>(b) * x);
    u = static_cast<double>(static_cast<long double>(u) + a);
    return static_cast<double>(static_cast<long double>(e) + u);
}

void WriteRow(std::FILE* file, int j, double measured, double model)
{
    std::fprintf(file, "%d\t%s\t%s\n", j, FormatLf(measured).c_str(), FormatLf(model).c_str());
}

}  // namespace

void WriteCurveFile(int n, const double* y, double patternSign, double a, double b, double c,
                    double d)
{
    // fopen truncates only once the open has succeeded, so a file that cannot
    // be opened for writing keeps its old content.
    TCFile file = OpenCFile(CurveFileName, "w");
    if (!file) return;
    std::fprintf(file.get(), "%d\n", n);
    WriteRow(file.get(), 0, patternSign * y[0], a);
    for (int j = 1; j <= n; ++j) {
        WriteRow(file.get(), j, patternSign * y[j], ModelValue(j, a, b, c, d));
    }
}

namespace {

std::string LineProblem(int lineNumber, const std::string& what)
{
    return "Curve file line " + IntegerToText(lineNumber) + ": " + what;
}

enum class TLineRead { Read, EndOfFile, TooLong };

// One line of the file. A piece that stops short of its line end means the
// line is longer than the 254 characters a piece holds; the rest would be read
// as a line of its own, so the file is refused instead.
TLineRead ReadCurveLine(std::FILE* file, TTextLine& line)
{
    if (!ReadTextLine(file, line)) return TLineRead::EndOfFile;
    const std::size_t length = std::strlen(line.text);
    if (length > 0 && line.text[length - 1] == '\n') return TLineRead::Read;
    const int next = std::fgetc(file);
    if (next == EOF) return TLineRead::Read;
    std::ungetc(next, file);
    return TLineRead::TooLong;
}

class TCurveReader {
public:
    TCurveReader(std::FILE* file, int capacity, TCurveReadResult& result)
        : file_(file), capacity_(capacity), result_(result)
    {
    }

    bool ReadCount();
    bool ReadRows();
    bool CheckNumbering();

private:
    bool ReadLine(const char* endOfFileText);
    bool Fail(const std::string& what);

    std::FILE* file_;
    int capacity_;
    TCurveReadResult& result_;
    TTextLine line_;
    TLineFields fields_;
    int lineNumber_ = 0;
    bool filled_[TCurveData::MaxCapacity + 1] = {};
};

bool TCurveReader::Fail(const std::string& what)
{
    result_.status = TCurveReadStatus::Malformed;
    result_.problem = LineProblem(lineNumber_, what);
    return false;
}

bool TCurveReader::ReadLine(const char* endOfFileText)
{
    ++lineNumber_;
    switch (ReadCurveLine(file_, line_)) {
    case TLineRead::EndOfFile:
        return Fail(endOfFileText);
    case TLineRead::TooLong:
        return Fail("the line is longer than 254 characters.");
    case TLineRead::Read:
        break;
    }
    fields_ = SplitTabFields(line_);
    return true;
}

bool TCurveReader::ReadCount()
{
    if (!ReadLine("the file is empty.")) return false;
    if (fields_.count == 0) return Fail("no count.");
    const int count = ReadFieldInteger(fields_.field[0]);
    result_.data.count = count;
    result_.countRead = true;
    if (count < 1) return Fail("the count " + IntegerToText(count) + " is below 1.");
    if (count > capacity_) {
        return Fail("the count " + IntegerToText(count) + " is above the capacity of " +
                    IntegerToText(capacity_) + " points.");
    }
    return true;
}

bool TCurveReader::ReadRows()
{
    TCurveData& data = result_.data;
    const std::string endOfFile =
        "the file ends, but the count " + IntegerToText(data.count) + " asks for " +
        IntegerToText(data.count + 1) + " rows.";
    for (int i = 0; i <= data.count; ++i) {
        if (!ReadLine(endOfFile.c_str())) return false;
        if (fields_.count < 3) return Fail("fewer than three fields.");
        // Row 0 always goes to slot 0; its point number is not used.
        const int k = i == 0 ? 0 : ReadFieldInteger(fields_.field[0]);
        if (k < 0 || k > capacity_) {
            return Fail("the point number " + IntegerToText(k) + " is outside 0 ... " +
                        IntegerToText(capacity_) + ".");
        }
        data.measured[k] = ReadFieldReal(fields_.field[1]);
        data.model[k] = ReadFieldReal(fields_.field[2]);
        filled_[k] = true;
    }
    return true;
}

// Rows stored under their own numbers can leave a point without a row, which
// would otherwise be read from a slot the file never filled.
bool TCurveReader::CheckNumbering()
{
    for (int k = 1; k <= result_.data.count; ++k) {
        if (!filled_[k]) {
            result_.status = TCurveReadStatus::Malformed;
            result_.problem = "Curve file lines 3 ... " + IntegerToText(lineNumber_) +
                              ": no row for point " + IntegerToText(k) + ".";
            return false;
        }
    }
    return true;
}

}  // namespace

TCurveReadResult ReadCurveFile(const std::string& path, int capacity)
{
    TCurveReadResult result;
    TCFile file = OpenCFile(path.c_str(), "r");
    if (!file) return result;
    // The slots bound every point number the reader accepts.
    TCurveReader reader(file.get(), std::min(capacity, TCurveData::MaxCapacity), result);
    if (reader.ReadCount() && reader.ReadRows() && reader.CheckNumbering()) {
        result.status = TCurveReadStatus::Read;
    }
    return result;
}
