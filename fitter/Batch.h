// The Start run without a window, for scripts and for checking the fitter on
// many files:
//   quelfit --batch [--hole] [--fix a|b|c|d]... [--a TEXT] [--b TEXT] [--c TEXT]
//           [--d TEXT] [--skip 1|2|3|4]... [--skip-n TEXT] [--repeat K] [--json] FILE
// Every box starts at its text at program start except what the options set;
// between repeats the boxes keep what the previous run left, as in the window.
#pragma once

#include <ostream>

// True when the command line asks for batch mode.
bool IsBatchInvocation(int argc, const char* const* argv);

// Runs Start as asked. Plain output: the report lines on `out`, texts written
// into Edit15 or Edit20 and message-box texts on `err`. With --json, one object
// per run and line on `out`. Returns 0 when every run reached its end, 1 when a
// run was stopped by a message, 2 on a usage error.
int RunFitterBatch(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
