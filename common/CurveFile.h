// The curve file: the fitter writes the measured values beside the fitted
// model, the viewer reads them back. Text, one count line and then rows 0 ... n
// of point number, measured value and model value, TAB-separated.
#pragma once

#include <string>

extern const char* const CurveFileName;  // "TESTout.tmp", in the current folder

// Writes CurveFileName: the count n, row 0 (0, patternSign * y[0], a), and for
// j = 1 ... n the row j, patternSign * y[j], Y(j), where Y is b*x + a when c is
// exactly 0.0 and a + b*x + c*(exp(d/c*x) - 1) otherwise. The caller passes
// a ... d already multiplied by patternSign, so both columns come out in the
// measurement file's own sign. Missing points (-1e99) are written as they are.
// An exponential beyond the range of double reaches the file as "inf"/"-inf".
// A file that cannot be created is left alone and nothing is reported.
void WriteCurveFile(int n, const double* y, double patternSign, double a, double b, double c,
                    double d);

// A curve file in memory: slot k holds the row whose point number is k.
struct TCurveData {
    static constexpr int MaxCapacity = 500;
    int count = 0;
    double measured[MaxCapacity + 1] = {};
    double model[MaxCapacity + 1] = {};
};

enum class TCurveReadStatus {
    Read,        // every slot 0 ... count filled
    OpenFailed,  // the file cannot be opened; nothing was read
    Malformed,   // `problem` says what is wrong and on which line
};

struct TCurveReadResult {
    TCurveReadStatus status = TCurveReadStatus::OpenFailed;
    // The count line was read and data.count holds its number, also when the
    // file turned out malformed afterwards: the viewer reports the count first.
    bool countRead = false;
    std::string problem;
    TCurveData data;
};

// Reads a curve file whose point numbers may go up to `capacity` (at most
// TCurveData::MaxCapacity). Lines are read in 254-character pieces and split at
// TABs; CR LF and LF line ends read alike; each row is stored under its own
// point number. The file is malformed when it ends before count + 1 rows, a row
// has fewer than three fields, a line is longer than 254 characters, the count
// lies outside 1 ... capacity, a point number outside 0 ... capacity, or a
// point 1 ... count has no row. Lines after the last row are not read.
TCurveReadResult ReadCurveFile(const std::string& path, int capacity);
