#include "FitDriver.h"

#include "LinearFit.h"

bool FitAndReport(TFitterWindow& window, TFitterState& state)
{
    if (!FitLine(state.Series, state.Line)) {
        window.AppendReportLine("Low data quality!!");
        return false;
    }
    return true;
}
