#include "kernel/numtext/NumTextGlobals.h"

#include <initializer_list>

int16_t DefaultCentury = 0;
int16_t PivotYear = 0;
uint16_t digit1 = '0';
uint16_t digit2 = '0';
uint16_t digit3 = '0';
double epsilon = 1e-6;

void ResetNumTextGlobals()
{
    DefaultCentury = 0;
    PivotYear = 0;
    digit1 = digit2 = digit3 = '0';
    epsilon = 1e-6;
}

int32_t DigitValue(uint8_t ch)
{
    for (uint16_t range : {digit1, digit2, digit3})
        if (IsDigitOf(ch, range)) return ch - uint8_t(range);
    return -1;
}
