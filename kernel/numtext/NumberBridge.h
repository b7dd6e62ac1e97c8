// The decimal and floating-point conversions the display formats use:
// doubles to and from decimal records and text, 80-bit extended values,
// rounding direction and a few helpers. The decimal point is always '.'.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// How Num2Str writes a number: style 0 floating (digits = significant
// digits, at least 1), style 1 fixed (digits = digits after the point).
struct decform {
    int8_t style;
    int16_t digits;
};
constexpr int8_t FLOATDECIMAL = 0;
constexpr int8_t FIXEDDECIMAL = 1;

// A decimal number: (-1)^sgn × sig × 10^exp, sig a length-prefixed string of
// at most 20 digits ("0" for zero, "I" for infinity, "N" for not a number).
struct decimal {
    int8_t sgn;
    int16_t exp;
    uint8_t sig[21];
};

// An 80-bit extended value, stored big-endian: sign and 15-bit exponent, then
// a 64-bit significand with an explicit integer bit.
struct extended80 {
    uint8_t bytes[10];
};

void Num2Str(const decform* form, const double* value, platform::StringPtr dest);
// Reads a number from text[*index] (1-based) on; *index moves past what was
// read. validPrefix: the text from the index to its end is a number or the
// beginning of one ("-", "1e"); false when anything follows the number.
void Str2Dec(platform::ConstStr255Param text, int16_t* index, decimal* d, bool* validPrefix);
double dec2num(const decimal* d);
double Str2Num(platform::ConstStr255Param text);
void Convert10To8(const extended80* source, double* dest);
void Convert8To10(const double* source, extended80* dest);
// Rounded in the current direction, held at the type's limits (a NaN gives
// the smallest value).
int16_t Num2Integer(const double* value);
int32_t Num2Longint(const double* value);
double Cos(const double* value);
double Sin(const double* value);
// 0 to nearest, 1 upward, 2 downward, 3 toward zero.
void SetRound(int16_t mode);
bool isundefreal(const double* value);
// |a - b| <= epsilon.
bool egall(const double* a, const double* b);
