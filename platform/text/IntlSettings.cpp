#include "platform/text/IntlSettings.h"

namespace platform {

namespace {

IntlSettings gSettings;

constexpr const char* kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kWeekdays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::string Abbreviated(const std::string& name) { return name.substr(0, 3); }

}  // namespace

const IntlSettings& GetIntlSettings() { return gSettings; }
void SetIntlSettings(const IntlSettings& settings) { gSettings = settings; }
void ResetIntlSettings() { gSettings = IntlSettings(); }

int32_t DayOfWeek(int32_t day, int32_t month, int32_t year)
{
    // Days from civil (Gregorian), counted from 1970-01-01, a Thursday.
    const int64_t y = int64_t(year) - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t mp = (int64_t(month) + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const int64_t days = era * 146097 + doe - 719468;
    const int64_t w = (days + 4) % 7;
    return int32_t(w < 0 ? w + 7 : w);
}

std::string DateText(int32_t day, int32_t month, int32_t year, DateForm form)
{
    if (form == shortDate) {
        const std::string sep(1, char(gSettings.dateSeparator));
        const std::string d = std::to_string(day), m = std::to_string(month);
        const std::string y = std::to_string(((year % 100) + 100) % 100);
        const std::string yy = y.size() < 2 ? "0" + y : y;
        switch (gSettings.dateOrder) {
        case dmy: return d + sep + m + sep + yy;
        case ymd: return yy + sep + m + sep + d;
        case myd: return m + sep + yy + sep + d;
        case dym: return d + sep + yy + sep + m;
        case ydm: return yy + sep + d + sep + m;
        default: return m + sep + d + sep + yy;
        }
    }
    const bool validMonth = month >= 1 && month <= 12;
    const char* monthName = validMonth ? kMonths[month - 1] : "";
    const char* weekday = validMonth ? kWeekdays[DayOfWeek(day, month, year)] : "";
    const bool abbrev = form == abbrevDate;
    std::string text = abbrev ? Abbreviated(weekday) : std::string(weekday);
    if (!text.empty()) text += ", ";
    text += abbrev ? Abbreviated(monthName) : std::string(monthName);
    // The calendar text shows four year digits at most; callers put longer years back.
    std::string y = std::to_string(year > 9999 ? year % 10000 : year);
    if (year > 9999) y.insert(0, 4 - y.size(), '0');
    text += " " + std::to_string(day) + ", " + y;
    return text;
}

}  // namespace platform
