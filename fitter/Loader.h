// The steps of a Start run between the run settings and the fit driver: load
// the measurement file, blank the points chosen in Skip Data, refuse a series
// with too few present points. Each returns whether the run goes on; one that
// returns false has already shown its message.
#pragma once

#include "FitterTypes.h"
#include "FitterWindow.h"

extern const char* const EchoFileName;  // "TESTout.TXT"

// Reads the file named in Edit15 into the series (present values multiplied by
// patternSign) and writes every accepted record to the data echo file.
bool LoadMeasurementFile(TFitterWindow& window, TMeasurementSeries& series, double patternSign);

// CheckBox5 ... CheckBox8 blank points 1 ... 4; CheckBox9 blanks the point
// named in Edit20. Throws EConvertError when Edit20 is not an integer.
bool ApplySkipOptions(TFitterWindow& window, TMeasurementSeries& series);

// Copies the first present value into y[0], counts the present points into m
// and refuses fewer than n / 2 of them.
bool CheckDataQuality(TFitterWindow& window, TMeasurementSeries& series);
