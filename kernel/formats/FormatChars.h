// The characters that display formats are written with. They are kernel
// globals: start-up loads them from the application's resources ('COM#' 8
// and the zero digits of 'INTQ' 0); until then they hold the shipped
// defaults. The system decimal separator is fixed ('.'), never the locale's.
#pragma once

#include "kernel/numtext/NumTextGlobals.h"

#include <cstdint>

#include "platform/core/MacTypes.h"

extern uint8_t diese;       // digit placeholder; unused positions vanish
extern uint8_t hardspace;   // digit placeholder; unused positions show hardspace2
extern uint8_t star;        // digit placeholder; unused positions show star
extern uint8_t zeroforce;   // digit placeholder; unused positions show a zero
extern uint8_t comma;       // decimal separator of formats
extern uint8_t semicol;     // separates the positive, negative and zero sections
extern uint8_t hardspace2;  // fill of unused hardspace positions
extern uint8_t ampersand;   // first character of the special forms
extern uint8_t exponent;
extern uint8_t moinschar;   // minus sign in two-byte-script mode
// Zero characters of up to three digit ranges (low byte used).
// The decimal separator of number texts, as a one-character string.
extern platform::Str255 decpoint;

// The system's decimal separator.
uint8_t SystemDecimalSeparator();

// Puts the shipped defaults back.
void ResetFormatChars();

// Reads 'COM#' 8 (ten characters) from the current resource chain; a
// missing or short resource leaves the defaults. comma and decpoint then
// take the system decimal separator. The zero digits come with the
// interface layout ('INTQ' 0), which the kernel start-up reads.
void LoadFormatChars();

// The number of noise digits that real-number text cleans up: the 16-bit
// field at byte 78 of the customisation record, 5 when there is none or it
// is 0 or below.
int16_t NoiseDigitCount();
