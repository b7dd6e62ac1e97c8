// Kernel globals of number, date and time text: the century window for
// two-digit years, the three digit ranges and the tolerance of real
// comparisons. The kernel reset gives them their starting values; the
// application then sets the century window to 19 and 80.
#pragma once

#include <cstdint>

extern int16_t DefaultCentury;
extern int16_t PivotYear;
// Low byte: the character code of the digit zero of one range of ten digits.
extern uint16_t digit1;
extern uint16_t digit2;
extern uint16_t digit3;
extern double epsilon;

// DefaultCentury and PivotYear 0, the three digit ranges '0', epsilon 1e-6.
void ResetNumTextGlobals();

// True when ch is a digit of the range whose zero is the low byte of range.
inline bool IsDigitOf(uint8_t ch, uint16_t range)
{
    const uint8_t zero = uint8_t(range);
    return ch >= zero && ch - zero < 10;
}
inline bool IsAnyDigit(uint8_t ch) { return IsDigitOf(ch, digit1) || IsDigitOf(ch, digit2) || IsDigitOf(ch, digit3); }
// The digit's value in whichever range holds it; -1 when none does.
int32_t DigitValue(uint8_t ch);
