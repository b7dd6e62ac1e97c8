#include "kernel/numtext/DateText.h"

#include <cstring>
#include <string>

#include "kernel/numtext/IntegerText.h"
#include "kernel/numtext/NumTextGlobals.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/IntlSettings.h"

namespace {

constexpr int32_t kMaxResult = 80;
// Years of the platform clock's second 0 (1904-01-01) in the system calendar.
constexpr int32_t kClockEpochYear = 1904;

void PutText(const std::string& text, platform::StringPtr dest)
{
    const size_t n = text.size() < size_t(kMaxResult) ? text.size() : size_t(kMaxResult);
    dest[0] = uint8_t(n);
    std::memcpy(dest + 1, text.data(), n);
}

// Non-negative remainder, so that odd values still print as digits.
int32_t Mod(int32_t value, int32_t m)
{
    const int32_t r = value % m;
    return r < 0 ? r + m : r;
}

std::string Padded(int32_t value, int32_t width)
{
    std::string text = std::to_string(value);
    const bool negative = !text.empty() && text[0] == '-';
    std::string digits = negative ? text.substr(1) : text;
    while (int32_t(digits.size()) < width) digits.insert(digits.begin(), '0');
    return negative ? "-" + digits : digits;
}

std::string IsoText(const datum& date, int32_t seconds)
{
    std::string text = Padded(Mod(date.year, 10000), 4) + "-" + Padded(Mod(date.month, 100), 2) + "-" +
                       Padded(Mod(date.day, 100), 2) + "T";
    if (seconds == 0) return text + "00:00:00";
    const int32_t h = Mod(seconds / 3600, 24), m = Mod(seconds % 3600, 3600) / 60, s = Mod(seconds, 60);
    return text + Padded(h, 2) + ":" + Padded(m, 2) + ":" + Padded(s, 2);
}

bool InWindow(int32_t year)
{
    const CenturyWindow w = GetCenturyWindow();
    return year >= w.base + w.pivot && year < w.base + w.pivot + 100;
}

std::string ShortDate(const datum& date, bool fullYear)
{
    const auto& settings = platform::GetIntlSettings();
    const std::string sep(1, char(settings.dateSeparator));
    const std::string d = Padded(date.day, 2), m = Padded(date.month, 2);
    const std::string y = !fullYear && InWindow(date.year) ? Padded(Mod(date.year, 100), 2) : std::to_string(date.year);
    switch (settings.dateOrder) {
    case platform::dmy: return d + sep + m + sep + y;
    case platform::ymd: return y + sep + m + sep + d;
    case platform::myd: return m + sep + y + sep + d;
    case platform::dym: return d + sep + y + sep + m;
    case platform::ydm: return y + sep + d + sep + m;
    default: return m + sep + d + sep + y;
    }
}

// The platform writes at most four year digits; a longer year replaces them.
std::string WithFullYear(std::string text, int32_t year)
{
    const std::string full = std::to_string(year);
    const size_t shown = full.size() - 1;
    if (full.size() >= 5 && text.size() >= shown) text.replace(text.size() - shown, shown, full);
    return text;
}

std::string PString(platform::ConstStr255Param s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

// Item of the time words, or its built-in text when the list is missing.
std::string TimeWord(int16_t index)
{
    static const char* const kDefaults[9] = {"hour", "minute", "second", "hours", "minutes",
                                             "seconds", ":",    " AM",    " PM"};
    platform::Str255 item = {0};
    platform::GetIndString(item, kTimeWordsListId, index);
    if (item[0] != 0) return PString(item);
    const auto& settings = platform::GetIntlSettings();
    if (index == 7) return std::string(1, char(settings.timeSeparator));
    if (index == 8) return settings.amString;
    if (index == 9) return settings.pmString;
    return kDefaults[index - 1];
}

std::string Counted(int32_t value, int16_t singular) { return std::to_string(value) + " " + TimeWord(value < 2 ? singular : singular + 3); }

}  // namespace

CenturyWindow GetCenturyWindow()
{
    if (DefaultCentury != 0) return {DefaultCentury * 100, PivotYear};
    const int32_t year = kClockEpochYear;
    const int32_t base = year == 1321 ? 1400 : year == 1282 ? 1300 : year - Mod(year, 100);
    return {base, base == 1900 ? 30 : 0};
}

int32_t WindowedYear(int32_t year)
{
    const CenturyWindow w = GetCenturyWindow();
    return year < w.pivot ? w.base + 100 + year : w.base + year;
}

bool evaltimedateT(platform::ConstStr255Param text, datum* date, int32_t* seconds)
{
    *date = {0, 0, 0};
    *seconds = 0;
    static constexpr char kShape[] = "dddd-dd-ddTdd:dd:dd";
    if (text[0] != 19) return false;
    int32_t fields[6] = {0};
    int32_t field = 0;
    for (int32_t i = 0; i < 19; ++i) {
        const uint8_t ch = text[i + 1];
        if (kShape[i] == 'd') {
            if (!IsDigitOf(ch, digit1)) return false;
            fields[field] = fields[field] * 10 + (ch - uint8_t(digit1));
        } else {
            if (ch != uint8_t(kShape[i])) return false;
            ++field;
        }
    }
    *date = {int16_t(fields[2]), int16_t(fields[1]), int16_t(fields[0])};
    *seconds = fields[3] * 3600 + fields[4] * 60 + fields[5];
    return true;
}

void strtimedateT(const datum& date, platform::StringPtr dest, int32_t seconds) { PutText(IsoText(date, seconds), dest); }

void evaldate(platform::ConstStr255Param text, datum* date)
{
    int32_t seconds;
    if (evaltimedateT(text, date, &seconds)) return;
    *date = {0, 0, 0};

    int32_t values[3];
    int32_t i = 1;
    const int32_t length = text[0];
    for (int32_t& value : values) {
        while (i <= length && !IsAnyDigit(text[i])) ++i;
        if (i > length) return;  // a group is missing
        platform::Str255 group = {0};
        for (; i <= length && IsAnyDigit(text[i]); ++i)
            if (group[0] < 20) group[++group[0]] = uint8_t('0' + DigitValue(text[i]));
        value = evalint(group);
    }

    int32_t day, month, year;
    switch (platform::GetIntlSettings().dateOrder) {
    case platform::dmy: day = values[0], month = values[1], year = values[2]; break;
    case platform::ymd: year = values[0], month = values[1], day = values[2]; break;
    case platform::myd: month = values[0], year = values[1], day = values[2]; break;
    case platform::dym: day = values[0], year = values[1], month = values[2]; break;
    case platform::ydm: year = values[0], day = values[1], month = values[2]; break;
    default: month = values[0], day = values[1], year = values[2]; break;
    }
    if (year < 100 && !(day == 0 && month == 0 && year == 0)) year = WindowedYear(year);
    if (day > 0 && month > 0 && year >= 0) *date = {int16_t(day), int16_t(month), int16_t(year)};
}

bool datevalide(const datum& date)
{
    if (date.day == 0 && date.month == 0 && date.year == 0) return true;
    if (date.month < 1 || date.month > 12 || date.year < 0 || date.year > 22000) return false;
    static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    const int32_t days = kDays[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
    return date.day >= 1 && date.day <= days;
}

void patchAbbreviatedDate(const datum& date, platform::Handle, platform::StringPtr text)
{
    if (date.month != 6 && date.month != 7) return;
    const int16_t other = date.month == 6 ? 7 : 6;
    const std::string otherText = platform::DateText(date.day, other, date.year, platform::abbrevDate);
    if (otherText != PString(text)) return;
    for (int32_t i = 1; i + 2 <= text[0]; ++i) {
        if (text[i] == 'j' && text[i + 1] == 'u' && text[i + 2] == 'i') {
            text[i + 2] = date.month == 6 ? 'n' : 'l';
            return;
        }
    }
}

void mystrdate(const datum& date, platform::StringPtr dest, int32_t code)
{
    if (code == 8) {
        PutText(IsoText(date, 0), dest);
        return;
    }
    if (date.year == 0 && date.month == 0) {
        const std::string sep(1, char(platform::GetIntlSettings().dateSeparator));
        PutText("00" + sep + "00" + sep + "00", dest);
        return;
    }
    switch (code) {
    case 0:
    case 4: PutText(ShortDate(date, false), dest); return;
    case 7:
    case 15: PutText(ShortDate(date, true), dest); return;
    default: break;
    }
    platform::DateForm form;
    if (code == 1 || code < 0)
        form = platform::shortDate;
    else if (code == 2)
        form = platform::abbrevDate;
    else if (code == 3 || code == 5)
        form = platform::longDate;
    else
        form = platform::abbrevDate;
    std::string text = platform::DateText(date.day, date.month, date.year, form);
    // The long form and every code from 5 on (abbreviated ones included)
    // show a year of five digits or more in full.
    if (code == 3 || code >= 5) text = WithFullYear(text, date.year);
    PutText(text, dest);
    if (form == platform::abbrevDate) patchAbbreviatedDate(date, nullptr, dest);
}

void strtime(int32_t seconds, platform::StringPtr dest, int32_t code)
{
    const int32_t hours = seconds / 3600, minutes = (seconds % 3600) / 60, secs = seconds % 60;
    const std::string sep = TimeWord(7);
    std::string text;
    switch (code) {
    case 0:
    case 1: text = Padded(hours, 2) + sep + Padded(minutes, 2) + sep + Padded(secs, 2); break;
    case 2: text = Padded(hours, 2) + sep + Padded(minutes, 2); break;
    case 3:
    case 4: {
        std::string words;
        auto add = [&words](const std::string& part) { words += (words.empty() ? "" : " ") + part; };
        if (hours > 0) add(Counted(hours, 1));
        if (code == 4 || minutes > 0) add(Counted(minutes, 2));
        if (code == 3) add(Counted(secs, 3));
        text = words;
        break;
    }
    case 5: {
        const int32_t h = Mod(hours, 24);
        const int32_t shown = h == 0 || h == 12 ? 12 : h % 12;
        text = std::to_string(shown) + sep + Padded(Mod(minutes, 60), 2) + TimeWord(h < 12 ? 8 : 9);
        break;
    }
    case 6: text = IsoText({0, 0, 0}, seconds); break;
    default: text = std::to_string(hours) + sep + std::to_string(minutes) + sep + std::to_string(secs); break;
    }
    PutText(text, dest);
}
