#include "FloatTraps.h"

#include <cfenv>

const char* const TrapOverflowText = "浮動小数点数のオーバーフロー";
const char* const TrapZeroDivideText = "0 による浮動小数点数除算";
const char* const TrapInvalidText = "不正な浮動小数点数演算命令";

void ClearFloatingPointFlags()
{
    std::feclearexcept(FE_ALL_EXCEPT);
}

void CheckFloatingPointTraps()
{
    const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    if (raised == 0) return;
    ClearFloatingPointFlags();
    if (raised & FE_INVALID) throw EFloatingPointTrap(TrapInvalidText);
    if (raised & FE_DIVBYZERO) throw EFloatingPointTrap(TrapZeroDivideText);
    throw EFloatingPointTrap(TrapOverflowText);
}

double CheckedValue(double value)
{
    CheckFloatingPointTraps();
    return value;
}
