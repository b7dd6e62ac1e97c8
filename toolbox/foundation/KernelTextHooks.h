// Text services of the kernel that toolbox values use: the real, hour and
// date formatters and the display formats. The kernel sits above the toolbox
// foundation and installs them at start-up; until then reals get a plain
// round-trip text and the other entries do nothing.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VValue.h"

struct KernelTextHooks {
    // The number text of *value as a length-prefixed Mac Roman string in a
    // 256-byte buffer, the value itself stored behind the last character.
    // dotSeparator non-zero: '.', else the system's decimal separator.
    void (*realToText)(const double* value, uint8_t* dest, int32_t dotSeparator);
    // The hour (seconds) or date as length-prefixed Mac Roman text.
    void (*hourToText)(int32_t seconds, uint8_t* dest, int32_t format);
    void (*dateToText)(const DateBlock& date, uint8_t* dest, int32_t format);
    // Rewrite length-prefixed text in place by a display format.
    void (*applyNumericFormat)(uint8_t* text, const uint8_t* format);
    void (*applyStringFormat)(uint8_t* text, const uint8_t* format);
    // The century window of two-digit years: pivot 0 means "this century".
    void (*centuryInfo)(int32_t* pivot, int32_t* century);
};

extern KernelTextHooks gKernelTextHooks;

// The shortest text that reads back as the same double, '.' as separator,
// written as realToText does (length byte, text, then the 8 value bytes).
void RoundTripRealToText(const double* value, uint8_t* dest, int32_t dotSeparator);

// Puts the defaults back (tests).
void ResetKernelTextHooks();
