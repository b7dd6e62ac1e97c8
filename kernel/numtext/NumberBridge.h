// The kernel's bridge to decimal conversion, and integer text: what the
// display formats need to read and write numbers. Nothing depends on the
// process locale.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

using platform::ConstStr255Param;
using platform::StringPtr;

// How Num2Str writes a double.
struct decform {
    enum Style : int16_t { kFloating = 0, kFixed = 1 };
    int16_t style = kFloating;
    int16_t digits = 19;  // significant digits (floating), fraction digits (fixed)
};

// A parsed decimal: the number text Str2Dec recognised.
struct decimal {
    double value = 0.0;
};

// The double as text: floating style is a sign (a space or '-'), one digit,
// '.' and digits - 1 digits, 'e', the exponent's sign and digits
// (" 1.5e+0"); fixed style the digits with that many fraction digits.
// Infinities and NaNs give "INF", "-INF" and "NAN".
void Num2Str(const decform& form, const double* value, StringPtr dest);

// Reads a number from text[*index] on (1-based): optional blanks, a sign,
// digits with an optional '.', an optional exponent, or INF / NAN. *index
// moves past what was read; *validPrefix tells whether everything from the
// start index to the text's end is a number or the beginning of one.
void Str2Dec(ConstStr255Param text, int16_t* index, decimal* d, uint8_t* validPrefix);
// The number at the start of the text, 0 when there is none.
double Str2Num(ConstStr255Param text);

// Rounded to nearest, saturated to the 32-bit range; NaN gives 0.
int32_t Num2Longint(const double* value);
bool isundefreal(const double* value);

// Every digit 0-9 appends to the value (wrapping), every '-' flips the sign,
// other characters are skipped; at most 80 characters are looked at.
int32_t evalint(ConstStr255Param text);
// Upper-case hexadecimal without leading zeros; with the prefix, "0x" and
// zeros up to 4 or 8 digits.
void strlongHex(int32_t value, StringPtr dest, bool prefix);
// The decimal text of a 32-bit integer.
void strint(int32_t value, StringPtr dest);
