// The programs run as if the floating-point unit trapped on an invalid
// operation, a division by zero and an overflow. The hardware does not trap
// here; instead a computation clears the sticky flags, evaluates, and calls
// CheckFloatingPointTraps, which throws the trap's message. The exponential and
// the square root never trap: callers clear their flags right after them.
#pragma once

#include <stdexcept>
#include <string>

extern const char* const TrapOverflowText;    // "浮動小数点数のオーバーフロー"
extern const char* const TrapZeroDivideText;  // "0 による浮動小数点数除算"
extern const char* const TrapInvalidText;     // "不正な浮動小数点数演算命令"

class EFloatingPointTrap : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void ClearFloatingPointFlags();

// Throws EFloatingPointTrap when an invalid operation, a division by zero or an
// overflow has been flagged since the last clear. A real trap stops at the first
// faulting operation, so each check covers one step that can fault in one way
// only; where several flags could meet, invalid is reported before division by
// zero before overflow.
void CheckFloatingPointTraps();

// The same check, taking the value just computed: passing it to a function the
// compiler cannot see into makes sure it is evaluated before the flags are read.
double CheckedValue(double value);
