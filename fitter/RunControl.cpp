#include "RunControl.h"

#include <exception>

#include "FitDriver.h"
#include "FloatTraps.h"
#include "Loader.h"
#include "NumberText.h"

namespace {

bool RunSteps(TFitterWindow& window, TFitterState& state)
{
    TModelParameters& params = state.Params;
    params.FixedA = window.IsBoxChecked(TFitterControl::CheckBox1) ? 1 : 0;
    params.FixedB = window.IsBoxChecked(TFitterControl::CheckBox2) ? 1 : 0;
    params.FixedC = window.IsBoxChecked(TFitterControl::CheckBox3) ? 1 : 0;
    params.FixedD = window.IsBoxChecked(TFitterControl::CheckBox4) ? 1 : 0;
    window.SetStartCaption("Running...");
    if (params.FixedA && params.FixedB && params.FixedC && params.FixedD) {
        window.AppendReportLine("All of a,b,c,d were checked.");
        return false;
    }
    // The two options share one group, so Hole is checked whenever Line is not.
    state.PatternSign = window.IsBoxChecked(TFitterControl::RadioButton1) ? 1.0 : -1.0;

    return LoadMeasurementFile(window, state.Series, state.PatternSign)
        && ApplySkipOptions(window, state.Series)
        && CheckDataQuality(window, state.Series)
        && FitAndReport(window, state);
}

}  // namespace

bool Button1Click(TFitterWindow& window, TFitterState& state)
{
    bool reachedEnd = false;
    state.LastRun = TRunRecord();
    try {
        reachedEnd = RunSteps(window, state);
    } catch (const EConvertError& error) {
        window.ShowConversionError(error.Text(), error.Kind());
    } catch (const std::exception& error) {
        window.ShowErrorMessage(error.what());
    }
    window.SetStartCaption("Start");
    return reachedEnd;
}

void Button2Click(TFitterWindow& window)
{
    window.WriteBoxText(TFitterControl::Edit1, IntegerToText(0));
    window.WriteBoxText(TFitterControl::Edit2, IntegerToText(0));
    window.WriteBoxText(TFitterControl::Edit3, IntegerToText(1));
    window.WriteBoxText(TFitterControl::Edit4, RealToText(-0.1));
    window.WriteBoxText(TFitterControl::Edit5, "NA");
    window.WriteBoxText(TFitterControl::Edit6, "NA");
    window.WriteBoxText(TFitterControl::Edit7, "NA");
    window.WriteBoxText(TFitterControl::Edit8, "NA");
}

void Button3Click(TFitterWindow& window)
{
    window.ClearReport();
}

void CopyAnswerClick(TFitterWindow& window, int parameter)
{
    static const TFitterControl answers[] = {TFitterControl::Edit5, TFitterControl::Edit6,
                                             TFitterControl::Edit7, TFitterControl::Edit8};
    static const TFitterControl initials[] = {TFitterControl::Edit1, TFitterControl::Edit2,
                                              TFitterControl::Edit3, TFitterControl::Edit4};
    window.WriteBoxText(initials[parameter], window.ReadBoxText(answers[parameter]));
}
