// Dates and times of day as length-prefixed text and back. Short dates
// follow the system's date order and separator; two-digit years fall in the
// century window of DefaultCentury and PivotYear; the ISO form
// YYYY-MM-DDTHH:MM:SS serves for exchange. Results hold at most 80
// characters (an 81-byte destination).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// Day, month, year; all zero is the null date, a valid "no date".
struct datum {
    int16_t day;
    int16_t month;
    int16_t year;
};

// The window in which two-digit years lie: [base + pivot, base + pivot + 100).
struct CenturyWindow {
    int32_t base;
    int32_t pivot;
};
CenturyWindow GetCenturyWindow();
// A year below 100 moved into the window.
int32_t WindowedYear(int32_t twoDigitYear);

bool evaltimedateT(platform::ConstStr255Param text, datum* date, int32_t* seconds);
void strtimedateT(const datum& date, platform::StringPtr dest, int32_t seconds);
void evaldate(platform::ConstStr255Param text, datum* date);
bool datevalide(const datum& date);
// Date format codes: 0, 4 short (two-digit year inside the window), 7, 15
// short with the full year, 8 ISO, 1 and negative the platform's short date,
// 2 abbreviated, 3 long; 5 long and the others abbreviated.
void mystrdate(const datum& date, platform::StringPtr dest, int32_t code);
// For an abbreviated June or July text that the other month would give
// identically: the first "jui" gets "n" (June) or "l" (July) as its third
// letter. intlResource is the names' resource (null: the system's).
void patchAbbreviatedDate(const datum& date, platform::Handle intlResource, platform::StringPtr text);
// Time format codes: 0, 1 h:mm:ss; 2 h:mm; 3 and 4 in words; 5 twelve-hour
// clock; 6 ISO of the null date; 7 and above unpadded h:m:s.
void strtime(int32_t seconds, platform::StringPtr dest, int32_t code);

// The resource string list of the time words: 1-3 hour, minute, second;
// 4-6 their plurals; 7 the time separator; 8, 9 the morning and afternoon
// suffixes.
constexpr int16_t kTimeWordsListId = 149;
