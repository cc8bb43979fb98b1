// The viewer window's handlers, free of any toolkit: the form's slots, the
// export front end and the tests call these with their own TViewerWindow.
#pragma once

#include "ViewerWindow.h"

// Graph: reads the curve file named in Edit3 and draws the measured values, the
// differences magnified by the Mag. box (Edit1) and the model line, then reports
// the count and the model's first two steps. Returns true when the operation
// reached its end, false when a message stopped it: a report line, or an error
// message box when the Mag. box does not hold a number. Nothing escapes.
bool Button1Click(TViewerWindow& window);

// Read: the chosen file's path becomes the text of Edit3; cancel changes nothing.
void Button2Click(TViewerWindow& window);

// Distribution Check: reads the curve file named in Edit3 and draws the sorted
// differences against the normal quantiles of their plotting positions
// (RadioButton1: i/(n+1), else (i-0.3)/(n+0.4)), the zero line and the line of
// slope s through the origin; reports the count. Returns as Button1Click.
bool Button4Click(TViewerWindow& window);
