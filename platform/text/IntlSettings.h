// The international settings of the system: number, date and time
// punctuation, the date order and the month and weekday names. They are
// fixed (US English punctuation) and never read from the machine's locale;
// tests may install others and put the fixed ones back.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Order of the three fields of a short date ('itl0' offset 7).
enum DateOrder : uint8_t {
    mdy = 0,
    dmy = 1,
    ymd = 2,
    myd = 3,
    dym = 4,
    ydm = 5,
};

struct IntlSettings {
    uint8_t decimalSeparator = '.';
    uint8_t thousandsSeparator = ',';
    uint8_t dateSeparator = '/';
    uint8_t timeSeparator = ':';
    uint8_t dateOrder = mdy;
    std::string amString = " AM";  // Mac Roman
    std::string pmString = " PM";
};

const IntlSettings& GetIntlSettings();
void SetIntlSettings(const IntlSettings& settings);
void ResetIntlSettings();

// The 'itl0' bytes the kernel reads: the date order and the date separator.
constexpr int32_t kItl0DateOrderOffset = 7;
constexpr int32_t kItl0DateSeparatorOffset = 9;

// Forms of the long date text.
enum DateForm : uint8_t { shortDate = 0, longDate = 1, abbrevDate = 2 };

// The calendar date as text: shortDate "3/5/85" (order and separator of the
// settings), abbrevDate "Tue, Mar 5, 1985", longDate "Tuesday, March 5, 1985".
// The weekday is that of the Gregorian calendar.
std::string DateText(int32_t day, int32_t month, int32_t year, DateForm form);

// 0 Sunday .. 6 Saturday of a Gregorian date (proleptic for early years).
int32_t DayOfWeek(int32_t day, int32_t month, int32_t year);

}  // namespace platform
