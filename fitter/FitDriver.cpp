#include "FitDriver.h"

#include <chrono>
#include <cmath>
#include <string>

#include "CurveFile.h"
#include "FitEngine.h"
#include "FloatTraps.h"
#include "LinearFit.h"
#include "NumberText.h"

namespace {

using Extended = long double;

const char* const Separator = "------------------------------------------------";

// Milliseconds on a monotonic clock; only differences are used.
int TickCount()
{
    using namespace std::chrono;
    return static_cast<int>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

double Signed(double s, double value)
{
    return static_cast<double>(Extended(s) * value);
}

std::string Fixed12(double value, int precision)
{
    return RealToFixedText(value, precision, 12);
}

void ReadInitialNumbers(TFitterWindow& window, TModelParameters& params)
{
    params.InitialA = TextToReal(window.ReadBoxText(TFitterControl::Edit1));
    params.InitialB = TextToReal(window.ReadBoxText(TFitterControl::Edit2));
    params.InitialC = TextToReal(window.ReadBoxText(TFitterControl::Edit3));
    params.InitialD = TextToReal(window.ReadBoxText(TFitterControl::Edit4));
}

void ReportLineOutcome(TFitterWindow& window, TFitterState& state)
{
    TModelParameters& p = state.Params;
    const double s = state.PatternSign;
    window.AppendReportLine("");
    window.AppendReportLine("I think linear Fitting is better.");
    p.a = state.Line.A;
    p.b = state.Line.B;
    p.c = 1.0;
    p.d = 0.0;
    window.AppendReportLine(Separator);
    window.AppendReportLine(" a= \t" + Fixed12(Signed(s, p.a), 15));
    window.AppendReportLine(" b= \t" + Fixed12(Signed(s, p.b), 15));
    window.AppendReportLine("");
    for (TFitterControl box : {TFitterControl::Edit5, TFitterControl::Edit6, TFitterControl::Edit7,
                               TFitterControl::Edit8}) {
        window.WriteBoxText(box, "NA");
    }
    window.AppendReportLine("3s(n-2)=\t" + Fixed12(state.Line.ThreeSN2, 15));
    window.AppendReportLine("");
    window.AppendReportLine("If you use an exp-fitting model...");
    window.AppendReportLine("3s(n-4)=\t" + Fixed12(p.ThreeSN4, 15));
}

void ReportParameters(TFitterWindow& window, const TModelParameters& p, double s)
{
    window.AppendReportLine(" a=\t" + Fixed12(Signed(s, p.a), 16));
    window.AppendReportLine(" b=\t" + Fixed12(Signed(s, p.b), 16));
    window.AppendReportLine(" c=\t" + Fixed12(Signed(s, p.c), 16));
    window.AppendReportLine(" d=\t" + Fixed12(Signed(s, p.d), 16));
    window.AppendReportLine("");
    window.AppendReportLine(" 3s(n-4)= " + RealToText(p.ThreeSN4));
}

void ReportModelOutcome(TFitterWindow& window, TFitterState& state, int iRet)
{
    TModelParameters& p = state.Params;
    const double s = state.PatternSign;
    window.AppendReportLine(Separator);
    if (iRet == FitConverged) {
        // With d that small the exponential term is all but the line d x, and
        // c = 1 is what is shown and written.
        if (!std::isgreater(std::fabs(p.d), 1e-12)) p.c = 1.0;
        window.WriteBoxText(TFitterControl::Edit5, Fixed12(Signed(s, p.a), 15));
        window.WriteBoxText(TFitterControl::Edit6, Fixed12(Signed(s, p.b), 15));
        window.WriteBoxText(TFitterControl::Edit7, Fixed12(Signed(s, p.c), 15));
        window.WriteBoxText(TFitterControl::Edit8, Fixed12(Signed(s, p.d), 15));
    } else {
        window.AppendReportLine(iRet == FitCLimit
            ? " C の値が  200 を超えました。収束しませんでした。"
            : " ループの回数が  2,000,000 回を超えました。収束しませんでした。");
        window.AppendReportLine(" 検索範囲のベストな組み合わせは以下のとおり。");
    }
    ReportParameters(window, p, s);
}

void ReportClosingLines(TFitterWindow& window, const TFitterState& state)
{
    const TModelParameters& p = state.Params;
    const double s = state.PatternSign;
    window.AppendReportLine(" Data=\t" + IntegerToText(state.Series.m));
    window.AppendReportLine("");
    window.AppendReportLine("Loop=\t" + IntegerToText(state.Engine.LoopCount));
    // A value that is not a number counts as equal here.
    const bool curved = std::islessgreater(p.c, 1.0) && std::islessgreater(p.d, 0.0);
    if (curved) {
        window.AppendReportLine("");
        window.AppendReportLine("If you use a linear fitting model...");
        window.AppendReportLine(" A=\t" + Fixed12(Signed(s, state.Line.A), 15));
        window.AppendReportLine(" B=\t" + Fixed12(Signed(s, state.Line.B), 15));
        window.AppendReportLine("3s(n-2)=\t" + Fixed12(state.Line.ThreeSN2, 15));
        window.AppendReportLine("");
    }
    if (curved && state.Series.m > 4) {
        window.AppendReportLine("3s(n-4)=\t" + Fixed12(p.ThreeSN4, 15));
    }
    window.AppendReportLine(Separator);
}

}  // namespace

void DeriveStartValues(const TMeasurementSeries& series, const TLinearResult& line,
                       TModelParameters& params)
{
    const double* y = series.y;
    ClearFloatingPointFlags();
    if (params.FixedA == 1) {
        params.a = params.InitialA;
    } else if (IsPresent(y[1]) && IsPresent(y[2])) {
        params.a = CheckedValue(static_cast<double>((Extended(y[1]) - y[2]) * 1.1 + y[1]));
    } else if (IsPresent(y[1]) && IsPresent(y[3])) {
        params.a = CheckedValue(static_cast<double>((Extended(y[1]) - y[3]) * 0.6 + y[1]));
    } else if (IsPresent(y[2]) && IsPresent(y[3])) {
        params.a = CheckedValue(static_cast<double>((Extended(y[2]) - y[3]) * 2.2 + y[2]));
    } else {
        // The first point not below -1e98; the line fit needed two present points,
        // so there is one.
        int j = 1;
        while (j < series.n && y[j] < PresentThreshold) ++j;
        params.a = CheckedValue(static_cast<double>(Extended(y[j]) - Extended(j) * line.B));
    }
    params.b = params.FixedB == 1 ? params.InitialB : 0.0;
    params.c = params.FixedC == 1 ? params.InitialC : 1.0;
    params.d = params.FixedD == 1 ? params.InitialD : line.B;
}

void ReportJudgement(TFitterWindow& window, TFitterState& state, int iRet)
{
    // The line wins ties; a spread that is not a number loses the comparison.
    if (std::isgreaterequal(state.Params.ThreeSN4, state.Line.ThreeSN2)) {
        ReportLineOutcome(window, state);
    } else {
        ReportModelOutcome(window, state, iRet);
    }
    ReportClosingLines(window, state);
}

bool FitAndReport(TFitterWindow& window, TFitterState& state)
{
    const int t0 = TickCount();
    if (!FitLine(state.Series, state.Line)) {
        window.AppendReportLine("Low data quality!!");
        return false;
    }
    TModelParameters& p = state.Params;
    ReadInitialNumbers(window, p);
    DeriveStartValues(state.Series, state.Line, p);

    state.LastRun.EngineEntered = true;
    const int iRet = FitExpModel(state.Series, p, state.Line.ThreeSN2, state.Engine);
    state.LastRun.ReturnCode = iRet;

    ReportJudgement(window, state, iRet);

    const double s = state.PatternSign;
    WriteCurveFile(state.Series.n, state.Series.y, s, Signed(s, p.a), Signed(s, p.b),
                   Signed(s, p.c), Signed(s, p.d));
    const int t1 = TickCount();
    window.AppendReportLine(
        RealToFixedText(static_cast<double>(Extended(t1 - t0) * 0.001), 8, 3) + " sec");
    return true;
}
