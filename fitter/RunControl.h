// The fitter window's handlers, free of any toolkit: the form's slots, the
// batch front end and the tests call these with their own TFitterWindow.
#pragma once

#include "FitterTypes.h"
#include "FitterWindow.h"

// Start: reads the fixed flags and Line/Hole, loads and checks the measurement
// file, fits and reports. The caption reads "Running..." while the run goes on
// and "Start" after every outcome. A conversion failure or a floating-point trap
// ends the run with an error message box; nothing escapes this handler.
// Returns true when the run reached its end, false when a message stopped it.
bool Button1Click(TFitterWindow& window, TFitterState& state);

// Default: the parameter boxes back to their texts at start.
void Button2Click(TFitterWindow& window);

// Clear: empties the report pane.
void Button3Click(TFitterWindow& window);

// "<<": copies an answer box verbatim into its initial-number box (0 ... 3 for
// a, b, c, d; the form's Button4Click ... Button7Click).
void CopyAnswerClick(TFitterWindow& window, int parameter);
